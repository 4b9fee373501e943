#pragma once
// Registration of a native class with tolua++ and in both type maps.
//
// luaconv_register_class<T> runs inside an open tolua++ module (the table of the
// Lua name, e.g. "cc"): it declares the usertype, registers the class under its
// short name with its base and its collector, and writes luaTypeMap[key of T],
// luaClassNameMap[shortName] = luaName and luaInstanceTests[luaName]. Bases must
// be registered first: tolua++ copies a base's inheritance entries into the class
// when it registers it. The caller then opens the class
// (tolua_beginmodule(L, shortName)) to add methods.
//
// Every class gets a collector (never tolua++'s default, which would free() the
// object): luaconv_collect, or luaconv_collect_owned for a class whose objects
// scripts own.
#include <tolua++.h>

#include <string>
#include <type_traits>
#include <unordered_map>

#include "engine/base/Ref.h"
#include "scripting/LuaTypeMap.h"

// Whether the address a userdata holds is an object of a class, judged on the
// object itself (its dynamic class), never on the Lua type it was pushed under.
using LuaInstanceTest = bool (*)(void* object);

// Lua name of every registered class -> its instance test. Reference-counted
// classes have one; for other classes the entry is null: their objects are only
// known by the Lua type they were pushed under. Never emptied; a registration
// that runs again overwrites its entry. Main thread only.
inline std::unordered_map<std::string, LuaInstanceTest> luaInstanceTests;

// The instance test of T (null for a class not derived from engine::Ref). A Ref
// object's userdata holds its engine::Ref address.
template <class T>
constexpr LuaInstanceTest luaconv_instance_test() {
    if constexpr (std::is_base_of_v<engine::Ref, T>) {
        return [](void* object) {
            return object && dynamic_cast<T*>(static_cast<engine::Ref*>(object)) != nullptr;
        };
    } else {
        return nullptr;
    }
}

// The collector tolua++ calls when the userdata of an object the script owns
// (tolua.takeownership) is collected. A Ref object gives back the reference the
// script took when it took ownership, autoreleased: no engine object is destroyed
// inside a collection step. Any other object belongs to the engine and is left
// alone.
template <class T>
int luaconv_collect(lua_State* L) {
    if constexpr (std::is_base_of_v<engine::Ref, T>) {
        auto* storage = static_cast<void**>(lua_touserdata(L, 1));
        if (storage && *storage) static_cast<engine::Ref*>(*storage)->autorelease();
    }
    (void)L;
    return 0;
}

// The collector of a class whose objects a script may own outright: values that
// are not reference counted, made for the script and pushed with
// luaconv_push_owned_usertype (polygon info, properties). tolua++ calls it only
// for a userdata in its owned-object table, once, when the userdata is
// collected: it deletes the object. Objects pushed with luaconv_push_usertype
// are never in that table, so the engine's own are never deleted here.
template <class T>
int luaconv_collect_owned(lua_State* L) {
    static_assert(!std::is_base_of_v<engine::Ref, T>, "reference-counted objects use luaconv_collect");
    auto* storage = static_cast<void**>(lua_touserdata(L, 1));
    if (storage && *storage) {
        T* object = static_cast<T*>(*storage);
        *storage = nullptr;
        delete object;
    }
    return 0;
}

// Only luaTypeMap: for a class pushed under a Lua name registered by another.
template <class T>
void luaconv_map_type(const char* luaName) {
    luaTypeMap.insert_or_assign(luaconv_type_key<T>(), luaName);
}

template <class T>
void luaconv_register_class(lua_State* L, const char* shortName, const char* luaName,
                            const char* baseLuaName, lua_CFunction collector = nullptr) {
    tolua_usertype(L, luaName);
    tolua_cclass(L, shortName, luaName, baseLuaName ? baseLuaName : "",
                 collector ? collector : &luaconv_collect<T>);
    luaconv_map_type<T>(luaName);
    luaClassNameMap.insert_or_assign(shortName, luaName);
    luaInstanceTests.insert_or_assign(luaName, luaconv_instance_test<T>());
}
