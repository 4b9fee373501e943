// A generated binding row against a plain lua_CFunction making the same engine
// call: cc.Node:setScaleX from a Lua loop, with every binding registered.
#include <benchmark/benchmark.h>
#include <lua.hpp>
#include <tolua++.h>

#include "FreshLuaEngine.h"
#include "engine/scene/Node.h"

namespace {

constexpr int kCalls = 1000;

// The baseline: reads self and the number with the plain Lua API and calls the
// engine. It leaves out what a row adds: the count check, the self's class
// check against the row's class, the typed read of the number and the error texts.
int plainSetScaleX(lua_State* L) {
    auto* node = static_cast<engine::Node*>(static_cast<engine::Ref*>(tolua_tousertype(L, 1, nullptr)));
    if (node) node->setScaleX(static_cast<float>(lua_tonumber(L, 2)));
    return 0;
}

// Runs the chunk that calls `setter` kCalls times on one node per iteration.
void runSetterLoop(benchmark::State& state, bool generated) {
    lua_State* L = freshLuaEngine();
    lua_pushcfunction(L, &plainSetScaleX);
    lua_setglobal(L, "plainSetScaleX");
    const char* chunk = generated ? "local node = cc.Node:create(); local set = node.setScaleX\n"
                                    "return function() for i = 1, 1000 do set(node, i) end end"
                                  : "local node = cc.Node:create(); local set = plainSetScaleX\n"
                                    "return function() for i = 1, 1000 do set(node, i) end end";
    if (luaL_dostring(L, chunk) != 0) {
        state.SkipWithError(lua_tostring(L, -1));
        return;
    }
    const int loop = lua_gettop(L);
    for (auto _ : state) {
        lua_pushvalue(L, loop);
        if (lua_pcall(L, 0, 0, 0) != 0) {
            state.SkipWithError(lua_tostring(L, -1));
            break;
        }
    }
    lua_settop(L, loop - 1);
    state.counters["calls"] = benchmark::Counter(static_cast<double>(state.iterations()) * kCalls);
}

void BM_generated_call_ours(benchmark::State& state) { runSetterLoop(state, true); }
void BM_generated_call_baseline(benchmark::State& state) { runSetterLoop(state, false); }

}  // namespace

BENCHMARK(BM_generated_call_ours)->Name("generated_call_vs_cfunction/ours");
BENCHMARK(BM_generated_call_baseline)->Name("generated_call_vs_cfunction/baseline");
