// Playing a studio timeline: ranges, looping, pausing, time speed, named
// animations and their end callbacks.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/scene/Node.h"
#include "engine/studio/timeline/ActionTimeline.h"

using studio::timeline::ActionTimeline;
using studio::timeline::AnimationInfo;

TEST(TimelinePlayTest, PlayingRunsTheRangeAsAsked) {
    const struct {
        const char* what;
        std::function<void(ActionTimeline*)> start;
        std::vector<float> steps;   // in frames
        float frame;
        bool playing;
        int lastFrames;   // last-frame callbacks
    } cases[] = {
        {"a loop wraps to its start", [](ActionTimeline* t) { t->gotoFrameAndPlay(0, 10, true); }, {6, 6}, 2, true, 1},
        {"once stops on the end", [](ActionTimeline* t) { t->gotoFrameAndPlay(0, 10, false); }, {6, 6}, 10, false, 1},
        {"from a current frame", [](ActionTimeline* t) { t->gotoFrameAndPlay(2, 10, 7, true); }, {2}, 9, true, 0},
        {"the end is clamped", [](ActionTimeline* t) { t->gotoFrameAndPlay(0, 99, false); }, {25}, 20, false, 1},
        {"paused holds", [](ActionTimeline* t) { t->gotoFrameAndPlay(3); t->pause(); }, {6}, 3, false, 0},
        {"resumed goes on", [](ActionTimeline* t) { t->gotoFrameAndPlay(3); t->pause(); t->resume(); }, {6}, 9,
         true, 0},
        {"goto and pause", [](ActionTimeline* t) { t->gotoFrameAndPause(4); }, {6}, 4, false, 0},
        {"time speed", [](ActionTimeline* t) { t->gotoFrameAndPlay(0); t->setTimeSpeed(2); }, {3}, 6, true, 0},
        {"current frame set", [](ActionTimeline* t) { t->gotoFrameAndPlay(5, 15, true); t->setCurrentFrame(1); },
         {1}, 6, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        engine::Node* root = engine::Node::create();
        ActionTimeline* timeline = ActionTimeline::create(20, 1.f, {});
        timeline->startWithTarget(root);
        int lastFrames = 0;
        timeline->setLastFrameCallFunc([&lastFrames] { ++lastFrames; });
        c.start(timeline);
        for (float frames : c.steps) timeline->step(frames / ActionTimeline::kFramesPerSecond);
        EXPECT_NEAR(timeline->getCurrentFrame(), c.frame, 1e-3);
        EXPECT_EQ(timeline->isPlaying(), c.playing);
        EXPECT_EQ(lastFrames, c.lastFrames);
    }
    engine::AutoreleasePool::getInstance()->clear();
}

TEST(TimelinePlayTest, NamedAnimationsPlayTheirRangeAndTellTheirEnd) {
    engine::Node* root = engine::Node::create();
    ActionTimeline* timeline = ActionTimeline::create(20, 1.f, {});
    timeline->startWithTarget(root);
    std::vector<std::string> ends;
    timeline->addAnimationInfo(AnimationInfo{"walk", 5, 8, [&ends] { ends.push_back("walk"); }});
    timeline->addAnimationInfo(AnimationInfo{"jump", 10, 14, nullptr});
    timeline->setAnimationEndCallFunc("jump", [&ends] { ends.push_back("jump"); });
    EXPECT_TRUE(timeline->IsAnimationInfoExists("walk"));

    timeline->play("walk", true);
    EXPECT_EQ(timeline->getStartFrame(), 5);
    EXPECT_EQ(timeline->getEndFrame(), 8);
    timeline->step(2 / ActionTimeline::kFramesPerSecond);   // 7
    timeline->step(2 / ActionTimeline::kFramesPerSecond);   // past 8: back to 6
    EXPECT_NEAR(timeline->getCurrentFrame(), 6, 1e-3);
    timeline->play("jump", false);
    timeline->step(10 / ActionTimeline::kFramesPerSecond);
    EXPECT_EQ(ends, (std::vector<std::string>{"walk", "jump"}));

    timeline->play("none", true);   // unknown: nothing changes
    EXPECT_EQ(timeline->getStartFrame(), 10);
    timeline->removeAnimationInfo("walk");
    EXPECT_FALSE(timeline->IsAnimationInfoExists("walk"));
    engine::AutoreleasePool::getInstance()->clear();
}
