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
