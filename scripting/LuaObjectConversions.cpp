#include "scripting/LuaObjectConversions.h"

#include "engine/physics/PhysicsRecords.h"
#include "engine/physics/PhysicsShape.h"
#include "scripting/LuaConvSupport.h"
#include "scripting/LuaRecordConversions.h"

namespace {

void setPoint(lua_State* L, const char* key, const engine::Vec2& point) {
    lua_pushstring(L, key);
    luaconv_push_vec2(L, point);
    lua_rawset(L, -3);
}

}  // namespace

void luaconv_push_physics_raycast_info(lua_State* L, const engine::PhysicsRayCastInfo& info) {
    if (!L) return;
    lua_createtable(L, 0, 6);
    lua_pushstring(L, "shape");
    luaconv_push_object(L, "cc.PhysicsShape", info.shape);
    lua_rawset(L, -3);
    setPoint(L, "start", info.start);
    setPoint(L, "ended", info.end);
    setPoint(L, "contact", info.contact);
    setPoint(L, "normal", info.normal);
    luaconv::setNumber(L, "fraction", info.fraction);
}

void luaconv_keep_owner_alive(lua_State* L, int ownerIndex) {
    static const char kOwners[] = "vexo.usertype_owners";
    if (!L || lua_type(L, -1) != LUA_TUSERDATA) return;
    ownerIndex = luaconv::absIndex(L, ownerIndex);
    lua_pushstring(L, kOwners);
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        lua_newtable(L);
        lua_createtable(L, 0, 1);
        lua_pushstring(L, "__mode");
        lua_pushstring(L, "k");
        lua_rawset(L, -3);
        lua_setmetatable(L, -2);
        lua_pushstring(L, kOwners);
        lua_pushvalue(L, -2);
        lua_rawset(L, LUA_REGISTRYINDEX);
    }
    lua_pushvalue(L, -2);
    lua_pushvalue(L, ownerIndex);
    lua_rawset(L, -3);
    lua_pop(L, 1);
}
