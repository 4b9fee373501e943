// Timed actions and the action manager: progress per frame, sequences and
// repeats, instant actions run once, and actions that change the graph or the
// manager while they run.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/ActionInstant.h"
#include "engine/actions/ActionInterval.h"
#include "engine/actions/ActionManager.h"
#include "engine/actions/ActionMotion.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/scene/Node.h"

using engine::ActionManager;
using engine::CallFunc;
using engine::DelayTime;
using engine::FiniteTimeAction;
using engine::Node;

namespace {

struct ActionTest : ::testing::Test {
    ~ActionTest() override {
        manager()->removeAllActions();
        engine::AutoreleasePool::getInstance()->clear();
    }
    static ActionManager* manager() { return engine::Director::getInstance()->getActionManager(); }
    // A node in a running tree, so its actions are not paused.
    Node* runningNode() {
        Node* node = Node::create();
        node->onEnter();
        return node;
    }
    static void frames(int count, float dt) {
        for (int i = 0; i < count; ++i) manager()->update(dt);
    }
};

TEST_F(ActionTest, ScalingFollowsElapsedTimeAndEnds) {
    struct Case {
        const char* name;
        std::function<FiniteTimeAction*()> make;
        std::vector<float> scales;   // after each frame of 0.25 s, starting scale 2
    };
    const Case cases[] = {
        {"to", [] { return engine::ScaleTo::create(1.f, 1.f); }, {2.f, 1.75f, 1.5f, 1.25f, 1.f}},
        {"by", [] { return engine::ScaleBy::create(0.5f, 0.5f); }, {2.f, 1.5f, 1.f}},
        {"zero", [] { return engine::ScaleTo::create(0.f, 3.f); }, {3.f}},
        {"seq", [] { return engine::Sequence::create({engine::ScaleBy::create(0.25f, 0.9f), engine::ScaleTo::create(0.5f, 2.f)}); },
         {2.f, 1.8f, 1.9f, 2.f}},
    };
    for (const Case& c : cases) {
        Node* node = runningNode();
        node->setScale(2.f);
        node->runAction(c.make());
        for (size_t i = 0; i < c.scales.size(); ++i) {
            EXPECT_EQ(node->getNumberOfRunningActions(), 1u) << c.name << " frame " << i;
            frames(1, 0.25f);
            EXPECT_NEAR(node->getScale(), c.scales[i], 1e-5) << c.name << " frame " << i;
        }
        EXPECT_EQ(node->getNumberOfRunningActions(), 0u) << c.name;
    }
}

TEST_F(ActionTest, RepeatsCarryTheOvershootAndInstantActionsRunOncePerCycle) {
    Node* node = runningNode();
    int calls = 0;
    // delay 0.5, call, delay 0.5: a cycle of one second with one call in it
    auto* cycle = engine::Sequence::create(
        {DelayTime::create(0.5f), CallFunc::create([&] { ++calls; }), DelayTime::create(0.5f)});
    node->runAction(engine::RepeatForever::create(cycle));
    frames(1, 0.f);
    // Frames of 0.3 s: the calls fall at 0.5, 1.5 and 2.5 s, since each restart
    // keeps the time beyond the cycle's end (1.2 s is 0.2 s into the second cycle).
    const int expected[] = {0, 1, 1, 1, 2, 2, 2, 2, 3};
    for (size_t i = 0; i < std::size(expected); ++i) {
        frames(1, 0.3f);
        EXPECT_EQ(calls, expected[i]) << "after " << 0.3 * static_cast<double>(i + 1) << " s";
    }
    EXPECT_EQ(node->getNumberOfRunningActions(), 1u);
}

TEST_F(ActionTest, ANestedInstantActionIsNotRepeatedWhenItsSequenceEnds) {
    Node* node = runningNode();
    int calls = 0;
    node->runAction(engine::Sequence::create(
        {engine::Sequence::create({DelayTime::create(0.2f), CallFunc::create([&] { ++calls; })}),
         DelayTime::create(0.2f)}));
    frames(10, 0.1f);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(node->getNumberOfRunningActions(), 0u);
}

TEST_F(ActionTest, ActionsWaitWhileTheNodeIsOffStageAndEndWithIt) {
    Node* node = Node::create();
    node->setScale(1.f);
    node->runAction(engine::ScaleTo::create(1.f, 0.f));
    frames(3, 0.5f);
    EXPECT_EQ(node->getScale(), 1.f) << "not running: paused";
    node->onEnter();
    frames(2, 0.5f);
    EXPECT_NEAR(node->getScale(), 0.5f, 1e-6);
    node->onExit();
    frames(2, 0.5f);
    EXPECT_NEAR(node->getScale(), 0.5f, 1e-6);
    node->onEnter();
    node->cleanup();
    EXPECT_EQ(node->getNumberOfRunningActions(), 0u);

    // A node that dies with actions leaves nothing behind in the manager.
    Node* doomed = Node::create();
    doomed->retain();
    doomed->runAction(engine::ScaleTo::create(1.f, 0.f));
    engine::AutoreleasePool::getInstance()->clear();
    doomed->release();
    frames(2, 0.5f);   // would touch a freed node
}

TEST_F(ActionTest, ActionsMayChangeTheManagerAndTheGraphWhileTheyRun) {
    struct Case {
        const char* name;
        std::function<void(Node* parent, Node* node)> react;
    };
    const Case cases[] = {
        {"stop all of its node", [](Node*, Node* node) { node->stopAllActions(); }},
        {"remove its node from the graph", [](Node* parent, Node* node) { parent->removeChild(node); }},
        {"add an action", [](Node*, Node* node) { node->runAction(engine::ScaleTo::create(0.1f, 3.f)); }},
    };
    for (const Case& c : cases) {
        Node* parent = runningNode();
        parent->retain();
        Node* node = Node::create();
        parent->addChild(node);
        int later = 0;
        node->runAction(CallFunc::create([&, parent, node] { c.react(parent, node); }));
        node->runAction(CallFunc::create([&] { ++later; }));
        engine::AutoreleasePool::getInstance()->clear();   // the parent alone holds the node
        frames(3, 0.1f);
        if (std::string(c.name) == "add an action") {
            EXPECT_EQ(later, 1) << c.name;
            EXPECT_NEAR(node->getScale(), 3.f, 1e-6) << c.name;
        } else {
            EXPECT_EQ(later, 0) << c.name << ": removed before its turn";
        }
        parent->onExit();
        parent->release();
    }
}

// What a reverse must give back: the node's state along the way.
struct Pose {
    float x, y, rotation, scaleX, scaleY, skewX;
    int opacity, red;
};

Pose poseOf(const Node* node) {
    return {node->getPositionX(), node->getPositionY(), node->getRotation(), node->getScaleX(),
            node->getScaleY(), node->getSkewX(), node->getOpacity(), node->getColor().r};
}

void expectSamePose(const Pose& a, const Pose& b, const std::string& where) {
    SCOPED_TRACE(where);
    EXPECT_NEAR(a.x, b.x, 1e-3);
    EXPECT_NEAR(a.y, b.y, 1e-3);
    EXPECT_NEAR(a.rotation, b.rotation, 1e-3);
    EXPECT_NEAR(a.scaleX, b.scaleX, 1e-4);
    EXPECT_NEAR(a.scaleY, b.scaleY, 1e-4);
    EXPECT_NEAR(a.skewX, b.skewX, 1e-3);
    EXPECT_NEAR(a.opacity, b.opacity, 1);
    EXPECT_NEAR(a.red, b.red, 1);
}

// A reverse run from where the action ended passes through the same poses
// backwards: at progress u it shows what the action showed at 1 - u.
TEST_F(ActionTest, AReverseRetracesItsActionBackwards) {
    using namespace engine;
    struct Case {
        const char* name;
        std::function<FiniteTimeAction*()> make;
    };
    const Case cases[] = {
        {"move by", [] { return MoveBy::create(1.f, Vec2(40.f, -8.f)); }},
        {"rotate by", [] { return RotateBy::create(1.f, 90.f); }},
        {"scale by", [] { return ScaleBy::create(1.f, 2.f, 0.5f); }},
        {"jump by", [] { return JumpBy::create(1.f, Vec2(30.f, 0.f), 20.f, 2); }},
        {"skew by", [] { return SkewBy::create(1.f, 15.f, 0.f); }},
        {"tint by", [] { return TintBy::create(1.f, -100, 0, 0); }},
        {"fade out", [] { return FadeOut::create(1.f); }},
        {"sequence, reversed order", [] {
             return Sequence::create({MoveBy::create(1.f, Vec2(10.f, 0.f)), RotateBy::create(1.f, 45.f),
                                      ScaleBy::create(2.f, 3.f)});
         }},
        {"spawn of unequal lengths", [] {
             return Spawn::create({MoveBy::create(2.f, Vec2(0.f, 50.f)), RotateBy::create(1.f, 30.f)});
         }},
        {"repeat", [] { return Repeat::create(MoveBy::create(0.5f, Vec2(4.f, 0.f)), 3); }},
        {"ease in (out comes back)", [] { return EaseIn::create(MoveBy::create(1.f, Vec2(100.f, 0.f)), 3.f); }},
        {"bounce out", [] { return EaseBounceOut::create(RotateBy::create(1.f, 120.f)); }},
        {"delay", [] { return DelayTime::create(1.f); }},
    };
    const int samples = 8;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Node* node = Node::create();
        node->setPosition(5.f, 6.f);
        node->setColor({200, 200, 200});
        FiniteTimeAction* action = c.make();
        FiniteTimeAction* back = action->reverse();
        ASSERT_NE(back, nullptr);
        EXPECT_FLOAT_EQ(back->getDuration(), action->getDuration());
        std::vector<Pose> forward;
        action->startWithTarget(node);
        for (int i = 0; i <= samples; ++i) {
            action->update(static_cast<float>(i) / samples);
            forward.push_back(poseOf(node));
        }
        action->stop();
        back->startWithTarget(node);
        for (int i = 0; i <= samples; ++i) {
            back->update(static_cast<float>(i) / samples);
            expectSamePose(poseOf(node), forward[samples - i], "sample " + std::to_string(i));
        }
        back->stop();
    }
}

// Actions that aim at a value have no way back, nor has a list holding one; the
// instant ones that do have theirs.
TEST_F(ActionTest, ReversesOfInstantAndTargetActions) {
    using namespace engine;
    struct Case {
        const char* name;
        std::function<Action*()> reverseOf;
        bool exists;
    };
    const Case cases[] = {
        {"move to", [] { return MoveTo::create(1.f, Vec2())->reverse(); }, false},
        {"scale to", [] { return ScaleTo::create(1.f, 2.f)->reverse(); }, false},
        {"fade to", [] { return FadeTo::create(1.f, 9)->reverse(); }, false},
        {"scale by zero", [] { return ScaleBy::create(1.f, 0.f)->reverse(); }, false},
        {"sequence with a to", [] {
             return Sequence::create({MoveBy::create(1.f, Vec2()), MoveTo::create(1.f, Vec2())})->reverse();
         }, false},
        {"forever", [] { return RepeatForever::create(MoveBy::create(1.f, Vec2(1.f, 0.f)))->reverse(); }, true},
        {"call function", [] { return CallFunc::create([] {})->reverse(); }, true},
    };
    for (const Case& c : cases) EXPECT_EQ(c.reverseOf() != nullptr, c.exists) << c.name;

    Node* node = Node::create();
    node->setVisible(false);
    Action* show = Hide::create()->reverse();
    show->startWithTarget(node);
    show->update(1.f);
    EXPECT_TRUE(node->isVisible());
}

}  // namespace
