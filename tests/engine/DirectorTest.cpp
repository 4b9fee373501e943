// The director's frame: order of its steps, scene switching, clock deltas and teardown.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Clock.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/app/GLView.h"
#include "engine/scene/Scene.h"

using engine::Director;

namespace {

std::vector<std::string> g_events;

struct FakeView : engine::GLView {
    explicit FakeView(bool* destroyed = nullptr) : destroyed(destroyed) { setFrameSize(960, 640); }
    ~FakeView() override {
        if (destroyed) *destroyed = true;
    }
    void pollEvents() override { g_events.push_back("poll"); }
    void swapBuffers() override { g_events.push_back("swap"); }
    void end() override { g_events.push_back("view end"); }
    bool* destroyed;
};

struct TrackedScene : engine::Scene {
    explicit TrackedScene(std::string name) : name(std::move(name)) {}
    ~TrackedScene() override { g_events.push_back(name + " destroyed"); }
    void onEnter() override {
        Scene::onEnter();
        g_events.push_back(name + " enter");
    }
    void onExit() override {
        Scene::onExit();
        g_events.push_back(name + " exit");
    }
    static TrackedScene* create(const std::string& name) {
        auto* scene = new TrackedScene(name);
        scene->autorelease();
        return scene;
    }
    std::string name;
};

struct Dropped : engine::Ref {
    ~Dropped() override { g_events.push_back("drained"); }
};

struct DirectorTest : ::testing::Test {
    Director* director = Director::getInstance();
    DirectorTest() { g_events.clear(); }
    ~DirectorTest() override {
        engine::Clock::setSource({});
        Director::destroyInstance();
    }
};

TEST_F(DirectorTest, FrameRunsEventsSchedulerSceneSwitchSwapAndDrainInOrder) {
    auto* view = new FakeView;
    director->setOpenGLView(view);
    view->release();
    int target = 0;
    director->getScheduler()->schedule([](float) { g_events.push_back("scheduler"); }, &target, 0.f,
                                       false, "t");
    director->getScheduler()->performFunctionInEngineThread([] { g_events.push_back("handed over"); });
    director->runWithScene(TrackedScene::create("s"));
    (new Dropped)->autorelease();
    g_events.clear();

    director->mainLoop(0.1f);
    EXPECT_EQ(g_events, (std::vector<std::string>{"poll", "scheduler", "handed over", "s enter", "swap",
                                                  "drained"}));
    EXPECT_EQ(director->getTotalFrames(), 1u);
}

TEST_F(DirectorTest, NewSceneRunsFromTheNextFrameAndReplacesTheOldOne) {
    auto* first = TrackedScene::create("first");
    director->runWithScene(first);
    EXPECT_EQ(director->getRunningScene(), nullptr);
    director->mainLoop(0.f);
    EXPECT_EQ(director->getRunningScene(), first);
    EXPECT_TRUE(first->isRunning());

    auto* dropped = TrackedScene::create("dropped");
    director->replaceScene(dropped);
    director->replaceScene(TrackedScene::create("second"));   // replaces the pending one
    EXPECT_EQ(director->getRunningScene(), first);
    g_events.clear();
    director->mainLoop(0.f);
    // The dropped scene was never entered; its last reference goes with this frame's drain.
    EXPECT_EQ(g_events, (std::vector<std::string>{"first exit", "first destroyed", "second enter",
                                                  "dropped destroyed"}));
    EXPECT_EQ(director->getRunningScene()->getReferenceCount(), 1u);
}

TEST_F(DirectorTest, SceneReplacedFromACallbackSwitchesAfterThatFramesUpdate) {
    director->runWithScene(TrackedScene::create("first"));
    director->mainLoop(0.f);
    int target = 0;
    director->getScheduler()->schedule([&](float) {
        director->replaceScene(TrackedScene::create("second"));
        director->getScheduler()->unschedule("swap scene", &target);
    }, &target, 0.f, false, "swap scene");
    g_events.clear();
    director->mainLoop(0.f);
    EXPECT_EQ(g_events, (std::vector<std::string>{"first exit", "first destroyed", "second enter"}));
}

// A tracked scene that also reports its cleanup and counts its timer's ticks.
struct StackedScene : TrackedScene {
    using TrackedScene::TrackedScene;
    static StackedScene* create(const std::string& name) {
        auto* scene = new StackedScene(name);
        scene->autorelease();
        // Off stage until it runs, as a node scheduling before it enters.
        Director::getInstance()->getScheduler()->schedule([scene](float) { ++scene->ticks; }, scene, 0.f,
                                                          true, "tick");
        return scene;
    }
    void cleanup() override {
        g_events.push_back(name + " cleanup");
        TrackedScene::cleanup();
    }
    int ticks = 0;
};

// A pushed-over scene leaves without cleanup and its timer waits; popping to it
// brings it back as it was, and the scenes dropped on the way are cleaned up.
TEST_F(DirectorTest, PushedScenesWaitBelowAndComeBackWhenPopped) {
    StackedScene* a = nullptr;
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> events;
        size_t depth;
    };
    const Step steps[] = {
        {"run a", [&] { director->runWithScene(a = StackedScene::create("a")); }, {"a enter"}, 1},
        {"push b", [&] { director->pushScene(StackedScene::create("b")); }, {"a exit", "b enter"}, 2},
        {"push c", [&] { director->pushScene(StackedScene::create("c")); }, {"b exit", "c enter"}, 3},
        {"pop", [&] { director->popScene(); }, {"c exit", "c cleanup", "c destroyed", "b enter"}, 2},
        {"push d then e", [&] {
             director->pushScene(StackedScene::create("d"));
             director->pushScene(StackedScene::create("e"));
         }, {"b exit", "e enter"}, 4},
        {"pop to the root", [&] { director->popToRootScene(); },
         {"d cleanup", "d destroyed", "b cleanup", "b destroyed", "e exit", "e cleanup", "e destroyed", "a enter"},
         1},
        {"level beyond the depth", [&] { director->popToSceneStackLevel(3); }, {}, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        g_events.clear();
        step.act();
        director->mainLoop(0.f);
        EXPECT_EQ(g_events, step.events);
        EXPECT_EQ(director->getSceneStackDepth(), step.depth);
    }
    // a ticked before b covered it and once since it came back, never while below.
    EXPECT_EQ(a->ticks, 2);
    EXPECT_EQ(director->getRunningScene(), a);

    g_events.clear();
    director->popScene();   // the last scene: the director ends
    director->mainLoop(0.f);
    EXPECT_TRUE(director->hasEnded());
    EXPECT_EQ(g_events, (std::vector<std::string>{"a exit", "a cleanup", "a destroyed"}));
}

TEST_F(DirectorTest, ClockDeltaStartsAtZeroAndRestartsWithAnimation) {
    using namespace std::chrono;
    auto now = steady_clock::time_point(seconds(100));
    engine::Clock::setSource([&] { return now; });
    std::vector<float> deltas;
    int target = 0;
    director->getScheduler()->scheduleUpdate(&target, 0, false, [&](float dt) { deltas.push_back(dt); });

    director->mainLoop();
    now += milliseconds(250);
    director->mainLoop();
    EXPECT_FLOAT_EQ(director->getDeltaTime(), 0.25f);

    director->stopAnimation();
    EXPECT_FALSE(director->isAnimationRunning());
    (new Dropped)->autorelease();
    g_events.clear();
    auto* view = new FakeView;
    director->setOpenGLView(view);
    view->release();
    now += seconds(5);
    director->mainLoop();   // stopped: only events and the pool
    EXPECT_EQ(g_events, (std::vector<std::string>{"poll", "drained"}));

    director->startAnimation();
    director->mainLoop();   // the 5 s spent stopped do not count
    now += milliseconds(500);
    director->mainLoop(0.125f);   // a given delta wins over the clock
    now += milliseconds(500);
    director->mainLoop();   // and the clock measures from that frame
    ASSERT_EQ(deltas.size(), 5u);
    EXPECT_EQ(deltas, (std::vector<float>{0.f, 0.25f, 0.f, 0.125f, 0.5f}));
    EXPECT_EQ(director->getTotalFrames(), 5u);
}

TEST_F(DirectorTest, EndTearsDownOnTheNextLoop) {
    bool viewDestroyed = false;
    auto* view = new FakeView(&viewDestroyed);
    director->setOpenGLView(view);
    view->release();
    director->runWithScene(TrackedScene::create("scene"));
    director->mainLoop(0.f);
    int fired = 0, target = 0;
    director->getScheduler()->schedule([&](float) { ++fired; }, &target, 0.f, false, "t");

    director->end();
    EXPECT_TRUE(director->isEnding());
    EXPECT_FALSE(director->hasEnded());
    g_events.clear();
    director->mainLoop();
    EXPECT_EQ(g_events, (std::vector<std::string>{"scene exit", "scene destroyed", "view end"}));
    EXPECT_TRUE(viewDestroyed);
    EXPECT_TRUE(director->hasEnded());
    EXPECT_FALSE(director->isEnding());
    EXPECT_EQ(director->getOpenGLView(), nullptr);
    EXPECT_EQ(director->getRunningScene(), nullptr);
    EXPECT_FALSE(director->getScheduler()->isScheduled("t", &target));

    g_events.clear();
    director->mainLoop(0.1f);
    EXPECT_TRUE(g_events.empty());
    EXPECT_EQ(fired, 0);
}

TEST_F(DirectorTest, SizesAndViewportComeFromTheView) {
    EXPECT_EQ(director->getWinSize(), engine::Size::ZERO);
    auto* view = new FakeView;
    director->setOpenGLView(view);
    EXPECT_EQ(view->getReferenceCount(), 2u);
    view->release();
    EXPECT_EQ(director->getWinSize(), engine::Size(960, 640));   // no design size yet: the frame
    EXPECT_EQ(view->getLastViewPort(), engine::Rect(0, 0, 960, 640));

    // The viewport follows a design resolution set after the view was handed over.
    view->setDesignResolutionSize(480, 480, engine::ResolutionPolicy::SHOW_ALL);
    EXPECT_EQ(director->getWinSize(), engine::Size(480, 480));
    EXPECT_EQ(view->getLastViewPort(), engine::Rect(160, 0, 640, 640));
    EXPECT_EQ(director->getVisibleSize(), engine::Size(480, 480));
}

TEST_F(DirectorTest, ConvertToGLFlipsYAndUndoesTheViewScale) {
    auto* view = new FakeView;   // frame 960x640
    director->setOpenGLView(view);
    view->release();
    view->setDesignResolutionSize(480, 480, engine::ResolutionPolicy::SHOW_ALL);   // scale 4/3, bars left/right
    struct Case {
        engine::Vec2 frame, gl;
    };
    const Case cases[] = {
        {{160, 640}, {0, 0}},       // bottom-left corner of the design area
        {{800, 0}, {480, 480}},     // top-right corner
        {{480, 320}, {240, 240}},   // centre
        {{0, 0}, {-120, 480}},      // on the left bar
    };
    for (const auto& c : cases) {
        engine::Vec2 gl = director->convertToGL(c.frame);
        EXPECT_NEAR(gl.x, c.gl.x, 1e-3f) << c.frame.x << "," << c.frame.y;
        EXPECT_NEAR(gl.y, c.gl.y, 1e-3f) << c.frame.x << "," << c.frame.y;
    }
}

}  // namespace

// Worker threads hand results over through Director::getInstance(); when one of
// them is the first user, every thread must still get the one director.
TEST(DirectorSingleton, FirstUseFromManyThreadsMakesOneDirector) {
    constexpr int kThreads = 8;
    std::vector<Director*> seen(kThreads, nullptr);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            while (!go.load()) std::this_thread::yield();
            seen[i] = Director::getInstance();
        });
    }
    go.store(true);
    for (auto& t : threads) t.join();
    for (Director* d : seen) EXPECT_EQ(d, Director::getInstance());
    Director::destroyInstance();
}
