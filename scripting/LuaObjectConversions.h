#pragma once
// Engine objects across the Lua boundary, as tolua++ usertypes.
//
// Pushes choose the Lua type of the object's dynamic class when luaTypeMap knows
// it, so a Sprite returned through a Node* arrives as "cc.Sprite"; typeName (the
// Lua name of the declared type) is the fallback. Objects derived from
// engine::Ref go through the reference-table push (toluafix_pushObject: the
// object's id is recorded, the userdata is anchored); other objects are pushed as
// plain usertypes that the script never owns.
//
// Readers answer whether they could read; on false their output is untouched and
// the stack is as they found it. They report nothing: the calling binding raises
// its own error. funcName, where taken, is the caller's name and unused.
// Main thread only.
#include <tolua++.h>

#include <type_traits>

#include "engine/base/Map.h"
#include "engine/base/Ref.h"
#include "engine/base/Vector.h"
#include "scripting/LuaConvSupport.h"
#include "scripting/LuaTypeMap.h"
#include "scripting/LuaValueConversions.h"
#include "scripting/ToluaFix.h"

namespace engine {
struct PhysicsRayCastInfo;
}

// The Lua type registered for class T itself (not for a subclass); null when T
// has no registration.
template <class T>
const char* luaconv_registered_name() {
    auto it = luaTypeMap.find(std::string_view(luaconv_type_key<T>()));
    return it != luaTypeMap.end() ? it->second.c_str() : nullptr;
}

// The object a usertype's stored address stands for, as T. Ref-derived objects
// are pushed as their Ref address and come back through Ref (right also where
// Ref is not the first base); null when the object is not a T. Other classes
// are stored as themselves.
template <class T>
T* luaconv_object_from_stored(void* stored) {
    if constexpr (std::is_base_of_v<engine::Ref, T>) {
        return stored ? dynamic_cast<T*>(static_cast<engine::Ref*>(stored)) : nullptr;
    } else {
        return static_cast<T*>(stored);
    }
}

// A Ref-derived object; nil for null.
template <class T>
void luaconv_push_object(lua_State* L, const char* typeName, T* obj) {
    static_assert(std::is_base_of_v<engine::Ref, T>, "luaconv_push_usertype pushes non-Ref objects");
    if (!L) return;
    if (!obj) {
        lua_pushnil(L);
        return;
    }
    engine::Ref* ref = obj;
    toluafix_pushObject(L, static_cast<int>(ref->_ID), &ref->_luaID, ref, typeName);
}

// An object that is not reference counted (singletons, records held elsewhere);
// nil for null. Collecting the userdata never deletes the object.
template <class T>
void luaconv_push_usertype(lua_State* L, const char* typeName, T* obj) {
    if (!L) return;
    if (!obj) {
        lua_pushnil(L);
        return;
    }
    tolua_pushusertype(L, const_cast<std::remove_const_t<T>*>(obj), luaconv_type_name_of(obj, typeName));
}

// A new object that is not reference counted, handed over to the script: its
// userdata owns it, and the collector of its class (luaconv_collect_owned)
// deletes it when the userdata is collected. obj must be new (no userdata
// stands for it yet) and its class registered with that collector. Null pushes
// nil.
template <class T>
void luaconv_push_owned_usertype(lua_State* L, const char* typeName, T* obj) {
    static_assert(!std::is_base_of_v<engine::Ref, T>, "reference-counted objects are pushed with luaconv_push_object");
    if (!L) return;
    luaconv_push_usertype(L, typeName, obj);
    if (obj) tolua_register_gc(L, lua_gettop(L));
}

// Keeps the value at ownerIndex alive for as long as the userdata on top of the
// stack lives (a weak-keyed table in the registry): for an object that lives
// inside another one the script holds, so that the holder is not collected,
// and its collector does not delete the part, while the part is in use. The
// stack is left as it was.
void luaconv_keep_owner_alive(lua_State* L, int ownerIndex);

// An object that is not reference counted and lives inside the object at
// ownerIndex (a nested namespace of properties): pushed as a plain usertype
// that keeps its owner's userdata alive. Null pushes nil.
template <class T>
void luaconv_push_usertype_within(lua_State* L, const char* typeName, T* obj, int ownerIndex) {
    if (!L) return;
    ownerIndex = luaconv::absIndex(L, ownerIndex);
    luaconv_push_usertype(L, typeName, obj);
    if (obj) luaconv_keep_owner_alive(L, ownerIndex);
}

// An argument of Lua type typeName (or a subclass). nil is read as null and
// succeeds; an absent argument or a value of another type fails, as does a Ref
// object that is not a T whatever Lua type it carries.
template <class T>
bool luaconv_read_object(lua_State* L, int index, const char* typeName, T** out, const char* = "") {
    if (!L || lua_gettop(L) < index) return false;
    if (!luaconv_is_usertype_or_nil(L, index, typeName, false)) return false;
    void* object = tolua_tousertype(L, index, nullptr);
    // The object's own class decides, not the Lua type it carries.
    T* read = luaconv_object_from_stored<T>(object);
    if (object && !read) return false;
    *out = read;
    return true;
}

namespace luaconv_detail {
// Pushes obj under the Lua type of its dynamic class; false (nothing pushed) when
// that class is not registered.
template <class T>
bool pushRegistered(lua_State* L, T* obj) {
    const char* name = luaconv_type_name_of(obj, nullptr);
    if (!name) return false;
    engine::Ref* ref = obj;
    toluafix_pushObject(L, static_cast<int>(ref->_ID), &ref->_luaID, ref, name);
    return true;
}
}  // namespace luaconv_detail

// A dense array 1..k of the elements whose class is registered, in order; null
// elements and elements of unregistered classes are left out.
template <class T>
void luaconv_push_object_vector(lua_State* L, const engine::Vector<T*>& v) {
    if (!L) return;
    lua_newtable(L);
    int i = 1;
    for (T* obj : v) {
        if (!obj) continue;
        lua_pushnumber(L, i);
        if (!luaconv_detail::pushRegistered(L, obj)) {
            lua_pop(L, 1);
            continue;
        }
        lua_rawset(L, -3);
        ++i;
    }
}

// A table key -> object of the entries whose object's class is registered.
template <class T>
void luaconv_push_object_map(lua_State* L, const engine::Map<std::string, T*>& m) {
    if (!L) return;
    lua_newtable(L);
    for (const auto& [key, obj] : m) {
        if (!obj) continue;
        lua_pushlstring(L, key.data(), key.size());
        if (!luaconv_detail::pushRegistered(L, obj)) {
            lua_pop(L, 1);
            continue;
        }
        lua_rawset(L, -3);
    }
}

// Entries 1..#t of the table at index (read raw: no metamethod runs) appended to
// out (each retained). Entries that are nil or not userdata, and dead objects, are
// skipped. Every userdata
// must be of T's registered Lua type or a subclass: any other fails the read and
// out stays as it was (nothing appended). A T without a registration fails too.
template <class T>
bool luaconv_read_object_vector(lua_State* L, int index, engine::Vector<T*>* out, const char* = "") {
    if (!L || !out) return false;
    tolua_Error err;
    if (!tolua_istable(L, index, 0, &err)) return false;
    const char* typeName = luaconv_registered_name<T>();
    if (!typeName) return false;
    const int table = index < 0 && index > LUA_REGISTRYINDEX ? lua_gettop(L) + index + 1 : index;
    const int n = static_cast<int>(lua_objlen(L, table));
    if (n == 0) return true;
    // The elements found are kept in a Lua-owned scratch block, not in a C++
    // container: a Lua error (out of memory) skips C++ destructors.
    auto** found = static_cast<T**>(lua_newuserdata(L, static_cast<size_t>(n) * sizeof(T*)));
    int count = 0;
    for (int i = 1; i <= n; ++i) {
        lua_rawgeti(L, table, i);
        const int element = lua_gettop(L);  // tolua++'s tests need an absolute index
        if (lua_isuserdata(L, element) && !lua_islightuserdata(L, element)) {
            if (!tolua_isusertype(L, element, typeName, 0, &err)) {
                lua_pop(L, 2);
                return false;
            }
            if (auto* obj = luaconv_object_from_stored<T>(tolua_tousertype(L, element, nullptr))) found[count++] = obj;
        }
        lua_pop(L, 1);
    }
    for (int i = 0; i < count; ++i) out->pushBack(found[i]);
    lua_pop(L, 1);
    return true;
}

// The call's arguments 2..argc+1 appended to out (each retained); slots that are
// not userdata are skipped. A userdata that is not of T's registered Lua type (or
// a subclass), dead or not a T ends the read with false; what was appended
// before it stays.
// argc 0 fails; a negative argc reads nothing and succeeds.
template <class T>
bool luaconv_read_varargs_vector(lua_State* L, int argc, engine::Vector<T*>* out) {
    if (!L || argc == 0) return false;
    if (argc < 0) return true;
    const char* typeName = luaconv_registered_name<T>();
    tolua_Error err;
    for (int index = 2; index <= argc + 1; ++index) {
        if (!lua_isuserdata(L, index)) continue;
        if (!typeName || !tolua_isusertype(L, index, typeName, 0, &err)) return false;
        T* object = luaconv_object_from_stored<T>(tolua_tousertype(L, index, nullptr));
        if (!object) return false;   // dead, or not a T whatever Lua type it carries
        out->pushBack(object);
    }
    return true;
}

// The ray-cast record as a table: shape (the physics shape object, nil when none),
// start, ended, contact, normal ({x, y} each) and fraction.
void luaconv_push_physics_raycast_info(lua_State* L, const engine::PhysicsRayCastInfo& info);
