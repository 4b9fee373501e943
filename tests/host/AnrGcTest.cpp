// The sliced collection: one purge a tick, then Lua steps within the tick's
// budget, the end of the cycle, the restart rules, the memory warning's throttle,
// and the stop when the script engine goes away.
#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/base/Clock.h"
#include "engine/base/Director.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Scheduler.h"
#include "engine/image/Image.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/script/ScriptEngineManager.h"
#include "host/app/AnrGc.h"
#include "scripting/LuaEngine.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

using host::anrGcState;
using host::beginAnrGc;

namespace {

using namespace std::chrono;

class AnrGc : public testing::Test {
protected:
    AnrGc() {
        engine::Clock::setSource([this] {
            const steady_clock::time_point t = _now;
            _now += _perReading;
            return t;
        });
        installLuaEngine();
    }
    ~AnrGc() override {
        engine::Clock::setSource({});
        engine::ScriptEngineManager::getInstance()->removeScriptEngine();
    }

    lua_State* installLuaEngine() {
        engine::LuaEngine* lua = engine::LuaEngine::getInstance();
        engine::ScriptEngineManager::getInstance()->setScriptEngine(lua);
        _L = lua->getLuaStack()->getLuaState();
        lua_register(_L, "vexoOnMemoryWarning", host::vexoOnMemoryWarning);
        return _L;
    }

    void run(const char* code) { ASSERT_EQ(luaL_dostring(_L, code), 0) << lua_tostring(_L, -1); }

    // Leaves `thousands` thousand small unreachable tables behind; a cycle over
    // 100,000 of them takes about 16 steps.
    void makeGarbage(int thousands) {
        run("collectgarbage('collect')");
        lua_pushinteger(_L, thousands);
        lua_setglobal(_L, "garbageThousands");
        run("collectgarbage('stop') "
            "do local keep = {} for i = 1, garbageThousands * 1000 do keep[i] = {i} end end "
            "collectgarbage('restart')");
    }

    static void tick() { engine::Director::getInstance()->getScheduler()->update(1.0f / 60); }
    static bool scheduled() {
        return engine::Director::getInstance()->getScheduler()->isScheduled("VEXO_gc_slices", &anrGcState());
    }
    void warnAt(double seconds) {
        _now = steady_clock::time_point(duration_cast<steady_clock::duration>(duration<double>(seconds)));
        run("vexoOnMemoryWarning()");
    }
    int count(const std::string& needle) const {
        int n = 0;
        for (const std::string& line : _log.lines()) n += line.find(needle) != std::string::npos;
        return n;
    }

    steady_clock::time_point _now = steady_clock::time_point(seconds(1000));
    steady_clock::duration _perReading{};
    lua_State* _L = nullptr;
    testsupport::LogCapture _log;
};

// A frozen clock never ends a tick early: 8 steps each. When every reading moves
// the clock 1 ms, the budget of 2 ms is spent after the first step.
TEST_F(AnrGc, PurgesOneATickThenStepsLuaWithinTheBudgetUntilTheCycleEnds) {
    struct Case {
        const char* name;
        milliseconds perReading;
        uint64_t stepsPerTick;
    };
    const Case cases[] = {{"frozen clock", milliseconds(0), 8}, {"1 ms a reading", milliseconds(1), 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeGarbage(400);
        _perReading = c.perReading;
        const int doneBefore = count("ANRGC done");
        beginAnrGc(_L, true, "test");
        ASSERT_TRUE(scheduled());

        tick();
        EXPECT_EQ(anrGcState().phase, 1u);
        tick();
        EXPECT_EQ(anrGcState().phase, 2u);
        EXPECT_EQ(anrGcState().steps, 0u);
        tick();
        EXPECT_EQ(anrGcState().steps, c.stepsPerTick);
        tick();
        EXPECT_EQ(anrGcState().steps, 2 * c.stepsPerTick);

        int ticks = 4;
        while (anrGcState().running && ticks < 200000) {
            tick();
            ++ticks;
        }
        EXPECT_FALSE(anrGcState().running);
        EXPECT_FALSE(scheduled());
        EXPECT_EQ(count("ANRGC done"), doneBefore + 1);
        EXPECT_EQ(anrGcState().frames, static_cast<uint32_t>(ticks));
        EXPECT_LE(anrGcState().steps, static_cast<uint64_t>(ticks - 2) * c.stepsPerTick);
        const std::string done = _log.lines().back();
        EXPECT_EQ(done.rfind("ANRGC done frames=" + std::to_string(ticks) + " max_ms=", 0), 0u) << done;
        tick();   // unscheduled: nothing more happens
        EXPECT_EQ(anrGcState().frames, static_cast<uint32_t>(ticks));
    }
}

// The first tick drops the frames only the cache holds, the second the textures
// that leaves unused; what a sprite still holds stays.
TEST_F(AnrGc, PurgesSpriteFramesThenTexturesAFrameEach) {
    engine::TextureCache* textures = engine::TextureCache::getInstance();
    engine::SpriteFrameCache* frames = engine::SpriteFrameCache::getInstance();
    const std::vector<unsigned char> png = testsupport::encodeBlankPng(4, 2);
    engine::Image images[2];
    for (engine::Image& image : images) ASSERT_TRUE(image.initWithImageData(png.data(), png.size()));
    engine::Texture2D* loose = textures->addImage(&images[0], "loose");
    engine::Texture2D* held = textures->addImage(&images[1], "held");
    frames->addSpriteFrame(engine::SpriteFrame::createWithTexture(loose, {0, 0, 2, 2}), "loose.png");
    engine::SpriteFrame* heldFrame = engine::SpriteFrame::createWithTexture(held, {0, 0, 2, 2});
    heldFrame->retain();
    frames->addSpriteFrame(heldFrame, "held.png");
    engine::AutoreleasePool::getInstance()->clear();

    beginAnrGc(_L, true, "test");
    tick();
    EXPECT_EQ(frames->getSpriteFrameByName("loose.png"), nullptr);
    EXPECT_EQ(frames->getSpriteFrameByName("held.png"), heldFrame);
    EXPECT_NE(textures->getTextureForKey("loose"), nullptr);
    tick();
    EXPECT_EQ(textures->getTextureForKey("loose"), nullptr);
    EXPECT_NE(textures->getTextureForKey("held"), nullptr);

    heldFrame->release();
    engine::SpriteFrameCache::destroyInstance();
    engine::TextureCache::destroyInstance();
}

TEST_F(AnrGc, DoneLineGivesTheLongestTickAndTheWholeTime) {
    makeGarbage(50);
    _perReading = milliseconds(1);   // a purge tick reads the clock twice: 1 ms
    beginAnrGc(_L, true, "test");
    while (anrGcState().running) tick();
    // Each Lua tick: t0, the check before its one step (1 ms), the check that ends
    // it (2 ms), the reading for its length (3 ms).
    EXPECT_DOUBLE_EQ(anrGcState().maxMs, 3.0);
    const std::string done = _log.lines().back();
    EXPECT_NE(done.find(" max_ms=3.0 total_ms="), std::string::npos) << done;
}

// A request while a collection is under way: a full one sends it back to the
// purges, any other changes nothing; once it is over (or its tick was dropped)
// a request starts a new one.
TEST_F(AnrGc, RestartRules) {
    struct Case {
        const char* name;
        bool firstFull;
        bool dropTick;
        bool secondFull;
        uint32_t phaseAfter;
        int begins;
    };
    const Case cases[] = {
        {"boot during a full one", true, false, false, 2, 1},
        {"full during a boot one", false, false, true, 0, 1},
        {"full during a full one", true, false, true, 0, 1},
        {"boot after its tick was dropped", true, true, false, 2, 2},
        {"full after its tick was dropped", false, true, true, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeGarbage(200);
        const int beginsBefore = count("ANRGC begin");
        beginAnrGc(_L, c.firstFull, "first");
        for (int i = 0; i < (c.firstFull ? 3 : 1); ++i) tick();   // one tick of Lua steps
        ASSERT_TRUE(anrGcState().running);
        ASSERT_EQ(anrGcState().phase, 2u);
        const uint32_t frames = anrGcState().frames;
        if (c.dropTick) engine::Director::getInstance()->getScheduler()->unscheduleAll();

        beginAnrGc(_L, c.secondFull, "second");
        EXPECT_EQ(anrGcState().phase, c.phaseAfter);
        EXPECT_EQ(count("ANRGC begin"), beginsBefore + c.begins);
        EXPECT_EQ(anrGcState().frames, c.dropTick ? 0u : frames);
        EXPECT_TRUE(scheduled());
        while (anrGcState().running) tick();
    }
    EXPECT_EQ(count("ANRGC begin second"), 2);
}

// The second warning is taken only 30 s or more after the one before; a taken
// warning during a collection sends it back to the purges.
TEST_F(AnrGc, MemoryWarningIsThrottledToOneIn30Seconds) {
    struct Case {
        double after;
        bool taken;
    };
    const Case cases[] = {{10, false}, {29.9, false}, {30, true}, {31, true}};
    double base = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        makeGarbage(200);
        base += 1000;
        const int beginsBefore = count("ANRGC begin memory");
        warnAt(base);
        EXPECT_EQ(count("ANRGC begin memory"), beginsBefore + 1);
        for (int i = 0; i < 3; ++i) tick();
        ASSERT_EQ(anrGcState().phase, 2u);

        warnAt(base + c.after);
        EXPECT_EQ(anrGcState().phase, c.taken ? 0u : 2u);
        EXPECT_EQ(count("ANRGC begin memory"), beginsBefore + 1);   // restarted, not begun again
        while (anrGcState().running) tick();
    }
}

// Called inside a coroutine, the warning still collects the engine's own state,
// so the collection runs to its end.
TEST_F(AnrGc, WarningFromACoroutineCompletes) {
    makeGarbage(50);
    run("local co = coroutine.create(function() vexoOnMemoryWarning() end) assert(coroutine.resume(co))");
    ASSERT_TRUE(anrGcState().running);
    EXPECT_EQ(anrGcState().L, _L);
    while (anrGcState().running) tick();
    EXPECT_EQ(count("ANRGC done"), 1);
}

// A warning with no Lua engine in place collects nothing and is not counted
// against the next one.
TEST_F(AnrGc, WarningWithoutLuaEngineIsNotTaken) {
    lua_State* other = luaL_newstate();
    engine::ScriptEngineManager::getInstance()->removeScriptEngine();
    _now = steady_clock::time_point(seconds(100));
    host::vexoOnMemoryWarning(other);
    EXPECT_FALSE(anrGcState().running);
    lua_close(other);

    installLuaEngine();
    warnAt(101);
    EXPECT_TRUE(anrGcState().running);
    EXPECT_EQ(count("ANRGC begin memory"), 1);
}

class OtherEngine : public engine::ScriptEngineProtocol {
public:
    explicit OtherEngine(int type) : _type(type) {}
    int getScriptType() override { return _type; }
    void removeScriptObjectByObject(engine::Ref*) override {}
    int executeString(const char*) override { return 0; }
    int executeScriptFile(const char*) override { return 0; }

private:
    int _type;
};

// The tick stops the collection, without a done line, when the state it collects
// is no longer the installed Lua engine's. It never puts an engine in place.
TEST_F(AnrGc, StopsSilentlyWhenTheEngineOrItsStateIsReplaced) {
    enum class Change { RemoveEngine, OtherKindOfEngine, OtherState };
    struct Case {
        const char* name;
        Change change;
    };
    const Case cases[] = {
        {"no script engine", Change::RemoveEngine},
        {"an engine of another kind", Change::OtherKindOfEngine},
        {"a state that is not the engine's", Change::OtherState},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        installLuaEngine();
        makeGarbage(200);
        lua_State* other = luaL_newstate();
        beginAnrGc(c.change == Change::OtherState ? other : _L, true, "test");
        if (c.change != Change::OtherState) {
            for (int i = 0; i < 3; ++i) tick();
            ASSERT_TRUE(anrGcState().running);
        }
        engine::ScriptEngineManager* manager = engine::ScriptEngineManager::getInstance();
        if (c.change == Change::RemoveEngine) manager->removeScriptEngine();
        if (c.change == Change::OtherKindOfEngine) manager->setScriptEngine(new OtherEngine(0));

        tick();
        EXPECT_FALSE(anrGcState().running);
        EXPECT_FALSE(scheduled());
        EXPECT_EQ(count("ANRGC done"), 0);
        if (c.change == Change::RemoveEngine) {
            EXPECT_EQ(manager->getScriptEngine(), nullptr);
        }
        lua_close(other);
    }
}

// Finalizers that raise inside the collection's steps, whichever start it came
// from (a memory warning, the fix table's collect): each error is logged once and
// the collection runs to its end.
TEST_F(AnrGc, FinalizersThatRaiseAreLoggedAndTheCollectionEnds) {
    run("cc = cc or {} cc.VEXOAnrFix = cc.VEXOAnrFix or {}");
    lua_getglobal(_L, "cc");
    lua_getfield(_L, -1, "VEXOAnrFix");
    lua_pushcfunction(_L, [](lua_State* L) {
        host::beginAnrGc(L, false, "boot");
        return 0;
    });
    lua_setfield(_L, -2, "collect");
    lua_pop(_L, 2);
    const char* starts[] = {"vexoOnMemoryWarning()", "cc.VEXOAnrFix.collect()"};
    for (const char* start : starts) {
        SCOPED_TRACE(start);
        run("collectgarbage('collect') "
            "for i = 1, 40 do "
            "  local p = newproxy(true) getmetatable(p).__gc = function() error('finalizer boom ' .. i) end "
            "end");
        const int doneBefore = count("ANRGC done");
        const int errorsBefore = count("finalizer boom");
        _now += hours(1);   // past the memory warning's throttle
        run(start);
        int ticks = 0;
        while (anrGcState().running && ticks < 200000) {
            tick();
            ++ticks;
        }
        EXPECT_EQ(count("ANRGC done"), doneBefore + 1);
        EXPECT_EQ(count("[LUA ERROR] "), count("finalizer boom"));
        EXPECT_EQ(count("finalizer boom"), errorsBefore + 40);
    }
}

}  // namespace
