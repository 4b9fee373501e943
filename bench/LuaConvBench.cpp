// Record conversions against hand-written Lua API code doing the same work, and the
// "pb" module's varint coding through its Lua entry points.
#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "scripting/LuaRecordConversions.h"
#include "scripting/pb/LuaPb.h"

namespace {

// A state holding a Vec2 table at 1 and a 16-number matrix array at 2.
lua_State* newRecordState() {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    luaL_dostring(L, "return {x = 1.5, y = -2}, {1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16}");
    return L;
}

void BM_vec2_mat4_ours(benchmark::State& state) {
    lua_State* L = newRecordState();
    engine::Vec2 v;
    engine::Mat4 m;
    for (auto _ : state) {
        luaconv_read_vec2(L, 1, &v);
        luaconv_push_vec2(L, v);
        luaconv_read_mat4(L, 2, &m);
        luaconv_push_mat4(L, m);
        lua_settop(L, 2);
        benchmark::DoNotOptimize(v);
        benchmark::DoNotOptimize(m);
    }
    lua_close(L);
}

void BM_vec2_mat4_raw(benchmark::State& state) {
    lua_State* L = newRecordState();
    engine::Vec2 v;
    engine::Mat4 m;
    for (auto _ : state) {
        if (lua_istable(L, 1)) {
            lua_getfield(L, 1, "x");
            v.x = static_cast<float>(lua_tonumber(L, -1));
            lua_getfield(L, 1, "y");
            v.y = static_cast<float>(lua_tonumber(L, -1));
            lua_pop(L, 2);
        }
        lua_createtable(L, 0, 2);
        lua_pushnumber(L, v.x);
        lua_setfield(L, -2, "x");
        lua_pushnumber(L, v.y);
        lua_setfield(L, -2, "y");
        if (lua_istable(L, 2) && lua_objlen(L, 2) == 16) {
            for (int i = 0; i < 16; ++i) {
                lua_rawgeti(L, 2, i + 1);
                m.m[i] = static_cast<float>(lua_tonumber(L, -1));
                lua_pop(L, 1);
            }
        }
        lua_createtable(L, 16, 0);
        for (int i = 0; i < 16; ++i) {
            lua_pushnumber(L, m.m[i]);
            lua_rawseti(L, -2, i + 1);
        }
        lua_settop(L, 2);
        benchmark::DoNotOptimize(v);
        benchmark::DoNotOptimize(m);
    }
    lua_close(L);
}

BENCHMARK(BM_vec2_mat4_ours)->Name("BM_vec2_mat4_vs_raw/ours");
BENCHMARK(BM_vec2_mat4_raw)->Name("BM_vec2_mat4_vs_raw/baseline");

// Collects what pb's encoders write.
int appendWrite(lua_State* L) {
    auto* out = static_cast<std::string*>(lua_touserdata(L, lua_upvalueindex(1)));
    size_t len = 0;
    const char* s = lua_tolstring(L, 1, &len);
    out->append(s, len);
    return 0;
}

// 1 MiB of 32-bit values encoded as varints and decoded back, through the Lua entry
// points scripts call. Bytes processed count the values' 4-byte size.
void BM_pb_varint_roundtrip(benchmark::State& state) {
    constexpr size_t kValues = (1u << 20) / 4;
    std::mt19937 random(7);
    std::vector<double> values(kValues);
    for (double& v : values) v = static_cast<double>(random() >> (random() % 32));

    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    luaopen_pb(L);
    lua_getfield(L, -1, "varint_encoder");
    lua_getfield(L, -2, "varint_decoder");
    lua_remove(L, 1);   // 1 encoder, 2 decoder
    std::string encoded;
    lua_pushlightuserdata(L, &encoded);
    lua_pushcclosure(L, appendWrite, 1);   // 3 write function

    for (auto _ : state) {
        encoded.clear();
        for (double v : values) {
            lua_pushvalue(L, 1);
            lua_pushvalue(L, 3);
            lua_pushnumber(L, v);
            lua_call(L, 2, 0);
        }
        lua_pushlstring(L, encoded.data(), encoded.size());   // 4
        lua_Integer position = 0;
        double sum = 0;
        for (size_t i = 0; i < kValues; ++i) {
            lua_pushvalue(L, 2);
            lua_pushvalue(L, 4);
            lua_pushinteger(L, position);
            lua_call(L, 2, 2);
            sum += lua_tonumber(L, -2);
            position = lua_tointeger(L, -1);
            lua_pop(L, 2);
        }
        lua_settop(L, 3);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kValues * 4));
    lua_close(L);
}

BENCHMARK(BM_pb_varint_roundtrip)->Unit(benchmark::kMillisecond);

}  // namespace
