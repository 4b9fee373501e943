#include "bindings/core/LuaBlendFunc.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "bindings/LuaChecks.h"
#include "engine/scene/Node.h"
#include "scripting/LuaValueConversions.h"

namespace bindings {

void setBlendFuncFromNumbers(lua_State* L, const char* className, engine::BlendProtocol* self) {
    if (!className || !*className || !self) return;
    const std::string name = std::string(className) + ":setBlendFunc";
    int32_t src = 0, dst = 0;
    if (!luaconv_read_int32(L, 2, &src, name.c_str())) return;
    if (!luaconv_read_int32(L, 3, &dst, name.c_str())) return;
    self->setBlendFunc(engine::BlendFunc{static_cast<uint32_t>(src), static_cast<uint32_t>(dst)});
}

namespace {

// Upvalues: the class's own setBlendFunc, the class's Lua name.
int lua_setBlendFunc(lua_State* L) {
    if (lua_gettop(L) - 1 == 2) {
        const char* luaName = lua_tostring(L, lua_upvalueindex(2));
        char name[96];   // no destructor: checkSelf may raise
        std::snprintf(name, sizeof name, "%s:setBlendFunc", luaName);
        auto* node = checkSelf<engine::Node>(L, luaName, name);
        setBlendFuncFromNumbers(L, luaName, dynamic_cast<engine::BlendProtocol*>(node));
        return 0;
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

}  // namespace

void register_blend_func_manual(lua_State* L, const char* luaName) {
    lua_pushstring(L, luaName);
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_istable(L, -1)) {
        lua_pushstring(L, "setBlendFunc");
        lua_rawget(L, -2);
        if (lua_isfunction(L, -1)) {
            lua_pushstring(L, luaName);
            lua_pushcclosure(L, lua_setBlendFunc, 2);
            lua_pushstring(L, "setBlendFunc");
            lua_insert(L, -2);
            lua_rawset(L, -3);
        } else {
            lua_pop(L, 1);
        }
    }
    lua_pop(L, 1);
}

}  // namespace bindings
