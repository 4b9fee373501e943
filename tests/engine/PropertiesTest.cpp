// engine::Properties: values by name and nested namespaces by id or kind.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/base/Properties.h"

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

}  // namespace
