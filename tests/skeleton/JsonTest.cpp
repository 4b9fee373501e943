// The skeleton runtime's own JSON tree parser.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "skeleton/Json.h"

namespace {

struct Tree {
    spJson* root;
    explicit Tree(const std::string& text) : root(spJson_createWithLength(text.data(), text.size())) {}
    ~Tree() { spJson_dispose(root); }
};

TEST(SkeletonJsonParser, Literals) {
    struct Case { const char* text; int type; int valueInt; };
    const Case cases[] = {
        {"null", SP_JSON_NULL, 0}, {"false", SP_JSON_FALSE, 0}, {" \t\r\n true", SP_JSON_TRUE, 1},
        {"\"x\"", SP_JSON_STRING, 0}, {"[]", SP_JSON_ARRAY, 0}, {"{}", SP_JSON_OBJECT, 0},
    };
    for (const Case& c : cases) {
        Tree tree(c.text);
        ASSERT_NE(tree.root, nullptr) << c.text;
        EXPECT_EQ(tree.root->type, c.type) << c.text;
        EXPECT_EQ(tree.root->valueInt, c.valueInt) << c.text;
        EXPECT_EQ(tree.root->size, 0) << c.text;
        EXPECT_EQ(tree.root->child, nullptr) << c.text;
    }
}

TEST(SkeletonJsonParser, Numbers) {
    struct Case { const char* text; float valueFloat; int valueInt; };
    const float inf = INFINITY;
    const Case cases[] = {
        {"-0.5", -0.5f, 0}, {"3.9", 3.9f, 3}, {"-3.9", -3.9f, -3}, {"2e3", 2000.f, 2000}, {"1.5E-1", 0.15f, 0},
        {"0x10", 16.f, 16}, {"-0x1p3", -8.f, -8}, {"-inf", -inf, INT32_MIN}, {"1e39", inf, INT32_MAX},
        {"3e9", 3e9f, INT32_MAX}, {"-3e9", -3e9f, INT32_MIN}, {"12abc", 12.f, 12},
        {"12345678901234567890", 1.2345679e19f, INT32_MAX}, {"0.1234567890123456789", 0.12345679f, 0},
        {"-123456789012345.5", -123456789012345.5f, INT32_MIN}, {"7.", 7.f, 7},
    };
    for (const Case& c : cases) {
        Tree tree(c.text);
        ASSERT_NE(tree.root, nullptr) << c.text;
        EXPECT_EQ(tree.root->type, SP_JSON_NUMBER) << c.text;
        EXPECT_FLOAT_EQ(tree.root->valueFloat, c.valueFloat) << c.text;
        EXPECT_EQ(tree.root->valueInt, c.valueInt) << c.text;
    }
    Tree nan("-nan");
    ASSERT_NE(nan.root, nullptr);
    EXPECT_TRUE(std::isnan(nan.root->valueFloat));
    EXPECT_EQ(nan.root->valueInt, 0);
}

TEST(SkeletonJsonParser, StringEscapes) {
    struct Case { const char* text; std::string expected; };
    const Case cases[] = {
        {R"("a\b\f\n\r\t")", "a\b\f\n\r\t"},
        {R"("\"\\\/\q")", "\"\\/q"},
        {R"("\u00e9")", "\xC3\xA9"},
        {R"("\u0041\u07FF\u0800\uFFFF")", "A\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
        {R"("\ud83d\ude00")", "\xF0\x9F\x98\x80"},
        {R"("x\uDC00y")", "xy"},            // lone low surrogate dropped
        {R"("x\u0000y")", "xy"},            // NUL dropped
        {R"("x\uD83Dy")", "xy"},            // high surrogate without its pair dropped
        {R"("x\uD83D\u0041y")", "xy"},      // pair out of range: both dropped
        {"\"caf\xC3\xA9\"", "caf\xC3\xA9"}, // raw UTF-8 kept
    };
    for (const Case& c : cases) {
        Tree tree(c.text);
        ASSERT_NE(tree.root, nullptr) << c.text;
        EXPECT_EQ(std::string(tree.root->valueString), c.expected) << c.text;
    }
}

TEST(SkeletonJsonParser, ErrorsPointAtTheOffendingCharacter) {
    struct Case { std::string text; size_t errorAt; };
    const Case cases[] = {
        {"tru", 0},                 // true cut short fails at its first letter
        {"[1, 2,]", 6},             // a value is expected after the comma
        {"{\"a\" 1}", 5},           // missing colon
        {"{1: 2}", 1},              // a member name must be a string
        {"[1 2]", 3},
        {"[\"abc", 5},              // unterminated string: the array fails at the end
        {"[\"a\\", 4},              // escape cut by the end ends the string
        {"[\"\\u12", 6},            // \u cut by the end ends the string too
        {"\"a\\u12G4\"", 2},        // a non-hexadecimal digit fails at the backslash
        {"\"\\u12\"", 1},           // the closing quote is no digit either
        {"\"\\ud83d\\uZZZZ\"", 7},  // nor in the second half of a pair
        {"-", 0},
        {"", 0},
        {"@", 0},
        {std::string("[\0]", 3), 1},
    };
    for (const Case& c : cases) {
        Tree tree(c.text);
        EXPECT_EQ(tree.root, nullptr) << c.text;
        EXPECT_EQ(spJson_getError(), c.text.data() + c.errorAt) << c.text;
    }
    EXPECT_EQ(spJson_create(nullptr), nullptr);
}

TEST(SkeletonJsonParser, TrailingTextAndStructure) {
    Tree tree(R"({"Bones": [1, {"x": true}, "s"], "n": null} garbage)");
    ASSERT_NE(tree.root, nullptr);
    EXPECT_EQ(spJson_getError(), nullptr);
    EXPECT_EQ(tree.root->size, 2);
    spJson* bones = spJson_getItem(tree.root, "bones");
    ASSERT_NE(bones, nullptr);
    EXPECT_STREQ(bones->name, "Bones");
    EXPECT_EQ(bones->size, 3);
    EXPECT_EQ(bones->child->next->child->type, SP_JSON_TRUE);
    EXPECT_EQ(bones->child->next->next->next, nullptr);
    EXPECT_EQ(spJson_getItem(tree.root, "missing"), nullptr);
    EXPECT_EQ(spJson_getItem(bones, "anything"), nullptr);   // array items have no names
}

TEST(SkeletonJsonParser, GettersIgnoreTypes) {
    Tree tree(R"({"t": true, "s": "text", "n": 2.5, "z": null})");
    ASSERT_NE(tree.root, nullptr);
    EXPECT_EQ(spJson_getInt(tree.root, "T", 9), 1);
    EXPECT_EQ(spJson_getFloat(tree.root, "t", 9), 0.f);
    EXPECT_EQ(spJson_getInt(tree.root, "s", 9), 0);
    EXPECT_STREQ(spJson_getString(tree.root, "S", "d"), "text");
    EXPECT_EQ(spJson_getString(tree.root, "n", "d"), nullptr);
    EXPECT_EQ(spJson_getInt(tree.root, "n", 9), 2);
    EXPECT_EQ(spJson_getInt(tree.root, "z", 9), 0);
    EXPECT_EQ(spJson_getInt(tree.root, "absent", 9), 9);
    EXPECT_FLOAT_EQ(spJson_getFloat(tree.root, "absent", 1.5f), 1.5f);
    EXPECT_STREQ(spJson_getString(tree.root, "absent", "d"), "d");
}

TEST(SkeletonJsonParser, NestingIsLimited) {
    auto nested = [](int depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    Tree deepest(nested(SP_JSON_MAX_DEPTH));
    EXPECT_NE(deepest.root, nullptr);
    std::string tooDeep = nested(SP_JSON_MAX_DEPTH + 1);
    Tree fails(tooDeep);
    EXPECT_EQ(fails.root, nullptr);
    EXPECT_EQ(spJson_getError(), tooDeep.data() + SP_JSON_MAX_DEPTH);
    std::string objects;
    for (int i = 0; i < 100000; ++i) objects += "{\"a\":";
    Tree huge(objects);
    EXPECT_EQ(huge.root, nullptr);
}

// A decimal-comma LC_NUMERIC must not change how numbers read.
TEST(SkeletonJsonParser, NumbersIgnoreTheProcessLocale) {
    std::string dir = std::string(VEXO_BINARY_DIR) + "/test-skeleton/locale";
    std::filesystem::create_directories(dir);
    std::string build = "localedef -i de_DE -f UTF-8 " + dir + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (!std::filesystem::exists(dir + "/de_DE.UTF-8") && std::system(build.c_str()) != 0)
        GTEST_SKIP() << "localedef cannot build de_DE (install the locales package)";
    setenv("LOCPATH", dir.c_str(), 1);
    const char* set = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    ASSERT_NE(set, nullptr);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    Tree tree("[0.5, 1e-1]");
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    ASSERT_NE(tree.root, nullptr);
    EXPECT_FLOAT_EQ(tree.root->child->valueFloat, 0.5f);
    EXPECT_FLOAT_EQ(tree.root->child->next->valueFloat, 0.1f);
}

}  // namespace
