// Timers, per-frame updates, pausing and changes made from inside callbacks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/scene/Node.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"
#include "support/TestSupport.h"

using engine::Scheduler;

namespace {

struct SchedulerTest : ::testing::Test {
    Scheduler* scheduler = new Scheduler;
    int targetA = 0, targetB = 0;
    void* a = &targetA;
    void* b = &targetB;
    ~SchedulerTest() override { scheduler->release(); }
    void tick(float dt, int frames = 1) {
        for (int i = 0; i < frames; ++i) scheduler->update(dt);
    }
};

struct TimerCase {
    const char* name;
    float interval;
    unsigned int repeat;
    float delay;
    float dt;
    int frames;
    std::vector<std::pair<int, float>> fires;   // (frame, callback argument)
};

constexpr unsigned int kForever = Scheduler::REPEAT_FOREVER;

TEST_F(SchedulerTest, TimersFireByIntervalRepeatAndDelay) {
    const TimerCase cases[] = {
        {"every frame", 0.f, kForever, 0.f, 0.25f, 3, {{1, 0.25f}, {2, 0.25f}, {3, 0.25f}}},
        {"interval", 0.5f, kForever, 0.f, 0.25f, 6, {{2, 0.5f}, {4, 0.5f}, {6, 0.5f}}},
        {"repeat 1 fires twice", 0.5f, 1, 0.f, 0.25f, 10, {{2, 0.5f}, {4, 0.5f}}},
        {"repeat 0 fires once", 0.25f, 0, 0.f, 0.25f, 5, {{1, 0.25f}}},
        {"delay then interval", 0.5f, 2, 1.f, 0.25f, 12, {{4, 1.f}, {6, 0.5f}, {8, 0.5f}}},
        {"delay then every frame", 0.f, 1, 0.5f, 0.25f, 6, {{2, 0.5f}, {3, 0.25f}}},
        {"long frame catches up", 0.25f, kForever, 0.f, 1.f, 1,
         {{1, 0.25f}, {1, 0.25f}, {1, 0.25f}, {1, 0.25f}}},
        {"catch-up stops at repeat", 0.25f, 2, 0.f, 1.f, 2, {{1, 0.25f}, {1, 0.25f}, {1, 0.25f}}},
        {"remainder carries over", 0.5f, kForever, 0.f, 0.375f, 5, {{2, 0.5f}, {3, 0.5f}, {4, 0.5f}}},
        {"a stall costs at most five calls", 0.001f, kForever, 0.f, 60.f, 1,
         {{1, 0.001f}, {1, 0.001f}, {1, 0.001f}, {1, 0.001f}, {1, 0.001f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scheduler* s = new Scheduler;
        int frame = 0;
        std::vector<std::pair<int, float>> fires;
        s->schedule([&](float dt) { fires.emplace_back(frame, dt); }, a, c.interval, c.repeat, c.delay,
                    false, "t");
        for (frame = 1; frame <= c.frames; ++frame) s->update(c.dt);
        EXPECT_EQ(fires, c.fires);
        bool finite = c.repeat != kForever;
        EXPECT_EQ(s->isScheduled("t", a), !finite || fires.size() < c.repeat + 1u);
        s->release();
    }
}

TEST_F(SchedulerTest, KeysAreScopedByTarget) {
    std::vector<std::string> calls;
    scheduler->schedule([&](float) { calls.push_back("a"); }, a, 0.f, false, "k");
    scheduler->schedule([&](float) { calls.push_back("b"); }, b, 0.f, false, "k");
    EXPECT_TRUE(scheduler->isScheduled("k", a));
    EXPECT_FALSE(scheduler->isScheduled("other", a));
    scheduler->unschedule("k", a);
    tick(0.1f);
    EXPECT_EQ(calls, (std::vector<std::string>{"b"}));
    EXPECT_FALSE(scheduler->isScheduled("k", a));
    EXPECT_TRUE(scheduler->isScheduled("k", b));
}

TEST_F(SchedulerTest, SchedulingAnExistingKeyOnlyChangesTheInterval) {
    std::vector<std::string> calls;
    scheduler->schedule([&](float) { calls.push_back("first"); }, a, 1.f, false, "k");
    tick(0.5f);
    scheduler->schedule([&](float) { calls.push_back("second"); }, a, 0.5f, false, "k");
    tick(0.25f);   // elapsed 0.75 of the new 0.5 interval: the old timer fires, not a new one
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));
}

TEST_F(SchedulerTest, UpdatesRunByPriorityBeforeTimers) {
    std::vector<std::string> order;
    int c = 0, d = 0;
    scheduler->schedule([&](float) { order.push_back("timer"); }, a, 0.f, false, "t");
    scheduler->scheduleUpdate(a, 5, false, [&](float) { order.push_back("p5"); });
    scheduler->scheduleUpdate(b, -1, false, [&](float) { order.push_back("p-1"); });
    scheduler->scheduleUpdate(&c, 0, false, [&](float) { order.push_back("p0 first"); });
    scheduler->scheduleUpdate(&d, 0, false, [&](float) { order.push_back("p0 second"); });
    tick(0.1f);
    EXPECT_EQ(order, (std::vector<std::string>{"p-1", "p0 first", "p0 second", "p5", "timer"}));

    // Scheduling a target's update again moves it to its new priority.
    order.clear();
    scheduler->scheduleUpdate(a, -10, false, [&](float) { order.push_back("moved"); });
    scheduler->unschedule("t", a);
    tick(0.1f);
    EXPECT_EQ(order, (std::vector<std::string>{"moved", "p-1", "p0 first", "p0 second"}));
}

TEST_F(SchedulerTest, PausedTargetsNeitherRunNorAccumulateTime) {
    int timerCalls = 0, updateCalls = 0;
    scheduler->schedule([&](float) { ++timerCalls; }, a, 0.5f, false, "t");
    scheduler->scheduleUpdate(a, 0, false, [&](float) { ++updateCalls; });
    tick(0.25f);
    scheduler->pauseTarget(a);
    EXPECT_TRUE(scheduler->isTargetPaused(a));
    tick(1.f, 4);
    EXPECT_EQ(timerCalls, 0);
    EXPECT_EQ(updateCalls, 1);
    scheduler->resumeTarget(a);
    tick(0.25f);   // 0.25 before the pause + 0.25 now
    EXPECT_EQ(timerCalls, 1);
    EXPECT_EQ(updateCalls, 2);
}

TEST_F(SchedulerTest, PausedFlagAppliesOnlyToATargetWithNothingScheduled) {
    int calls = 0;
    scheduler->schedule([&](float) { ++calls; }, a, 0.f, true, "first");
    EXPECT_TRUE(scheduler->isTargetPaused(a));
    scheduler->schedule([&](float) { ++calls; }, a, 0.f, false, "second");
    EXPECT_TRUE(scheduler->isTargetPaused(a));
    tick(0.1f);
    EXPECT_EQ(calls, 0);

    scheduler->unscheduleAllForTarget(a);
    scheduler->scheduleUpdate(a, 0, false, [&](float) { ++calls; });
    EXPECT_FALSE(scheduler->isTargetPaused(a));
    tick(0.1f);
    EXPECT_EQ(calls, 1);
}

TEST_F(SchedulerTest, UnschedulingFromInsideCallbacks) {
    std::vector<std::string> calls;
    // A timer removing its own key fires once even though the frame could fire it twice.
    scheduler->schedule([&](float) {
        calls.push_back("self");
        scheduler->unschedule("self", a);
    }, a, 0.25f, false, "self");
    // An earlier timer removing a later one: the later one does not run this frame.
    scheduler->schedule([&](float) {
        calls.push_back("killer");
        scheduler->unschedule("victim", b);
    }, b, 0.f, false, "killer");
    scheduler->schedule([&](float) { calls.push_back("victim"); }, b, 0.f, false, "victim");
    tick(0.5f);
    tick(0.5f);
    EXPECT_EQ(calls, (std::vector<std::string>{"self", "killer", "killer"}));
    EXPECT_FALSE(scheduler->isScheduled("self", a));
}

TEST_F(SchedulerTest, UnscheduleAllFromAnUpdateStopsTheRestOfTheFrame) {
    std::vector<std::string> calls;
    scheduler->scheduleUpdate(a, 0, false, [&](float) {
        calls.push_back("update a");
        scheduler->unscheduleAll();
        scheduler->schedule([&](float) { calls.push_back("fresh"); }, a, 0.f, false, "fresh");
    });
    scheduler->scheduleUpdate(b, 1, false, [&](float) { calls.push_back("update b"); });
    scheduler->schedule([&](float) { calls.push_back("timer"); }, b, 0.f, false, "t");
    tick(0.1f);
    EXPECT_EQ(calls, (std::vector<std::string>{"update a"}));
    tick(0.1f);
    EXPECT_EQ(calls, (std::vector<std::string>{"update a", "fresh"}));
}

TEST_F(SchedulerTest, WorkScheduledDuringUpdateStartsNextFrame) {
    std::vector<std::pair<std::string, float>> calls;
    int c = 0;
    scheduler->scheduleUpdate(a, 0, false, [&](float) {
        if (!scheduler->isScheduled("late", b)) {
            scheduler->schedule([&](float dt) { calls.emplace_back("late timer", dt); }, b, 0.5f, false,
                                "late");
            scheduler->scheduleUpdate(&c, -1, false, [&](float dt) { calls.emplace_back("late update", dt); });
        }
    });
    tick(1.f);   // nothing of the new work runs, and its time does not count
    EXPECT_TRUE(calls.empty());
    tick(0.25f);
    EXPECT_EQ(calls, (std::vector<std::pair<std::string, float>>{{"late update", 0.25f}}));
    tick(0.25f);
    EXPECT_EQ(calls.back(), (std::pair<std::string, float>{"late timer", 0.5f}));
}

TEST_F(SchedulerTest, RescheduleOwnKeyAfterUnscheduleInsideCallback) {
    int first = 0, second = 0;
    scheduler->schedule([&](float) {
        ++first;
        scheduler->unschedule("k", a);
        scheduler->schedule([&](float) { ++second; }, a, 0.f, false, "k");
    }, a, 0.f, false, "k");
    tick(0.1f);
    tick(0.1f);
    tick(0.1f);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
}

TEST_F(SchedulerTest, TimeScaleScalesTheDelta) {
    std::vector<float> seen;
    scheduler->scheduleUpdate(a, 0, false, [&](float dt) { seen.push_back(dt); });
    scheduler->setTimeScale(2.f);
    tick(0.25f);
    EXPECT_EQ(seen, (std::vector<float>{0.5f}));
}

// Frames of uneven length: up to five intervals in one frame are all caught up, so
// the count stays exact; after a longer stall only the phase is kept.
TEST_F(SchedulerTest, CatchUpKeepsExactTimeAndThePhaseAfterAStall) {
    int fired = 0;
    scheduler->schedule([&](float) { ++fired; }, a, 0.25f, false, "t");
    const float frames[] = {0.0625f, 0.0625f, 0.5f, 0.0625f, 1.25f, 0.0625f, 0.0625f, 0.125f};
    float total = 0.f;
    for (int round = 0; round < 50; ++round) {
        for (float dt : frames) {
            tick(dt);
            total += dt;
        }
    }
    EXPECT_EQ(fired, static_cast<int>(total / 0.25f));

    scheduler->unschedule("t", a);
    fired = 0;
    scheduler->schedule([&](float) { ++fired; }, a, 0.25f, false, "t");
    tick(60.125f);   // 240 intervals and an eighth
    EXPECT_EQ(fired, 5);
    tick(0.0625f);
    EXPECT_EQ(fired, 5);
    tick(0.0625f);   // the eighth before the stall and these two complete an interval
    EXPECT_EQ(fired, 6);
}

struct ThrowCase {
    const char* name;
    void (*arm)(Scheduler*, void* target, std::function<void()> body);
    int laterCalls;   // of the thrower, in the two updates after
};

// Whatever throws, update() hands the exception to its caller and the next update()
// runs everything again; functions handed over stay queued in their order.
TEST_F(SchedulerTest, AThrowingCallbackDoesNotWedgeTheScheduler) {
    const ThrowCase cases[] = {
        {"per-frame update",
         [](Scheduler* s, void* t, std::function<void()> body) {
             s->scheduleUpdate(t, 0, false, [body](float) { body(); });
         },
         2},
        {"interval timer",
         [](Scheduler* s, void* t, std::function<void()> body) {
             s->schedule([body](float) { body(); }, t, 0.1f, false, "throws");
         },
         2},
        {"last call of a finite timer",
         [](Scheduler* s, void* t, std::function<void()> body) {
             s->schedule([body](float) { body(); }, t, 0.f, 0, 0.f, false, "throws");
         },
         0},
        {"handed-over function",
         [](Scheduler* s, void*, std::function<void()> body) { s->performFunctionInEngineThread(body); },
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scheduler* s = new Scheduler;
        testsupport::LogCapture log;
        std::vector<std::string> calls;
        bool thrown = false;
        s->scheduleUpdate(b, 1, false, [&](float) { calls.push_back("update"); });
        c.arm(s, a, [&] {
            calls.push_back("thrower");
            if (!thrown) {
                thrown = true;
                throw std::runtime_error("boom");
            }
        });
        s->performFunctionInEngineThread([&] { calls.push_back("queued"); });
        EXPECT_THROW(s->update(0.1f), std::runtime_error);

        s->performFunctionInEngineThread([&] { calls.push_back("newer"); });
        calls.clear();
        s->update(0.1f);
        s->update(0.1f);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "update"), 2);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "queued"), 1);
        EXPECT_LT(std::find(calls.begin(), calls.end(), "queued"), std::find(calls.begin(), calls.end(), "newer"));
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "thrower"), c.laterCalls);
        EXPECT_EQ(log.lines(), std::vector<std::string>{});
        s->release();
    }
}

// After a very long stall, an interval below the float step of the elapsed time
// cannot wear it down; the frame must still end.
TEST_F(SchedulerTest, TinyIntervalAfterAHugeStallEndsTheFrame) {
    int fired = 0;
    scheduler->schedule([&](float) { ++fired; }, a, 1e-4f, kForever, 0.f, false, "tiny");
    tick(1e9f);
    EXPECT_GE(fired, 1);
    tick(1e-4f);
    EXPECT_GE(fired, 2);
}

// Script timers reach the script engine as schedule events; the entry owns its
// handler and gives it back when it ends.
struct ScriptTimerTest : SchedulerTest {
    struct Recorder : engine::ScriptEngineProtocol {
        std::vector<std::pair<int, float>> calls;   // (handler, dt)
        std::vector<int> released;
        std::function<void(int)> onCall;
        void removeScriptObjectByObject(engine::Ref*) override {}
        int executeString(const char*) override { return 0; }
        int executeScriptFile(const char*) override { return 0; }
        void removeScriptHandler(int handler) override { released.push_back(handler); }
        int sendEvent(engine::ScriptEvent* event) override {
            if (event->type != engine::SCHEDULE_EVENT) return 0;
            const auto* data = static_cast<engine::SchedulerScriptData*>(event->data);
            calls.emplace_back(data->handler, data->elapse);
            if (onCall) onCall(data->handler);
            return 0;
        }
    };
    Recorder* scripts = new Recorder;
    ScriptTimerTest() { engine::ScriptEngineManager::getInstance()->setScriptEngine(scripts); }
    ~ScriptTimerTest() override { engine::ScriptEngineManager::destroyInstance(); }
};

TEST_F(ScriptTimerTest, EntriesFireByIntervalUnlessPaused) {
    struct Case {
        const char* name;
        float interval;
        bool paused;
        std::vector<std::pair<int, float>> calls;   // over four frames of 0.25 s
    };
    const Case cases[] = {
        {"every frame", 0.f, false, {{7, 0.25f}, {7, 0.25f}, {7, 0.25f}, {7, 0.25f}}},
        {"half a second", 0.5f, false, {{7, 0.5f}, {7, 0.5f}}},
        {"paused", 0.f, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scripts->calls.clear();
        const unsigned int id = scheduler->scheduleScriptFunc(7, c.interval, c.paused);
        EXPECT_NE(id, 0u);
        tick(0.25f, 4);
        EXPECT_EQ(scripts->calls, c.calls);
        scheduler->unscheduleScriptEntry(id);
        EXPECT_FALSE(scheduler->isScriptEntryScheduled(id));
        EXPECT_EQ(scripts->released.back(), 7);
    }
}

TEST_F(ScriptTimerTest, UnscheduleFromInsideTheCallbackAndOtherEntriesGoOn) {
    const unsigned int once = scheduler->scheduleScriptFunc(1, 0.1f, false);
    const unsigned int steady = scheduler->scheduleScriptFunc(2, 0.f, false);
    EXPECT_NE(once, steady);
    scripts->onCall = [&](int handler) {
        if (handler == 1) scheduler->unscheduleScriptEntry(once);
    };
    tick(1.f);   // a long frame: the 0.1 s entry would fire five times
    tick(1.f);
    EXPECT_EQ(scripts->calls, (std::vector<std::pair<int, float>>{{1, 0.1f}, {2, 1.f}, {2, 1.f}}));
    EXPECT_EQ(scripts->released, std::vector<int>{1});

    scheduler->unscheduleScriptEntry(once);   // already gone: nothing released twice
    scheduler->unscheduleScriptEntry(12345);
    EXPECT_EQ(scripts->released, std::vector<int>{1});
    EXPECT_TRUE(scheduler->isScriptEntryScheduled(steady));

    scheduler->unscheduleAll();
    EXPECT_FALSE(scheduler->isScriptEntryScheduled(steady));
    EXPECT_EQ(scripts->released, (std::vector<int>{1, 2}));
    tick(1.f);
    EXPECT_EQ(scripts->calls.size(), 3u);
}

}  // namespace

// A node destroyed while its update is still scheduled (it left its parent without
// cleanup) leaves nothing behind that the next frame would call into.
TEST(NodeUpdateTest, DestroyedNodeLeavesTheDirectorsScheduler) {
    struct Counting : engine::Node {
        int* calls = nullptr;
        void update(float) override { ++*calls; }
    };
    for (const bool cleanupFirst : {false, true}) {
        SCOPED_TRACE(cleanupFirst ? "cleaned up, then destroyed" : "destroyed without cleanup");
        int calls = 0;
        auto* node = new Counting;
        node->calls = &calls;
        node->scheduleUpdate();
        Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
        scheduler->update(0.016f);
        EXPECT_EQ(calls, 1);
        if (cleanupFirst) node->cleanup();
        node->release();
        scheduler->update(0.016f);   // reads freed memory when the entry stayed
        EXPECT_EQ(calls, 1);
    }
}
