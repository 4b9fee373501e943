#pragma once
// Sliced garbage collection: the purge of unused sprite frames, then of unused
// textures, then a full Lua collection, spread over frames so that no frame stalls.
//
// One collection at a time, process-wide. Its tick runs every frame on the
// director's scheduler under the key "VEXO_gc_slices" (target: the record below):
// a purge takes one tick each; then each tick runs at most 8 Lua steps of 32 KiB,
// and none once 2 ms have passed since the tick began. The collection ends
// with the line "ANRGC done frames=.. max_ms=.. total_ms=.." when a Lua cycle
// completes; it stops silently when the Lua engine is no longer the script engine
// or its state is not the one being collected.
//
// Each Lua step runs under a protected call: a __gc finalizer that raises is
// logged ("[LUA ERROR] ...") and the collection goes on.
//
// A collection counts as under way only while its tick is really scheduled: one
// whose tick was dropped (the scheduler cleared) can be started again.
// Times read the engine's steady clock (engine::Clock). Main thread only.
#include <cstdint>

#include <lua.hpp>

namespace host {

struct AnrGcState {
    lua_State* L = nullptr;   // the state being collected
    bool running = false;     // set while the tick is scheduled
    uint32_t phase = 2;       // 0 purge sprite frames, 1 purge textures, 2 Lua steps
    uint32_t frames = 0;      // ticks since the start
    double maxMs = 0;         // longest tick so far
    double startTime = 0;     // seconds of the steady clock
    uint64_t steps = 0;       // Lua steps since the start
};

// The process-wide record.
const AnrGcState& anrGcState();

// The steady clock in seconds.
double anrGcNow();

// Starts a collection of L, logging "ANRGC begin <reason>". While one is under
// way, a full request sends it back to the purges; any other changes nothing.
void beginAnrGc(lua_State* L, bool full, const char* reason);

// One frame of the collection (dt is not used).
void anrGcTick(float dt);

// The state of the Lua engine when it is the installed script engine, else null.
// Never creates the engine.
lua_State* installedLuaState();

// Freed small blocks go straight back to the heap instead of waiting in glibc's
// fast bins: otherwise the first large block freed after a burst of small ones (a
// big table's array, the string table shrinking at the end of a cycle) merges all
// of them at once, tens of milliseconds after a collection of 64 MiB of small
// garbage, inside a single collection step. The program calls it once at start.
void keepFreedBlocksCoalesced();

// The global "vexoOnMemoryWarning": a full collection of the Lua engine's state
// (whichever coroutine calls), reason "memory", at most once every 30 s.
int vexoOnMemoryWarning(lua_State* L);

}  // namespace host
