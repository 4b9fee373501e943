#pragma once
// Registration of a native class with tolua++ and in both type maps.
//
// luaconv_register_class<T> runs inside an open tolua++ module (the table of the
// Lua name, e.g. "cc"): it declares the usertype, registers the class under its
// short name with its base and writes luaTypeMap[key of T] and
// luaClassNameMap[shortName] = luaName. Bases must be registered first: tolua++
// copies a base's inheritance entries into the class when it registers it. The
// caller then opens the class (tolua_beginmodule(L, shortName)) to add methods.
#include <tolua++.h>

#include "scripting/LuaTypeMap.h"

// Only luaTypeMap: for a class pushed under a Lua name registered by another.
template <class T>
void luaconv_map_type(const char* luaName) {
    luaTypeMap.insert_or_assign(luaconv_type_key<T>(), luaName);
}

template <class T>
void luaconv_register_class(lua_State* L, const char* shortName, const char* luaName,
                            const char* baseLuaName, lua_CFunction collector = nullptr) {
    tolua_usertype(L, luaName);
    tolua_cclass(L, shortName, luaName, baseLuaName ? baseLuaName : "", collector);
    luaconv_map_type<T>(luaName);
    luaClassNameMap.insert_or_assign(shortName, luaName);
}
