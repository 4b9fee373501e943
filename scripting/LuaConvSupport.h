#pragma once
// Helpers shared by the conversion files: table tests and field reads that leave the
// Lua stack as they found it.
#include <tolua++.h>

#include <cstdint>

#include "scripting/LuaNumberCasts.h"

namespace luaconv {

// A relative index (-1 is the top) as an absolute one; pseudo-indices stay.
inline int absIndex(lua_State* L, int index) {
    return (index < 0 && index > LUA_REGISTRYINDEX) ? lua_gettop(L) + index + 1 : index;
}

// tolua++'s table test without a default: an absent argument is no table.
inline bool isTable(lua_State* L, int index) {
    tolua_Error err;
    return tolua_istable(L, index, 0, &err) != 0;
}

// Pushes t[key] (metamethods take part); true when the value is not nil.
inline bool pushField(lua_State* L, int index, const char* key) {
    lua_pushstring(L, key);
    lua_gettable(L, index);
    return !lua_isnil(L, -1);
}

// t[key] through lua_tonumber; `absent` when the key holds nil.
inline double numberField(lua_State* L, int index, const char* key, double absent = 0.0) {
    double v = pushField(L, index, key) ? lua_tonumber(L, -1) : absent;
    lua_pop(L, 1);
    return v;
}
inline float floatField(lua_State* L, int index, const char* key, float absent = 0.f) {
    return static_cast<float>(numberField(L, index, key, absent));
}
// The low 8 bits of the number truncated toward zero.
inline uint8_t byteField(lua_State* L, int index, const char* key, uint8_t absent = 0) {
    return static_cast<uint8_t>(wrapToInt32(numberField(L, index, key, absent)));
}
inline uint32_t enumField(lua_State* L, int index, const char* key) {
    return wrapToUInt32(numberField(L, index, key));
}

// t[key] = value on the table at the top of the stack.
inline void setNumber(lua_State* L, const char* key, double value) {
    lua_pushstring(L, key);
    lua_pushnumber(L, value);
    lua_rawset(L, -3);
}
inline void setString(lua_State* L, const char* key, const char* value) {
    lua_pushstring(L, key);
    lua_pushstring(L, value);
    lua_rawset(L, -3);
}
inline void setBoolean(lua_State* L, const char* key, bool value) {
    lua_pushstring(L, key);
    lua_pushboolean(L, value);
    lua_rawset(L, -3);
}

}  // namespace luaconv
