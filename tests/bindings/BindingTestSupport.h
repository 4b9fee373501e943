#pragma once
// A Lua stack started with the binding hooks installed, a runner for chunks
// that reports their error text, and a runner for tables of chunk cases.
#include <gtest/gtest.h>

#include <initializer_list>
#include <span>
#include <string>

#include "engine/base/AutoreleasePool.h"
#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "scripting/LuaStack.h"

namespace bindingtest {

// One step of a script: its chunk runs (it must run without an error), then
// eval(expression) must give the expected text (errors start with "error: ").
struct ChunkCase {
    const char* name;
    const char* chunk;
    const char* expression;
    std::string expected;
};

class BindingStackTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a chunk; its error message, or "" when it ran. The stack height is kept.
    std::string run(const std::string& chunk);
    // Runs "return <expression>" and gives its result as text (tostring), or the
    // error prefixed with "error: " (without the position Lua puts in front).
    std::string eval(const std::string& expression);
    // Runs the cases in order, each traced by its name; a chunk that fails stops
    // the rest.
    void runCases(std::span<const ChunkCase> cases);
    void runCases(std::initializer_list<ChunkCase> cases) { runCases(std::span(cases.begin(), cases.size())); }

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
