#include <cstring>
#include <string>

#include "PortalWindowFixture.h"
#include "platform/Clipboard.h"
#include "portal/ClipboardText.h"

using namespace platform;
using portaltest::PortalWindowFixture;

namespace {

class ClipboardTextTest : public PortalWindowFixture {
protected:
    // Puts UTF-16 units on the clipboard in a block of `bytes` bytes (at least the
    // units' size), as another program would.
    static void putUnicode(const std::u16string& units, size_t bytes) {
        std::string block(bytes, '\0');
        std::memcpy(block.data(), units.data(), std::min(bytes, units.size() * 2));
        putClipboardBlockForTesting(CF_UNICODETEXT, block.data(), block.size());
    }
};

TEST_F(ClipboardTextTest, OpeningIsTriedFiveTimes) {
    makeGameWindow();
    struct Case {
        int busy;
        bool ok;
    };
    for (const Case c : {Case{0, true}, Case{4, true}, Case{5, false}}) {
        setClipboardBusyForTesting(c.busy);
        EXPECT_EQ(portal::setClipText("x"), c.ok) << "busy " << c.busy;
        putUnicode(u"y", 4);
        setClipboardBusyForTesting(c.busy);
        std::string text = "stale";
        EXPECT_EQ(portal::getClipText(&text), c.ok) << "busy " << c.busy;
        EXPECT_EQ(text, c.ok ? "y" : "") << "busy " << c.busy;
        EXPECT_FALSE(isClipboardOpen());
    }
}

TEST_F(ClipboardTextTest, RoundTripOwnedByTheGameWindow) {
    makeGameWindow();
    ASSERT_TRUE(portal::setClipText("Mộc Hà Lục 😀"));
    EXPECT_EQ(getClipboardOwner(), game);
    std::string text;
    ASSERT_TRUE(portal::getClipText(&text));
    EXPECT_EQ(text, "Mộc Hà Lục 😀");
    // Replacing the text frees the old block.
    ASSERT_TRUE(portal::setClipText("b"));
    EXPECT_EQ(liveGlobalBlockCount(), 1);
}

TEST_F(ClipboardTextTest, WithoutAGameWindowOnlyReadingWorks) {
    EXPECT_FALSE(portal::setClipText("x"));
    EXPECT_FALSE(isClipboardFormatAvailable(CF_UNICODETEXT));
    putUnicode(u"abc", 8);
    std::u16string text;
    ASSERT_TRUE(portal::readClipboardText(&text));
    EXPECT_EQ(text, u"abc");
}

TEST_F(ClipboardTextTest, EmptyTextIsAnEmptyClipboardText) {
    makeGameWindow();
    ASSERT_TRUE(portal::setClipText("before"));
    ASSERT_TRUE(portal::setClipText(""));
    ASSERT_TRUE(isClipboardFormatAvailable(CF_UNICODETEXT));
    std::string text = "stale";
    EXPECT_TRUE(portal::getClipText(&text));
    EXPECT_EQ(text, "");
}

TEST_F(ClipboardTextTest, ReadingIsBoundedByTheFirstZeroTheBlockAndTheLimit) {
    struct Case {
        const char* name;
        std::u16string units;
        size_t blockBytes;
        size_t expectedUnits;
    };
    const Case cases[] = {
        {"first zero ends it", std::u16string(u"ab\0cd", 5), 12, 2},
        {"block without a terminating zero", u"abcd", 8, 4},
        {"odd block size", u"abcd", 7, 3},
        {"block larger than the text", u"ab", 64, 2},
        {"limit", std::u16string(70000, u'x'), 140002, 65536},
        {"limit exactly", std::u16string(65536, u'y'), 131072, 65536},
    };
    for (const Case& c : cases) {
        putUnicode(c.units, c.blockBytes);
        std::u16string text;
        ASSERT_TRUE(portal::readClipboardText(&text)) << c.name;
        EXPECT_EQ(text.size(), c.expectedUnits) << c.name;
        EXPECT_EQ(text, c.units.substr(0, c.expectedUnits)) << c.name;
    }
}

TEST_F(ClipboardTextTest, ContentsWithoutTextReadAsNothing) {
    const char bitmap[4] = {1, 2, 3, 4};
    putClipboardBlockForTesting(CF_BITMAP, bitmap, sizeof bitmap);
    std::string text = "stale";
    EXPECT_FALSE(portal::getClipText(&text));
    EXPECT_EQ(text, "");
}

TEST_F(ClipboardTextTest, InvalidUtf8ArrivesAsReplacementCharacters) {
    makeGameWindow();
    ASSERT_TRUE(portal::setClipText("a\xFF" "b\xE1\xBB"));
    std::u16string text;
    ASSERT_TRUE(portal::readClipboardText(&text));
    EXPECT_EQ(text, u"a\uFFFDb\uFFFD");
}

TEST_F(ClipboardTextTest, AFailedHandOverFreesTheBlock) {
    makeGameWindow();
    ASSERT_TRUE(portal::setClipText("kept"));
    failNextClipboardHandOverForTesting();
    EXPECT_FALSE(portal::setClipText("lost"));
    EXPECT_EQ(liveGlobalBlockCount(), 0);   // emptied, and the new block freed
    EXPECT_FALSE(isClipboardOpen());
}

}  // namespace
