// The timed actions on position, rotation, opacity and colour at a few times, the
// actions that run other actions (repeat, speed, another target, blinking) and
// the instant actions.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/actions/ActionInstant.h"
#include "engine/actions/ActionManager.h"
#include "engine/actions/ActionMotion.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/scene/Node.h"
#include "engine/scene/Sprite.h"

using engine::Action;
using engine::Node;
using engine::Vec2;

namespace {

struct MotionActionTest : ::testing::Test {
    ~MotionActionTest() override {
        manager()->removeAllActions();
        for (Node* node : nodes) node->onExit();
        engine::AutoreleasePool::getInstance()->clear();
    }
    static engine::ActionManager* manager() { return engine::Director::getInstance()->getActionManager(); }
    template <class T = Node>
    T* runningNode(T* node = nullptr) {
        if (!node) node = static_cast<T*>(Node::create());
        node->onEnter();
        nodes.push_back(node);
        return node;
    }
    std::vector<Node*> nodes;
};

TEST_F(MotionActionTest, ValuesFollowTheTime) {
    struct Case {
        const char* name;
        std::function<void(Node*)> setup;
        std::function<Action*()> make;
        std::function<float(Node*)> probe;
        std::vector<float> expected;   // at 0, 0.25, 0.5 and 1 s
    };
    auto x = [](Node* n) { return n->getPosition().x; };
    auto y = [](Node* n) { return n->getPosition().y; };
    auto rotation = [](Node* n) { return n->getRotation(); };
    auto opacity = [](Node* n) { return static_cast<float>(n->getOpacity()); };
    auto red = [](Node* n) { return static_cast<float>(n->getColor().r); };
    auto blue = [](Node* n) { return static_cast<float>(n->getColor().b); };
    auto none = [](Node*) {};
    const Case cases[] = {
        {"move to", none, [] { return engine::MoveTo::create(1.f, Vec2(100.f, 50.f)); }, x, {0.f, 25.f, 50.f, 100.f}},
        {"move by from elsewhere", [](Node* n) { n->setPosition(5.f, 5.f); },
         [] { return engine::MoveBy::create(1.f, Vec2(10.f, -20.f)); }, y, {5.f, 0.f, -5.f, -15.f}},
        {"jump by: top of the first hop", none,
         [] { return engine::JumpBy::create(1.f, Vec2(100.f, 0.f), 50.f, 2); }, y, {0.f, 50.f, 0.f, 0.f}},
        {"jump to: across", none, [] { return engine::JumpTo::create(1.f, Vec2(100.f, 0.f), 50.f, 2); }, x,
         {0.f, 25.f, 50.f, 100.f}},
        {"rotate to goes the short way", none, [] { return engine::RotateTo::create(1.f, 270.f); }, rotation,
         {0.f, -22.5f, -45.f, -90.f}},
        {"rotate to across 360", [](Node* n) { n->setRotation(350.f); },
         [] { return engine::RotateTo::create(1.f, 10.f); }, rotation, {350.f, 355.f, 360.f, 370.f}},
        {"rotate by", [](Node* n) { n->setRotation(30.f); }, [] { return engine::RotateBy::create(1.f, 90.f); },
         rotation, {30.f, 52.5f, 75.f, 120.f}},
        {"scale each axis", none, [] { return engine::ScaleTo::create(1.f, 2.f, 4.f); },
         [](Node* n) { return n->getScaleY(); }, {1.f, 1.75f, 2.5f, 4.f}},
        {"scale by each axis", [](Node* n) { n->setScale(2.f); }, [] { return engine::ScaleBy::create(1.f, 1.f, 0.5f); },
         [](Node* n) { return n->getScaleY() * 10.f + n->getScaleX(); }, {22.f, 19.5f, 17.f, 12.f}},
        {"fade out", none, [] { return engine::FadeOut::create(1.f); }, opacity, {255.f, 191.f, 128.f, 0.f}},
        {"fade in", [](Node* n) { n->setOpacity(0); }, [] { return engine::FadeIn::create(1.f); }, opacity,
         {0.f, 64.f, 128.f, 255.f}},
        {"tint to", none, [] { return engine::TintTo::create(1.f, 0, 255, 255); }, red, {255.f, 191.f, 128.f, 0.f}},
        {"tint by clamps", [](Node* n) { n->setColor(engine::Color3B{200, 200, 200}); },
         [] { return engine::TintBy::create(1.f, -100, 0, 100); }, blue, {200.f, 225.f, 250.f, 255.f}},
        {"skew to from the skew at the start", [](Node* n) { n->setSkewX(10.f); },
         [] { return engine::SkewTo::create(1.f, 30.f, -40.f); }, [](Node* n) { return n->getSkewX(); },
         {10.f, 15.f, 20.f, 30.f}},
        {"skew by adds to each axis", [](Node* n) { n->setSkewY(5.f); },
         [] { return engine::SkewBy::create(1.f, 0.f, -20.f)->clone(); }, [](Node* n) { return n->getSkewY(); },
         {5.f, 0.f, -5.f, -15.f}},
    };
    const float steps[] = {0.f, 0.25f, 0.25f, 0.5f};
    for (const Case& c : cases) {
        Node* node = runningNode();
        c.setup(node);
        node->runAction(c.make());
        for (size_t i = 0; i < c.expected.size(); ++i) {
            manager()->update(steps[i]);
            EXPECT_NEAR(c.probe(node), c.expected[i], 1e-3) << c.name << " frame " << i;
        }
        EXPECT_EQ(node->getNumberOfRunningActions(), 0u) << c.name;
    }
}

TEST_F(MotionActionTest, RepeatsRunTheirActionInTurn) {
    struct Case {
        const char* name;
        std::function<engine::FiniteTimeAction*(int* calls)> inner;
        unsigned int times;
        std::vector<int> calls;   // after each frame of 0.25 s (the first of 0 s)
    };
    const Case cases[] = {
        {"instant action, once per time", [](int* calls) { return engine::CallFunc::create([calls] { ++*calls; }); },
         3, {3}},
        {"timed, call at the end of each run",
         [](int* calls) {
             return engine::Sequence::create(
                 {engine::DelayTime::create(0.5f), engine::CallFunc::create([calls] { ++*calls; })});
         },
         2, {0, 0, 1, 1, 2}},
        {"zero times", [](int* calls) { return engine::CallFunc::create([calls] { ++*calls; }); }, 0, {0}},
    };
    for (const Case& c : cases) {
        Node* node = runningNode();
        int calls = 0;
        node->runAction(engine::Repeat::create(c.inner(&calls), c.times));
        for (size_t i = 0; i < c.calls.size(); ++i) {
            manager()->update(i == 0 ? 0.f : 0.25f);
            EXPECT_EQ(calls, c.calls[i]) << c.name << " frame " << i;
        }
        EXPECT_EQ(node->getNumberOfRunningActions(), 0u) << c.name;
    }

    // A repeated move restarts from where the last run left the node.
    Node* node = runningNode();
    node->runAction(engine::Repeat::create(engine::MoveBy::create(0.5f, Vec2(10.f, 0.f)), 3));
    const float xs[] = {0.f, 5.f, 10.f, 15.f, 20.f, 25.f, 30.f};
    for (size_t i = 0; i < std::size(xs); ++i) {
        manager()->update(i == 0 ? 0.f : 0.25f);
        EXPECT_NEAR(node->getPosition().x, xs[i], 1e-4) << "frame " << i;
    }
    EXPECT_EQ(node->getNumberOfRunningActions(), 0u);
}

TEST_F(MotionActionTest, SpeedTargetsAndBlinks) {
    Node* node = runningNode();
    node->runAction(engine::Speed::create(engine::MoveBy::create(1.f, Vec2(100.f, 0.f)), 2.f));
    manager()->update(0.f);
    manager()->update(0.25f);
    EXPECT_NEAR(node->getPosition().x, 50.f, 1e-4) << "twice as fast";
    manager()->update(0.25f);
    EXPECT_NEAR(node->getPosition().x, 100.f, 1e-4);
    EXPECT_EQ(node->getNumberOfRunningActions(), 0u);

    Node* runner = runningNode();
    Node* other = Node::create();
    runner->runAction(engine::TargetedAction::create(other, engine::MoveTo::create(0.5f, Vec2(0.f, 8.f))));
    manager()->update(0.f);
    manager()->update(0.5f);
    EXPECT_NEAR(other->getPosition().y, 8.f, 1e-4);
    EXPECT_EQ(runner->getPosition().y, 0.f);
    EXPECT_EQ(engine::TargetedAction::create(nullptr, engine::Show::create()), nullptr);

    // Two blinks a second: hidden in the first half of each half second, then the
    // visibility it had comes back.
    Node* blinking = runningNode();
    blinking->runAction(engine::Blink::create(1.f, 2));
    const float steps[] = {0.f, 0.3f, 0.3f, 0.3f, 0.3f};
    const bool visible[] = {false, true, false, true, true};
    for (size_t i = 0; i < std::size(steps); ++i) {
        manager()->update(steps[i]);
        EXPECT_EQ(blinking->isVisible(), visible[i]) << "frame " << i;
    }
    EXPECT_EQ(blinking->getNumberOfRunningActions(), 0u);
}

TEST_F(MotionActionTest, InstantActionsActAtTheirFirstStep) {
    struct Case {
        const char* name;
        std::function<Action*()> make;
        std::function<std::string(engine::Sprite*)> probe;
        const char* expected;
    };
    auto visible = [](engine::Sprite* s) { return std::string(s->isVisible() ? "shown" : "hidden"); };
    const Case cases[] = {
        {"hide", [] { return engine::Hide::create(); }, visible, "hidden"},
        {"show", [] { return engine::Show::create(); }, visible, "shown"},
        {"toggle", [] { return engine::ToggleVisibility::create(); }, visible, "hidden"},
        {"place", [] { return engine::Place::create(Vec2(3.f, 4.f)); },
         [](engine::Sprite* s) { return std::to_string(static_cast<int>(s->getPosition().y)); }, "4"},
        {"flip x", [] { return engine::FlipX::create(true); },
         [](engine::Sprite* s) { return std::string(s->isFlippedX() ? "x" : "-"); }, "x"},
        {"flip y", [] { return engine::FlipY::create(true); },
         [](engine::Sprite* s) { return std::string(s->isFlippedY() ? "y" : "-"); }, "y"},
        {"remove self", [] { return engine::RemoveSelf::create(); },
         [](engine::Sprite* s) { return std::string(s->getParent() ? "attached" : "removed"); }, "removed"},
    };
    for (const Case& c : cases) {
        Node* parent = runningNode();
        engine::Sprite* sprite = engine::Sprite::create();
        parent->addChild(sprite);
        sprite->runAction(c.make()->clone());
        manager()->update(0.f);
        EXPECT_EQ(c.probe(sprite), c.expected) << c.name;
        EXPECT_EQ(sprite->getNumberOfRunningActions(), 0u) << c.name;
    }
    // Flips leave other nodes alone.
    Node* plain = runningNode();
    plain->runAction(engine::FlipX::create(true));
    manager()->update(0.f);
    EXPECT_EQ(plain->getNumberOfRunningActions(), 0u);
}

}  // namespace
