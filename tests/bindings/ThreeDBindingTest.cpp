// The 3D classes as scripts see them: boxes and rays they own, a sprite's box
// the engine keeps, models read as sprites (also on a worker) and triangle
// lists, terrain tables and heights with their normals, and the count errors
// of every hand-written method.
#include <gtest/gtest.h>
#include <tolua++.h>

#include <chrono>
#include <string>
#include <thread>

#include "BindingTestSupport.h"
#include "bindings/3d/Lua3DManual.h"
#include "bindings/LuaModules.h"
#include "engine/3d/Sprite3DCache.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/base/Types.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

const char* const kQuad =
    "o quad\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "f 1/1 2/2 3/3\nf 1/1 3/3 4/4\n";

class ThreeDBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        bindings::register_3d_module(L);
        const std::string model = dir.write("quad.obj", kQuad);
        // A 2 x 2 height map: red 0 everywhere but 100 at the bottom-right pixel.
        testsupport::PngImage png;
        png.width = 2;
        png.height = 2;
        png.colorType = 2;
        png.rows = {0, 0, 0, 0, 0, 0, 0, 0, 0, 100, 0, 0};
        const std::vector<unsigned char> bytes = testsupport::encodePng(png);
        const std::string map = dir.write("height.png", std::string(bytes.begin(), bytes.end()));
        ASSERT_EQ(run("model = '" + model + "' heightMap = '" + map + "'\n"
                      "function v3(v) return string.format('%.3f %.3f %.3f', v.x, v.y, v.z) end"),
                  "");
    }
    void TearDown() override {
        engine::Sprite3DCache::destroyInstance();
        LuaEngineBindingTest::TearDown();
    }

    // Pushes a vector the script can hand to methods taking a cc.Vec3 object.
    void setVec3Global(const char* name, engine::Vec3* value) {
        tolua_pushusertype(L, value, "cc.Vec3");
        lua_setglobal(L, name);
    }

    // Whether the box held by the global is one Lua's collector deletes.
    bool ownedByLua(const char* global) {
        lua_getglobal(L, global);
        void* object = tolua_tousertype(L, -1, nullptr);
        lua_pop(L, 1);
        lua_pushstring(L, "tolua_gc");
        lua_rawget(L, LUA_REGISTRYINDEX);
        lua_pushlightuserdata(L, object);
        lua_rawget(L, -2);
        const bool owned = !lua_isnil(L, -1);
        lua_pop(L, 2);
        return owned;
    }

    testsupport::TempDir dir;
};

TEST_F(ThreeDBindingTest, BoxesAndRays) {
    engine::Vec3 corner(9, 9, 9);
    setVec3Global("corner", &corner);
    runCases({
        {"a new box is empty", "b = cc.AABB:new()", "tostring(b:isEmpty()) .. ' ' .. tolua.type(b)", "true cc.AABB"},
        {"set makes it a box", "b:set({x = -1, y = 0, z = 2}, {x = 3, y = 2, z = 4})",
         "tostring(b:isEmpty()) .. ' ' .. v3(b:getCenter())", "false 1.000 1.000 3.000"},
        {"fields read and take vector tables", "b._max = {x = 5, y = 2, z = 4} b._min = 7",
         "v3(b._min) .. ' | ' .. v3(b._max)", "-1.000 0.000 2.000 | 5.000 2.000 4.000"},
        {"contains its corners", "",
         "tostring(b:containPoint({x = 5, y = 2, z = 4})) .. tostring(b:containPoint({x = 5.1, y = 2, z = 4}))",
         "truefalse"},
        {"transform takes 16 numbers", "b:transform({1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1})", "v3(b._min)",
         "9.000 0.000 2.000"},
        {"a cc.Vec3 gets the first corner", "b:getCorners(corner)", "v3(b._min)", "9.000 0.000 2.000"},
        {"one point per vector", "b:reset() b:updateMinMax(corner, 5)", "v3(b._min) .. ' | ' .. v3(b._max)",
         "9.000 2.000 4.000 | 9.000 2.000 4.000"},
        {"oriented box from a box", "o = cc.OBB:new(cc.AABB:new({x = -1, y = -1, z = -1}, {x = 1, y = 1, z = 1}))",
         "v3(o._extents) .. ' ' .. tostring(o:containPoint({x = 1, y = 1, z = 0}))", "1.000 1.000 1.000 true"},
        {"corners into a table as long as it", "c = o:getCorners({{}, nil, {x = 1, y = 2, z = 3}})",
         "#c .. ' ' .. v3(c[1]) .. ' ' .. v3(c[3])", "3 -1.000 1.000 1.000 1.000 -1.000 1.000"},
        {"a longer table keeps what it had past eight", "c = o:getCorners({1,2,3,4,5,6,7,8,{x = 4, y = 5, z = 6}})",
         "#c .. ' ' .. v3(c[8]) .. ' ' .. v3(c[9])", "9 -1.000 1.000 -1.000 4.000 5.000 6.000"},
        {"overlapping boxes", "far = cc.OBB:new() far:set({x = 3, y = 0, z = 0}, {x = 1, y = 0, z = 0}, "
                              "{x = 0, y = 1, z = 0}, {x = 0, y = 0, z = 1}, {x = 2.5, y = 1, z = 1})",
         "tostring(o:intersects(far)) .. ' ' .. tostring(far:intersects(cc.OBB:new()))", "true false"},
        {"a point box", "p = cc.OBB:new(corner, 3)", "v3(p._center) .. ' ' .. v3(p._extents)",
         "9.000 2.000 4.000 0.000 0.000 0.000"},
        {"rays", "r = cc.Ray:new({x = -5, y = 0, z = 0}, {x = 2, y = 0, z = 0})",
         "tostring(r:intersects(o)) .. ' ' .. tostring(r:intersects(far)) .. ' ' .. v3(r._direction)",
         "true true 1.000 0.000 0.000"},
        {"a moved ray", "r:set({x = 0, y = 5, z = 0}, {x = 1, y = 0, z = 0})", "tostring(r:intersects(o))", "false"},
        {"a turned ray", "r:transform({1,0,0,0, 0,0,1,0, 0,-1,0,0, 0,0,0,1})", "v3(r._origin)",
         "0.000 0.000 5.000"},
    });
    EXPECT_EQ(corner, engine::Vec3(9, 2, 4)) << "the one vector holds the first corner";
}

TEST_F(ThreeDBindingTest, CountErrors) {
    ASSERT_EQ(run("b = cc.AABB:new() o = cc.OBB:new() r = cc.Ray:new() s = cc.Sprite3D:create(model)"), "");
    const struct {
        const char* call;
        const char* error;
    } cases[] = {
        {"cc.AABB:new(1)", "cc.AABB:AABB has wrong number of arguments: 1, was expecting 0 \n"},
        {"cc.AABB.new()", "cc.AABB:AABB has wrong number of arguments: -1, was expecting 0 \n"},
        {"cc.AABB:new({}, 5)", "cc.AABB:AABB has wrong number of arguments: 2, was expecting 0 \n"},
        {"b:reset(1)", "cc.AABB:reset has wrong number of arguments: 1, was expecting 0 \n"},
        {"b:set({})", "cc.AABB:set has wrong number of arguments: 1, was expecting 2 \n"},
        {"b:transform({1, 2})", "cc.AABB:transform has wrong number of arguments: 1, was expecting 1 \n"},
        {"b:getCenter(1)", "cc.AABB:getCenter has wrong number of arguments: 1, was expecting 0 \n"},
        {"b:isEmpty(1)", "cc.AABB:isEmpty has wrong number of arguments: 1, was expecting 0 \n"},
        {"b:getCorners({})", "cc.AABB:getCorners has wrong number of arguments: 1, was expecting 1 \n"},
        {"b:updateMinMax()", "cc.AABB:updateMinMax has wrong number of arguments: 0, was expecting 2 \n"},
        {"b:containPoint()", "cc.AABB:containPoint has wrong number of arguments: 0, was expecting 1 \n"},
        {"cc.OBB:new(1, 2, 3)", "cc.OBB:OBB has wrong number of arguments: 3, was expecting 2 \n"},
        {"cc.OBB:new(o)", "cc.OBB:OBB has wrong number of arguments: 1, was expecting 2 \n"},
        {"o:reset(1)", "cc.OBB:reset has wrong number of arguments: 1, was expecting 0 \n"},
        {"o:set()", "cc.OBB:set has wrong number of arguments: 0, was expecting 5 \n"},
        {"o:transform()", "cc.OBB:transform has wrong number of arguments: 0, was expecting 1 \n"},
        {"o:containPoint()", "cc.OBB:containPoint has wrong number of arguments: 0, was expecting 1 \n"},
        {"o:intersects(b)", "cc.OBB:intersects has wrong number of arguments: 1, was expecting 1 \n"},
        {"o:getCorners()", "cc.OBB:getCorners has wrong number of arguments: 0, was expecting 1 \n"},
        {"o:getCorners({})", "Table's len equal 0"},
        {"cc.Ray:new(1)", "cc.Ray:Ray has wrong number of arguments: 1, was expecting 0 \n"},
        {"r:set()", "cc.Ray:set has wrong number of arguments: 0, was expecting 2 \n"},
        {"r:transform()", "cc.Ray:transform has wrong number of arguments: 0, was expecting 1 \n"},
        {"r:intersects(b)", "cc.Ray:intersects has wrong number of arguments: 1, was expecting 1 \n"},
        {"s:getAABB(1)", "cc.Sprite3D:getAABB has wrong number of arguments: 1, was expecting 0 \n"},
        {"cc.Sprite3D:createAsync(model)", "cc.Sprite3D:createAsync has wrong number of arguments: 1, was expecting 3"},
        {"cc.Sprite3D:createAsync(5, print)", "cc.Sprite3D:createAsync has wrong number of arguments: 2, was expecting 3"},
        {"cc.Bundle3D:getTrianglesList()", "cc.Bundle3D:getTrianglesList has wrong number of arguments: 0, was expecting 1\n "},
        {"cc.Bundle3D:getTrianglesList({})", "invalid arguments in function 'lua_engine_3d_Bundle3D_getTrianglesList'"},
        {"cc.Terrain:create()", "cc.Terrain:create has wrong number of arguments: 0, was expecting 1\n "},
        {"cc.Terrain:create(5)", "invalid arguments in function 'lua_engine_3d_Terrain_create'"},
        {"cc.Terrain:create({}, {})", "invalid arguments in function 'lua_engine_3d_Terrain_create'"},
    };
    for (const auto& c : cases) EXPECT_EQ(eval(c.call), std::string("error: ") + c.error) << c.call;
}

TEST_F(ThreeDBindingTest, ScriptBoxesAreCollectedSpriteBoxesAreNot) {
    ASSERT_EQ(run("mine = cc.AABB:new() s = cc.Sprite3D:create(model) engines = s:getAABB()"), "");
    EXPECT_TRUE(ownedByLua("mine"));
    EXPECT_FALSE(ownedByLua("engines"));
    // Collecting both userdata deletes the script's box and leaves the sprite's.
    ASSERT_EQ(run("mine = nil engines = nil collectgarbage() collectgarbage()"), "");
    EXPECT_EQ(eval("v3(s:getAABB()._max) .. ' ' .. tostring(rawequal(s:getAABB(), s:getAABB()))"),
              "1.000 1.000 0.000 true");
}

TEST_F(ThreeDBindingTest, SpritesAndTriangles) {
    runCases({
        {"a sprite of the model", "s = cc.Sprite3D:create(model)",
         "tolua.type(s) .. ' ' .. s:getMeshCount() .. ' ' .. tolua.type(s:getMesh()) .. ' ' .. s:getMesh():getName()",
         "cc.Sprite3D 1 cc.Mesh quad"},
        {"the box in the world", "s:setPosition3D({x = 1, y = 2, z = 3})", "v3(s:getAABB()._min)", "1.000 2.000 3.000"},
        {"two-number blend function returns the sprite", "",
         "tostring(rawequal(s:setBlendFunc(1, 771), s)) .. ' ' .. s:getBlendFunc().src .. ' ' .. s:getBlendFunc().dst",
         "true 1 771"},
        {"a blend table goes to the generated form", "s:setBlendFunc({src = 770, dst = 1})",
         "s:getBlendFunc().src .. ' ' .. s:getBlendFunc().dst", "770 1"},
        {"a missing model gives nil", "", "tostring(cc.Sprite3D:create('none.obj'))", "nil"},
        {"triangle list", "t = cc.Bundle3D:getTrianglesList(model)", "#t .. ' ' .. v3(t[3]) .. ' ' .. v3(t[6])",
         "6 1.000 1.000 0.000 0.000 1.000 0.000"},
        {"an unreadable model gives an empty list", "", "#cc.Bundle3D:getTrianglesList('none.obj')", "0"},
    });
}

TEST_F(ThreeDBindingTest, AsyncCreationCallsTheHandlerOnce) {
    ASSERT_EQ(run("calls = 0 results = {}\n"
                  "function done(s) calls = calls + 1 results[#results + 1] = s and tolua.type(s) .. s:getMeshCount() or 'nil' end\n"
                  "r1 = cc.Sprite3D:createAsync(model, done)\n"
                  "cc.Sprite3D:createAsync(model, heightMap, done)\n"
                  "cc.Sprite3D:createAsync('none.obj', done)"),
              "");
    EXPECT_EQ(eval("rawequal(r1, cc.Sprite3D)"), "true");
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    for (int frame = 0; frame < 500 && eval("calls") != "3"; ++frame) {
        scheduler->update(0.01f);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    for (int frame = 0; frame < 3; ++frame) scheduler->update(0.01f);
    EXPECT_EQ(eval("calls"), "3");
    // The loads end in any order.
    EXPECT_EQ(eval("table.sort(results) or table.concat(results, ' ')"), "cc.Sprite3D1 cc.Sprite3D1 nil");
}

TEST_F(ThreeDBindingTest, TerrainHeightsAndNormals) {
    runCases({
        {"a terrain of the map", "t = cc.Terrain:create({_heightMapSrc = heightMap, _mapHeight = 255, _mapScale = 2})",
         "tolua.type(t) .. ' ' .. t:getMaxHeight()", "cc.Terrain 100"},
        {"bilinear height, one value", "", "select('#', t:getHeight(0.5, 0.5)) .. ' ' .. t:getHeight(0.5, 0.5)",
         "1 56.25"},
        {"with a normal, two values", "h, n = t:getHeight(0.5, 0.5, {x = 0, y = 0, z = 0})",
         "h .. ' ' .. v3(n)", "56.25 -0.707 0.014 -0.707"},
        {"the flat triangle", "h, n = t:getHeight(-0.5, -0.5, {x = 0, y = 0, z = 0})", "h .. ' ' .. v3(n)",
         "6.25 0.000 1.000 0.000"},
        {"a point table", "", "select('#', t:getHeight({x = 0.5, y = 0.5})) .. ' ' .. t:getHeight({x = -1, y = -1})",
         "1 0"},
        {"outside the map", "h, n = t:getHeight(5, 5, {x = 0, y = 0, z = 0})", "h .. ' ' .. v3(n)",
         "0 0.000 1.000 0.000"},
        {"an unreadable map gives nil", "", "tostring(cc.Terrain:create({_heightMapSrc = 'none.png'}, 0))", "nil"},
    });
    engine::Vec3 normal;
    setVec3Global("normal", &normal);
    EXPECT_EQ(eval("select('#', t:getHeight({x = 0.5, y = 0.5}, normal))"), "2");
    EXPECT_NEAR(normal.x, -0.70703f, 1e-4f);
    EXPECT_EQ(eval("t:getHeight()"), "error: cc.Terrain:getHeight has wrong number of arguments: 0, was expecting 2 \n");
    EXPECT_EQ(eval("t:getHeight(1, 2, 3, 4)"),
              "error: cc.Terrain:getHeight has wrong number of arguments: 4, was expecting 2 \n");
}

TEST_F(ThreeDBindingTest, TerrainTableDefaultsAndLimits) {
    ASSERT_EQ(run("only = {_heightMapSrc = 'h.png'}\n"
                  "full = {_heightMapSrc = 'h.png', _alphaMapSrc = 'a' .. 'lpha.png', _chunkSize = {width = 8, height = 4},"
                  " _mapHeight = '3', _mapScale = 0.5, _detailMapAmount = 2.7, _skirtHeightRatio = 0.25,"
                  " _detailMaps = {{_detailMapSrc = 'd1.png', _detailMapSize = 20}, 'skipped', {_detailMapSize = 5},"
                  " {_detailMapSrc = 'd4.png'}, {_detailMapSrc = 'd5.png', _detailMapSize = 9}}}"),
              "");
    engine::Terrain::TerrainData data;
    lua_getglobal(L, "only");
    ASSERT_TRUE(bindings::readTerrainData(L, -1, &data));
    lua_pop(L, 1);
    EXPECT_EQ(data._heightMapSrc, "h.png");
    EXPECT_EQ(data._alphaMapSrc, "");
    EXPECT_EQ(data._chunkSize.width, 32);
    EXPECT_EQ(data._chunkSize.height, 32);
    EXPECT_FLOAT_EQ(data._mapHeight, 2.0f);
    EXPECT_FLOAT_EQ(data._mapScale, 0.1f);
    EXPECT_FLOAT_EQ(data._skirtHeightRatio, 1.0f);
    EXPECT_EQ(data._detailMapAmount, 0);
    for (const auto& map : data._detailMaps) {
        EXPECT_EQ(map._detailMapSrc, "");
        EXPECT_EQ(map._detailMapSize, 0);
    }

    lua_getglobal(L, "full");
    ASSERT_TRUE(bindings::readTerrainData(L, -1, &data));
    lua_pop(L, 1);
    ASSERT_EQ(run("full = nil collectgarbage()"), "");
    EXPECT_EQ(data._alphaMapSrc, "alpha.png") << "copied from the script's string";
    EXPECT_EQ(data._chunkSize.width, 8);
    EXPECT_EQ(data._chunkSize.height, 4);
    EXPECT_FLOAT_EQ(data._mapHeight, 3);
    EXPECT_FLOAT_EQ(data._mapScale, 0.5f);
    EXPECT_EQ(data._detailMapAmount, 2);
    EXPECT_FLOAT_EQ(data._skirtHeightRatio, 0.25f);
    const struct {
        const char* src;
        float size;
    } maps[] = {{"d1.png", 20}, {"", 0}, {"", 5}, {"d4.png", 0}};   // the fifth is past the record's four
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(data._detailMaps[i]._detailMapSrc, maps[i].src) << i;
        EXPECT_EQ(data._detailMaps[i]._detailMapSize, maps[i].size) << i;
    }
    lua_pushnumber(L, 5);
    EXPECT_FALSE(bindings::readTerrainData(L, -1, &data));
    lua_pop(L, 1);
}

}  // namespace
}  // namespace bindingtest
