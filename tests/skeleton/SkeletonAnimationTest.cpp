// The animated skeleton node: order of per-entry and node-wide callbacks, loop
// counts, unknown animation names, the time scale, and a callback that removes
// the node from the scene while the node updates.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"
#include "skeleton/RenderFixture.h"
#include "skeleton/SkeletonAnimation.h"

using skeleton::SkeletonAnimation;

namespace {

const char* const kAnimated = R"({
"bones": [{"name": "root"}],
"slots": [{"name": "s", "bone": "root", "attachment": "quad"}],
"skins": {"default": {"s": {"quad": {}}}},
"events": {"hit": {"int": 1}},
"animations": {
  "walk": {"bones": {"root": {"rotate": [{"time": 0, "angle": 0}, {"time": 1, "angle": 90}]}},
           "events": [{"time": 0.5, "name": "hit"}]},
  "idle": {"bones": {"root": {"translate": [{"time": 0, "x": 0}, {"time": 1, "x": 10}]}}}
}
})";

struct SkeletonAnimationTest : ::testing::Test {
    ~SkeletonAnimationTest() override {
        engine::Director::destroyInstance();
        engine::TextureCache::destroyInstance();
        engine::GLProgramCache::destroyInstance();
    }
    SkeletonAnimation* make() {
        auto* node = SkeletonAnimation::createWithFile(files.skeleton("a.json", kAnimated), files.atlas());
        // Listeners log "<who> <kind> <track>[ <detail>]".
        node->setStartListener([this](int t) { log("node start", t); });
        node->setEndListener([this](int t) { log("node end", t); });
        node->setCompleteListener([this](int t, int loops) { log("node complete", t, std::to_string(loops)); });
        node->setEventListener([this](int t, spEvent* e) { log("node event", t, e->data->name); });
        return node;
    }
    void listenToEntry(SkeletonAnimation* node, spTrackEntry* entry) {
        node->setTrackStartListener(entry, [this](int t) { log("entry start", t); });
        node->setTrackEndListener(entry, [this](int t) { log("entry end", t); });
        node->setTrackCompleteListener(entry, [this](int t, int loops) { log("entry complete", t, std::to_string(loops)); });
        node->setTrackEventListener(entry, [this](int t, spEvent* e) { log("entry event", t, e->data->name); });
    }
    void log(const std::string& what, int track, const std::string& detail = "") {
        events.push_back(what + " " + std::to_string(track) + (detail.empty() ? "" : " " + detail));
    }

    skeleton_test::RenderFiles files;
    std::vector<std::string> events;
};

TEST_F(SkeletonAnimationTest, EntryCallbacksPrecedeNodeWideOnes) {
    SkeletonAnimation* node = make();
    spTrackEntry* walk = node->setAnimation(0, "walk", true);
    ASSERT_NE(walk, nullptr);
    listenToEntry(node, walk);
    node->update(0.6f);    // the event at 0.5
    node->update(0.6f);    // first loop complete at 1
    node->update(0.3f);    // the event again at 1.5
    node->update(0.6f);    // second loop complete at 2
    spTrackEntry* idle = node->setAnimation(0, "idle", false);   // no entry block: node-wide only
    EXPECT_EQ(node->getCurrent(0), idle);
    node->update(1.5f);    // idle completes
    node->update(0.1f);    // and then ends its track
    EXPECT_EQ(events, (std::vector<std::string>{
                          "node start 0",
                          "entry event 0 hit", "node event 0 hit",
                          "entry complete 0 1", "node complete 0 1",
                          "entry event 0 hit", "node event 0 hit",
                          "entry complete 0 2", "node complete 0 2",
                          "entry end 0", "node end 0", "node start 0",
                          "node complete 0 1", "node end 0"}));
    EXPECT_EQ(node->getCurrent(0), nullptr);
}

TEST_F(SkeletonAnimationTest, UnknownAnimationIsLoggedOnceAndChangesNothing) {
    SkeletonAnimation* node = make();
    spTrackEntry* walk = node->setAnimation(0, "walk", true);
    events.clear();
    for (bool add : {false, true}) {
        testsupport::LogCapture log;
        spTrackEntry* entry = add ? node->addAnimation(0, "nope", true, 0) : node->setAnimation(0, "nope", true);
        EXPECT_EQ(entry, nullptr);
        EXPECT_EQ(log.lines(), (std::vector<std::string>{"Skeleton: Animation not found: nope"}));
    }
    EXPECT_EQ(node->getCurrent(0), walk);
    EXPECT_EQ(walk->next, nullptr);
    EXPECT_TRUE(events.empty());
}

TEST_F(SkeletonAnimationTest, TimeScaleTwoAdvancesClockAndStateTwice) {
    SkeletonAnimation* node = make();
    spTrackEntry* walk = node->setAnimation(0, "walk", true);
    node->setTimeScale(2);
    node->update(0.25f);
    EXPECT_FLOAT_EQ(node->getSkeleton()->time, 0.5f);
    EXPECT_FLOAT_EQ(walk->time, 0.5f);
    EXPECT_FLOAT_EQ(node->findBone("root")->rotation, 45);   // applied at 0.5 of 0 .. 90
}

TEST_F(SkeletonAnimationTest, NonFiniteTimeScaleAndStepAreRefused) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::string oneKey = R"({"bones": [{"name": "root"}],
        "animations": {"pose": {"bones": {"root": {"rotate": [{"time": 0, "angle": 30}]}}}}})";
    struct Case { float scale; float delta; const char* logged; };
    const Case cases[] = {
        {nan, 0.25f, "Skeleton: time scale must be finite, nan ignored"},
        {inf, 0.25f, "Skeleton: time scale must be finite, inf ignored"},
        {-inf, 0.25f, "Skeleton: time scale must be finite, -inf ignored"},
        {1, nan, "Skeleton: frame step is not finite (nan), skipped"},
        {3e38f, 10, "Skeleton: frame step is not finite (inf), skipped"},
    };
    for (const Case& k : cases) {
        auto* node = SkeletonAnimation::createWithFile(files.skeleton("one.json", oneKey), files.atlas());
        spTrackEntry* pose = node->setAnimation(0, "pose", true);
        ASSERT_NE(pose, nullptr);
        testsupport::LogCapture log;
        node->setTimeScale(k.scale);
        node->update(k.delta);
        EXPECT_EQ(log.lines(), (std::vector<std::string>{k.logged})) << k.logged;
        EXPECT_TRUE(std::isfinite(node->getTimeScale()));
        EXPECT_TRUE(std::isfinite(pose->time)) << k.logged;
        EXPECT_FLOAT_EQ(node->findBone("root")->rotation, 30) << k.logged;
    }
}

TEST_F(SkeletonAnimationTest, RefusedTrackIndexAndDelayAreLogged) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    SkeletonAnimation* node = make();
    events.clear();
    struct Case { int track; float delay; bool add; const char* logged; };
    const Case cases[] = {
        {-1, 0, false, "Skeleton: track index -1 is outside 0 to 255"},
        {256, 0, false, "Skeleton: track index 256 is outside 0 to 255"},
        {2147483647, 0, true, "Skeleton: track index 2147483647 is outside 0 to 255"},
        {0, nan, true, "Skeleton: delay must be finite, nan refused"},
        {0, inf, true, "Skeleton: delay must be finite, inf refused"},
    };
    for (const Case& k : cases) {
        testsupport::LogCapture log;
        spTrackEntry* entry = k.add ? node->addAnimation(k.track, "walk", false, k.delay)
                                    : node->setAnimation(k.track, "walk", false);
        EXPECT_EQ(entry, nullptr) << k.logged;
        EXPECT_EQ(log.lines(), (std::vector<std::string>{k.logged}));
    }
    EXPECT_EQ(node->getState()->tracksCount, 0);
    EXPECT_TRUE(events.empty());
}

// A callback that hands the node a new mix table replaces the state while that
// state is still delivering: the old state stays readable until its call returns.
TEST_F(SkeletonAnimationTest, StateReplacedFromItsOwnCallback) {
    struct Case { const char* what; std::function<void(SkeletonAnimation*)> run; };
    const Case cases[] = {
        {"event during update", [](SkeletonAnimation* n) { n->setAnimation(0, "walk", true); n->update(0.6f); }},
        {"start during setAnimation", [](SkeletonAnimation* n) { n->setAnimation(0, "walk", true); }},
        {"end during clearTrack", [](SkeletonAnimation* n) { n->setAnimation(0, "walk", true); n->clearTrack(0); }},
    };
    for (const Case& k : cases) {
        SkeletonAnimation* node = make();
        node->retain();
        spAnimationStateData* mixes = spAnimationStateData_create(node->getSkeleton()->data);
        spAnimationState* before = node->getState();
        bool replaced = false;
        auto replace = [&] {
            if (replaced) return;
            replaced = true;
            node->setAnimationStateData(mixes);
        };
        node->setStartListener([&](int) { if (std::string(k.what).starts_with("start")) replace(); });
        node->setEventListener([&](int, spEvent*) { replace(); });
        node->setEndListener([&](int) { replace(); });
        k.run(node);
        EXPECT_TRUE(replaced) << k.what;
        EXPECT_NE(node->getState(), before) << k.what;
        EXPECT_EQ(node->getState()->data, mixes) << k.what;
        EXPECT_NE(node->setAnimation(0, "idle", false), nullptr) << k.what;
        node->update(0.5f);
        node->release();
        spAnimationStateData_dispose(mixes);
    }
}

TEST_F(SkeletonAnimationTest, CallbackMayRemoveTheNodeDuringItsUpdate) {
    engine::Director* director = engine::Director::getInstance();
    engine::Scene* scene = engine::Scene::create();
    SkeletonAnimation* node = make();
    node->setAnimation(0, "walk", true);
    node->setEventListener([&](int, spEvent*) {
        events.push_back("removed");
        node->removeFromParent();   // the scene held the last reference
    });
    scene->addChild(node);
    director->runWithScene(scene);
    director->mainLoop(0);      // enters the scene; the autorelease pool lets go of the node
    director->mainLoop(0.6f);   // the event fires inside the node's update
    director->mainLoop(0.6f);
    EXPECT_EQ(events, (std::vector<std::string>{"node start 0", "removed"}));
    EXPECT_TRUE(scene->getChildren().empty());
}

TEST_F(SkeletonAnimationTest, StateOnAForeignMixTableFreesEntryListeners) {
    spAnimationStateData* mixes = nullptr;
    {
        SkeletonAnimation* node = make();
        node->retain();
        mixes = spAnimationStateData_create(node->getSkeleton()->data);
        node->setAnimationStateData(mixes);
        node->setMix("walk", "idle", 0.25f);
        spTrackEntry* walk = node->setAnimation(0, "walk", true);
        listenToEntry(node, walk);
        node->setAnimation(0, "idle", true);   // walk mixes out with its listener block
        node->update(0.5f);                    // and is disposed once the mix is done
        listenToEntry(node, node->getCurrent(0));
        node->release();                       // the state goes, the foreign mix table stays
    }
    EXPECT_EQ(events, (std::vector<std::string>{"node start 0", "entry end 0", "node end 0", "node start 0"}));
    spAnimationStateData_dispose(mixes);
}

TEST_F(SkeletonAnimationTest, MixTableAndEmptyNode) {
    SkeletonAnimation* node = make();
    node->setMix("walk", "idle", 0.5f);
    node->setMix("walk", "nope", 0.5f);   // ignored
    node->setAnimation(0, "walk", true);
    spTrackEntry* idle = node->setAnimation(0, "idle", true);
    EXPECT_FLOAT_EQ(idle->mixDuration, 0.5f);
    ASSERT_NE(idle->previous, nullptr);

    testsupport::LogCapture log;
    SkeletonAnimation* empty = SkeletonAnimation::createWithFile(files.file("none.json"), files.atlas());
    EXPECT_EQ(empty->getState(), nullptr);
    EXPECT_EQ(empty->setAnimation(0, "walk", true), nullptr);
    EXPECT_EQ(empty->getCurrent(0), nullptr);
    empty->clearTracks();
    empty->update(1);
    EXPECT_EQ(log.lines().size(), 2u) << log.text();   // the unreadable file, the unknown animation
}

}  // namespace
