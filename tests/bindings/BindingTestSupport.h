#pragma once
// A Lua stack started with the binding hooks installed, and a runner for chunks
// that reports their error text.
#include <gtest/gtest.h>

#include <string>

#include "engine/base/AutoreleasePool.h"
#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "scripting/LuaStack.h"

namespace bindingtest {

class BindingStackTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a chunk; its error message, or "" when it ran. The stack height is kept.
    std::string run(const std::string& chunk);
    // Runs "return <expression>" and gives its result as text (tostring), or the
    // error prefixed with "error: " (without the position Lua puts in front).
    std::string eval(const std::string& expression);

    engine::LuaStack* stack = nullptr;
    lua_State* L = nullptr;
};

// The same on the Lua engine's own stack, installed as the script engine, so that
// engine events (timers, touches) reach the scripts.
class LuaEngineBindingTest : public BindingStackTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A view of width x height frame pixels at the same design size (exact fit),
// handed to the director with a running scene, one frame in: the input entries
// (touches, keys, mouse) then reach the scripts. The caller releases it.
engine::GLView* startViewOnScene(float width, float height);

}  // namespace bindingtest
