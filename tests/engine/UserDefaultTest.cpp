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
        {"cut short", R"({"a": "1", "b": )", true, ""},
        {"not an object", R"(["a", "1"])", true, ""},
        {"binary", std::string("\x00\x01\x02", 3), true, ""},
        {"empty file", "", true, ""},
        {"values that are not text are dropped", R"({"a": "1", "b": 2, "c": null})", true, "1"},
        {"good", R"({"a": "1"})", false, "1"},
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
