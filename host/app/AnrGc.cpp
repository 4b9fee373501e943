#include "host/app/AnrGc.h"

#include <malloc.h>

#include <chrono>

#include "engine/base/Clock.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/script/ScriptEngineManager.h"
#include "scripting/LuaEngine.h"

namespace host {
namespace {

constexpr const char* kTickKey = "VEXO_gc_slices";
constexpr int kStepsPerTick = 8;
constexpr int kStepKiB = 32;
constexpr std::chrono::nanoseconds kTickBudget = std::chrono::milliseconds(2);
constexpr double kWarningInterval = 30.0;

AnrGcState& record() {
    static AnrGcState state;
    return state;
}

// Time of the last memory warning taken; far back so the first one is.
double& lastWarning() {
    static double when = -1e9;
    return when;
}

double seconds(engine::Clock::TimePoint t) {
    return std::chrono::duration<double>(t.time_since_epoch()).count();
}

double millisecondsSince(engine::Clock::TimePoint t0) {
    return std::chrono::duration<double, std::milli>(engine::Clock::now() - t0).count();
}

engine::Scheduler* scheduler() { return engine::Director::getInstance()->getScheduler(); }

bool tickScheduled() { return scheduler()->isScheduled(kTickKey, &record()); }

void stop() {
    scheduler()->unschedule(kTickKey, &record());
    record().running = false;
}

struct Step {
    int kib;
    int cycleEnded;
};

// One collection step, under lua_cpcall: a __gc finalizer it runs may raise.
int protectedStep(lua_State* L) {
    auto* step = static_cast<Step*>(lua_touserdata(L, 1));
    step->cycleEnded = lua_gc(L, LUA_GCSTEP, step->kib);
    return 0;
}

// Lua steps until the cycle ends, the tick's budget is spent or 8 steps ran;
// true when the cycle ended. A step whose finalizer raised is logged and counts;
// the cycle goes on from where it stood.
bool stepLua(AnrGcState& gc, engine::Clock::TimePoint t0) {
    for (int i = 0; i < kStepsPerTick; ++i) {
        if (engine::Clock::now() - t0 >= kTickBudget) return false;
        ++gc.steps;
        Step step{kStepKiB, 0};
        if (lua_cpcall(gc.L, protectedStep, &step) != 0) {
            const char* message = lua_tostring(gc.L, -1);
            engine::log("[LUA ERROR] %s", message ? message : "(error object is not a string)");
            lua_pop(gc.L, 1);
            continue;
        }
        if (step.cycleEnded != 0) return true;
    }
    return false;
}

}  // namespace

const AnrGcState& anrGcState() { return record(); }

double anrGcNow() { return seconds(engine::Clock::now()); }

lua_State* installedLuaState() {
    engine::ScriptEngineProtocol* engine = engine::ScriptEngineManager::getInstance()->getScriptEngine();
    if (!engine || engine->getScriptType() != 1) return nullptr;
    engine::LuaStack* stack = static_cast<engine::LuaEngine*>(engine)->getLuaStack();
    return stack ? stack->getLuaState() : nullptr;
}

void beginAnrGc(lua_State* L, bool full, const char* reason) {
    AnrGcState& gc = record();
    if (gc.running && tickScheduled()) {
        if (full) gc.phase = 0;
        return;
    }
    gc.L = L;
    gc.running = true;
    gc.phase = full ? 0 : 2;
    gc.frames = 0;
    gc.maxMs = 0;
    gc.steps = 0;
    gc.startTime = anrGcNow();
    engine::log("ANRGC begin %s", reason);
    scheduler()->schedule([](float dt) { anrGcTick(dt); }, &gc, 0.0f, false, kTickKey);
}

void anrGcTick(float) {
    AnrGcState& gc = record();
    if (!gc.L || installedLuaState() != gc.L) {
        stop();
        return;
    }
    const engine::Clock::TimePoint t0 = engine::Clock::now();
    bool done = false;
    switch (gc.phase) {
    case 0:
        engine::SpriteFrameCache::getInstance()->removeUnusedSpriteFrames();
        gc.phase = 1;
        break;
    case 1:
        engine::TextureCache::getInstance()->removeUnusedTextures();
        gc.phase = 2;
        break;
    default:
        done = stepLua(gc, t0);
        break;
    }
    const double ms = millisecondsSince(t0);
    if (ms > gc.maxMs) gc.maxMs = ms;
    ++gc.frames;
    if (done) {
        engine::log("ANRGC done frames=%d max_ms=%.1f total_ms=%.1f", static_cast<int>(gc.frames), gc.maxMs,
                    (anrGcNow() - gc.startTime) * 1000.0);
        stop();
    }
}

void keepFreedBlocksCoalesced() { mallopt(M_MXFAST, 0); }

int vexoOnMemoryWarning(lua_State*) {
    // The engine's state, not the caller's: a collection of a coroutine would be
    // stopped by its first tick, with the warning already taken.
    lua_State* main = installedLuaState();
    if (!main) return 0;
    const double now = anrGcNow();
    if (now - lastWarning() < kWarningInterval) return 0;
    lastWarning() = now;
    beginAnrGc(main, true, "memory");
    return 0;
}

}  // namespace host
