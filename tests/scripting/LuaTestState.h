#pragma once
// A fresh Lua state with the standard libraries and tolua++ for conversion tests, with
// helpers that evaluate Lua expressions onto the stack and describe values.
#include <gtest/gtest.h>
#include <lua.hpp>
#include <tolua++.h>

#include <string>

class LuaTestState {
public:
    LuaTestState();
    ~LuaTestState();
    LuaTestState(const LuaTestState&) = delete;
    LuaTestState& operator=(const LuaTestState&) = delete;

    lua_State* L = nullptr;

    // Evaluates `return <expression>` and pushes its one result; returns its absolute
    // index. A Lua error fails the test and pushes nil.
    int push(const std::string& expression);
    // Runs a chunk; the error message, or "" when it ran.
    std::string run(const std::string& chunk);
    // A canonical text of the value at index: numbers as %.14g, strings quoted, tables
    // as {key=value,...} with sorted keys, "nil", "true"/"false", other types by name.
    std::string describe(int index);
    int top() const { return lua_gettop(L); }
};
