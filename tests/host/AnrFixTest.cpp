// The staged start: the game's initialiser (the stand-in modules under
// tests/host/fixtures/anrboot) runs in slices on a hand-driven scheduler and a
// fake clock that only the stand-in framework's calls move.
#include <algorithm>
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "engine/base/Clock.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/script/ScriptEngineManager.h"
#include "host/app/AnrFix.h"
#include "host/app/AnrGc.h"
#include "host/app/BindingHooks.h"
#include "scripting/LuaEngine.h"
#include "support/TestSupport.h"

namespace {

using namespace std::chrono;

steady_clock::time_point g_now = steady_clock::time_point(seconds(500));

// advance(ms): moves the fake clock.
int advance(lua_State* L) {
    g_now += duration_cast<steady_clock::duration>(duration<double, std::milli>(luaL_checknumber(L, 1)));
    return 0;
}

class AnrFix : public testing::Test {
protected:
    AnrFix() {
        engine::Clock::setSource([] { return g_now; });
        start();
    }
    ~AnrFix() override {
        engine::Clock::setSource({});
        engine::ScriptEngineManager::getInstance()->removeScriptEngine();
    }

    // A fresh Lua engine with the staged start installed; `before` runs first.
    void start(const std::string& before = "") {
        host::installBindingHooks();   // cc.Director, cc.Scheduler and their script timers
        engine::ScriptEngineManager* manager = engine::ScriptEngineManager::getInstance();
        manager->removeScriptEngine();
        engine::LuaEngine* lua = engine::LuaEngine::getInstance();
        manager->setScriptEngine(lua);
        L = lua->getLuaStack()->getLuaState();
        lua_register(L, "advance", advance);
        run("package.path = '" VEXO_SOURCE_DIR "/tests/host/fixtures/anrboot/src/?.lua;' .. package.path");
        if (!before.empty()) run(before);
        host::installAnrFix(L);
    }

    void run(const std::string& code) {
        ASSERT_EQ(luaL_dostring(L, code.c_str()), 0) << lua_tostring(L, -1);
    }
    std::string eval(const std::string& expression) {
        const std::string code = "return tostring(" + expression + ")";
        if (luaL_dostring(L, code.c_str()) != 0) return std::string("error: ") + lua_tostring(L, -1);
        std::string text = lua_tostring(L, -1);
        lua_pop(L, 1);
        return text;
    }

    static void frame() { engine::Director::getInstance()->getScheduler()->update(1.0f / 60); }
    // Frames until the staged start has ended (at most `limit`); the number run.
    int framesUntilSettled(int limit = 1000) {
        int frames = 0;
        while (eval("cc.VEXOAnrFix.status") == "loading" && frames < limit) {
            frame();
            ++frames;
        }
        return frames;
    }
    int count(const std::string& needle) const {
        int n = 0;
        for (const std::string& line : _log.lines()) n += line.find(needle) != std::string::npos;
        return n;
    }

    lua_State* L = nullptr;
    testsupport::LogCapture _log;
};

TEST_F(AnrFix, TableOffersClockLogCollectAndVersion) {
    EXPECT_EQ(eval("cc.VEXOAnrFix.version"), "22");
    run("advance(1500)");
    EXPECT_EQ(eval("cc.VEXOAnrFix.now()"), "501.5");
    run("cc.VEXOAnrFix.log('50% done %s')");
    EXPECT_TRUE(_log.contains("50% done %s"));
    EXPECT_EQ(eval("select(2, pcall(cc.VEXOAnrFix.log, {})):match('string expected') ~= nil"), "true");
    run("cc.VEXOAnrFix.collect('ignored', 1)");
    EXPECT_TRUE(_log.contains("ANRGC begin boot"));
    EXPECT_EQ(host::anrGcState().phase, 2u);   // not a full collection
}

// The initialiser's own framework calls end a slice once it has used 8 ms; the
// first slice runs on the frame after the call.
TEST_F(AnrFix, SlicesTheInitialiserAtItsOwnFrameworkCalls) {
    struct Case {
        int calls;
        int costMs;
        int slices;
        const char* maxMs;
    };
    const Case cases[] = {
        {10, 3, 4, "9.0"},   // 3 calls a slice, the last slice has one
        {9, 3, 4, "9.0"},    // the ninth call ends a slice: a fourth one finds nothing left
        {5, 0, 1, "0.0"},    // never over the budget
        {3, 9, 4, "9.0"},    // over the budget: every call ends its slice
        {2, 20, 3, "20.0"},  // one call may overrun the budget
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.calls) + " calls of " + std::to_string(c.costMs) + " ms");
        start();
        const int scheduledBefore = count("ANRBOOT staged initialization scheduled");
        run("GameFrame = require('pelmora.GameFrame') GameCore = require('GameCore')");
        run("GameFrame.work = function() advance(" + std::to_string(c.costMs) + ") end "
            "GameCore.plan = {} for i = 1, " + std::to_string(c.calls) + " do GameCore.plan[i] = {'add', i} end");
        run("staged = GameCore.init GameCore.init('a', nil, 'c')");
        EXPECT_EQ(eval("#GameFrame.calls"), "0");
        EXPECT_EQ(eval("cc.VEXOAnrFix.status"), "loading");
        EXPECT_EQ(count("ANRBOOT staged initialization scheduled"), scheduledBefore + 1);

        EXPECT_EQ(framesUntilSettled(), c.slices);
        EXPECT_EQ(eval("cc.VEXOAnrFix.status"), "ready");
        EXPECT_EQ(eval("cc.VEXOAnrFix.slices"), std::to_string(c.slices));
        EXPECT_EQ(eval("string.format('%.1f', cc.VEXOAnrFix.maxSliceMs)"), c.maxMs);
        EXPECT_EQ(eval("#GameFrame.calls"), std::to_string(c.calls));
        EXPECT_EQ(eval("GameCore.args.n .. GameCore.args[1] .. tostring(GameCore.args[2]) .. GameCore.args[3]"),
                  "3anilc");
        const std::string done = "ANRBOOT done slices=" + std::to_string(c.slices) +
                                 " steps=" + std::to_string(c.calls) + " max_ms=" + c.maxMs +
                                 " total_ms=" + std::to_string(c.calls * c.costMs) + ".0";
        EXPECT_TRUE(_log.contains(done)) << _log.text();
        EXPECT_EQ(_log.lines().back(), "ANRGC begin boot");

        // The game's own initialiser is back: a further call runs straight.
        EXPECT_EQ(eval("GameCore.init ~= staged"), "true");
        run("GameCore.init()");
        EXPECT_EQ(eval("#GameFrame.calls"), std::to_string(2 * c.calls));
    }
}

// A slice ends only at a call that the initialiser makes itself: never inside a
// module's chunk, a pcall or a native function's callback, where a yield would
// fail. Every call here costs more than a slice.
TEST_F(AnrFix, NeverPausesInsideNestedCalls) {
    run("GameFrame = require('pelmora.GameFrame') GameCore = require('GameCore')");
    run("GameFrame.work = function() advance(10) end "
        "GameCore.plan = {{'require', 'Nested'}, {'pcall', 'p'}, {'sort', 's'}, {'add', 'last'}}");
    run("GameCore.init()");
    EXPECT_EQ(framesUntilSettled(), 3);   // after the require, after the last add, the end
    EXPECT_EQ(eval("cc.VEXOAnrFix.status"), "ready") << _log.text();
    EXPECT_EQ(eval("table.concat(GameFrame.calls, ' ', 1, 5)"), "add:nested1 add:nested2 add:nested3 add:p add:s");
    EXPECT_EQ(eval("GameFrame.calls[#GameFrame.calls]"), "add:last");
    EXPECT_TRUE(_log.contains("ANRBOOT done slices=3 steps=2 ")) << _log.text();
}

// Timers made by the initialiser are scheduled at once but fire only after it
// has finished; when it fails they are unscheduled, the error is logged and
// handed to __G__TRACKBACK__ (whose own failure goes nowhere).
TEST_F(AnrFix, HoldsTheInitialisersTimersUntilItEnds) {
    struct Case {
        const char* name;
        bool fail;
        const char* traceback;   // Lua source of __G__TRACKBACK__, or nullptr
    };
    const Case cases[] = {
        {"success", false, nullptr},
        {"failure without handler", true, nullptr},
        {"failure with handler", true, "function(e) handed = e end"},
        {"failure with a failing handler", true, "function(e) handed = e error('again') end"},
    };
    // The error names the fixture's line that raised it.
    const std::string fixture =
        testsupport::readFile(VEXO_SOURCE_DIR "/tests/host/fixtures/anrboot/src/GameCore.lua");
    const size_t errorCall = fixture.find("error(name)");
    ASSERT_NE(errorCall, std::string::npos);
    const long errorLine = 1 + std::count(fixture.begin(), fixture.begin() + errorCall, '\n');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start(c.traceback ? std::string("__G__TRACKBACK__ = ") + c.traceback : std::string());
        const int collectionsBefore = count("ANRGC begin boot");
        const int failuresBefore = count("ANRBOOT failed: ");
        run("GameFrame = require('pelmora.GameFrame') GameCore = require('GameCore')");
        run(std::string("GameFrame.work = function() advance(10) end "
                        "GameCore.plan = {{'timer', 't'}, {'add', 'x'}, {'add', 'y'}") +
            (c.fail ? ", {'fail', 'boom'}}" : "}"));
        run("GameCore.init()");
        int frames = 0;
        while (eval("cc.VEXOAnrFix.status") == "loading" && frames < 100) {
            frame();
            ++frames;
            if (eval("cc.VEXOAnrFix.status") == "loading") {
                EXPECT_EQ(eval("#GameCore.timerFirings"), "0");
            }
        }
        EXPECT_EQ(eval("type(GameCore.timerId)"), "number");
        const std::string firedAtEnd = eval("#GameCore.timerFirings");
        frame();
        frame();
        if (!c.fail) {
            EXPECT_EQ(eval("cc.VEXOAnrFix.status"), "ready");
            EXPECT_EQ(eval("#GameCore.timerFirings - " + firedAtEnd), "2");
            continue;
        }
        EXPECT_EQ(eval("cc.VEXOAnrFix.status"), "failed");
        EXPECT_EQ(eval("#GameCore.timerFirings"), "0");
        EXPECT_EQ(count("ANRBOOT failed: "), failuresBefore + 1) << _log.text();
        EXPECT_EQ(_log.lines().back().rfind("ANRBOOT failed: ", 0), 0u) << _log.text();
        EXPECT_NE(_log.lines().back().find(":" + std::to_string(errorLine) + ": boom"), std::string::npos)
            << _log.text();
        EXPECT_EQ(count("ANRGC begin boot"), collectionsBefore);
        EXPECT_EQ(eval("handed and handed:match('boom$') or 'none'"), c.traceback ? "boom" : "none");
        EXPECT_EQ(eval("cc.VEXOAnrFix.slices"), "3");
    }
}

// A game whose modules do not have the expected shape starts as it always did.
TEST_F(AnrFix, UnsupportedLayoutKeepsTheOriginalStart) {
    const char* cases[] = {
        "package.loaded['pelmora.GameFrame'] = {addLang = print, add = print}",
        "package.loaded['pelmora.GameFrame'] = {addConf = print, add = print}",
        "package.loaded['pelmora.GameFrame'] = {addConf = print, addLang = print, add = true}",
        "cc.Scheduler = nil",
    };
    for (const char* setup : cases) {
        SCOPED_TRACE(setup);
        start();
        const int before = count("ANRBOOT unsupported module layout; original startup retained");
        run(setup);
        run("GameCore = require('GameCore') GameCore.plan = {} original = GameCore.init");
        EXPECT_EQ(count("ANRBOOT unsupported module layout; original startup retained"), before + 1);
        run("require('GameCore') GameCore.init()");
        EXPECT_EQ(eval("GameCore.finished"), "true");   // ran at once
        EXPECT_EQ(eval("GameCore.init == original"), "true");
        EXPECT_EQ(eval("cc.VEXOAnrFix.status"), "nil");
    }
    EXPECT_EQ(count("ANRBOOT staged initialization scheduled"), 0);
}

// A GameCore without an init function is left alone and looked at again when a
// later require finds one.
TEST_F(AnrFix, GameCoreWithoutInitIsLeftAlone) {
    run("package.loaded.GameCore = {}");
    run("require('GameCore')");
    run("package.loaded.GameCore = nil");
    run("GameCore = require('GameCore') GameCore.plan = {} GameCore.init()");
    EXPECT_EQ(eval("cc.VEXOAnrFix.status"), "loading");
}

// A second call while loading is ignored; wrappers are put back only where the
// game has not replaced them meanwhile.
TEST_F(AnrFix, SecondInitIsIgnoredAndOnlyOwnWrappersAreRestored) {
    run("GameFrame = require('pelmora.GameFrame') GameCore = require('GameCore')");
    run("GameFrame.work = function() advance(10) end GameCore.plan = {{'add', 1}, {'add', 2}}");
    run("originals = {addLang = GameFrame.addLang, addConf = GameFrame.addConf, add = GameFrame.add, "
        "schedule = cc.Scheduler.scheduleScriptFunc}");
    run("GameCore.init('first') GameCore.init('second')");
    EXPECT_EQ(count("ANRBOOT staged initialization scheduled"), 1);
    frame();
    EXPECT_EQ(eval("GameFrame.add ~= originals.add and GameFrame.addConf ~= originals.addConf"), "true");
    run("GameCore.init('third')");
    run("mine = function() end GameFrame.addConf = mine");
    framesUntilSettled();
    EXPECT_EQ(eval("GameCore.args[1]"), "first");
    EXPECT_EQ(eval("#GameFrame.calls"), "2");
    EXPECT_EQ(eval("GameFrame.addConf == mine"), "true");
    EXPECT_EQ(eval("GameFrame.add == originals.add and GameFrame.addLang == originals.addLang"), "true");
    EXPECT_EQ(eval("cc.Scheduler.scheduleScriptFunc == originals.schedule"), "true");
}

// A script that cannot run is reported with its file and line; the state is left
// usable.
TEST_F(AnrFix, InstallFailureIsLoggedWithFileAndLine) {
    start("debug = nil");
    EXPECT_TRUE(_log.contains("ANRBOOT install failed: AnrFix.lua:")) << _log.text();
    EXPECT_EQ(lua_gettop(L), 0);
    EXPECT_EQ(eval("require('GameCore') ~= nil"), "true");
}

}  // namespace
