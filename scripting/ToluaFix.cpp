#include "scripting/ToluaFix.h"

#include <cstdio>

#include "engine/base/Ref.h"
#include "scripting/LuaTypeMap.h"

namespace {

constexpr const char* kPtrMapping = "toluafix_refid_ptr_mapping";
constexpr const char* kTypeMapping = "toluafix_refid_type_mapping";
constexpr const char* kFunctionMapping = "toluafix_refid_function_mapping";
constexpr const char* kValueRoot = "tolua_value_root";

int g_functionRefId = 0;

void newRegistryTable(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    lua_newtable(L);
    lua_rawset(L, LUA_REGISTRYINDEX);
}

void pushRegistryTable(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    lua_rawget(L, LUA_REGISTRYINDEX);
}

}  // namespace

extern "C" {

void toluafix_open(lua_State* L) {
    newRegistryTable(L, kPtrMapping);
    newRegistryTable(L, kTypeMapping);
    newRegistryTable(L, kFunctionMapping);
    newRegistryTable(L, kValueRoot);
}

int toluafix_pushObject(lua_State* L, int refid, int* luaId, void* object, const char* typeName) {
    if (!object || !luaId) {
        lua_pushnil(L);
        return -1;
    }
    typeName = luaconv_type_name_of(static_cast<engine::Ref*>(object), typeName);
    if (*luaId == 0) {
        *luaId = refid;
        pushRegistryTable(L, kPtrMapping);
        lua_pushinteger(L, refid);
        lua_pushlightuserdata(L, object);
        lua_rawset(L, -3);
        lua_pop(L, 1);

        pushRegistryTable(L, kTypeMapping);
        lua_pushinteger(L, refid);
        lua_pushstring(L, typeName);
        lua_rawset(L, -3);
        lua_pop(L, 1);
    }
    toluafix_pushAnchoredUsertype(L, object, typeName);
    return 0;
}

int toluafix_removeObjectByRefid(lua_State* L, int refid) {
    if (refid == 0) return -1;
    const int top = lua_gettop(L);

    pushRegistryTable(L, kPtrMapping);
    lua_pushinteger(L, refid);
    lua_rawget(L, -2);
    void* ptr = lua_touserdata(L, -1);
    lua_pop(L, 1);
    if (!ptr) {
        lua_settop(L, top);
        return -2;
    }
    lua_pushinteger(L, refid);
    lua_pushnil(L);
    lua_rawset(L, -3);
    lua_pop(L, 1);

    pushRegistryTable(L, kTypeMapping);
    lua_pushinteger(L, refid);
    lua_rawget(L, -2);
    if (!lua_isstring(L, -1)) {
        std::printf("[LUA ERROR] remove CCObject with NULL type, refid: %d, ptr: %p\n", refid, ptr);
        lua_settop(L, top);
        return -1;
    }
    const char* typeName = lua_tostring(L, -1);   // stays on the stack while used
    lua_pushinteger(L, refid);
    lua_pushnil(L);
    lua_rawset(L, -4);

    // The ubox: the type's own, else the registry's.
    luaL_getmetatable(L, typeName);
    if (lua_istable(L, -1)) {
        lua_pushstring(L, "tolua_ubox");
        lua_rawget(L, -2);
    } else {
        lua_pushnil(L);
    }
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        lua_pushstring(L, "tolua_ubox");
        lua_rawget(L, LUA_REGISTRYINDEX);
    }
    const int ubox = lua_gettop(L);

    toluafix_removeAnchor(L, ptr);

    if (!lua_istable(L, ubox)) {
        lua_settop(L, top);
        return -3;
    }
    lua_pushlightuserdata(L, ptr);
    lua_rawget(L, ubox);
    if (!lua_isuserdata(L, -1) || lua_islightuserdata(L, -1)) {
        lua_settop(L, top);
        return -3;
    }
    void** storage = static_cast<void**>(lua_touserdata(L, -1));
    if (!storage) {
        std::printf("[LUA ERROR] remove CCObject with NULL userdata, refid: %d, ptr: %p, type: %s\n",
                    refid, ptr, typeName);
        lua_settop(L, top);
        return -1;
    }
    // Drop the peer table, then every path from the userdata to the object.
    lua_pushvalue(L, LUA_REGISTRYINDEX);
    lua_setfenv(L, -2);
    *storage = nullptr;
    lua_pushlightuserdata(L, ptr);
    lua_pushnil(L);
    lua_rawset(L, ubox);
    lua_settop(L, top);
    return 0;
}

int toluafix_refFunction(lua_State* L, int index, int def) {
    (void)def;
    if (!lua_isfunction(L, index)) return 0;
    const int abs = index > 0 || index <= LUA_REGISTRYINDEX ? index : lua_gettop(L) + index + 1;
    ++g_functionRefId;
    pushRegistryTable(L, kFunctionMapping);
    lua_pushinteger(L, g_functionRefId);
    lua_pushvalue(L, abs);
    lua_rawset(L, -3);
    lua_pop(L, 1);
    return g_functionRefId;
}

void toluafix_getFunctionByRefid(lua_State* L, int id) {
    pushRegistryTable(L, kFunctionMapping);
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        lua_pushnil(L);
        return;
    }
    lua_pushinteger(L, id);
    lua_rawget(L, -2);
    lua_remove(L, -2);
}

void toluafix_removeFunctionByRefid(lua_State* L, int id) {
    pushRegistryTable(L, kFunctionMapping);
    if (lua_istable(L, -1)) {
        lua_pushinteger(L, id);
        lua_pushnil(L);
        lua_rawset(L, -3);
    }
    lua_pop(L, 1);
}

int toluafix_isFunction(lua_State* L, int index, const char* typeName, int def, tolua_Error* err) {
    (void)typeName;
    (void)def;
    const int need = index < 0 ? -index : index;
    if (lua_gettop(L) >= need && lua_isfunction(L, index)) return 1;
    if (err) {
        err->index = index;
        err->array = 0;
        err->type = "[not function]";
    }
    return 0;
}

}  // extern "C"

void toluafix_pushAnchoredUsertype(lua_State* L, void* object, const char* typeName) {
    tolua_pushusertype(L, object, typeName);
    if (!lua_isuserdata(L, -1)) return;
    pushRegistryTable(L, kValueRoot);
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        return;
    }
    lua_pushlightuserdata(L, object);
    lua_pushvalue(L, -3);
    lua_rawset(L, -3);
    lua_pop(L, 1);
}

void toluafix_removeAnchor(lua_State* L, void* object) {
    pushRegistryTable(L, kValueRoot);
    if (lua_istable(L, -1)) {
        lua_pushlightuserdata(L, object);
        lua_pushnil(L);
        lua_rawset(L, -3);
    }
    lua_pop(L, 1);
}
