#include <gtest/gtest.h>

#include <string>

#include "platform/Utf16.h"

using namespace platform;

namespace {

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::u16string wide;
};

// Each maximal ill-formed part becomes one U+FFFD; what follows it is read again.
const Utf8Case kUtf8Cases[] = {
    {"empty", "", u""},
    {"ascii", "abc", u"abc"},
    {"two, three and four bytes", "\xC3\xA9\xE1\xBB\x99\xF0\x9F\x98\x80", u"\u00E9\u1ED9\U0001F600"},
    {"stray continuation", "a\x80z", u"a\uFFFDz"},
    {"truncated at the end", "a\xE1\xBB", u"a\uFFFD"},
    {"truncated before ascii", "\xE1\xBBz", u"\uFFFDz"},
    {"overlong two bytes", "\xC0\xAF", u"\uFFFD\uFFFD"},
    {"overlong three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
    {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
    {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"F5 and FF", "\xF5\xFF", u"\uFFFD\uFFFD"},
    {"zero byte kept", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
};

TEST(Utf16, Utf8ToWideReplacesEachMalformedPart) {
    for (const Utf8Case& c : kUtf8Cases) {
        EXPECT_EQ(utf8ToWide(c.utf8), c.wide) << c.name;
    }
}

TEST(Utf16, WideToUtf8RoundTripsAndReplacesLoneSurrogates) {
    struct Case {
        const char* name;
        std::u16string wide;
        std::string utf8;
    };
    const Case cases[] = {
        {"empty", u"", ""},
        {"pair", u"x\U0001F600y", "x\xF0\x9F\x98\x80y"},
        {"lone high at the end", std::u16string(u"a") + char16_t(0xD83D), "a\xEF\xBF\xBD"},
        {"lone high before ascii", std::u16string(1, char16_t(0xD83D)) + u"b", "\xEF\xBF\xBD" "b"},
        {"lone low", std::u16string(1, char16_t(0xDE00)), "\xEF\xBF\xBD"},
        {"reversed pair", std::u16string{char16_t(0xDE00), char16_t(0xD83D)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wideToUtf8(c.wide), c.utf8) << c.name;
    }
    for (const Utf8Case& c : kUtf8Cases) {
        EXPECT_EQ(utf8ToWide(wideToUtf8(c.wide)), c.wide) << c.name;
    }
}

TEST(Utf16, AppendUtf8WritesInvalidCodePointsAsReplacement) {
    std::string out;
    for (char32_t cp : {char32_t(0x41), char32_t(0x7FF), char32_t(0xD800), char32_t(0x10FFFF), char32_t(0x110000)}) {
        appendUtf8(out, cp);
    }
    EXPECT_EQ(out, "A\xDF\xBF\xEF\xBF\xBD\xF4\x8F\xBF\xBF\xEF\xBF\xBD");
}

}  // namespace
