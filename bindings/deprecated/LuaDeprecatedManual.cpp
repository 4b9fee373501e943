#include <lua.hpp>
#include <tolua++.h>

#include <cstring>
#include <string>

#include "bindings/LuaArguments.h"
#include "bindings/deprecated/LuaDeprecated.h"
#include "scripting/LuaClassRegistry.h"
#include "scripting/LuaObjectConversions.h"
#include "scripting/LuaTypeMap.h"

namespace bindings {
namespace {

// Old names that keep their own classes: a cast to them is a plain cast.
bool keepsOldName(const char* typeName) {
    for (const char* kept : {"CCBAnimationManager", "CCString", "CCPoint", "CCRect", "CCSize", "CCArray"}) {
        if (std::strstr(typeName, kept)) return true;
    }
    return false;
}

// tolua.cast(object, typeName) that also takes the old "CCSprite" style names: the
// name without "CC" is mapped to its current class, and the object (an engine object
// of that class) is pushed as it; nil when no class or object matches. Other names
// go through the class-name map and then the original cast (upvalue 1).
int castWithOldNames(lua_State* L) {
    const char* typeName = lua_tostring(L, 2);
    if (typeName && std::strncmp(typeName, "CC", 2) == 0 && !keepsOldName(typeName)) {
        auto mapped = luaClassNameMap.find(typeName + 2);
        auto test = mapped != luaClassNameMap.end() ? luaInstanceTests.find(mapped->second) : luaInstanceTests.end();
        void* stored = lua_type(L, 1) == LUA_TUSERDATA ? tolua_tousertype(L, 1, nullptr) : nullptr;
        if (stored && test != luaInstanceTests.end() && test->second && test->second(stored)) {
            luaconv_push_object(L, mapped->second.c_str(), static_cast<engine::Ref*>(stored));
        } else {
            lua_pushnil(L);
        }
        return 1;
    }
    if (typeName) {
        auto mapped = luaClassNameMap.find(typeName);
        if (mapped != luaClassNameMap.end()) {
            lua_pushstring(L, mapped->second.c_str());
            lua_replace(L, 2);
        }
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

void registerCast(lua_State* L) {
    lua_getglobal(L, "_G");
    const bool globals = lua_istable(L, -1);
    lua_pop(L, 1);
    if (!globals) return;
    lua_getglobal(L, "tolua");
    if (lua_istable(L, -1)) {
        lua_pushstring(L, "cast");
        lua_pushstring(L, "cast");
        lua_rawget(L, -3);
        if (lua_iscfunction(L, -1) && lua_tocfunction(L, -1) != castWithOldNames) {
            lua_pushcclosure(L, castWithOldNames, 1);
            lua_rawset(L, -3);
        } else {
            lua_pop(L, 2);
        }
    }
    lua_pop(L, 1);
}

// The additions for the old class layout look their class table up under the
// short class name. Every class is registered under its full Lua name
// ("cc.Sequence"), so the table is never there and the class keeps what it has.
void registerUnderShortName(lua_State* L, const char* shortName) {
    lua_pushstring(L, shortName);
    lua_rawget(L, LUA_REGISTRYINDEX);
    lua_pop(L, 1);
}

}  // namespace

int register_deprecated_manual(lua_State* L) {
    if (!L) return 0;
    registerUnderShortName(L, "Animation");
    registerUnderShortName(L, "Sequence");
    registerCast(L);
    registerUnderShortName(L, "Menu");
    registerUnderShortName(L, "LayerMultiplex");
    return 0;
}

}  // namespace bindings
