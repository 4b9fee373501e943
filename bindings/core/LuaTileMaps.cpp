#include "bindings/core/LuaTileMaps.h"

#include <algorithm>
#include <new>
#include <vector>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/tilemap/TMXLayer.h"
#include "engine/tilemap/TMXTiledMap.h"
#include "scripting/LuaRecordConversions.h"
#include "scripting/LuaValueConversions.h"

namespace bindings {
namespace {

using engine::TMXLayer;

int getTileGIDAt(lua_State* L, const char* luaClass, const char* luaName, bool signedFlags) {
    auto* self = checkSelf<TMXLayer>(L, luaClass, luaName);
    const int argc = argumentCount(L);
    if (argc != 1 && argc != 2) return countError(L, luaName, argc, 1, " \n");
    engine::Vec2 position;
    if (!luaconv_read_vec2(L, 2, &position)) return 0;
    int32_t unused = 0;
    if (argc == 2 && !luaconv_read_int32(L, 3, &unused, luaName)) return 0;
    engine::TMXTileFlags flags{};
    const uint32_t gid = self->getTileGIDAt(position, argc == 2 ? &flags : nullptr);
    lua_pushnumber(L, static_cast<lua_Number>(gid));
    const auto bits = static_cast<uint32_t>(flags);
    lua_pushnumber(L, signedFlags ? static_cast<lua_Number>(static_cast<int32_t>(bits)) : static_cast<lua_Number>(bits));
    return 2;
}

int lua_TMXLayer_getTileGIDAt(lua_State* L) {
    return getTileGIDAt(L, "cc.TMXLayer", "cc.TMXLayer:getTileGIDAt", false);
}

int lua_experimental_TMXLayer_getTileGIDAt(lua_State* L) {
    return getTileGIDAt(L, "ccexp.TMXLayer", "ccexp.TMXLayer:getTileGIDAt", true);
}

// The ids go through a vector only between the reads (which raise nothing)
// and the copy into the layer; every raise comes before or after it.
bool copyTiles(lua_State* L, TMXLayer* layer, size_t length) {
    const engine::Size& size = layer->getLayerSize();
    const size_t wanted = std::min(length, static_cast<size_t>(size.width) * static_cast<size_t>(size.height));
    try {
        std::vector<uint32_t> ids(wanted, 0);
        for (size_t i = 0; i < wanted; ++i) {
            lua_rawgeti(L, 2, static_cast<int>(i + 1));
            uint32_t id = 0;
            if (lua_type(L, -1) == LUA_TNUMBER && luaconv_read_uint32(L, lua_gettop(L), &id)) ids[i] = id;
            lua_pop(L, 1);
        }
        layer->setTiles(ids);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

int lua_TMXLayer_setTiles(lua_State* L) {
    auto* self = checkSelf<TMXLayer>(L, "cc.TMXLayer", "cc.TMXLayer:setTiles");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.TMXLayer:setTiles", argc, 1, " \n");
    if (!lua_istable(L, 2)) return luaL_error(L, "invalid arguments in function 'lua_engine_TMXLayer_setTiles'");
    const size_t length = lua_objlen(L, 2);
    if (length == 0) return luaL_error(L, "Table's len equal 0");
    if (!copyTiles(L, self, length))
        return luaL_error(L, "Allocate uint32_t array in the lua_engine_TMXLayer_setTiles failed!");
    lua_settop(L, 1);
    return 1;
}

int lua_TMXTiledMap_getPropertiesForGID(lua_State* L) {
    constexpr const char* kName = "cc.TMXTiledMap:getPropertiesForGID";
    auto* self = checkSelf<engine::TMXTiledMap>(L, "cc.TMXTiledMap", kName);
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, kName, argc, 1, " \n");
    int32_t gid = 0;
    if (!luaconv_read_int32(L, 2, &gid, kName)) return 0;
    luaconv_push_value(L, self->getPropertiesForGID(gid));
    return 1;
}

}  // namespace

void register_tiled_map_manual(lua_State* L) {
    const ClassFunction functions[] = {{"getPropertiesForGID", lua_TMXTiledMap_getPropertiesForGID}};
    addClassFunctions(L, "cc.TMXTiledMap", functions);
}

void register_tmx_layer_manual(lua_State* L) {
    const ClassFunction functions[] = {
        {"getTileGIDAt", lua_TMXLayer_getTileGIDAt},
        {"setTiles", lua_TMXLayer_setTiles},
    };
    addClassFunctions(L, "cc.TMXLayer", functions);
}

int register_experimental_manual(lua_State* L) {
    if (!L) return 0;
    const ClassFunction functions[] = {{"getTileGIDAt", lua_experimental_TMXLayer_getTileGIDAt}};
    addClassFunctions(L, "ccexp.TMXLayer", functions);
    return 0;
}

}  // namespace bindings
