// A member of the script table `gl` against a plain C function taking the same
// five numbers: 10,000 calls from Lua each, on the no-op GL table.
#include <benchmark/benchmark.h>
#include <lua.hpp>
#include <tolua++.h>

#include <string>

#include "bindings/opengl/LuaGLTable.h"
#include "engine/renderer/GLFunctions.h"

namespace {

// The baseline: reads five numbers and hands them to the same entry point.
int plainUniform4f(lua_State* L) {
    engine::GL::fn().uniform4f(static_cast<GLint>(lua_tonumber(L, 1)), static_cast<GLfloat>(lua_tonumber(L, 2)),
                               static_cast<GLfloat>(lua_tonumber(L, 3)), static_cast<GLfloat>(lua_tonumber(L, 4)),
                               static_cast<GLfloat>(lua_tonumber(L, 5)));
    return 0;
}

// A state with `gl` as the start-up registers it and `plain.uniform4f`, and the
// loop of 10,000 calls through table `name` left on the stack.
lua_State* newState(const char* name) {
    engine::GL::setFunctions(engine::GL::noopFunctions());
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    tolua_open(L);
    lua_pushvalue(L, LUA_GLOBALSINDEX);
    bindings::register_gl_module(L);
    lua_pop(L, 1);
    lua_newtable(L);
    lua_pushcfunction(L, &plainUniform4f);
    lua_setfield(L, -2, "uniform4f");
    lua_setglobal(L, "plain");
    const std::string loop = std::string("return function() local t = ") + name +
                             " for i = 1, 10000 do t.uniform4f(3, 0.5, 0.25, 0.125, 1) end end";
    luaL_dostring(L, loop.c_str());
    return L;
}

// Puts back the table in use when the pair started: the benchmarks of a run are
// interleaved, and a later frame benchmark must not draw into the no-op table.
void runLoop(benchmark::State& state, const char* name) {
    const engine::GLFunctions previous = engine::GL::fn();
    lua_State* L = newState(name);
    for (auto _ : state) {
        lua_pushvalue(L, -1);
        lua_call(L, 0, 0);
    }
    lua_close(L);
    engine::GL::setFunctions(previous);
}

void BM_gl_member(benchmark::State& state) { runLoop(state, "gl"); }
void BM_cfunction(benchmark::State& state) { runLoop(state, "plain"); }

BENCHMARK(BM_gl_member)->Name("gl_member_vs_cfunction/ours");
BENCHMARK(BM_cfunction)->Name("gl_member_vs_cfunction/baseline");

}  // namespace
