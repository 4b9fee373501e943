#include "scripting/LuaObjectIdentity.h"

#include <tolua++.h>

#include "engine/base/Ref.h"
#include "scripting/LuaClassRegistry.h"
#include "scripting/ToluaFix.h"

namespace {

// The registered class's instance test; found is false for a name that is no class.
LuaInstanceTest instanceTest(const char* luaName, bool* found) {
    auto it = luaName ? luaInstanceTests.find(luaName) : luaInstanceTests.end();
    *found = it != luaInstanceTests.end();
    return *found ? it->second : nullptr;
}

// The address the userdata at index holds when it is a live object of a
// registered class (its Lua type in *luaName), else null.
void* liveObject(lua_State* L, int index, const char** luaName) {
    *luaName = luaconv_registered_class_of(L, index);
    if (!*luaName) return nullptr;
    return *static_cast<void**>(lua_touserdata(L, index));
}

// A live reference-counted object at index, else null.
engine::Ref* liveRef(lua_State* L, int index, void** address) {
    const char* luaName = nullptr;
    *address = liveObject(L, index, &luaName);
    bool found = false;
    if (!*address || !instanceTest(luaName, &found)) return nullptr;
    return static_cast<engine::Ref*>(*address);
}

int cast(lua_State* L) {
    const char* target = lua_type(L, 2) == LUA_TSTRING ? lua_tostring(L, 2) : nullptr;
    bool targetFound = false;
    const LuaInstanceTest targetTest = instanceTest(target, &targetFound);
    const char* current = nullptr;
    void* object = targetFound ? liveObject(L, 1, &current) : nullptr;
    if (!object) {
        lua_pushnil(L);
        return 1;
    }
    bool currentFound = false;
    const bool isRef = instanceTest(current, &currentFound) != nullptr;
    if (isRef) {
        // Reference counted: the object's own class decides.
        if (!targetTest || !targetTest(object)) {
            lua_pushnil(L);
            return 1;
        }
        toluafix_pushAnchoredUsertype(L, object, target);
        return 1;
    }
    // Known only by the type it was pushed under: that type or one of its bases.
    tolua_Error err;
    if (targetTest || !tolua_isusertype(L, 1, target, 0, &err)) {
        lua_pushnil(L);
        return 1;
    }
    tolua_pushusertype(L, object, target);
    return 1;
}

// The owned-object table of tolua++ (address -> metatable) on top; the entry of
// address pushed above it.
void pushOwnership(lua_State* L, void* address) {
    lua_pushstring(L, "tolua_gc");
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (!lua_istable(L, -1)) {
        lua_pushnil(L);
        return;
    }
    lua_pushlightuserdata(L, address);
    lua_rawget(L, -2);
}

int takeOwnership(lua_State* L) {
    void* address = nullptr;
    engine::Ref* ref = liveRef(L, 1, &address);
    // tolua++ raises nothing once it has registered the object: the retain follows.
    const bool taken = ref && tolua_register_gc(L, 1) != 0;
    if (taken) ref->retain();
    lua_pushboolean(L, taken ? 1 : 0);
    return 1;
}

int releaseOwnership(lua_State* L) {
    void* address = nullptr;
    engine::Ref* ref = liveRef(L, 1, &address);
    bool released = false;
    if (ref) {
        pushOwnership(L, address);
        if (!lua_isnil(L, -1)) {
            lua_pop(L, 1);
            lua_pushlightuserdata(L, address);
            lua_pushnil(L);
            lua_rawset(L, -3);
            released = true;
        } else {
            lua_pop(L, 1);
        }
        lua_pop(L, 1);
    }
    if (released) ref->autorelease();
    lua_pushboolean(L, released ? 1 : 0);
    return 1;
}

}  // namespace

const char* luaconv_registered_class_of(lua_State* L, int index) {
    if (lua_type(L, index) != LUA_TUSERDATA || !lua_getmetatable(L, index)) return nullptr;
    // tolua++ maps each class metatable back to its name in the registry.
    lua_rawget(L, LUA_REGISTRYINDEX);
    const char* name = lua_type(L, -1) == LUA_TSTRING ? lua_tostring(L, -1) : nullptr;
    auto it = name ? luaInstanceTests.find(name) : luaInstanceTests.end();
    lua_pop(L, 1);
    return it != luaInstanceTests.end() ? it->first.c_str() : nullptr;
}

int register_object_identity(lua_State* L) {
    lua_pushstring(L, "tolua");
    lua_rawget(L, LUA_GLOBALSINDEX);
    if (lua_istable(L, -1)) {
        const luaL_Reg functions[] = {
            {"cast", cast},
            {"takeownership", takeOwnership},
            {"releaseownership", releaseOwnership},
        };
        for (const luaL_Reg& f : functions) {
            lua_pushstring(L, f.name);
            lua_pushcfunction(L, f.func);
            lua_rawset(L, -3);
        }
    }
    lua_pop(L, 1);
    return 1;
}
