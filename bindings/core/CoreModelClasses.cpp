// Cameras, tile maps, properties and polygons of the core table.
#include "bindings/core/CoreClassRows.h"

#include "bindings/LuaChecks.h"
#include "engine/3d/CameraBackgroundBrush.h"
#include "engine/base/Properties.h"
#include "engine/image/AutoPolygon.h"
#include "engine/renderer/PolygonInfo.h"
#include "engine/scene/Camera.h"
#include "engine/tilemap/TMXInfo.h"
#include "engine/tilemap/TMXLayer.h"
#include "engine/tilemap/TMXTiledMap.h"

namespace bindings {

namespace {

using namespace engine;

// Flags come as their numbers (CameraFlag's bits); kinds as 1 perspective, 2 orthographic.
void setCameraFlag(Camera* self, uint32_t flag) { self->setCameraFlag(static_cast<CameraFlag>(flag & 0xffffu)); }
uint32_t getCameraFlag(Camera* self) { return static_cast<uint32_t>(self->getCameraFlag()); }
int32_t getCameraType(Camera* self) { return static_cast<int32_t>(self->getType()); }
constexpr Vec3 kUp(0, 1, 0);

const Method kCameraMethods[] = {
    {"create", {classFunction<&Camera::create>()}},
    {"createPerspective", {classFunction<&Camera::createPerspective>()}},
    {"createOrthographic", {classFunction<&Camera::createOrthographic>()}},
    {"getType", {method<&getCameraType>()}},
    {"getProjectionMatrix", {method<&Camera::getProjectionMatrix>()}},
    {"getViewMatrix", {method<&Camera::getViewMatrix>()}},
    {"getViewProjectionMatrix", {method<&Camera::getViewProjectionMatrix>()}},
    {"setPosition3D", {method<&Camera::setPosition3D>()}},
    {"getPosition3D", {method<&Camera::getPosition3D>()}},
    {"lookAt", {method<&Camera::lookAt, &kUp>()}},
    {"setCameraFlag", {method<&setCameraFlag>()}},
    {"getCameraFlag", {method<&getCameraFlag>()}},
    {"setBackgroundBrush", {method<&Camera::setBackgroundBrush>()}},
    {"getBackgroundBrush", {method<&Camera::getBackgroundBrush>()}},
    {"clearBackground", {method<&Camera::clearBackground>()}},
};

void setTileGID(TMXLayer* self, uint32_t gid, const Vec2& position) { self->setTileGID(gid, position); }
void setTileGIDWithFlags(TMXLayer* self, uint32_t gid, const Vec2& position, uint32_t flags) {
    self->setTileGID(gid, position, static_cast<TMXTileFlags>(flags & kTMXFlipedAll));
}

const Method kTMXLayerMethods[] = {
    {"getLayerName", {method<&TMXLayer::getLayerName>()}},
    {"setLayerName", {method<&TMXLayer::setLayerName>()}},
    {"getLayerSize", {method<&TMXLayer::getLayerSize>()}},
    {"setLayerSize", {method<&TMXLayer::setLayerSize>()}},
    {"getMapTileSize", {method<&TMXLayer::getMapTileSize>()}},
    {"setMapTileSize", {method<&TMXLayer::setMapTileSize>()}},
    {"setTileGID", {method<&setTileGID>(), method<&setTileGIDWithFlags>()}},
    {"getProperties", {method<&TMXLayer::getProperties>()}},
    {"getProperty", {method<&TMXLayer::getProperty>()}},
};

TMXTiledMap* createTiledMap(const std::string& tmxFile) { return TMXTiledMap::create(tmxFile); }

const Method kTMXTiledMapMethods[] = {
    {"create", {classFunction<&createTiledMap>()}},
    {"getMapSize", {method<&TMXTiledMap::getMapSize>()}},
    {"setMapSize", {method<&TMXTiledMap::setMapSize>()}},
    {"getTileSize", {method<&TMXTiledMap::getTileSize>()}},
    {"setTileSize", {method<&TMXTiledMap::setTileSize>()}},
    {"getLayer", {method<&TMXTiledMap::getLayer>()}},
    {"getProperties", {method<&TMXTiledMap::getProperties>()}},
    {"getProperty", {method<&TMXTiledMap::getProperty>()}},
    {"getObjectGroups", {method<&TMXTiledMap::getObjectGroups>()}},
    {"setObjectGroups", {method<&TMXTiledMap::setObjectGroups>()}},
    {"getObjectGroup", {method<&TMXTiledMap::getObjectGroup>()}},
};

TMXMapInfo* createMapInfo(const std::string& tmxFile) { return TMXMapInfo::create(tmxFile); }
TMXMapInfo* createMapInfoWithXML(const std::string& xml, const std::string& resourcePath) {
    return TMXMapInfo::createWithXML(xml, resourcePath);
}

const Method kTMXMapInfoMethods[] = {
    {"create", {classFunction<&createMapInfo>()}},
    {"createWithXML", {classFunction<&createMapInfoWithXML>()}},
    {"getTMXFileName", {method<&TMXMapInfo::getTMXFileName>()}},
    {"getMapSize", {method<&TMXMapInfo::getMapSize>()}},
    {"setMapSize", {method<&TMXMapInfo::setMapSize>()}},
    {"getTileSize", {method<&TMXMapInfo::getTileSize>()}},
    {"setTileSize", {method<&TMXMapInfo::setTileSize>()}},
    {"getProperties", {method<&TMXMapInfo::getProperties>()}},
    {"setProperties", {method<&TMXMapInfo::setProperties>()}},
    {"getLayers", {method<&TMXMapInfo::getLayers>()}},
    {"setLayers", {method<&TMXMapInfo::setLayers>()}},
    {"getTilesets", {method<&TMXMapInfo::getTilesets>()}},
    {"setTilesets", {method<&TMXMapInfo::setTilesets>()}},
    {"getObjectGroups", {method<&TMXMapInfo::getObjectGroups>()}},
    {"setObjectGroups", {method<&TMXMapInfo::setObjectGroups>()}},
};

const Method kTMXLayerInfoMethods[] = {
    {"getProperties", {method<&TMXLayerInfo::getProperties>()}},
    {"setProperties", {method<&TMXLayerInfo::setProperties>()}},
};

const Method kTMXTilesetInfoMethods[] = {
    {"getRectForGID", {method<&TMXTilesetInfo::getRectForGID>()}},
};

TMXObjectGroup* createObjectGroup() { return TMXObjectGroup::create(); }

const Method kTMXObjectGroupMethods[] = {
    {"create", {classFunction<&createObjectGroup>()}},
    {"getGroupName", {method<&TMXObjectGroup::getGroupName>()}},
    {"setGroupName", {method<&TMXObjectGroup::setGroupName>()}},
    {"getPositionOffset", {method<&TMXObjectGroup::getPositionOffset>()}},
    {"setPositionOffset", {method<&TMXObjectGroup::setPositionOffset>()}},
    {"getProperties", {method<&TMXObjectGroup::getProperties>()}},
    {"setProperties", {method<&TMXObjectGroup::setProperties>()}},
    {"getProperty", {method<&TMXObjectGroup::getProperty>()}},
    {"getObject", {method<&TMXObjectGroup::getObject>()}},
    {"getObjects", {method<&TMXObjectGroup::getObjects>()}},
    {"setObjects", {method<&TMXObjectGroup::setObjects>()}},
};

constexpr char kEmptyText[] = "";
// A nested namespace belongs to its parent: its userdata keeps the parent's alive.
PartOfSelf<Properties> findNamespace(Properties* self, const std::string& id, bool searchNames, bool recurse) {
    return {self->getNamespace(id, searchNames, recurse)};
}

const Method kPropertiesMethods[] = {
    {"getNamespace", {method<overload<const std::string&() const>(&Properties::getNamespace)>(),
                      method<&findNamespace, false, true>()}},
    {"getId", {method<&Properties::getId>()}},
    {"exists", {method<&Properties::exists>()}},
    {"getString", {method<&Properties::getString, kEmptyText>()}},
    {"getBool", {method<&Properties::getBool, false>()}},
    {"getInt", {method<&Properties::getInt>()}},
    {"getFloat", {method<&Properties::getFloat>()}},
    {"setString", {method<&Properties::setString>()}},
};

ScriptOwned<AutoPolygon> newAutoPolygon(const std::string& filename) { return {new AutoPolygon(filename)}; }

const Method kAutoPolygonMethods[] = {
    {"new", {classFunction<&newAutoPolygon>()}},
};

ScriptOwned<PolygonInfo> newPolygonInfo() { return {new PolygonInfo}; }

const Method kPolygonInfoMethods[] = {
    {"new", {classFunction<&newPolygonInfo>()}},
    {"getVertCount", {method<&PolygonInfo::getVertCount>()}},
    {"getTrianglesCount", {method<&PolygonInfo::getTrianglesCount>()}},
};

const ClassEntry kRows[] = {
    classEntry<Camera>("cc.Camera", "cc.Node", kCameraMethods),
    classEntry<TMXLayer>("cc.TMXLayer", "cc.SpriteBatchNode", kTMXLayerMethods),
    classEntry<TMXTiledMap>("cc.TMXTiledMap", "cc.Node", kTMXTiledMapMethods),
    classEntry<TMXMapInfo>("cc.TMXMapInfo", "cc.Ref", kTMXMapInfoMethods),
    classEntry<TMXLayerInfo>("cc.TMXLayerInfo", "cc.Ref", kTMXLayerInfoMethods),
    classEntry<TMXTilesetInfo>("cc.TMXTilesetInfo", "cc.Ref", kTMXTilesetInfoMethods),
    classEntry<TMXObjectGroup>("cc.TMXObjectGroup", "cc.Ref", kTMXObjectGroupMethods),
    ownedClassEntry<Properties>("cc.Properties", nullptr, kPropertiesMethods),
    ownedClassEntry<AutoPolygon>("cc.AutoPolygon", nullptr, kAutoPolygonMethods),
    ownedClassEntry<PolygonInfo>("cc.PolygonInfo", nullptr, kPolygonInfoMethods),
};

// The fields of a polygon info. Getters push the field; a setter given one
// value that reads stores it, anything else changes nothing.
int getPolygonRect(lua_State* L) {
    auto* info = checkSelf<PolygonInfo>(L, "cc.PolygonInfo", "lua_get_PolygonInfo_rect");
    luaconv_push_rect(L, info->rect);
    return 1;
}
int setPolygonRect(lua_State* L) {
    auto* info = checkSelf<PolygonInfo>(L, "cc.PolygonInfo", "lua_set_PolygonInfo_rect");
    Rect rect;
    if (argumentCount(L) == 1 && luaconv_read_rect(L, 2, &rect)) info->rect = rect;
    return 0;
}
int getPolygonFilename(lua_State* L) {
    auto* info = checkSelf<PolygonInfo>(L, "cc.PolygonInfo", "lua_get_PolygonInfo_filename");
    lua_pushlstring(L, info->filename.data(), info->filename.size());
    return 1;
}
int setPolygonFilename(lua_State* L) {
    auto* info = checkSelf<PolygonInfo>(L, "cc.PolygonInfo", "lua_set_PolygonInfo_filename");
    if (argumentCount(L) == 1 && lua_type(L, 2) == LUA_TSTRING) {
        size_t size = 0;
        const char* text = lua_tolstring(L, 2, &size);
        info->filename.assign(text, size);
    }
    return 0;
}

// cc.Properties:createNonRefCounted(url): the script owns the result.
int lua_Properties_createNonRefCounted(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Properties:createNonRefCounted", argc, 1, "\n ");
    const int type = lua_type(L, 2);
    Properties* properties = nullptr;
    if (type == LUA_TSTRING || type == LUA_TNUMBER) {
        size_t size = 0;
        const char* url = lua_tolstring(L, 2, &size);
        properties = Properties::createNonRefCounted(std::string(url, size));
    }
    if (!properties) return luaL_error(L, "invalid arguments in function 'lua_engine_Properties_createNonRefCounted'");
    return pushResult(L, ScriptOwned<Properties>{properties});
}

}  // namespace

std::span<const ClassEntry> coreModelRows() { return kRows; }

void register_properties_manual(lua_State* L) {
    const ClassFunction functions[] = {{"createNonRefCounted", lua_Properties_createNonRefCounted}};
    addClassFunctions(L, "cc.Properties", functions);
}

void register_polygon_info_manual(lua_State* L) {
    lua_pushstring(L, "cc.PolygonInfo");
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_istable(L, -1)) {
        tolua_variable(L, "rect", getPolygonRect, setPolygonRect);
        tolua_variable(L, "filename", getPolygonFilename, setPolygonFilename);
    }
    lua_pop(L, 1);
}

}  // namespace bindings
