// engine::Properties: values by name and nested namespaces by id or kind.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/base/Properties.h"
#include "engine/files/FileUtils.h"
#include "support/CpuTime.h"
#include "support/TestSupport.h"

using engine::Properties;

namespace {

// material rock { technique { pass shiny { } } technique matte { } }
std::unique_ptr<Properties> material() {
    auto root = std::make_unique<Properties>("material", "rock");
    root->setString("shininess", "12.5");
    root->setString("count", "12abc");
    root->setString("lit", "true");
    root->setString("empty", "");
    Properties* technique = root->addNamespace(std::make_unique<Properties>("technique", ""));
    technique->addNamespace(std::make_unique<Properties>("pass", "shiny"));
    root->addNamespace(std::make_unique<Properties>("technique", "matte"));
    return root;
}

TEST(PropertiesTest, ValuesReadAsTextNumbersAndFlags) {
    auto root = material();
    EXPECT_EQ(root->getNamespace(), "material");
    EXPECT_EQ(root->getId(), "rock");
    struct Case { const char* name; bool exists; std::string text; int integer; float number; bool flag; };
    const Case cases[] = {
        {"shininess", true, "12.5", 12, 12.5f, true},
        {"count", true, "12abc", 12, 12.f, true},
        {"lit", true, "true", 0, 0.f, true},
        {"empty", true, "", 0, 0.f, false},
        {"missing", false, "fallback", 0, 0.f, true},   // defaults: the text and flag given
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(root->exists(c.name), c.exists);
        EXPECT_EQ(root->getString(c.name, "fallback"), c.text);
        EXPECT_EQ(root->getInt(c.name), c.integer);
        EXPECT_FLOAT_EQ(root->getFloat(c.name), c.number);
        EXPECT_EQ(root->getBool(c.name, true), c.flag);
    }
    EXPECT_EQ(root->getString("missing"), "");
    EXPECT_FALSE(root->getBool("missing"));
    root->setString("count", "3");
    EXPECT_EQ(root->getInt("count"), 3);
}

TEST(PropertiesTest, NamespacesFoundByIdOrKind) {
    auto root = material();
    struct Case { const char* id; bool searchNames; bool recurse; const char* kind; const char* foundId; };
    const Case cases[] = {
        {"matte", false, true, "technique", "matte"},
        {"shiny", false, true, "pass", "shiny"},       // depth first through the first technique
        {"shiny", false, false, nullptr, nullptr},     // not a direct child
        {"pass", true, true, "pass", "shiny"},
        {"technique", true, false, "technique", ""},  // the first of that kind
        {"pass", false, true, nullptr, nullptr},       // a kind is no id
        {"", false, true, "technique", ""},           // the namespace without an id
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " names " << c.searchNames << " recurse " << c.recurse);
        Properties* found = root->getNamespace(c.id, c.searchNames, c.recurse);
        if (!c.kind) {
            EXPECT_EQ(found, nullptr);
            continue;
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->getNamespace(), c.kind);
        EXPECT_EQ(found->getId(), c.foundId);
    }
    EXPECT_EQ(root->addNamespace(nullptr), nullptr);
}

// The text form: comments of both kinds, headers with their brace on the
// same line or the next, several pieces on a line.
const char kMaterial[] = R"(// a rock
material rock
{
    /* the look */ shininess = 12.5   // a comment starts a word
    url = http://example.com/a   /* block
    over lines */
    technique
    // between the header and its brace
    {
        pass shiny { blend = true }
    }
    technique matte { }
}
)";

TEST(PropertiesTest, ReadsTheTextForm) {
    std::string error;
    std::unique_ptr<Properties> root = Properties::parse(kMaterial, &error);
    ASSERT_NE(root, nullptr) << error;
    Properties* rock = root->getNamespace("rock");
    ASSERT_NE(rock, nullptr);
    EXPECT_EQ(rock->getNamespace(), "material");
    EXPECT_EQ(rock->getString("shininess"), "12.5");
    EXPECT_EQ(rock->getString("url"), "http://example.com/a");
    Properties* shiny = rock->getNamespace("shiny");
    ASSERT_NE(shiny, nullptr);
    EXPECT_EQ(shiny->getNamespace(), "pass");
    EXPECT_TRUE(shiny->getBool("blend"));
    ASSERT_NE(rock->getNamespace("matte", false, false), nullptr);
    EXPECT_EQ(rock->getNamespace("technique", true, false)->getId(), "");
}

// A file of about 1 MB holding 70,000 properties reads in bounded time: adding a
// property does not look through the ones before it.
TEST(PropertiesTest, ManyPropertiesReadInLinearTime) {
    constexpr int kCount = 70000;
    std::string text = "material many {\n";
    for (int i = 0; i < kCount; ++i) text += "property_" + std::to_string(i) + " = " + std::to_string(i) + "\n";
    text += "property_7 = again\n}\n";
    std::unique_ptr<Properties> root;
    const double seconds = testsupport::cpuSecondsFor([&] { root = Properties::parse(text); });
    ASSERT_NE(root, nullptr);
    EXPECT_LT(seconds, 1.0);
    const Properties* many = root->getNamespace("many");
    ASSERT_NE(many, nullptr);
    EXPECT_EQ(many->getInt("property_69999"), 69999);
    EXPECT_EQ(many->getString("property_7"), "again");   // a repeated name keeps its place, takes the new value
}

TEST(PropertiesTest, RefusesMalformedText) {
    struct Case { const char* text; const char* reason; };
    std::string nested;
    for (int i = 0; i < Properties::kMaxDepth + 1; ++i) nested += "n {\n";
    for (int i = 0; i < Properties::kMaxDepth + 1; ++i) nested += "}\n";
    const Case cases[] = {
        {"a {\n", "not closed"},
        {"}\n", "without its namespace"},
        {"a {\n b }\n", "after a header"},
        {"a\nb = 1\n", "without its '{' on line 2"},
        {"a\n", "at the end"},
        {"{ }", "without a kind"},
        {"a { = 1 }", "without a name"},
        {"a { /* open", "not closed"},
        {nested.c_str(), "too deep"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        EXPECT_EQ(Properties::parse(c.text, &error), nullptr);
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    // At the limit it still reads.
    std::string limit;
    for (int i = 0; i < Properties::kMaxDepth; ++i) limit += "n {";
    for (int i = 0; i < Properties::kMaxDepth; ++i) limit += "}";
    EXPECT_NE(Properties::parse(limit), nullptr);
}

TEST(PropertiesTest, UrlsPickAFileAndANestedNamespace) {
    testsupport::TempDir dir;
    dir.write("rock.material", kMaterial);
    dir.write("two.material", "a = 1\nmaterial x { }\n");
    dir.write("bad.material", "material {");
    engine::FileUtils::getInstance()->setSearchPaths({dir.path() + "/"});
    struct Case { const char* url; const char* kind; const char* id; };
    const Case cases[] = {
        {"rock.material", "material", "rock"},
        {"rock.material#shiny", nullptr, nullptr},      // not a direct namespace
        {"rock.material#technique/shiny", "pass", "shiny"},   // by kind, then by id
        {"rock.material#matte", "technique", "matte"},
        {"rock.material#matte/", "technique", "matte"},
        {"rock.material#", "material", "rock"},
        {"two.material", "", ""},                       // several things: the unnamed whole
        {"two.material#x", "material", "x"},
        {"bad.material", nullptr, nullptr},
        {"missing.material", nullptr, nullptr},
        {"#rock", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        testsupport::LogCapture log;
        std::unique_ptr<Properties> found(Properties::createNonRefCounted(c.url));
        if (!c.kind) {
            EXPECT_EQ(found, nullptr);
            EXPECT_TRUE(log.contains("Properties: ")) << log.text();
            continue;
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->getNamespace(), c.kind);
        EXPECT_EQ(found->getId(), c.id);
    }
    std::unique_ptr<Properties> two(Properties::createNonRefCounted("two.material"));
    EXPECT_EQ(two->getInt("a"), 1);
    engine::FileUtils::destroyInstance();
}

}  // namespace
