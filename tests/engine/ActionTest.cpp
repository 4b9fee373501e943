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
#include "engine/actions/ActionInterval.h"
#include "engine/actions/ActionManager.h"
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

}  // namespace
