// A label's shadow, and what it tells of its text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/label/Label.h"
#include "engine/label/LabelRaster.h"

namespace {

using engine::Color4B;
using engine::Label;

// The shadow is the text's own fill, moved: drawn alone it matches the plain text
// pixel for pixel at the offset (x right, y down in the raster).
TEST(LabelEffectsTest, TheShadowIsTheTextMovedByItsOffset) {
    engine::LabelRasterInput plain;
    plain.lines = {"Hi"};
    plain.fontSize = plain.lineHeight = 20.f;
    plain.width = 48;
    plain.height = 32;
    plain.color = Color4B{255, 0, 0, 255};
    engine::LabelRasterInput shadowOnly = plain;
    shadowOnly.color = Color4B{0, 0, 0, 0};
    shadowOnly.shadow = true;
    shadowOnly.shadowColor = plain.color;
    const int dx = 3, dy = 5;
    shadowOnly.shadowOffsetX = dx;
    shadowOnly.shadowOffsetY = dy;
    const std::vector<unsigned char> a = engine::rasterizeLabel(plain);
    const std::vector<unsigned char> b = engine::rasterizeLabel(shadowOnly);
    ASSERT_EQ(a.size(), 48u * 32u * 4u);
    ASSERT_EQ(b.size(), a.size());
    int inked = 0, mismatches = 0;
    for (int y = 0; y + dy < plain.height; ++y) {
        for (int x = 0; x + dx < plain.width; ++x) {
            const size_t from = (static_cast<size_t>(y) * 48 + x) * 4;
            const size_t to = (static_cast<size_t>(y + dy) * 48 + x + dx) * 4;
            inked += a[from + 3] != 0;
            for (int c = 0; c < 4; ++c) mismatches += a[from + c] != b[to + c];
        }
    }
    EXPECT_GT(inked, 20);
    EXPECT_EQ(mismatches, 0);
}

TEST(LabelEffectsTest, EffectsTurnOffTogetherAndTheTextIsCounted) {
    Label* label = Label::createWithSystemFont("h\xC3\xA9llo\nxy", "", 12.f);
    label->enableShadow();
    EXPECT_TRUE(label->isShadowEnabled());
    EXPECT_EQ(label->getShadowOffset().width, 2.f);
    EXPECT_EQ(label->getShadowOffset().height, -2.f);
    label->enableOutline(Color4B{0, 0, 255, 255}, 2);
    label->disableEffect();
    EXPECT_FALSE(label->isShadowEnabled());
    EXPECT_EQ(label->getOutlineSize(), 0);

    struct Case {
        const char* text;
        int length, lines;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"h\xC3\xA9llo\nxy", 8, 2},             // a two-byte character counts once
        {"\xE6\x9C\xA8 \xF0\x9F\x99\x82", 3, 1},   // three- and four-byte ones too
    };
    for (const Case& c : cases) {
        label->setString(c.text);
        EXPECT_EQ(label->getStringLength(), c.length) << c.text;
        EXPECT_EQ(label->getStringNumLines(), c.lines) << c.text;
    }
    engine::AutoreleasePool::getInstance()->clear();
}

}  // namespace
