#include "LuaTestState.h"

namespace {

const char* kDescribe = R"(
local function describe(v, depth)
    local t = type(v)
    if t == "string" then return string.format("%q", v) end
    if t == "number" then return string.format("%.14g", v) end
    if t == "table" then
        if depth > 20 then return "{...}" end
        local keys = {}
        for k in pairs(v) do keys[#keys + 1] = k end
        table.sort(keys, function(a, b)
            if type(a) == type(b) and (type(a) == "number" or type(a) == "string") then return a < b end
            return type(a) < type(b)
        end)
        local parts = {}
        for _, k in ipairs(keys) do
            local bare = type(k) == "string" and k:match("^[%a_][%w_]*$")
            local name = bare and k or "[" .. describe(k, depth + 1) .. "]"
            parts[#parts + 1] = name .. "=" .. describe(v[k], depth + 1)
        end
        return "{" .. table.concat(parts, ",") .. "}"
    end
    if t == "nil" or t == "boolean" then return tostring(v) end
    return t
end
return function(v) return describe(v, 0) end
)";

}  // namespace

LuaTestState::LuaTestState() : L(luaL_newstate()) {
    luaL_openlibs(L);
    tolua_open(L);
    lua_settop(L, 0);
    if (luaL_dostring(L, kDescribe) != 0) ADD_FAILURE() << lua_tostring(L, -1);
    lua_setfield(L, LUA_REGISTRYINDEX, "test_describe");
}

LuaTestState::~LuaTestState() { lua_close(L); }

int LuaTestState::push(const std::string& expression) {
    std::string chunk = "return " + expression;
    if (luaL_loadstring(L, chunk.c_str()) != 0 || lua_pcall(L, 0, 1, 0) != 0) {
        ADD_FAILURE() << expression << ": " << lua_tostring(L, -1);
        lua_pop(L, 1);
        lua_pushnil(L);
    }
    return lua_gettop(L);
}

std::string LuaTestState::run(const std::string& chunk) {
    int base = lua_gettop(L);
    std::string error;
    if (luaL_loadstring(L, chunk.c_str()) != 0 || lua_pcall(L, 0, 0, 0) != 0) {
        const char* message = lua_tostring(L, -1);
        error = message ? message : "(error without text)";
    }
    lua_settop(L, base);
    return error;
}

std::string LuaTestState::describe(int index) {
    index = (index < 0 && index > LUA_REGISTRYINDEX) ? lua_gettop(L) + index + 1 : index;
    lua_getfield(L, LUA_REGISTRYINDEX, "test_describe");
    lua_pushvalue(L, index);
    lua_call(L, 1, 1);
    std::string text = lua_tostring(L, -1);
    lua_pop(L, 1);
    return text;
}
