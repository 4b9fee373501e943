// Actions that hand a running value on (to a function, a tween delegate or a
// progress timer), the follow action and the skew in a node's transform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/actions/ActionFollow.h"
#include "engine/actions/ActionManager.h"
#include "engine/actions/ActionProgress.h"
#include "engine/actions/ActionTween.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/scene/Node.h"
#include "engine/scene/ProgressTimer.h"
#include "engine/scene/Sprite.h"

using engine::Node;
using engine::Vec2;

namespace {

class TweenedNode : public Node, public engine::ActionTweenDelegate {
public:
    static TweenedNode* create() { return engine::autoreleased(new TweenedNode, true); }
    void updateTweenAction(float value, const std::string& key) override { seen.push_back(key + "=" + std::to_string(value)); }
    std::vector<std::string> seen;
};

struct ValueActionTest : ::testing::Test {
    ~ValueActionTest() override {
        manager()->removeAllActions();
        for (Node* node : nodes) node->onExit();
        engine::AutoreleasePool::getInstance()->clear();
    }
    static engine::ActionManager* manager() { return engine::Director::getInstance()->getActionManager(); }
    template <class T>
    T* running(T* node) {
        node->onEnter();
        nodes.push_back(node);
        return node;
    }
    // Frames at 0 s, 0.5 s and 1 s.
    static void runThrough() {
        manager()->update(0.f);
        manager()->update(0.5f);
    }
    std::vector<Node*> nodes;
};

TEST_F(ValueActionTest, ValuesReachTheirReceiversAtHalfTimeAndExactlyAtTheEnd) {
    std::vector<float> floats;
    Node* plain = running(Node::create());
    plain->runAction(engine::ActionFloat::create(1.f, 2.f, 6.f, [&floats](float v) { floats.push_back(v); })->clone());

    TweenedNode* tweened = running(TweenedNode::create());
    tweened->runAction(engine::ActionTween::create(1.f, "width", 0.f, 10.f));
    plain->runAction(engine::ActionTween::create(1.f, "width", 0.f, 10.f));   // no delegate: nothing happens

    auto* fromNow = running(engine::ProgressTimer::create(engine::Sprite::create()));
    fromNow->setPercentage(20.f);
    fromNow->runAction(engine::ProgressTo::create(1.f, 80.f));
    auto* between = running(engine::ProgressTimer::create(engine::Sprite::create()));
    between->runAction(engine::ProgressFromTo::create(1.f, 90.f, 10.f));
    plain->runAction(engine::ProgressTo::create(1.f, 50.f));   // not a progress timer

    runThrough();
    EXPECT_EQ(floats, (std::vector<float>{2.f, 4.f}));
    EXPECT_EQ(tweened->seen, (std::vector<std::string>{"width=0.000000", "width=5.000000"}));
    EXPECT_FLOAT_EQ(fromNow->getPercentage(), 50.f);
    EXPECT_FLOAT_EQ(between->getPercentage(), 50.f);
    manager()->update(0.5f);
    EXPECT_EQ(floats.back(), 6.f);
    EXPECT_EQ(tweened->seen.back(), "width=10.000000");
    EXPECT_FLOAT_EQ(fromNow->getPercentage(), 80.f);
    EXPECT_FLOAT_EQ(between->getPercentage(), 10.f);
    EXPECT_EQ(plain->getNumberOfRunningActions(), 0u);
}

TEST_F(ValueActionTest, FollowKeepsTheFollowedNodeCentredWithinTheBoundary) {
    // No view here: the screen is 0 x 0, so its centre is the origin.
    struct Case {
        const char* name;
        engine::Rect boundary;
        Vec2 followed;
        Vec2 layer;
    };
    const Case cases[] = {
        {"no boundary", engine::Rect(), Vec2(100.f, 50.f), Vec2(-100.f, -50.f)},
        {"inside the boundary", engine::Rect(0.f, 0.f, 300.f, 200.f), Vec2(100.f, 50.f), Vec2(-100.f, -50.f)},
        {"held at the edges", engine::Rect(0.f, 0.f, 300.f, 200.f), Vec2(-50.f, 500.f), Vec2(0.f, -200.f)},
    };
    for (const Case& c : cases) {
        Node* layer = running(Node::create());
        Node* followed = running(Node::create());
        followed->setPosition(c.followed);
        engine::Follow* follow = engine::Follow::create(followed, c.boundary);
        layer->runAction(follow);
        manager()->update(0.1f);
        EXPECT_FLOAT_EQ(layer->getPosition().x, c.layer.x) << c.name;
        EXPECT_FLOAT_EQ(layer->getPosition().y, c.layer.y) << c.name;
        followed->setPosition(c.followed + Vec2(1.f, 1.f));
        if (follow->isBoundarySet()) follow->setBoundarySet(false);
        manager()->update(0.1f);
        EXPECT_FLOAT_EQ(layer->getPosition().x, -c.followed.x - 1.f) << c.name << ": tracks, boundary off";
        followed->onExit();   // no longer running: the follow is over
        manager()->update(0.1f);
        EXPECT_EQ(layer->getNumberOfRunningActions(), 0u) << c.name;
        followed->onEnter();
    }
    EXPECT_EQ(engine::Follow::create(nullptr), nullptr);
}

TEST_F(ValueActionTest, SkewShearsTheNodeAboutItsAnchor) {
    struct Case {
        float skewX, skewY;
        Vec2 point, expected;
    };
    const Case cases[] = {
        {45.f, 0.f, Vec2(0.f, 10.f), Vec2(10.f, 10.f)},
        {0.f, 45.f, Vec2(10.f, 0.f), Vec2(10.f, 10.f)},
        {0.f, 0.f, Vec2(3.f, 4.f), Vec2(3.f, 4.f)},
    };
    for (const Case& c : cases) {
        Node* node = Node::create();
        node->setSkewX(c.skewX);
        node->setSkewY(c.skewY);
        const Vec2 world = node->convertToWorldSpace(c.point);
        EXPECT_NEAR(world.x, c.expected.x, 1e-4) << c.skewX << "/" << c.skewY;
        EXPECT_NEAR(world.y, c.expected.y, 1e-4) << c.skewX << "/" << c.skewY;
    }
}

}  // namespace
