// Textures, sprites from polygons, traced polygons, tile maps and properties as
// scripts see them: argument forms and their errors, results, and the texture
// cache's asynchronous loads reaching a script function once.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "BindingTestSupport.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "engine/renderer/TextureCache.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

// show(...): the count of values, then each as text: "2:5,0".
const char kShow[] =
    "function show(...) local out = {} for i = 1, select('#', ...) do out[i] = tostring((select(i, ...))) end "
    "return select('#', ...) .. ':' .. table.concat(out, ',') end";

std::string writePng(const testsupport::TempDir& dir, const std::string& name, int width, int height,
                     unsigned char alpha) {
    testsupport::PngImage image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < width * height; ++i) image.rows.insert(image.rows.end(), {10, 20, 30, alpha});
    const std::vector<unsigned char> png = testsupport::encodePng(image);
    return dir.write(name, std::string(png.begin(), png.end()));
}

class AssetBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        opaque = writePng(dir, "opaque.png", 8, 8, 255);
        clear = writePng(dir, "clear.png", 8, 8, 0);
        ASSERT_EQ(run(kShow), "");
        ASSERT_EQ(run("dir = '" + dir.path() + "/'"), "");
    }
    // The cache goes first: its loads post to the director's scheduler.
    void TearDown() override {
        engine::TextureCache::destroyInstance();
        LuaEngineBindingTest::TearDown();
    }
    // Runs the director's updates until the script's `done` is true (10 s at most).
    void pumpUntil(const std::string& condition) {
        engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
        for (int i = 0; i < 10000 && eval(condition) != "true"; ++i) {
            scheduler->update(0);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        for (int i = 0; i < 3; ++i) scheduler->update(0);
    }

    testsupport::TempDir dir;
    std::string opaque, clear;
};

TEST_F(AssetBindingTest, TexturesAndTheirCache) {
    runCases({
        {"the director's cache", "cache = cc.Director:getInstance():getTextureCache()",
         "tolua.type(cache) .. ' ' .. tostring(rawequal(cache, cc.TextureCache:getInstance()))",
         "cc.TextureCache true"},
        {"addImage", "t = cache:addImage(dir .. 'opaque.png')",
         "tolua.type(t) .. ' ' .. t:getPixelsWide() .. 'x' .. t:getPixelsHigh()", "cc.Texture2D 8x8"},
        {"addImage of a missing file", "", "cache:addImage(dir .. 'none.png')", "nil"},
        {"setTexParameters", "", "show(t:setTexParameters(0x2600, 0x2600, 0x2901, 0x2901))", "0:"},
        {"setTexParameters count", "", "t:setTexParameters(1, 2, 3)",
         "error: 'setTexParameters' function of Texture2D wrong number of arguments: 3, was expecting 4\n"},
        {"addImageAsync count", "", "cache:addImageAsync(dir .. 'opaque.png')",
         "error: cc.TextureCache:addImageAsync function of TextureCache has wrong number of arguments: 1, was "
         "expecting 1\n"},
        // Arguments that do not read end the call without a value.
        {"addImageAsync without a function", "", "show(cache:addImageAsync(dir .. 'opaque.png', 5))", "0:"},
        {"addImageAsync without a path", "", "show(cache:addImageAsync(nil, function() end))", "0:"},
        {"setTexParameters without a number", "", "show(t:setTexParameters(nil, 0x2600, 0x2901, 0x2901))", "0:"},
    });
    EXPECT_EQ(engine::TextureCache::getInstance()->getTextureForKey(opaque)->getTexParameters().wrapS, 0x2901u);
}

// A sprite of a texture already cached finds it without touching the disk, whether
// the script names the file along the search paths or in full.
TEST_F(AssetBindingTest, SpriteOfACachedTextureTouchesNoFile) {
    engine::FileUtils::getInstance()->addSearchPath(dir.path());
    for (const char* name : {"'opaque.png'", "dir .. 'opaque.png'"}) {
        SCOPED_TRACE(name);
        const std::string create = std::string("cc.Sprite:create(") + name + ")";
        ASSERT_EQ(run("first = " + create), "");
        const uint64_t before = engine::FileUtils::fileSystemCallsForTesting();
        EXPECT_EQ(eval(create + ":getTexture() == first:getTexture()"), "true");
        EXPECT_EQ(engine::FileUtils::fileSystemCallsForTesting() - before, 0u);
    }
}

// A good and a missing file: each function runs once, later, with the texture or
// nil; a cache destroyed first calls neither.
TEST_F(AssetBindingTest, AddImageAsyncCallsBackOnce) {
    ASSERT_EQ(run("calls = {} cache = cc.Director:getInstance():getTextureCache()\n"
                  "cache:addImageAsync(dir .. 'clear.png', function(t) calls[#calls + 1] = 'good ' .. "
                  "tolua.type(t) .. ' ' .. t:getPixelsWide() end)\n"
                  "cache:addImageAsync(dir .. 'none.png', function(t) calls[#calls + 1] = 'missing ' .. "
                  "tostring(t) end)"),
              "");
    EXPECT_EQ(eval("#calls"), "0");
    pumpUntil("#calls == 2");
    EXPECT_EQ(eval("table.concat(calls, '|')"), "missing nil|good cc.Texture2D 8");

    ASSERT_EQ(run("late = 0 cache:addImageAsync(dir .. 'opaque.png', function() late = late + 1 end)"), "");
    engine::TextureCache::destroyInstance();
    for (int i = 0; i < 20; ++i) {
        engine::Director::getInstance()->getScheduler()->update(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(eval("late"), "0");
}

TEST_F(AssetBindingTest, SpritesFromFilesRectanglesAndPolygons) {
    runCases({
        {"empty", "", "tolua.type(cc.Sprite:create()) .. ' ' .. cc.Sprite:create(nil):getContentSize().width",
         "cc.Sprite 0"},
        {"file", "", "cc.Sprite:create(dir .. 'opaque.png'):getContentSize().width", "8"},
        {"missing file", "", "cc.Sprite:create(dir .. 'none.png')", "nil"},
        {"file and rectangle", "",
         "cc.Sprite:create(dir .. 'opaque.png', {x = 2, y = 2, width = 3, height = 4}):getContentSize().height", "4"},
        {"polygon info", "p = cc.AutoPolygon:generatePolygon(dir .. 'opaque.png', {x = 0, y = 0, width = 5, height = 6})",
         "cc.Sprite:create(p):getContentSize().width", "5"},
        {"neither file nor polygon", "", "cc.Sprite:create({})",
         "error: cc.Sprite:create has wrong number of arguments: 1, was expecting 2"},
        {"rectangle that does not read", "", "cc.Sprite:create(dir .. 'opaque.png', 5)",
         "error: cc.Sprite:create has wrong number of arguments: 2, was expecting 2"},
        {"three arguments", "", "cc.Sprite:create('a', 'b', 'c')",
         "error: cc.Sprite:create has wrong number of arguments: 3, was expecting 2"},
        {"initWithPolygon", "s = cc.Sprite:create()",
         "tostring(s:initWithPolygon(p)) .. ' ' .. s:getContentSize().height", "true 6"},
        {"initWithPolygon of a missing image", "q = cc.PolygonInfo:new() q.filename = dir .. 'none.png'",
         "tostring(s:initWithPolygon(q)) .. ' ' .. s:getContentSize().height", "false 6"},
        {"setPolygonInfo returns the sprite", "", "rawequal(s:setPolygonInfo(q), s)", "true"},
        {"initWithPolygon of no polygon", "", "s:initWithPolygon(5)",
         "error: invalid arguments in function 'lua_engine_Sprite_initWithPolygon'"},
        {"setPolygonInfo count", "", "s:setPolygonInfo()",
         "error: cc.Sprite:setPolygonInfo has wrong number of arguments: 0, was expecting 1 \n"},
    });
}

TEST_F(AssetBindingTest, GeneratePolygonFormsAndDefaults) {
    runCases({
        {"defaults: whole image, 2.0, 0.05", "a = cc.AutoPolygon:generatePolygon(dir .. 'opaque.png')",
         "a:getVertCount() .. ' ' .. a:getTrianglesCount() .. ' ' .. a.rect.width .. ' ' .. a.rect.height", "4 2 8 8"},
        {"the defaults spelt out",
         "b = cc.AutoPolygon:generatePolygon(dir .. 'opaque.png', {x = 0, y = 0, width = 0, height = 0}, 2, 0.05)",
         "b:getVertCount() .. ' ' .. b.rect.width .. ' ' .. b.filename", "4 8 " + dir.path() + "/opaque.png"},
        {"transparent image", "c = cc.AutoPolygon:generatePolygon(dir .. 'clear.png')",
         "c:getVertCount() .. ' ' .. c:getTrianglesCount() .. ' ' .. tolua.type(c)", "0 0 cc.PolygonInfo"},
        {"five arguments", "", "cc.AutoPolygon:generatePolygon('a', {}, 1, 1, 1)",
         "error: cc.AutoPolygon:generatePolygon has wrong number of arguments: 5, was expecting 1\n "},
        {"none", "", "cc.AutoPolygon:generatePolygon()",
         "error: cc.AutoPolygon:generatePolygon has wrong number of arguments: 0, was expecting 1\n "},
        {"epsilon that does not read", "", "cc.AutoPolygon:generatePolygon('a', {x = 0, y = 0, width = 1, height = 1}, {})",
         "error: invalid arguments in function 'lua_engine_AutoPolygon_generatePolygon'"},
        {"owned by the script", "a = nil b = nil c = nil collectgarbage() collectgarbage()", "1", "1"},
    });
}

const char kMap[] =
    "<map orientation=\"orthogonal\" width=\"2\" height=\"2\" tilewidth=\"8\" tileheight=\"8\">"
    "<tileset firstgid=\"1\" name=\"t\" tilewidth=\"8\" tileheight=\"8\"><image source=\"t.png\"/>"
    "<tile id=\"2\"><properties><property name=\"kind\" value=\"door\"/></properties></tile></tileset>"
    "<layer name=\"ground\" width=\"2\" height=\"2\"><data encoding=\"csv\">1,2147483650,3758096387,0</data></layer>"
    "</map>";

TEST_F(AssetBindingTest, TileMapsThroughBothTables) {
    dir.write("field.tmx", kMap);
    runCases({
        {"both maps", "m = cc.TMXTiledMap:create(dir .. 'field.tmx') e = ccexp.TMXTiledMap:create(dir .. 'field.tmx')",
         "tolua.type(m) .. ' ' .. tolua.type(e)", "cc.TMXTiledMap ccexp.TMXTiledMap"},
        {"missing map", "", "tostring(cc.TMXTiledMap:create(dir .. 'none.tmx')) .. ' ' .. "
                            "tostring(ccexp.TMXTiledMap:create(dir .. 'none.tmx'))", "nil nil"},
        {"layers of each kind", "l = m:getLayer('ground') x = e:getLayer('ground')",
         "tolua.type(l) .. ' ' .. tolua.type(x) .. ' ' .. x:getLayerName()", "cc.TMXLayer ccexp.TMXLayer ground"},
        // plain, horizontal (0x80000000), all three flips (0xE0000000)
        {"cc gids alone", "", "show(l:getTileGIDAt({x = 0, y = 0})) .. ' ' .. show(l:getTileGIDAt({x = 1, y = 0}))",
         "2:1,0 2:2,0"},
        {"cc gids and flags", "",
         "show(l:getTileGIDAt({x = 1, y = 0}, 0)) .. ' ' .. show(l:getTileGIDAt({x = 0, y = 1}, 0)) .. ' ' .. "
         "show(l:getTileGIDAt({x = 0, y = 0}, 0))",
         "2:2,2147483648 2:3,3758096384 2:1,0"},
        {"ccexp gids and signed flags", "",
         "show(x:getTileGIDAt({x = 1, y = 0}, 0)) .. ' ' .. show(x:getTileGIDAt({x = 0, y = 1}, 0)) .. ' ' .. "
         "show(x:getTileGIDAt({x = 0, y = 1}))",
         "2:2,-2147483648 2:3,-536870912 2:3,0"},
        {"no position", "", "show(l:getTileGIDAt(5)) .. ' ' .. show(x:getTileGIDAt({x = 0, y = 0}, {}))", "0: 0:"},
        {"cc count", "", "l:getTileGIDAt()",
         "error: cc.TMXLayer:getTileGIDAt has wrong number of arguments: 0, was expecting 1 \n"},
        {"ccexp count", "", "x:getTileGIDAt()",
         "error: ccexp.TMXLayer:getTileGIDAt has wrong number of arguments: 0, was expecting 1 \n"},
        {"tile properties", "", "m:getPropertiesForGID(3).kind .. ' ' .. tostring(m:getPropertiesForGID(1))",
         "door nil"},
        {"tile properties of no gid", "", "select('#', m:getPropertiesForGID(nil))", "0"},
        {"setTiles short: the rest 0", "r = l:setTiles({7, 8})",
         "tostring(rawequal(r, l)) .. ' ' .. show(l:getTileGIDAt({x = 1, y = 0})) .. ' ' .. "
         "show(l:getTileGIDAt({x = 1, y = 1}))",
         "true 2:8,0 2:0,0"},
        {"setTiles long: the extra ignored, non-numbers 0", "x:setTiles({5, 'a', 0x40000006, 9, 10, 11})",
         "show(x:getTileGIDAt({x = 1, y = 0})) .. ' ' .. show(x:getTileGIDAt({x = 0, y = 1}, 0)) .. ' ' .. "
         "show(x:getTileGIDAt({x = 1, y = 1}))",
         "2:0,0 2:6,1073741824 2:9,0"},
        {"setTiles empty", "", "l:setTiles({})", "error: Table's len equal 0"},
        {"setTiles of no table", "", "l:setTiles(5)",
         "error: invalid arguments in function 'lua_engine_TMXLayer_setTiles'"},
    });
}

TEST_F(AssetBindingTest, PropertiesFromUrls) {
    dir.write("rock.material", "material rock\n{\n  shininess = 12.5 // bright\n  technique matte { pass = 2 }\n}\n");
    runCases({
        {"the file", "p = cc.Properties:createNonRefCounted(dir .. 'rock.material')",
         "tolua.type(p) .. ' ' .. p:getId() .. ' ' .. p:getFloat('shininess')", "cc.Properties rock 12.5"},
        {"a nested namespace", "q = cc.Properties:createNonRefCounted(dir .. 'rock.material#matte')",
         "q:getNamespace() .. ' ' .. q:getInt('pass')", "technique 2"},
        {"nothing there", "", "cc.Properties:createNonRefCounted(dir .. 'rock.material#none')",
         "error: invalid arguments in function 'lua_engine_Properties_createNonRefCounted'"},
        {"count", "", "cc.Properties:createNonRefCounted()",
         "error: cc.Properties:createNonRefCounted has wrong number of arguments: 0, was expecting 1\n "},
        {"collected", "p = nil q = nil collectgarbage() collectgarbage()", "1", "1"},
    });
}

}  // namespace
}  // namespace bindingtest
