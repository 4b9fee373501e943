// The progress timer's settings within their ranges, and the clipping node's
// stencil following it on and off the stage.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/base/AutoreleasePool.h"
#include "engine/scene/ClippingNode.h"
#include "engine/scene/ProgressTimer.h"
#include "engine/scene/Sprite.h"

namespace {

TEST(ProgressClipTest, ProgressSettingsStayInRange) {
    engine::Sprite* sprite = engine::Sprite::create();
    sprite->setContentSize(engine::Size(30, 10));
    engine::ProgressTimer* timer = engine::ProgressTimer::create(sprite);
    EXPECT_EQ(timer->getContentSize(), engine::Size(30, 10));
    struct Case {
        float given;
        float kept;
    };
    const Case cases[] = {{42.5f, 42.5f}, {-3.f, 0.f}, {250.f, 100.f}, {NAN, 0.f}};
    for (const Case& c : cases) {
        timer->setPercentage(c.given);
        EXPECT_EQ(timer->getPercentage(), c.kept) << c.given;
    }
    timer->setMidpoint(engine::Vec2(-1.f, 2.f));
    EXPECT_EQ(timer->getMidpoint(), engine::Vec2(0.f, 1.f));
    timer->setSprite(nullptr);
    EXPECT_EQ(timer->getContentSize(), engine::Size());
    engine::AutoreleasePool::getInstance()->clear();
}

TEST(ProgressClipTest, TheStencilFollowsTheClippingNode) {
    engine::Node* stencil = engine::Node::create();
    engine::ClippingNode* clip = engine::ClippingNode::create(stencil);
    clip->onEnter();
    EXPECT_TRUE(stencil->isRunning());
    engine::Node* next = engine::Node::create();
    clip->setStencil(next);
    EXPECT_FALSE(stencil->isRunning()) << "a replaced stencil leaves the stage";
    EXPECT_TRUE(next->isRunning()) << "a new stencil joins a running clipping node";
    clip->onExit();
    EXPECT_FALSE(next->isRunning());
    clip->setAlphaThreshold(-1.f);
    EXPECT_EQ(clip->getAlphaThreshold(), 0.f);
    engine::AutoreleasePool::getInstance()->clear();
}

}  // namespace
