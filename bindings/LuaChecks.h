#pragma once
// The checks every hand-written script function shares: self, argument count,
// handler ids and the plain reads of numbers and flags.
//
//   T* self = checkSelf<T>(L, "cc.Layer", "setTouchEnabled");
//       the object in argument 1 when it is a live object of that Lua class or
//       a subclass; otherwise raises "invalid 'self' in function '<name>'" (nil,
//       another type, an object the script host removed).
//   const int argc = argumentCount(L);        // the stack size less self
//   return countError(L, "cc.Layer:setTouchEnabled", argc, 1);
//       raises "%s has wrong number of arguments: %d, was expecting %d" with the
//       ending given ("\n" by default; some methods end in " \n").
//   int handler = handlerAt(L, 2);            // a new handler id; 0 for a non-function
//
// Every raise happens before the caller builds anything with a destructor: call
// these first. Numbers become integers through the one checked conversion of
// the value readers (truncated, NaN 0, past the range wrapped), never a bare
// cast. Main thread only.
#include <lua.hpp>
#include <tolua++.h>

#include <cstdint>
#include <type_traits>

#include "bindings/LuaArguments.h"
#include "scripting/ToluaFix.h"

namespace bindings {

template <class T>
T* checkSelf(lua_State* L, const char* luaClass, const char* luaName) {
    tolua_Error err;
    void* stored = nullptr;
    if (lua_type(L, 1) == LUA_TUSERDATA && tolua_isusertype(L, 1, luaClass, 0, &err)) {
        stored = tolua_tousertype(L, 1, nullptr);
    }
    T* self = stored ? objectFromUserdata<T>(stored) : nullptr;
    if (!self) luaL_error(L, "invalid 'self' in function '%s'", luaName);
    return self;
}

inline int argumentCount(lua_State* L) { return lua_gettop(L) - 1; }

inline int countError(lua_State* L, const char* luaName, int argc, int expected, const char* ending = "\n") {
    return luaL_error(L, "%s has wrong number of arguments: %d, was expecting %d%s", luaName, argc, expected, ending);
}

inline int handlerAt(lua_State* L, int index) { return toluafix_refFunction(L, index, 0); }

// tolua++'s number reading: a number or a numeric string, else 0; as an int32.
inline int32_t intAt(lua_State* L, int index) {
    int32_t value = 0;
    return luaconv_read_int32(L, index, &value) ? value : 0;
}
inline double numberAt(lua_State* L, int index) {
    double value = 0;
    return luaconv_read_number(L, index, &value) ? value : 0;
}
// Lua truth: nil, false and an absent argument are false.
inline bool truthAt(lua_State* L, int index) { return lua_toboolean(L, index) != 0; }

// A live object of luaClass (or a subclass) at index; null for anything else.
// A relative index (-1 the top) is fixed first: the type test pushes values.
template <class T>
T* objectAt(lua_State* L, int index, const char* luaClass) {
    if (index < 0 && index > LUA_REGISTRYINDEX) index = lua_gettop(L) + index + 1;
    if (lua_type(L, index) != LUA_TUSERDATA) return nullptr;
    tolua_Error err;
    if (!tolua_isusertype(L, index, luaClass, 0, &err)) return nullptr;
    void* stored = tolua_tousertype(L, index, nullptr);
    return stored ? objectFromUserdata<T>(stored) : nullptr;
}

}  // namespace bindings
