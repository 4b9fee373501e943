#include <gtest/gtest.h>

#include <string>

#include "portal/ClipboardLine.h"

namespace {

std::u16string units(std::initializer_list<char16_t> list) { return std::u16string(list); }

TEST(ClipboardLine, CleaningRules) {
    struct Case {
        const char* name;
        std::u16string in;
        std::u16string out;
    };
    const Case cases[] = {
        {"first line only, trimmed", u"  first line\r\nsecond", u"first line"},
        {"blank lines skipped", u" \t \n\u3000\r\r\n  word \u2028next", u"word"},
        {"every line break kind", u"\v\f\u0085\u2028\u2029x", u"x"},
        {"blank-likes each become one blank", u"a\t\u00A0b\u2000\u200A\u202F\u205F\u3000c",
         u"a  b     c"},
        {"controls and formats dropped", u"a\u0001\u001F\u007F\u0080\u009F\u00ADb\u200B\u200F\u202A\u202E\u2060\u206F\uFEFFc",
         u"abc"},
        {"a blank between dropped characters survives", u"\u200Ba \u200Bb", u"a b"},
        {"pair kept", u"x\U0001F600y", u"x\U0001F600y"},
        {"lone high dropped", units({u'a', 0xD83D, u'b'}), u"ab"},
        {"lone low dropped", units({u'a', 0xDE00, u'b'}), u"ab"},
        {"high before a line break dropped", units({u'a', 0xD83D, u'\n', u'b'}), u"a"},
        {"reversed pair dropped", units({0xDE00, 0xD83D}), u""},
        {"only blanks and controls", u" \u200B\t\r\n\u00AD ", u""},
        {"empty", u"", u""},
    };
    for (const Case& c : cases) EXPECT_EQ(portal::cleanClipboardLine(c.in), c.out) << c.name;
}

TEST(ClipboardLine, CutAt256UnitsWithoutSplittingAPair) {
    const std::u16string long300(300, u'x');
    EXPECT_EQ(portal::cleanClipboardLine(long300), std::u16string(256, u'x'));

    // The 256th unit would be the high half of a pair: cut before it.
    std::u16string split(255, u'x');
    split += u"\U0001F600tail";
    EXPECT_EQ(portal::cleanClipboardLine(split), std::u16string(255, u'x'));

    // A pair ending at the 256th unit stays whole.
    std::u16string whole(254, u'x');
    whole += u"\U0001F600tail";
    EXPECT_EQ(portal::cleanClipboardLine(whole), std::u16string(254, u'x') + u"\U0001F600");

    // Trimming comes first: leading blanks do not count.
    EXPECT_EQ(portal::cleanClipboardLine(u"   " + long300).size(), 256u);

    // A cut that ends on a blank leaves no trailing blank.
    std::u16string blankAtCut(250, u'x');
    blankAtCut += std::u16string(10, u' ') + u"y";
    EXPECT_EQ(portal::cleanClipboardLine(blankAtCut), std::u16string(250, u'x'));
}

}  // namespace
