// Saved settings: values survive a new start, any bytes round-trip, the file is
// replaced whole, and a damaged file means an empty store.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/base/UserDefault.h"
#include "engine/files/FileUtils.h"
#include "platform/AtomicFile.h"
#include "support/TestSupport.h"

using engine::UserDefault;

namespace {

struct UserDefaultTest : ::testing::Test {
    testsupport::TempDir dir;
    std::string folder = dir.path() + "/writable/";
    UserDefaultTest() { engine::FileUtils::getInstance()->setWritablePath(folder); }
    ~UserDefaultTest() override {
        UserDefault::destroyInstance();
        engine::FileUtils::destroyInstance();
    }
    // A new start: the store is read from the file again.
    UserDefault* restart() {
        UserDefault::destroyInstance();
        return UserDefault::getInstance();
    }
    std::string file() const { return folder + UserDefault::kFileName; }
};

TEST_F(UserDefaultTest, ValuesSurviveARestartByteForByte) {
    const std::vector<std::pair<std::string, std::string>> values = {
        {"vexo_native_support_role_42_7", R"({"id":1,"name":"Tí \"A\"","level":9})"},
        {"lines", "one\ntwo\r\nthree\t"},
        {std::string("zero\0key", 8), std::string("a\0b", 3)},
        {"raw bytes", "\xff\xfe\x80"},
        {"", "empty key"},
        {"empty value", ""},
    };
    UserDefault* store = UserDefault::getInstance();
    EXPECT_EQ(store->getFilePath(), file());
    for (const auto& [key, value] : values) store->setStringForKey(key, value);
    EXPECT_TRUE(std::filesystem::exists(file()));   // written without a flush

    store = restart();
    for (const auto& [key, value] : values) {
        SCOPED_TRACE(key);
        EXPECT_EQ(store->getStringForKey(key, "default"), value);
    }
    EXPECT_EQ(store->getStringForKey("missing"), "");
    EXPECT_EQ(store->getStringForKey("missing", "fallback"), "fallback");

    store->setStringForKey("lines", "replaced");
    EXPECT_EQ(restart()->getStringForKey("lines"), "replaced");
}

TEST_F(UserDefaultTest, TheFileExistsOnceAValueIsWritten) {
    EXPECT_EQ(UserDefault::getXMLFilePath(), file());
    EXPECT_FALSE(UserDefault::isXMLFileExist());
    UserDefault::getInstance()->getIntegerForKey("best");   // reading writes nothing
    EXPECT_FALSE(UserDefault::isXMLFileExist());
    UserDefault::getInstance()->setIntegerForKey("best", 3);
    EXPECT_TRUE(UserDefault::isXMLFileExist());
}

TEST_F(UserDefaultTest, EachWriteReplacesTheFileWhole) {
    std::vector<platform::DiskStep> steps;
    std::vector<std::string> names;
    platform::setDiskStepObserver([&](platform::DiskStep step, const std::string& name) {
        steps.push_back(step);
        names.push_back(name);
    });
    UserDefault* store = UserDefault::getInstance();
    store->setStringForKey("k", "v");
    store->setStringForKey("k", "v");   // unchanged: nothing written
    EXPECT_TRUE(store->flush());
    platform::setDiskStepObserver(nullptr);

    using platform::DiskStep;
    const std::vector<DiskStep> once = {DiskStep::FileFlushed, DiskStep::Renamed, DiskStep::FolderFlushed};
    std::vector<DiskStep> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(steps, twice);
    ASSERT_GE(names.size(), 2u);
    EXPECT_NE(names[0], file());   // flushed under a temporary name, then renamed
    EXPECT_EQ(names[1], file());
    // Nothing but the store is left in the folder.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) left.push_back(entry.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{UserDefault::kFileName});
}

TEST_F(UserDefaultTest, DamagedFileStartsEmptyAndIsLogged) {
    const struct {
        const char* name;
        std::string content;
        bool logged;
        const char* kept;   // the value of "a" afterwards
    } cases[] = {
        {"cut short", "<userDefaultRoot><a>1</a><b>", true, ""},
        {"another root", "<settings><a>1</a></settings>", true, ""},
        {"not XML", R"({"a": "1"})", true, ""},
        {"binary", std::string("\x00\x01\x02", 3), true, ""},
        {"empty file", "", true, ""},
        {"entries that do not decode are dropped",
         R"(<userDefaultRoot><a>1</a><entry hexKey="6" hexValue="00"/><entry hexKey="62" hexValue="zz"/>)"
         R"(<entry hexKey="62"/></userDefaultRoot>)",
         true, "1"},
        {"good", R"(<?xml version="1.0" encoding="utf-8"?><userDefaultRoot><a>1</a></userDefaultRoot>)", false, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("writable/" + std::string(UserDefault::kFileName), c.content);
        testsupport::LogCapture log;
        UserDefault* store = restart();
        EXPECT_EQ(store->getStringForKey("a"), c.kept);
        EXPECT_EQ(store->getStringForKey("b"), "");
        EXPECT_EQ(!log.lines().empty(), c.logged) << log.text();
        store->setStringForKey("z", "after");   // the store works on, and its next write is whole
        EXPECT_EQ(restart()->getStringForKey("z"), "after");
    }
}

TEST_F(UserDefaultTest, PlainPairsAreElementsAndOthersHexEntries) {
    const struct {
        std::string key, value, written;
    } cases[] = {
        {"volume", "0.5", "<volume>0.5</volume>"},
        {"name", "Tí <b> & \"q\"", "<name>Tí &lt;b&gt; &amp; \"q\"</name>"},
        {"two_lines", "a\nb", "<two_lines>a\nb</two_lines>"},
        {"empty", "", "<empty></empty>"},
        {"my key", "v", R"(<entry hexKey="6d79206b6579" hexValue="76"/>)"},
        {"1st", "v", R"(<entry hexKey="317374" hexValue="76"/>)"},
        {"xmlish", "v", R"(<entry hexKey="786d6c697368" hexValue="76"/>)"},
        {"entry", "v", R"(<entry hexKey="656e747279" hexValue="76"/>)"},
        {"blank_end", "v ", R"(<entry hexKey="626c616e6b5f656e64" hexValue="7620"/>)"},
        {"cr", "a\rb", R"(<entry hexKey="6372" hexValue="610d62"/>)"},
        {"bad_utf8", "\xc3(", R"(<entry hexKey="6261645f75746638" hexValue="c328"/>)"},
    };
    UserDefault* store = UserDefault::getInstance();
    for (const auto& c : cases) store->setStringForKey(c.key, c.value);
    const std::string text = engine::FileUtils::getInstance()->getStringFromFile(file());
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u) << text;
    EXPECT_NE(text.find("<userDefaultRoot>"), std::string::npos);
    store = restart();
    for (const auto& c : cases) {
        EXPECT_NE(text.find(c.written), std::string::npos) << c.key << "\n" << text;
        EXPECT_EQ(store->getStringForKey(c.key, "default"), c.value) << c.key;
    }
}

TEST_F(UserDefaultTest, TypedValuesSurviveARestartAndOddTextGivesTheDefault) {
    UserDefault* store = UserDefault::getInstance();
    store->setBoolForKey("sound", true);
    store->setIntegerForKey("best", -120);
    store->setFloatForKey("volume", 0.1f);
    store->setDoubleForKey("ratio", 1.0 / 3.0);
    store->setStringForKey("junk", "12abc");
    store->setStringForKey("gone", "1");
    store->deleteValueForKey("gone");
    store = restart();
    struct Case {
        const char* name;
        std::string value;
        std::string expected;
    };
    const Case cases[] = {
        {"bool", store->getBoolForKey("sound") ? "true" : "false", "true"},
        {"int", std::to_string(store->getIntegerForKey("best")), "-120"},
        {"float exactly", store->getFloatForKey("volume") == 0.1f ? "same" : "differs", "same"},
        {"double exactly", store->getDoubleForKey("ratio") == 1.0 / 3.0 ? "same" : "differs", "same"},
        {"trailing bytes", std::to_string(store->getIntegerForKey("junk", 7)), "7"},
        {"not a flag", store->getBoolForKey("best", true) ? "true" : "false", "true"},
        {"deleted", std::to_string(store->getIntegerForKey("gone", 5)), "5"},
        {"missing", std::to_string(store->getDoubleForKey("nothing", 2.5)), "2.500000"},
        {"as text", store->getStringForKey("best"), "-120"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.value, c.expected) << c.name;
}

}  // namespace

// A file that lost values when read is kept beside the new one at the next write,
// replacing an older backup; a sound file is simply replaced.
TEST_F(UserDefaultTest, DamagedFileIsKeptOnceBeforeTheNextWrite) {
    const std::string backup = std::string(UserDefault::kFileName) + UserDefault::kDamagedSuffix;
    const struct {
        const char* name;
        std::string content;
        bool kept;
    } cases[] = {
        {"cut short", "<userDefaultRoot><a>1</a><b>", true},
        {"an entry dropped", R"(<userDefaultRoot><a>1</a><entry hexKey="6" hexValue="00"/></userDefaultRoot>)", true},
        {"good", R"(<userDefaultRoot><a>1</a></userDefaultRoot>)", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("writable/" + backup, "older backup");
        dir.write("writable/" + std::string(UserDefault::kFileName), c.content);
        UserDefault* store = restart();
        store->setStringForKey("z", "1");
        store->setStringForKey("z", "2");   // a second write keeps the same backup
        EXPECT_EQ(testsupport::readFile(folder + backup), c.kept ? c.content : "older backup");
        EXPECT_EQ(restart()->getStringForKey("z"), "2");
    }
}
