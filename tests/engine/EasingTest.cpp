// The easing curves at known points, and an ease action handing its curve to
// the action it wraps.
#include <gtest/gtest.h>

#include <functional>

#include "engine/actions/ActionEase.h"
#include "engine/actions/ActionManager.h"
#include "engine/actions/ActionMotion.h"
#include "engine/actions/Easing.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/scene/Node.h"

namespace {

namespace easing = engine::easing;

TEST(EasingTest, CurvesAtKnownPoints) {
    struct Case {
        const char* name;
        std::function<float(float)> curve;
        float t;
        float expected;
    };
    const Case cases[] = {
        {"in rate 2", [](float t) { return easing::rateIn(t, 2.f); }, 0.5f, 0.25f},
        {"out rate 2", [](float t) { return easing::rateOut(t, 2.f); }, 0.25f, 0.5f},
        {"in-out first half", [](float t) { return easing::rateInOut(t, 2.f); }, 0.25f, 0.125f},
        {"in-out second half", [](float t) { return easing::rateInOut(t, 2.f); }, 0.75f, 0.875f},
        {"sine in", easing::sineIn, 0.5f, 0.2928932f},
        {"sine out", easing::sineOut, 0.5f, 0.7071068f},
        {"sine in-out", easing::sineInOut, 0.25f, 0.1464466f},
        {"exponential in", easing::exponentialIn, 0.5f, 0.03125f},
        {"exponential in starts at 0", easing::exponentialIn, 0.f, 0.f},
        {"exponential in ends at 1", easing::exponentialIn, 1.f, 1.f},
        {"exponential out", easing::exponentialOut, 0.5f, 0.96875f},
        {"exponential out starts at 0", easing::exponentialOut, 0.f, 0.f},
        {"back in dips below 0", easing::backIn, 0.5f, -0.0876975f},
        {"back out overshoots 1", easing::backOut, 0.5f, 1.0876975f},
        {"back out ends at 1", easing::backOut, 1.f, 1.f},
        {"elastic in", [](float t) { return easing::elasticIn(t, 0.3f); }, 0.5f, -0.015625f},
        {"elastic out", [](float t) { return easing::elasticOut(t, 0.3f); }, 0.5f, 1.015625f},
        {"elastic out ends at 1", [](float t) { return easing::elasticOut(t, 0.3f); }, 1.f, 1.f},
        {"bounce out first arc", easing::bounceOut, 0.2f, 0.3025f},
        {"bounce out second arc", easing::bounceOut, 0.5f, 0.765625f},
        {"bounce out ends at 1", easing::bounceOut, 1.f, 1.f},
        {"bounce in mirrors out", easing::bounceIn, 0.5f, 0.234375f},
    };
    for (const Case& c : cases) EXPECT_NEAR(c.curve(c.t), c.expected, 1e-5) << c.name;
}

TEST(EasingTest, AnEaseActionMovesItsInnerActionAlongTheCurve) {
    auto* manager = engine::Director::getInstance()->getActionManager();
    engine::Node* node = engine::Node::create();
    node->onEnter();
    auto* ease = engine::EaseIn::create(engine::MoveBy::create(1.f, engine::Vec2(100.f, 0.f)), 2.f);
    ASSERT_NE(ease, nullptr);
    EXPECT_FLOAT_EQ(ease->getDuration(), 1.f);
    auto* copy = ease->clone();
    node->runAction(ease);
    const float expected[] = {0.f, 25.f, 100.f};   // frames at 0, 0.5 and 1 s: 100 * t^2
    manager->update(0.f);
    EXPECT_NEAR(node->getPosition().x, expected[0], 1e-4);
    manager->update(0.5f);
    EXPECT_NEAR(node->getPosition().x, expected[1], 1e-4);
    manager->update(0.5f);
    EXPECT_NEAR(node->getPosition().x, expected[2], 1e-4);
    EXPECT_EQ(node->getNumberOfRunningActions(), 0u);
    ASSERT_NE(copy, nullptr) << "a clone wraps a clone of the inner action";
    EXPECT_FLOAT_EQ(static_cast<engine::EaseIn*>(copy)->getRate(), 2.f);
    EXPECT_EQ(engine::EaseSineIn::create(nullptr), nullptr);
    node->onExit();
    manager->removeAllActions();
    engine::AutoreleasePool::getInstance()->clear();
}

TEST(EasingTest, PowerCircleAndInOutCurvesAtQuarterPoints) {
    struct Case {
        const char* name;
        std::function<float(float)> curve;
        float expected[4];   // at t = 0, 0.25, 0.5, 1
    };
    auto power = [](float (*curve)(float, int), int n) { return [=](float t) { return curve(t, n); }; };
    const Case cases[] = {
        {"quadratic in", power(easing::powerIn, 2), {0.f, 0.0625f, 0.25f, 1.f}},
        {"quadratic out", power(easing::powerOut, 2), {0.f, 0.4375f, 0.75f, 1.f}},
        {"quadratic in-out", power(easing::powerInOut, 2), {0.f, 0.125f, 0.5f, 1.f}},
        {"cubic in", power(easing::powerIn, 3), {0.f, 0.015625f, 0.125f, 1.f}},
        {"cubic out", power(easing::powerOut, 3), {0.f, 0.578125f, 0.875f, 1.f}},
        {"cubic in-out", power(easing::powerInOut, 3), {0.f, 0.0625f, 0.5f, 1.f}},
        {"quartic out", power(easing::powerOut, 4), {0.f, 0.68359375f, 0.9375f, 1.f}},
        {"quartic in-out", power(easing::powerInOut, 4), {0.f, 0.03125f, 0.5f, 1.f}},
        {"quintic in", power(easing::powerIn, 5), {0.f, 0.0009765625f, 0.03125f, 1.f}},
        {"quintic out", power(easing::powerOut, 5), {0.f, 0.7626953f, 0.96875f, 1.f}},
        {"circle in", easing::circleIn, {0.f, 0.0317542f, 0.1339746f, 1.f}},
        {"circle out", easing::circleOut, {0.f, 0.6614378f, 0.8660254f, 1.f}},
        {"circle in-out", easing::circleInOut, {0.f, 0.0669873f, 0.5f, 1.f}},
        {"exponential in-out", easing::exponentialInOut, {0.f, 0.015625f, 0.5f, 1.f}},
        {"back in-out dips below 0", easing::backInOut, {0.f, -0.0996818f, 0.5f, 1.f}},
        {"bounce in-out", easing::bounceInOut, {0.f, 0.1171875f, 0.5f, 1.f}},
        {"elastic in-out", [](float t) { return easing::elasticInOut(t, 0.3f); }, {0.f, -0.0078125f, 0.5f, 1.f}},
        {"bezier with straight controls", [](float t) { return easing::bezier(t, 0.f, 1.f / 3, 2.f / 3, 1.f); },
         {0.f, 0.25f, 0.5f, 1.f}},
        {"bezier easing in and out", [](float t) { return easing::bezier(t, 0.f, 0.f, 1.f, 1.f); },
         {0.f, 0.15625f, 0.5f, 1.f}},
    };
    const float at[4] = {0.f, 0.25f, 0.5f, 1.f};
    for (const Case& c : cases) {
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(c.curve(at[i]), c.expected[i], 1e-5) << c.name << " at " << at[i];
    }
}

TEST(EasingTest, NewEaseActionsDriveTheirInnerAction) {
    struct Case {
        const char* name;
        std::function<engine::ActionInterval*(engine::ActionInterval*)> make;
        float halfway;   // x after 0.5 s of a 1 s move by 100
    };
    const Case cases[] = {
        {"quadratic in", [](engine::ActionInterval* a) { return engine::EaseQuadraticActionIn::create(a); }, 25.f},
        {"cubic in-out", [](engine::ActionInterval* a) { return engine::EaseCubicActionInOut::create(a); }, 50.f},
        {"quintic out", [](engine::ActionInterval* a) { return engine::EaseQuinticActionOut::create(a); }, 96.875f},
        {"circle out", [](engine::ActionInterval* a) { return engine::EaseCircleActionOut::create(a); }, 86.60254f},
        {"elastic in-out", [](engine::ActionInterval* a) { return engine::EaseElasticInOut::create(a); }, 50.f},
        {"bezier, controls set",
         [](engine::ActionInterval* a) {
             auto* ease = engine::EaseBezierAction::create(a);
             ease->setBezierParamer(0.f, 0.f, 0.f, 1.f);   // t^3
             return ease->clone();                         // the clone keeps the controls
         },
         12.5f},
    };
    auto* manager = engine::Director::getInstance()->getActionManager();
    for (const Case& c : cases) {
        engine::Node* node = engine::Node::create();
        node->onEnter();
        node->runAction(c.make(engine::MoveBy::create(1.f, engine::Vec2(100.f, 0.f))));
        manager->update(0.f);
        manager->update(0.5f);
        EXPECT_NEAR(node->getPosition().x, c.halfway, 1e-3) << c.name;
        manager->update(0.5f);
        EXPECT_NEAR(node->getPosition().x, 100.f, 1e-3) << c.name << " ends at the end";
        node->onExit();
    }
    EXPECT_EQ(engine::EaseBackInOut::create(nullptr), nullptr);
    manager->removeAllActions();
    engine::AutoreleasePool::getInstance()->clear();
}

}  // namespace
