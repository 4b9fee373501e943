// The tile-map model: a layer's ids with their flip bits, its size, and the map's
// layers and properties.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/tilemap/TMXLayer.h"
#include "engine/tilemap/TMXTiledMap.h"

using namespace engine;

namespace {

struct TileMapTest : ::testing::Test {
    ~TileMapTest() override { AutoreleasePool::getInstance()->clear(); }
};

TEST_F(TileMapTest, StoredIdsSplitIntoGidAndFlags) {
    TMXLayer* layer = TMXLayer::create("ground", Size(3, 2), Size(32, 32));
    ASSERT_NE(layer, nullptr);
    struct Case { Vec2 position; uint32_t stored; uint32_t gid; uint32_t flags; };
    const Case cases[] = {
        {{0, 0}, 5, 5, 0},
        {{1, 0}, 0x80000005u, 5, kTMXTileHorizontalFlag},
        {{2, 0}, 0x40000006u, 6, kTMXTileVerticalFlag},
        {{0, 1}, 0x20000001u, 1, kTMXTileDiagonalFlag},
        {{1, 1}, 0xE0000007u, 7, kTMXFlipedAll},
        {{2, 1}, 0x1FFFFFFFu, 0x1FFFFFFFu, 0},   // the largest gid, no flips
    };
    std::vector<uint32_t> ids;
    for (const Case& c : cases) ids.push_back(c.stored);
    layer->setTiles(ids);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        TMXTileFlags flags = kTMXTileVerticalFlag;
        EXPECT_EQ(layer->getTileGIDAt(c.position, &flags), c.gid);
        EXPECT_EQ(static_cast<uint32_t>(flags), c.flags);
        EXPECT_EQ(layer->getTileGIDAt(c.position), c.gid);
    }
}

TEST_F(TileMapTest, PositionsOutsideTheLayerHoldNothing) {
    TMXLayer* layer = TMXLayer::create("ground", Size(3, 2), Size(32, 32));
    ASSERT_NE(layer, nullptr);
    layer->setTiles(std::vector<uint32_t>(6, 0xE0000009u));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Vec2 outside[] = {{-1, 0}, {0, -0.5f}, {3, 0}, {0, 2}, {nan, 0}, {0, 1e30f}};
    for (const Vec2& position : outside) {
        SCOPED_TRACE(testing::Message() << position.x << ", " << position.y);
        TMXTileFlags flags = kTMXFlipedAll;
        EXPECT_EQ(layer->getTileGIDAt(position, &flags), 0u);
        EXPECT_EQ(static_cast<uint32_t>(flags), 0u);
        layer->setTileGID(4, position);
    }
    EXPECT_EQ(layer->getTiles(), std::vector<uint32_t>(6, 0xE0000009u));
    // Fractions are dropped: (2.9, 1.5) is column 2, row 1, the last id.
    EXPECT_EQ(layer->getTileGIDAt(Vec2(2.9f, 1.5f)), 9u);
}

TEST_F(TileMapTest, RemovedTilesEmptyAndTilePositionsCountRowsFromTheTop) {
    TMXLayer* layer = TMXLayer::create("ground", Size(3, 2), Size(32, 16));
    ASSERT_NE(layer, nullptr);
    layer->setTiles(std::vector<uint32_t>(6, 0xE0000009u));
    layer->removeTileAt(Vec2(1, 1));
    layer->removeTileAt(Vec2(5, 5));   // outside: nothing
    EXPECT_EQ(layer->getTiles(), (std::vector<uint32_t>{0xE0000009u, 0xE0000009u, 0xE0000009u, 0xE0000009u, 0,
                                                        0xE0000009u}));
    struct Case { Vec2 tile; Vec2 point; };
    const Case cases[] = {{{0, 0}, {0, 16}}, {{2, 0}, {64, 16}}, {{0, 1}, {0, 0}}, {{1.7f, 1.2f}, {32, 0}}};
    for (const Case& c : cases) EXPECT_EQ(layer->getPositionAt(c.tile), c.point) << c.tile.x << ", " << c.tile.y;
}

TEST_F(TileMapTest, SetTileGIDCombinesOnlyTheFlipBits) {
    TMXLayer* layer = TMXLayer::create("ground", Size(2, 2), Size(16, 16));
    ASSERT_NE(layer, nullptr);
    layer->setTileGID(3, Vec2(1, 0));
    layer->setTileGID(4, Vec2(0, 1), kTMXTileVerticalFlag);
    layer->setTileGID(5, Vec2(1, 1), static_cast<TMXTileFlags>(0xFFFFFFFFu));
    layer->setTileGID(0x80000006u, Vec2(0, 0));   // a gid carrying its flips keeps them
    EXPECT_EQ(layer->getTiles(), (std::vector<uint32_t>{0x80000006u, 3, 0x40000004u, 0xE0000005u}));
}

TEST_F(TileMapTest, TilesAndSizesKeepWidthTimesHeightIds) {
    struct Case { const char* what; std::vector<uint32_t> ids; std::vector<uint32_t> kept; };
    const Case cases[] = {
        {"empty", {}, {0, 0, 0, 0}},
        {"short", {1, 2}, {1, 2, 0, 0}},
        {"exact", {1, 2, 3, 4}, {1, 2, 3, 4}},
        {"long", {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4}},
    };
    TMXLayer* layer = TMXLayer::create("l", Size(2, 2), Size(8, 8));
    ASSERT_NE(layer, nullptr);
    for (const Case& c : cases) {
        layer->setTiles(std::vector<uint32_t>(4, 7));
        layer->setTiles(c.ids);
        EXPECT_EQ(layer->getTiles(), c.kept) << c.what;
    }
    // A new size keeps the ids that still fit at their column and row.
    ASSERT_TRUE(layer->setLayerSize(Size(3, 1.9f)));
    EXPECT_EQ(layer->getLayerSize(), Size(3, 1));
    EXPECT_EQ(layer->getTiles(), (std::vector<uint32_t>{1, 2, 0}));
    EXPECT_FALSE(layer->setLayerSize(Size(1e6f, 1e6f)));
    EXPECT_EQ(layer->getLayerSize(), Size(3, 1));
    EXPECT_EQ(TMXLayer::create("huge", Size(1e30f, 1e30f), Size(8, 8)), nullptr);
    TMXLayer* negative = TMXLayer::create("none", Size(-2, 5), Size(8, 8));
    ASSERT_NE(negative, nullptr);
    EXPECT_EQ(negative->getLayerSize(), Size(0, 5));
    EXPECT_TRUE(negative->getTiles().empty());
}

TEST_F(TileMapTest, MapFindsLayersAndProperties) {
    TMXTiledMap* map = TMXTiledMap::create(Size(10, 8), Size(32, 16));
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->getMapSize(), Size(10, 8));
    EXPECT_EQ(map->getTileSize(), Size(32, 16));
    TMXLayer* ground = TMXLayer::create("ground", Size(10, 8), Size(32, 16));
    TMXLayer* walls = TMXLayer::create("walls", Size(10, 8), Size(32, 16));
    Node* plain = Node::create();
    plain->setName("walls");
    map->addChild(plain);
    map->addChild(ground);
    map->addChild(walls);
    EXPECT_EQ(map->getLayer("ground"), ground);
    EXPECT_EQ(map->getLayer("walls"), walls);   // the node of that name is no layer
    EXPECT_EQ(map->getLayer("sky"), nullptr);

    map->setProperties({{"music", Value("forest.mp3")}});
    EXPECT_EQ(map->getProperty("music").asString(), "forest.mp3");
    EXPECT_TRUE(map->getProperty("none").isNull());
    map->setTileProperties({{12, Value(ValueMap{{"solid", Value(true)}})}});
    EXPECT_TRUE(map->getPropertiesForGID(12).asValueMap().at("solid").asBool());
    EXPECT_TRUE(map->getPropertiesForGID(13).isNull());
    ground->setProperties({{"z", Value(3)}});
    EXPECT_EQ(ground->getProperty("z").asInt(), 3);
}

}  // namespace
