// The script host's hot paths against plain Lua:
// - a handler call through executeFunctionByHandler (a function adding three
//   numbers) against the same call made by hand (lua_rawgeti, the arguments,
//   lua_pcall, lua_settop);
// - loading a 1 MiB protected, "VEXZ"-compressed chunk against luaL_loadbuffer
//   of the same plain source.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/base/AutoreleasePool.h"
#include "scripting/LuaStack.h"
#include "scripting/ToluaFix.h"
#include "tests/scripting/ChunkMaker.h"

namespace {

const std::string kKey = "0123456789abcdef";
const std::string kSign = "BENCHS";

engine::LuaStack* benchStack() {
    static engine::LuaStack* stack = [] {
        engine::LuaStack* s = engine::LuaStack::create();
        s->retain();
        engine::AutoreleasePool::getInstance()->clear();
        s->setScriptKey(reinterpret_cast<const unsigned char*>(kKey.data()), 16,
                        reinterpret_cast<const unsigned char*>(kSign.data()), 6);
        return s;
    }();
    return stack;
}

int addHandler(lua_State* L) {
    luaL_dostring(L, "function add3(a, b, c) return a + b + c end");
    lua_getglobal(L, "add3");
    const int handler = toluafix_refFunction(L, -1, 0);
    lua_pop(L, 1);
    return handler;
}

void BM_handler_vs_pcall_ours(benchmark::State& state) {
    engine::LuaStack* stack = benchStack();
    lua_State* L = stack->getLuaState();
    const int handler = addHandler(L);
    int sum = 0;
    for (auto _ : state) {
        // The arguments are pushed the same way on both sides.
        lua_pushinteger(L, 1);
        lua_pushinteger(L, 2);
        lua_pushinteger(L, 3);
        sum += stack->executeFunctionByHandler(handler, 3);
    }
    benchmark::DoNotOptimize(sum);
}

void BM_handler_vs_pcall_baseline(benchmark::State& state) {
    lua_State* L = benchStack()->getLuaState();
    luaL_dostring(L, "function add3(a, b, c) return a + b + c end");
    lua_getglobal(L, "add3");
    const int ref = luaL_ref(L, LUA_REGISTRYINDEX);
    int sum = 0;
    for (auto _ : state) {
        const int top = lua_gettop(L);
        lua_rawgeti(L, LUA_REGISTRYINDEX, ref);
        lua_pushinteger(L, 1);
        lua_pushinteger(L, 2);
        lua_pushinteger(L, 3);
        if (lua_pcall(L, 3, 1, 0) == 0) sum += static_cast<int>(lua_tointeger(L, -1));
        lua_settop(L, top);
    }
    benchmark::DoNotOptimize(sum);
    luaL_unref(L, LUA_REGISTRYINDEX, ref);
}

// About 1 MiB of varied Lua source.
const std::string& plainSource() {
    static const std::string source = [] {
        std::string s;
        for (int i = 0; s.size() < 1024 * 1024; ++i) {
            s += "function f" + std::to_string(i) + "(a, b)\n  local t = {x = a * " + std::to_string(i % 97) +
                 ", y = b - " + std::to_string(i * 7919 % 1000) + ", name = 'n" + std::to_string(i) +
                 "'}\n  return t.x + t.y\nend\n";
        }
        return s;
    }();
    return source;
}

const std::string& protectedChunk() {
    static const std::string chunk = kSign + scripttest::protectBody(scripttest::compressChunk(plainSource()), kKey);
    return chunk;
}

void BM_chunk_load_vs_plain_ours(benchmark::State& state) {
    engine::LuaStack* stack = benchStack();
    lua_State* L = stack->getLuaState();
    const std::string& chunk = protectedChunk();
    for (auto _ : state) {
        const int status = stack->loadScriptBuffer(L, chunk.data(), static_cast<int>(chunk.size()), "bench");
        if (status != 0) state.SkipWithError("chunk did not load");
        lua_settop(L, 0);
    }
    state.SetLabel(std::to_string(chunk.size()) + " bytes on disk");
}

void BM_chunk_load_vs_plain_baseline(benchmark::State& state) {
    lua_State* L = benchStack()->getLuaState();
    const std::string& plain = plainSource();
    for (auto _ : state) {
        if (luaL_loadbuffer(L, plain.data(), plain.size(), "bench") != 0) state.SkipWithError("no load");
        lua_settop(L, 0);
    }
}

}  // namespace

BENCHMARK(BM_handler_vs_pcall_ours)->Name("BM_handler_vs_pcall/ours");
BENCHMARK(BM_handler_vs_pcall_baseline)->Name("BM_handler_vs_pcall/baseline");
BENCHMARK(BM_chunk_load_vs_plain_ours)->Name("BM_chunk_load_vs_plain/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_chunk_load_vs_plain_baseline)->Name("BM_chunk_load_vs_plain/baseline")->Unit(benchmark::kMillisecond);
