// Cameras, tile maps, properties and polygons as scripts see them: the classes
// and their bases, the generated-style methods, the polygon info's fields, and
// objects the script owns deleted once by their collector (the address
// sanitizer reports a double delete, the leak check a missing one).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "BindingTestSupport.h"
#include "engine/base/Properties.h"
#include "engine/tilemap/TMXLayer.h"
#include "engine/tilemap/TMXTiledMap.h"
#include "scripting/LuaObjectConversions.h"

namespace bindingtest {
namespace {

using namespace engine;

class ModelClassBindingTest : public BindingStackTest {};

TEST_F(ModelClassBindingTest, ClassesAndTheirBases) {
    runCases({
        {"tables", "",
         "type(cc.Camera) .. type(cc.TMXTiledMap) .. type(cc.TMXLayer) .. type(cc.Properties) .. "
         "type(cc.AutoPolygon) .. type(cc.PolygonInfo)",
         "tabletabletabletabletabletable"},
        {"a camera is a node", "c = cc.Camera:createPerspective(60, 1.5, 1, 100) c:setTag(7)",
         "tolua.type(c) .. ' ' .. c:getTag() .. ' ' .. c:getType() .. ' ' .. c:getCameraFlag()", "cc.Camera 7 1 1"},
        {"degenerate camera", "", "cc.Camera:createOrthographic(0, 100, -1, 1)", "nil"},
        {"polygon info and auto polygon", "p = cc.PolygonInfo:new() a = cc.AutoPolygon:new('hero.png')",
         "tolua.type(p) .. ' ' .. tolua.type(a) .. ' ' .. p:getVertCount() .. ' ' .. p:getTrianglesCount()",
         "cc.PolygonInfo cc.AutoPolygon 0 0"},
        {"owned values are never the script's to release", "",
         "tostring(tolua.takeownership(p)) .. ' ' .. tostring(tolua.releaseownership(p))", "false false"},
    });
}

TEST_F(ModelClassBindingTest, CameraMatricesReachScripts) {
    runCases({
        {"orthographic projection, column-major",
         "c = cc.Camera:createOrthographic(200, 100, -1, 1) m = c:getProjectionMatrix()",
         "string.format('%g %g %g %g %g', m[1], m[6], m[11], m[13], m[14])", "0.01 0.02 -1 -1 -1"},
        {"position and view", "c:setPosition3D({x = 1, y = 2, z = 3}) v = c:getViewMatrix() p = c:getPosition3D()",
         "v[13] .. ' ' .. v[14] .. ' ' .. v[15] .. ' ' .. p.z .. ' ' .. (c:getPosition())", "-1 -2 -3 3 1"},
        {"look at with the default up", "c:setPosition3D({x = 5, y = 0, z = 0}) c:lookAt({x = 0, y = 0, z = 0})",
         "c:getViewMatrix()[9] .. ' ' .. c:getViewMatrix()[15]", "-1 -5"},
        {"view projection", "vp = c:getViewProjectionMatrix()", "#vp", "16"},
        {"flag", "c:setCameraFlag(4)", "c:getCameraFlag()", "4"},
    });
}

TEST_F(ModelClassBindingTest, TileMapsFromTheEngineReachScripts) {
    TMXTiledMap* map = TMXTiledMap::create(Size(4, 2), Size(16, 16));
    TMXLayer* layer = TMXLayer::create("ground", Size(4, 2), Size(16, 16));
    map->addChild(layer);
    layer->setTiles({1, 0x80000002u, 3, 4});
    map->setProperties({{"name", Value("cave")}});
    map->setTileProperties({{3, Value(ValueMap{{"solid", Value(true)}})}});
    luaconv_push_object(L, "cc.TMXTiledMap", map);
    lua_setglobal(L, "map");
    runCases({
        {"layer by name", "l = map:getLayer('ground')",
         "tolua.type(l) .. ' ' .. l:getLayerName() .. ' ' .. l:getLayerSize().width .. ' ' .. map:getTileSize().height",
         "cc.TMXLayer ground 4 16"},
        {"a layer is a sprite batch node", "", "type(l.getDescendants)", "function"},
        {"no such layer", "", "map:getLayer('sky')", "nil"},
        {"gid without its flags", "", "l:getTileGIDAt({x = 1, y = 0})", "2"},
        {"set with flags", "l:setTileGID(9, {x = 0, y = 1}, 0x40000000)", "l:getTileGIDAt({x = 0, y = 1})", "9"},
        {"outside", "l:setTileGID(9, {x = 4, y = 0})", "l:getTileGIDAt({x = 4, y = 0})", "0"},
        {"properties", "", "map:getProperty('name') .. ' ' .. map:getProperties().name", "cave cave"},
        {"tile properties", "", "tostring(map:getPropertiesForGID(3).solid) .. ' ' .. tostring(map:getPropertiesForGID(2))",
         "true nil"},
    });
    EXPECT_EQ(layer->getTiles()[4], 0x40000009u);
}

TEST_F(ModelClassBindingTest, MapDescriptionsAndObjectGroups) {
    lua_pushstring(L,
                   "<map orientation=\"orthogonal\" width=\"2\" height=\"2\" tilewidth=\"8\" tileheight=\"8\">"
                   "<tileset firstgid=\"1\" name=\"t\" tilewidth=\"8\" tileheight=\"8\"><image source=\"t.png\""
                   " width=\"16\" height=\"16\"/></tileset>"
                   "<layer name=\"ground\" width=\"2\" height=\"2\"><properties><property name=\"depth\" value=\"2\"/>"
                   "</properties><data encoding=\"csv\">1,2,3,4</data></layer>"
                   "<objectgroup name=\"spawns\"><object name=\"door\" x=\"1\" y=\"2\" width=\"3\" height=\"4\"/>"
                   "</objectgroup></map>");
    lua_setglobal(L, "XML");
    runCases({
        {"a description with its parts", "info = cc.TMXMapInfo:createWithXML(XML, 'f.tmx')",
         "tolua.type(info) .. ' ' .. #info:getLayers() .. ' ' .. tolua.type(info:getLayers()[1]) .. ' ' .. "
         "info:getLayers()[1]:getProperties().depth .. ' ' .. info:getTilesets()[1]:getRectForGID(4).y",
         "cc.TMXMapInfo 1 cc.TMXLayerInfo 2 8"},
        {"object groups", "g = info:getObjectGroups()[1] door = g:getObject('door')",
         "g:getGroupName() .. ' ' .. door.x .. ' ' .. door.y .. ' ' .. #g:getObjects()", "spawns 1 10 1"},
        {"parts set back", "info:setLayers({}) info:setObjectGroups({g, cc.TMXObjectGroup:create(), 5})",
         "#info:getLayers() .. ' ' .. #info:getObjectGroups()", "0 2"},
        {"a group's own values", "g:setObjects({{name = 'a'}}) g:setProperties({k = 'v'}) g:setGroupName('x')",
         "g:getObject('a').name .. g:getProperty('k') .. g:getGroupName()", "avx"},
        {"unreadable text", "", "cc.TMXMapInfo:createWithXML('<map', 'bad')", "nil"},
        {"an array that is not a table", "", "info:setLayers(3)",
         "error: invalid arguments in function 'lua_engine_TMXMapInfo_setLayers'"},
    });
}

TEST_F(ModelClassBindingTest, PolygonInfoFields) {
    runCases({
        {"defaults", "p = cc.PolygonInfo:new()", "p.rect.width .. ' [' .. p.filename .. ']'", "0 []"},
        {"set", "p.rect = {x = 1, y = 2, width = 30, height = 40} p.filename = 'hero.png'",
         "p.rect.x .. ' ' .. p.rect.height .. ' ' .. p.filename", "1 40 hero.png"},
        {"values that do not read change nothing", "p.rect = 5 p.filename = {}",
         "p.rect.width .. ' ' .. p.filename", "30 hero.png"},
        {"fields are per object", "q = cc.PolygonInfo:new()", "q.filename .. '|' .. p.filename", "|hero.png"},
        {"methods stay methods", "", "type(p.getVertCount)", "function"},
    });
    ASSERT_EQ(run("getRect = getmetatable(p)['.get'].rect"), "");
    EXPECT_EQ(eval("getRect(42)"), "error: invalid 'self' in function 'lua_get_PolygonInfo_rect'");
}

// Each owned object is deleted once, when its last userdata goes: casts and
// repeated pushes share that userdata; nested namespaces belong to their parent,
// which their userdata keeps alive.
TEST_F(ModelClassBindingTest, CollectorsDeleteOwnedObjectsOnce) {
    auto root = std::make_unique<Properties>("material", "rock");
    root->setString("shininess", "12.5");
    root->addNamespace(std::make_unique<Properties>("technique", "matte"))->setString("pass", "2");
    luaconv_push_owned_usertype(L, "cc.Properties", root.release());
    lua_setglobal(L, "props");
    runCases({
        {"values", "", "props:getNamespace() .. ' ' .. props:getId() .. ' ' .. props:getFloat('shininess')",
         "material rock 12.5"},
        {"nested namespace, not owned", "t = props:getNamespace('matte')",
         "tolua.type(t) .. ' ' .. t:getInt('pass') .. ' ' .. tostring(props:getNamespace('none'))",
         "cc.Properties 2 nil"},
        {"defaults", "", "props:getString('x', 'y') .. ' ' .. tostring(props:getBool('x')) .. props:getString('x')",
         "y false"},
        {"set", "props:setString('x', 'true')", "tostring(props:getBool('x')) .. ' ' .. tostring(props:exists('x'))",
         "true true"},
        {"cast keeps the same userdata", "", "rawequal(tolua.cast(props, 'cc.Properties'), props)", "true"},
        {"the child goes first", "t = nil collectgarbage() collectgarbage()", "props:getNamespace('matte'):getId()",
         "matte"},
        {"a nested namespace keeps its parent", "t = props:getNamespace('matte') props = nil collectgarbage()",
         "t:getId() .. ' ' .. t:getInt('pass')", "matte 2"},
        {"many owned values", "for i = 1, 200 do cc.PolygonInfo:new() cc.AutoPolygon:new('a' .. i) end", "1", "1"},
        {"all collected", "t = nil p = nil collectgarbage() collectgarbage()", "t", "nil"},
    });
}

}  // namespace
}  // namespace bindingtest
