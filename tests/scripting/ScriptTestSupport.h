#pragma once
// A fresh Lua stack per test, and small helpers to drive it.
#include <gtest/gtest.h>

#include <string>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "scripting/LuaStack.h"

namespace scripttest {

class LuaStackTest : public ::testing::Test {
protected:
    void SetUp() override {
        stack = engine::LuaStack::create();
        stack->retain();
        L = stack->getLuaState();
        engine::AutoreleasePool::getInstance()->clear();
    }
    void TearDown() override {
        stack->release();
        engine::AutoreleasePool::getInstance()->clear();
        engine::Director::destroyInstance();
    }

    // Runs Lua code that must succeed; the stack height is unchanged.
    void run(const std::string& code) {
        const int top = lua_gettop(L);
        ASSERT_EQ(luaL_dostring(L, code.c_str()), 0) << lua_tostring(L, -1);
        lua_settop(L, top);
    }
    // The global's value as a string (numbers formatted by Lua), "nil" when unset.
    std::string global(const char* name) {
        lua_getglobal(L, name);
        std::string s = lua_isnil(L, -1) ? "nil" : lua_isboolean(L, -1) ? (lua_toboolean(L, -1) ? "true" : "false")
                                                : lua_tostring(L, -1) ? lua_tostring(L, -1) : luaL_typename(L, -1);
        lua_pop(L, 1);
        return s;
    }
    // A handler id for the global function name.
    int ref(const char* name) {
        lua_getglobal(L, name);
        const int id = toluafixRef();
        lua_pop(L, 1);
        return id;
    }
    int toluafixRef();

    engine::LuaStack* stack = nullptr;
    lua_State* L = nullptr;
};

}  // namespace scripttest
