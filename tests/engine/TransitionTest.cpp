// Transition scenes: the order in which the outgoing and incoming scenes hear of
// the switch, the effect half-way, and the plain look the scenes get back.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/scene/Layer.h"
#include "engine/scene/TransitionOriented.h"
#include "engine/scene/TransitionProgress.h"
#include "engine/scene/TransitionScene.h"
#include "engine/scene/TransitionZooms.h"

using engine::Director;
using engine::Scene;
using engine::TransitionScene;

namespace {

std::vector<std::string> g_events;

struct View : engine::GLView {
    View() { setFrameSize(960, 640); }
};

struct TrackedScene : Scene {
    explicit TrackedScene(std::string name) : name(std::move(name)) {}
    ~TrackedScene() override { g_events.push_back(name + " destroyed"); }
    void onEnter() override {
        Scene::onEnter();
        g_events.push_back(name + " enter");
    }
    void onEnterTransitionDidFinish() override {
        Scene::onEnterTransitionDidFinish();
        g_events.push_back(name + " enterTransitionFinish");
    }
    void onExitTransitionDidStart() override {
        Scene::onExitTransitionDidStart();
        g_events.push_back(name + " exitTransitionStart");
    }
    void onExit() override {
        Scene::onExit();
        g_events.push_back(name + " exit");
    }
    void cleanup() override {
        Scene::cleanup();
        g_events.push_back(name + " cleanup");
    }
    static TrackedScene* create(const std::string& name) {
        auto* scene = new TrackedScene(name);
        scene->autorelease();
        return scene;
    }
    std::string name;
};

struct TransitionTest : ::testing::Test {
    Director* director = Director::getInstance();
    TransitionTest() {
        auto* view = new View;
        director->setOpenGLView(view);
        view->release();
    }
    ~TransitionTest() override { Director::destroyInstance(); }
    void frame(float dt) {
        director->mainLoop(dt);
        g_events.push_back("|");
    }
};

std::string number(double value, int decimals = 0) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value + 0.0);   // no "-0"
    return text;
}

TEST_F(TransitionTest, TheOutgoingSceneLeavesWhenTheTimeHasPassed) {
    using Make = std::function<TransitionScene*(float, Scene*)>;
    using Probe = std::function<std::string(TransitionScene*, Scene* out, Scene* in)>;
    struct Case {
        const char* name;
        Make make;
        Probe quarter;   // a quarter of the way
        const char* expected;
    };
    auto positions = [](TransitionScene*, Scene* out, Scene* in) {
        auto at = [](Scene* s) { return number(s->getPosition().x) + "," + number(s->getPosition().y); };
        return "in " + at(in) + " out " + at(out);
    };
    auto scales = [](TransitionScene*, Scene* out, Scene* in) {
        return "out " + number(out->getScaleX(), 3) + " " + number(out->getScaleY(), 3) + (in->isVisible() ? " in" : "");
    };
    const Case cases[] = {
        {"plain", [](float t, Scene* s) { return TransitionScene::create(t, s); },
         [](TransitionScene*, Scene* out, Scene* in) {
             return std::string(out->isVisible() && in->isVisible() ? "both shown" : "?");
         },
         "both shown"},
        {"fade", [](float t, Scene* s) { return engine::TransitionFade::create(t, s); },
         [](TransitionScene* t, Scene* out, Scene* in) {
             auto* fade = static_cast<engine::TransitionFade*>(t);
             return "cover " + number(fade->getOverlay()->getOpacity()) + (out->isVisible() ? " out" : "") +
                    (in->isVisible() ? " in" : "");
         },
         "cover 128 out"},
        {"cross fade", [](float t, Scene* s) { return engine::TransitionCrossFade::create(t, s); },
         [](TransitionScene*, Scene* out, Scene*) { return number(out->getOpacity()); }, "191"},
        {"slide in left", [](float t, Scene* s) { return engine::TransitionSlideInL::create(t, s); }, positions,
         "in -720,0 out 240,0"},
        {"slide in right", [](float t, Scene* s) { return engine::TransitionSlideInR::create(t, s); }, positions,
         "in 720,0 out -240,0"},
        {"slide in top", [](float t, Scene* s) { return engine::TransitionSlideInT::create(t, s); }, positions,
         "in 0,480 out 0,-160"},
        {"slide in bottom", [](float t, Scene* s) { return engine::TransitionSlideInB::create(t, s); }, positions,
         "in 0,-480 out 0,160"},
        {"move in left", [](float t, Scene* s) { return engine::TransitionMoveInL::create(t, s); }, positions,
         "in -720,0 out 0,0"},
        {"move in right", [](float t, Scene* s) { return engine::TransitionMoveInR::create(t, s); }, positions,
         "in 720,0 out 0,0"},
        {"flip", [](float t, Scene* s) { return engine::TransitionFlipX::create(t, s); },
         [](TransitionScene*, Scene* out, Scene* in) {
             return "out " + number(out->getScaleX(), 3) + (in->isVisible() ? " in" : "");
         },
         "out 0.707"},
        {"move in top", [](float t, Scene* s) { return engine::TransitionMoveInT::create(t, s); }, positions,
         "in 0,480 out 0,0"},
        {"move in bottom", [](float t, Scene* s) { return engine::TransitionMoveInB::create(t, s); }, positions,
         "in 0,-480 out 0,0"},
        {"flip y", [](float t, Scene* s) { return engine::TransitionFlipY::create(t, s); }, scales, "out 1.000 0.707"},
        {"zoom flip x", [](float t, Scene* s) { return engine::TransitionZoomFlipX::create(t, s); }, scales,
         "out 0.457 0.646"},
        {"angular flip from the right",
         [](float t, Scene* s) {
             return engine::TransitionFlipAngular::create(
                 t, s, engine::TransitionSceneOriented::Orientation::RIGHT_OVER);
         },
         scales, "out -0.707 -0.707"},
        {"roto zoom", [](float t, Scene* s) { return engine::TransitionRotoZoom::create(t, s); },
         [](TransitionScene*, Scene* out, Scene* in) {
             return number(out->getScale(), 2) + " " + number(out->getRotation()) + (in->isVisible() ? " in" : "");
         },
         "0.50 360"},
        {"jump zoom", [](float t, Scene* s) { return engine::TransitionJumpZoom::create(t, s); },
         [](TransitionScene*, Scene* out, Scene* in) {
             return number(out->getScale(), 3) + " in " + number(in->getPosition().x) + " " + number(in->getScale(), 1);
         },
         "0.625 in 960 0.5"},
        {"shrink grow", [](float t, Scene* s) { return engine::TransitionShrinkGrow::create(t, s); },
         [](TransitionScene*, Scene* out, Scene* in) { return number(out->getScale(), 2) + " " + number(in->getScale(), 2); },
         "0.75 0.25"},
        {"horizontal wipe", [](float t, Scene* s) { return engine::TransitionProgressHorizontal::create(t, s); },
         [](TransitionScene* t, Scene*, Scene*) {
             return number(static_cast<engine::TransitionProgress*>(t)->getRevealed());
         },
         "25"},
        {"radial", [](float t, Scene* s) { return engine::TransitionProgressRadialCW::create(t, s); },
         [](TransitionScene* t, Scene*, Scene*) {
             return number(static_cast<engine::TransitionProgressRadialCW*>(t)->getRevealed());
         },
         "25"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_events.clear();
        TrackedScene* out = TrackedScene::create("A");
        director->runWithScene(out);
        frame(0.f);
        TrackedScene* in = TrackedScene::create("B");
        TransitionScene* transition = c.make(1.f, in);
        ASSERT_NE(transition, nullptr);
        director->replaceScene(transition);
        g_events.clear();
        frame(0.f);
        frame(0.25f);
        EXPECT_EQ(c.quarter(transition, out, in), c.expected);
        EXPECT_EQ(director->getRunningScene(), transition);
        frame(0.25f);
        frame(0.25f);
        EXPECT_TRUE(out->isRunning()) << "the outgoing scene runs until the time has passed";
        frame(0.25f);
        const std::vector<std::string> expected = {
            "A exitTransitionStart", "B enter", "|", "|", "|", "|",
            "A exit", "B enterTransitionFinish", "A cleanup", "A destroyed", "|"};
        EXPECT_EQ(g_events, expected);
        ASSERT_EQ(director->getRunningScene(), in);
        EXPECT_TRUE(in->isRunning());
        EXPECT_TRUE(in->isVisible());
        EXPECT_EQ(in->getPosition().x, 0.f);
        EXPECT_EQ(in->getScaleX(), 1.f);
        frame(0.25f);
        EXPECT_EQ(g_events.back(), "|") << "nothing more after the hand-over";
    }
}

TEST_F(TransitionTest, NoTransitionToNothingOrToTheRunningScene) {
    Scene* running = Scene::create();
    director->runWithScene(running);
    director->mainLoop(0.f);
    EXPECT_EQ(engine::TransitionFade::create(1.f, nullptr), nullptr);
    EXPECT_EQ(engine::TransitionSlideInL::create(1.f, running), nullptr);
}

}  // namespace
