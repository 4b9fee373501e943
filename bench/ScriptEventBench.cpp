// Engine events reaching script handlers, against the same handler calls made by
// hand (lua_rawgeti of the function, its arguments, lua_pcall, lua_settop):
// - node_update_vs_pcall: one frame's update step (the director's scheduler)
//   for 1,000 nodes of the running scene whose scripts set Lua update handlers
//   with scheduleUpdateWithPriorityLua, against the 1,000 handlers called with
//   dt. Drawing is left out: it is no part of the update path, and on the GL
//   context another benchmark may leave current it would time the driver.
// - touch_dispatch_vs_pcall: a touch began and ended through the event
//   dispatcher to 100 nodes of the running scene, each with a one-by-one touch
//   listener whose Lua began and ended handlers the script registered; every
//   began handler answers true and no listener swallows, so began reaches all
//   100 and ended all 100 claimers: 200 handler calls, against the same 200 by
//   hand, each with the touch and the event as the script sees them (began
//   read as a boolean).
// The handlers add to a counter; both sides check the count of calls.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/Scheduler.h"
#include "engine/input/EventTouch.h"
#include "engine/input/Touch.h"
#include "engine/scene/Scene.h"
#include "scripting/LuaStack.h"
#include "scripting/ScriptHandlerMgr.h"

#include "FreshLuaEngine.h"

namespace {

constexpr int kUpdateNodes = 1000;
constexpr int kTouchNodes = 100;
constexpr float kFrame = 1.0f / 60;

using Kind = engine::ScriptHandlerMgr::HandlerType;

// A fresh Lua engine and a new running scene; the script chunk then fills it.
// The scene's children leave (and release their handlers) when it ends.
class ScriptScene {
public:
    explicit ScriptScene(const std::string& chunk) {
        L = freshLuaEngine();
        engine::Director* director = engine::Director::getInstance();
        _scene = engine::Scene::create();
        director->runWithScene(_scene);
        director->mainLoop(0.f);   // the scene runs from here
        _ok = director->getRunningScene() == _scene && luaL_dostring(L, chunk.c_str()) == 0;
        if (!_ok) _error = lua_isstring(L, -1) ? lua_tostring(L, -1) : "the scene did not start";
        lua_settop(L, 0);
        engine::AutoreleasePool::getInstance()->clear();
    }
    ~ScriptScene() {
        _scene->removeAllChildren();
        engine::AutoreleasePool::getInstance()->clear();
    }
    bool ok() const { return _ok; }
    const std::string& error() const { return _error; }

    // Registry references to the functions of a global table's entries 1..count.
    std::vector<int> refs(const char* table, int count) {
        std::vector<int> out;
        lua_getglobal(L, table);
        for (int i = 1; i <= count; ++i) {
            lua_rawgeti(L, -1, i);
            out.push_back(luaL_ref(L, LUA_REGISTRYINDEX));
        }
        lua_pop(L, 1);
        return out;
    }
    void unref(const std::vector<int>& refs) {
        for (int ref : refs) luaL_unref(L, LUA_REGISTRYINDEX, ref);
    }
    // The handlers' call counter.
    long calls() {
        luaL_dostring(L, "return benchCalls");
        const long n = static_cast<long>(lua_tointeger(L, -1));
        lua_settop(L, 0);
        return n;
    }

    lua_State* L = nullptr;

private:
    engine::Scene* _scene = nullptr;
    bool _ok = false;
    std::string _error;
};

// Nodes with update handlers; their functions also in benchUpdates[i].
std::string updateChunk() {
    return "benchCalls = 0\n"
           "local scene = cc.Director:getInstance():getRunningScene()\n"
           "benchUpdates = {}\n"
           "for i = 1, " + std::to_string(kUpdateNodes) + " do\n"
           "  local node = cc.Node:create()\n"
           "  scene:addChild(node)\n"
           "  local f = function(dt) benchCalls = benchCalls + 1 end\n"
           "  benchUpdates[i] = f\n"
           "  node:scheduleUpdateWithPriorityLua(f, 0)\n"
           "end\n";
}

void BM_node_update_vs_pcall_ours(benchmark::State& state) {
    ScriptScene scene(updateChunk());
    if (!scene.ok()) {
        state.SkipWithError(scene.error().c_str());
        return;
    }
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    long frames = 0;
    for (auto _ : state) {
        scheduler->update(kFrame);
        ++frames;
    }
    if (scene.calls() != frames * kUpdateNodes) state.SkipWithError("not every update handler ran once a frame");
}

void BM_node_update_vs_pcall_baseline(benchmark::State& state) {
    ScriptScene scene(updateChunk());
    if (!scene.ok()) {
        state.SkipWithError(scene.error().c_str());
        return;
    }
    lua_State* L = scene.L;
    const std::vector<int> updates = scene.refs("benchUpdates", kUpdateNodes);
    long frames = 0;
    for (auto _ : state) {
        for (int ref : updates) {
            lua_rawgeti(L, LUA_REGISTRYINDEX, ref);
            lua_pushnumber(L, static_cast<double>(kFrame));
            if (lua_pcall(L, 1, 0, 0) != 0) lua_pop(L, 1);
        }
        ++frames;
    }
    scene.unref(updates);
    if (scene.calls() != frames * kUpdateNodes) state.SkipWithError("not every update handler ran once a frame");
}

// Nodes with one-by-one touch listeners; their handlers also in benchBegan[i]
// and benchEnded[i].
std::string touchChunk() {
    return "benchCalls = 0\n"
           "local scene = cc.Director:getInstance():getRunningScene()\n"
           "local dispatcher = cc.Director:getInstance():getEventDispatcher()\n"
           "benchBegan, benchEnded = {}, {}\n"
           "for i = 1, " + std::to_string(kTouchNodes) + " do\n"
           "  local node = cc.Node:create()\n"
           "  scene:addChild(node)\n"
           "  local began = function(touch, event) benchCalls = benchCalls + 1 return true end\n"
           "  local ended = function(touch, event) benchCalls = benchCalls + 1 end\n"
           "  local listener = cc.EventListenerTouchOneByOne:create()\n"
           "  listener:registerScriptHandler(began, " + std::to_string(static_cast<int>(Kind::EVENT_TOUCH_BEGAN)) + ")\n"
           "  listener:registerScriptHandler(ended, " + std::to_string(static_cast<int>(Kind::EVENT_TOUCH_ENDED)) + ")\n"
           "  dispatcher:addEventListenerWithSceneGraphPriority(listener, node)\n"
           "  benchBegan[i], benchEnded[i] = began, ended\n"
           "end\n";
}

// One touch and the event carrying it.
struct TouchInput {
    TouchInput() {
        touch->setTouchInfo(1, 10, 10);
        event->setTouches({touch});
    }
    ~TouchInput() {
        event->release();
        touch->release();
    }
    engine::Touch* touch = new engine::Touch;
    engine::EventTouch* event = new engine::EventTouch;
};

void BM_touch_dispatch_vs_pcall_ours(benchmark::State& state) {
    ScriptScene scene(touchChunk());
    if (!scene.ok()) {
        state.SkipWithError(scene.error().c_str());
        return;
    }
    engine::EventDispatcher* dispatcher = engine::Director::getInstance()->getEventDispatcher();
    TouchInput input;
    long touches = 0;
    for (auto _ : state) {
        input.event->setEventCode(engine::EventTouch::EventCode::BEGAN);
        dispatcher->dispatchEvent(input.event);
        input.event->setEventCode(engine::EventTouch::EventCode::ENDED);
        dispatcher->dispatchEvent(input.event);
        ++touches;
    }
    if (scene.calls() != touches * 2 * kTouchNodes) state.SkipWithError("not every touch handler ran");
}

void BM_touch_dispatch_vs_pcall_baseline(benchmark::State& state) {
    ScriptScene scene(touchChunk());
    if (!scene.ok()) {
        state.SkipWithError(scene.error().c_str());
        return;
    }
    lua_State* L = scene.L;
    const std::vector<int> began = scene.refs("benchBegan", kTouchNodes);
    const std::vector<int> ended = scene.refs("benchEnded", kTouchNodes);
    // The touch and the event as the handlers receive them.
    TouchInput input;
    engine::LuaStack* stack = engine::LuaStack::fromState(L);
    stack->pushObject(input.touch, "cc.Touch");
    const int touchRef = luaL_ref(L, LUA_REGISTRYINDEX);
    stack->pushObject(input.event, "cc.Event");
    const int eventRef = luaL_ref(L, LUA_REGISTRYINDEX);
    long touches = 0;
    int claims = 0;
    for (auto _ : state) {
        for (const std::vector<int>* phase : {&began, &ended}) {
            const int results = phase == &began ? 1 : 0;
            for (int ref : *phase) {
                lua_rawgeti(L, LUA_REGISTRYINDEX, ref);
                lua_rawgeti(L, LUA_REGISTRYINDEX, touchRef);
                lua_rawgeti(L, LUA_REGISTRYINDEX, eventRef);
                if (lua_pcall(L, 2, results, 0) == 0 && results == 1) claims += lua_toboolean(L, -1);
                lua_settop(L, 0);
            }
        }
        ++touches;
    }
    benchmark::DoNotOptimize(claims);
    luaL_unref(L, LUA_REGISTRYINDEX, touchRef);
    luaL_unref(L, LUA_REGISTRYINDEX, eventRef);
    scene.unref(began);
    scene.unref(ended);
    if (scene.calls() != touches * 2 * kTouchNodes) state.SkipWithError("not every touch handler ran");
}

}  // namespace

BENCHMARK(BM_node_update_vs_pcall_ours)->Name("BM_node_update_vs_pcall/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_node_update_vs_pcall_baseline)->Name("BM_node_update_vs_pcall/baseline")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_touch_dispatch_vs_pcall_ours)->Name("BM_touch_dispatch_vs_pcall/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_touch_dispatch_vs_pcall_baseline)
    ->Name("BM_touch_dispatch_vs_pcall/baseline")
    ->Unit(benchmark::kMicrosecond);
