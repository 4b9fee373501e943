// Spreading bursty script work over frames, against doing it at once:
// - the sliced collection of a Lua heap holding about 64 MiB of garbage: its
//   longest frame (gc_slice_vs_full) and the sum of its frames
//   (gc_sliced_total_vs_full) against the same cycle stepped to its end at once;
// - the staged start of an initialiser making 2,000 framework calls of about
//   50 µs each (the stand-in game modules of the tests): its longest frame
//   (anr_slice_vs_init) and the sum of its frames (anr_total_vs_init) against the
//   initialiser run straight.
// Each side times what it compares by hand (manual time) in this thread's CPU
// time, which other work on the machine barely moves (all the work runs here);
// building the heap or the Lua engine is not counted. The heap runs with the
// allocator setting the program makes at start (host::keepFreedBlocksCoalesced).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <time.h>

#include <string>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "host/app/AnrFix.h"
#include "host/app/AnrGc.h"
#include "scripting/LuaEngine.h"

#include "FreshLuaEngine.h"

namespace {

// This thread's CPU time, in seconds.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double secondsSince(double t0) { return cpuSeconds() - t0; }

void frame() { engine::Director::getInstance()->getScheduler()->update(1.0f / 60); }

// Keeps the collection's and the staged start's log lines out of the report.
class QuietLog {
public:
    QuietLog() : _previous(engine::setLogSink([](const std::string&) {})) {}
    ~QuietLog() { engine::setLogSink(_previous); }

private:
    engine::LogSink _previous;
};

// About 64 MiB of unreachable small tables and strings, left with the collector
// idle, as after a burst of game work.
void makeGarbage(lua_State* L) {
    lua_gc(L, LUA_GCCOLLECT, 0);
    lua_gc(L, LUA_GCSTOP, 0);
    luaL_dostring(L,
                  "local base = collectgarbage('count')\n"
                  "local keep, i = {}, 0\n"
                  "while collectgarbage('count') - base < 64 * 1024 do\n"
                  "  i = i + 1\n"
                  "  keep[i] = {name = 'item' .. i, x = i, y = i * 2, tags = {i, i + 1}}\n"
                  "end\n");
    lua_gc(L, LUA_GCRESTART, 0);
}

// The baseline does the same cycle as the sliced collection in one go: it steps
// the collector until that cycle ends (a full collection would also sweep a
// second time and overstate what slicing saves).
void fullCollection(benchmark::State& state) {
    QuietLog quiet;
    lua_State* L = freshLuaEngine();
    for (auto _ : state) {
        makeGarbage(L);
        const double t0 = cpuSeconds();
        while (lua_gc(L, LUA_GCSTEP, 32) == 0) {
        }
        state.SetIterationTime(secondsSince(t0));
    }
}

// longest: the longest frame; otherwise the sum of the frames.
void slicedCollection(benchmark::State& state, bool longest) {
    QuietLog quiet;
    lua_State* L = freshLuaEngine();
    for (auto _ : state) {
        makeGarbage(L);
        host::beginAnrGc(L, true, "bench");
        double maxFrame = 0;
        double total = 0;
        while (host::anrGcState().running) {
            const double t0 = cpuSeconds();
            frame();
            const double s = secondsSince(t0);
            maxFrame = std::max(maxFrame, s);
            total += s;
        }
        state.SetIterationTime(longest ? maxFrame : total);
    }
}

void BM_gc_slice_vs_full_ours(benchmark::State& state) { slicedCollection(state, true); }
void BM_gc_slice_vs_full_baseline(benchmark::State& state) { fullCollection(state); }
void BM_gc_sliced_total_vs_full_ours(benchmark::State& state) { slicedCollection(state, false); }
void BM_gc_sliced_total_vs_full_baseline(benchmark::State& state) { fullCollection(state); }

// burn(us): busy work of about `us` microseconds, as one framework call costs.
int burn(lua_State* L) {
    const double until = cpuSeconds() + static_cast<double>(luaL_checkinteger(L, 1)) * 1e-6;
    while (cpuSeconds() < until) {
    }
    return 0;
}

// A fresh engine with the stand-in game modules, an initialiser of 2,000
// framework calls of 50 µs, and (when staged) the staged start installed.
lua_State* gameWith2000Calls(bool staged) {
    lua_State* L = freshLuaEngine();
    lua_register(L, "burn", burn);
    if (staged) host::installAnrFix(L);
    luaL_dostring(L,
                  "package.path = '" VEXO_SOURCE_DIR "/tests/host/fixtures/anrboot/src/?.lua;' .. package.path\n"
                  "local GameFrame = require('pelmora.GameFrame')\n"
                  "GameFrame.work = function() burn(50) end\n"
                  "local kinds = {'addLang', 'addConf', 'add'}\n"
                  "GameCore = require('GameCore')\n"
                  "GameCore.plan = {}\n"
                  "for i = 1, 2000 do GameCore.plan[i] = {kinds[i % 3 + 1], i} end\n");
    return L;
}

void BM_anr_init_baseline(benchmark::State& state) {
    QuietLog quiet;
    for (auto _ : state) {
        lua_State* L = gameWith2000Calls(false);
        const double t0 = cpuSeconds();
        luaL_dostring(L, "GameCore.init()");
        state.SetIterationTime(secondsSince(t0));
    }
}

bool loading(lua_State* L) {
    luaL_dostring(L, "return cc.VEXOAnrFix.status == 'loading'");
    const bool result = lua_toboolean(L, -1);
    lua_pop(L, 1);
    return result;
}

// longest: the longest frame; otherwise the call that stages it plus every frame.
void stagedInit(benchmark::State& state, bool longest) {
    QuietLog quiet;
    for (auto _ : state) {
        lua_State* L = gameWith2000Calls(true);
        double t0 = cpuSeconds();
        luaL_dostring(L, "GameCore.init()");
        double total = secondsSince(t0);
        double maxFrame = total;
        while (loading(L)) {
            t0 = cpuSeconds();
            frame();
            const double s = secondsSince(t0);
            maxFrame = std::max(maxFrame, s);
            total += s;
        }
        state.SetIterationTime(longest ? maxFrame : total);
    }
}

void BM_anr_slice_vs_init_ours(benchmark::State& state) { stagedInit(state, true); }
void BM_anr_slice_vs_init_baseline(benchmark::State& state) { BM_anr_init_baseline(state); }
void BM_anr_total_vs_init_ours(benchmark::State& state) { stagedInit(state, false); }
void BM_anr_total_vs_init_baseline(benchmark::State& state) { BM_anr_init_baseline(state); }

// Whole collections and starts take tens of milliseconds: a few of each per
// repetition are enough.
#define VEXO_ANR_BENCH(fn, name) \
    BENCHMARK(fn)->Name(name)->UseManualTime()->Iterations(3)->Repetitions(7)->Unit(benchmark::kMillisecond)
VEXO_ANR_BENCH(BM_gc_slice_vs_full_ours, "BM_gc_slice_vs_full/ours");
VEXO_ANR_BENCH(BM_gc_slice_vs_full_baseline, "BM_gc_slice_vs_full/baseline");
VEXO_ANR_BENCH(BM_gc_sliced_total_vs_full_ours, "BM_gc_sliced_total_vs_full/ours");
VEXO_ANR_BENCH(BM_gc_sliced_total_vs_full_baseline, "BM_gc_sliced_total_vs_full/baseline");
VEXO_ANR_BENCH(BM_anr_slice_vs_init_ours, "BM_anr_slice_vs_init/ours");
VEXO_ANR_BENCH(BM_anr_slice_vs_init_baseline, "BM_anr_slice_vs_init/baseline");
VEXO_ANR_BENCH(BM_anr_total_vs_init_ours, "BM_anr_total_vs_init/ours");
VEXO_ANR_BENCH(BM_anr_total_vs_init_baseline, "BM_anr_total_vs_init/baseline");

}  // namespace
