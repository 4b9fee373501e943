// Texture atlases and the nodes drawing from them: quad list operations, the
// atlas label's cells, the tile map's reader and tiles, and the font atlas.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/files/FileUtils.h"
#include "engine/label/FontAtlas.h"
#include "engine/label/LabelAtlas.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureAtlas.h"
#include "engine/renderer/TextureCache.h"
#include "engine/tilemap/TileMapAtlas.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

namespace {

using engine::AtlasQuad;
using engine::Vec2;

struct AtlasNodeTest : ::testing::Test {
    AtlasNodeTest() {
        const std::vector<unsigned char> png = testsupport::encodeBlankPng(40, 20);   // 4 x 2 cells of 10 x 10
        dir.write("cells.png", std::string(png.begin(), png.end()));
        engine::FileUtils::getInstance()->addSearchPath(dir.path());
    }
    ~AtlasNodeTest() override {
        engine::TextureCache::destroyInstance();
        engine::FileUtils::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
    }
    testsupport::TempDir dir;
};

AtlasQuad quadAt(float x) {
    AtlasQuad quad;
    quad.bottomLeft = Vec2(x, 0.f);
    return quad;
}

// The x of each quad, as "0,1,2".
std::string xs(const engine::TextureAtlas* atlas) {
    std::string out;
    for (const AtlasQuad& q : atlas->getQuads()) out += (out.empty() ? "" : ",") + std::to_string(static_cast<int>(q.bottomLeft.x));
    return out;
}

TEST_F(AtlasNodeTest, QuadListOperationsKeepWithinTotalAndCapacity) {
    struct Case {
        const char* name;
        std::function<bool(engine::TextureAtlas*)> op;
        bool result;
        const char* after;   // starting from quads 0,1,2,3 in an atlas of capacity 5
    };
    const Case cases[] = {
        {"update in place", [](engine::TextureAtlas* a) { return a->updateQuad(quadAt(9), 1); }, true, "0,9,2,3"},
        {"update appends at the end", [](engine::TextureAtlas* a) { return a->updateQuad(quadAt(9), 4); }, true,
         "0,1,2,3,9"},
        {"update past the end", [](engine::TextureAtlas* a) { return a->updateQuad(quadAt(9), 5); }, false, "0,1,2,3"},
        {"insert", [](engine::TextureAtlas* a) { return a->insertQuad(quadAt(9), 0); }, true, "9,0,1,2,3"},
        {"insert past the end", [](engine::TextureAtlas* a) { return a->insertQuad(quadAt(9), 5); }, false, "0,1,2,3"},
        {"move one", [](engine::TextureAtlas* a) { return a->insertQuadFromIndex(0, 3); }, true, "1,2,3,0"},
        {"move a run", [](engine::TextureAtlas* a) { return a->moveQuadsFromIndex(2, 2, 0); }, true, "2,3,0,1"},
        {"move past the end", [](engine::TextureAtlas* a) { return a->moveQuadsFromIndex(3, 2, 0); }, false, "0,1,2,3"},
        {"remove a run", [](engine::TextureAtlas* a) { return a->removeQuadsAtIndex(1, 2); }, true, "0,3"},
        {"remove too many", [](engine::TextureAtlas* a) { return a->removeQuadsAtIndex(3, 2); }, false, "0,1,2,3"},
        {"empty a run", [](engine::TextureAtlas* a) { return a->fillWithEmptyQuadsFromIndex(2, 2); }, true, "0,1,0,0"},
        {"shrink drops the tail", [](engine::TextureAtlas* a) { return a->resizeCapacity(2); }, true, "0,1"},
        {"negative capacity", [](engine::TextureAtlas* a) { return a->resizeCapacity(-1); }, false, "0,1,2,3"},
        {"grow past the capacity", [](engine::TextureAtlas* a) { return a->increaseTotalQuadsWith(2); }, false,
         "0,1,2,3"},
    };
    for (const Case& c : cases) {
        engine::TextureAtlas* atlas = engine::TextureAtlas::createWithTexture(nullptr, 5);
        for (int i = 0; i < 4; ++i) ASSERT_TRUE(atlas->updateQuad(quadAt(static_cast<float>(i)), i));
        atlas->setDirty(false);
        EXPECT_EQ(c.op(atlas), c.result) << c.name;
        EXPECT_EQ(xs(atlas), c.after) << c.name;
        EXPECT_EQ(atlas->isDirty(), c.result) << c.name << ": only a change marks it";
    }
    engine::TextureAtlas* full = engine::TextureAtlas::createWithTexture(nullptr, 1);
    EXPECT_TRUE(full->insertQuad(quadAt(1), 0));
    EXPECT_FALSE(full->insertQuad(quadAt(2), 0)) << "no room";
    EXPECT_EQ(engine::TextureAtlas::create("missing.png", 4), nullptr);
}

TEST_F(AtlasNodeTest, AtlasLabelCutsOneCellPerCharacter) {
    // Cells start at '0': '1' is cell 1 (top row), '5' cell 5 (bottom row), 'z' is off the map.
    engine::LabelAtlas* label = engine::LabelAtlas::create("15z", "cells.png", 10, 10, '0');
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getContentSize(), engine::Size(30.f, 10.f));
    const std::vector<AtlasQuad>& quads = label->getTextureAtlas()->getQuads();
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_FLOAT_EQ(quads[0].u0, 0.25f);
    EXPECT_FLOAT_EQ(quads[0].v1, 1.f);
    EXPECT_FLOAT_EQ(quads[1].u0, 0.25f);
    EXPECT_FLOAT_EQ(quads[1].v1, 0.5f);
    EXPECT_FLOAT_EQ(quads[1].bottomLeft.x, 10.f);
    EXPECT_EQ(quads[2].color.a, 0) << "a character off the map shows nothing";
    label->setString("0000");
    EXPECT_EQ(label->getQuadsToDraw(), 4);
    EXPECT_EQ(label->getString(), "0000");
    EXPECT_EQ(engine::LabelAtlas::create("1", "cells.png", 0, 10, '0'), nullptr);
}

// A TGA header for a width x height image of the type and bits, then the body.
std::string tga(int type, int width, int height, int bits, const std::string& body, int descriptor = 0) {
    std::string header(18, '\0');
    header[2] = static_cast<char>(type);
    header[12] = static_cast<char>(width & 0xff);
    header[13] = static_cast<char>(width >> 8);
    header[14] = static_cast<char>(height & 0xff);
    header[15] = static_cast<char>(height >> 8);
    header[16] = static_cast<char>(bits);
    header[17] = static_cast<char>(descriptor);
    return header + body;
}

TEST_F(AtlasNodeTest, TileMapImagesReadOrRefuse) {
    struct Case {
        const char* name;
        std::string bytes;
        bool read;
        std::string reds;   // red values, bottom row first
    };
    const Case cases[] = {
        {"true colour, B G R", tga(2, 2, 1, 24, std::string("\0\0\x03\0\0\x07", 6)), true, "3,7"},
        {"32 bits", tga(2, 1, 1, 32, std::string("\0\0\x05\xff", 4)), true, "5"},
        {"grey, top row first", tga(3, 1, 2, 8, "\x01\x02", 0x20), true, "2,1"},
        {"runs", tga(11, 3, 1, 8, "\x82\x04"), true, "4,4,4"},
        {"a run past the image", tga(11, 2, 1, 8, "\x82\x04"), false, ""},
        {"short body", tga(2, 2, 2, 24, "\x01\x02\x03"), false, ""},
        {"colour-mapped", tga(1, 1, 1, 8, "\x01"), false, ""},
        {"16 bits", tga(2, 1, 1, 16, "\x01\x02"), false, ""},
        {"too wide", tga(3, 5000, 1, 8, std::string(5000, '\x01')), false, ""},
        {"no header", "\x02\x00", false, ""},
    };
    for (const Case& c : cases) {
        engine::TileMapImage map;
        EXPECT_EQ(engine::parseTileMapImage(c.bytes, &map), c.read) << c.name;
        std::string reds;
        for (const engine::Color3B& p : map.pixels) reds += (reds.empty() ? "" : ",") + std::to_string(p.r);
        EXPECT_EQ(reds, c.reds) << c.name;
    }
}

TEST_F(AtlasNodeTest, TileMapDrawsItsTilesAndTakesChanges) {
    // 3 x 1 map: cell 2, empty, cell 5.
    dir.write("map.tga", tga(3, 3, 1, 8, std::string("\x02\x00\x05", 3)));
    engine::TileMapAtlas* map = engine::TileMapAtlas::create("cells.png", "map.tga", 10, 10);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->getContentSize(), engine::Size(30.f, 10.f));
    EXPECT_EQ(map->getQuadsToDraw(), 2);
    EXPECT_EQ(map->getTileAt(Vec2(2.f, 0.f)).r, 5);
    EXPECT_EQ(map->getTileAt(Vec2(7.f, 0.f)).r, 0) << "outside the map";
    map->setTile(engine::Color3B{1, 1, 1}, Vec2(1.f, 0.f));
    EXPECT_EQ(map->getQuadsToDraw(), 3);
    EXPECT_FLOAT_EQ(map->getTextureAtlas()->getQuads()[1].bottomLeft.x, 10.f);
    EXPECT_EQ(engine::TileMapAtlas::create("cells.png", "missing.tga", 10, 10), nullptr);
}

TEST_F(AtlasNodeTest, FontAtlasKeepsLettersAndPages) {
    engine::FontAtlas* atlas = engine::FontAtlas::create("f.ttf");
    engine::FontLetterDefinition a;
    a.validDefinition = true;
    a.xAdvance = 7;
    atlas->addLetterDefinition(U'a', a);
    atlas->addLetterDefinition(U'b', engine::FontLetterDefinition{});   // not valid
    engine::FontLetterDefinition found;
    EXPECT_TRUE(atlas->getLetterDefinition(U'a', &found));
    EXPECT_EQ(found.xAdvance, 7);
    EXPECT_FALSE(atlas->getLetterDefinition(U'b', &found));
    EXPECT_FALSE(atlas->getLetterDefinition(U'c', &found));

    engine::Texture2D* page = engine::Texture2D::create(4, 4, engine::Texture2D::PixelFormat::RGBA8888);
    atlas->addTexture(page, 0);
    atlas->setAliasTexParameters();
    EXPECT_EQ(page->getTexParameters().magFilter, 0x2600u) << "nearest";
    atlas->setAntiAliasTexParameters();
    EXPECT_EQ(page->getTexParameters().minFilter, 0x2601u) << "linear";
    EXPECT_EQ(atlas->getTexture(0), page);
    atlas->addTexture(nullptr, 0);
    EXPECT_EQ(atlas->getTexture(0), nullptr);
    EXPECT_EQ(page->getReferenceCount(), 1u) << "the page is let go";
    page->release();
}

}  // namespace
