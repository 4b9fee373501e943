#pragma once
// Running Lua text on a state in the host tests.
#include <string>

#include <lua.hpp>

namespace hosttest {

// Runs a chunk; "" on success, else the error message (popped).
inline std::string runLua(lua_State* L, const std::string& code) {
    if (luaL_dostring(L, code.c_str()) == 0) return "";
    std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
    lua_pop(L, 1);
    return message;
}

// tostring of a Lua expression, or "error: <message>".
inline std::string evalLua(lua_State* L, const std::string& expr) {
    const std::string error = runLua(L, "RESULT = tostring(" + expr + ")");
    if (!error.empty()) return "error: " + error;
    lua_getglobal(L, "RESULT");
    std::string text = lua_tostring(L, -1);
    lua_pop(L, 1);
    return text;
}

// Makes require("cjson") open lua-cjson.
void preloadCjson(lua_State* L);

}  // namespace hosttest
