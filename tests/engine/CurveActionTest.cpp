// The curves the spline and Bézier actions follow, the actions on a node at a
// few times, their reverses, the control-point list, the orbiting camera and the
// grid action's backward run.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "engine/actions/ActionBezier.h"
#include "engine/actions/ActionCamera.h"
#include "engine/actions/ActionCatmullRom.h"
#include "engine/actions/GridAction.h"
#include "engine/actions/PointArray.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/scene/Node.h"

using namespace engine;

namespace {

struct CurveActionTest : ::testing::Test {
    ~CurveActionTest() override { AutoreleasePool::getInstance()->clear(); }
};

PointArray* pointsOf(std::initializer_list<Vec2> list) {
    PointArray* points = PointArray::create(static_cast<ssize_t>(list.size()));
    for (const Vec2& p : list) points->addControlPoint(p);
    return points;
}

// A square's corners: the middle segment runs from (10, 0) to (10, 10).
PointArray* square() { return pointsOf({{0, 0}, {10, 0}, {10, 10}, {0, 10}}); }

void expectNear(const Vec2& actual, const Vec2& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4) << "x";
    EXPECT_NEAR(actual.y, expected.y, 1e-4) << "y";
}

TEST_F(CurveActionTest, CurvesPassTheirKnownPoints) {
    const Vec2 p0(0, 0), p1(10, 0), p2(10, 10), p3(0, 10);
    struct Case {
        const char* what;
        float tension, t;
        Vec2 expected;
    };
    // Midpoint x: 10 + 10 * (1 - tension) / 8, bulging away from the outer points.
    const Case cases[] = {
        {"start", 0.5f, 0.f, {10, 0}},       {"end", 0.5f, 1.f, {10, 10}},
        {"tension 0.5", 0.5f, 0.5f, {10.625f, 5}}, {"tension 0", 0.f, 0.5f, {11.25f, 5}},
        {"tension 1 is straight", 1.f, 0.5f, {10, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        expectNear(cardinalSplineAt(p0, p1, p2, p3, c.tension, c.t), c.expected);
    }
    EXPECT_FLOAT_EQ(bezierAt(0, 100, 100, 0, 0.f), 0.f);
    EXPECT_FLOAT_EQ(bezierAt(0, 100, 100, 0, 0.5f), 75.f);
    EXPECT_FLOAT_EQ(bezierAt(0, 10, 20, 40, 1.f), 40.f);
    EXPECT_FLOAT_EQ(bezierAt(0, 10, 20, 30, 0.25f), 7.5f);
}

TEST_F(CurveActionTest, ActionsMoveTheirTargetAlongTheCurve) {
    struct Case {
        const char* what;
        Vec2 start;
        std::function<ActionInterval*()> make;
        Vec2 at0, atHalf, at1;
    };
    BezierConfig arch{{100, 0}, {0, 100}, {100, 100}};   // end, control 1, control 2
    const Case cases[] = {
        {"Catmull-Rom to: each of 3 segments a third", {50, 50}, [] { return CatmullRomTo::create(1, square()); },
         {0, 0}, {10.625f, 5}, {0, 10}},
        {"Catmull-Rom by: from the start", {100, 100}, [] { return CatmullRomBy::create(1, square()); },
         {100, 100}, {110.625f, 105}, {100, 110}},
        {"cardinal spline of tension 1: the corner halfway", {0, 0},
         [] { return CardinalSplineTo::create(1, pointsOf({{0, 0}, {10, 0}, {10, 10}}), 1.f); }, {0, 0}, {10, 0},
         {10, 10}},
        {"one point stays there", {3, 3}, [] { return CardinalSplineTo::create(1, pointsOf({{7, 8}}), 0.f); },
         {7, 8}, {7, 8}, {7, 8}},
        {"Bézier by", {10, 10}, [&] { return BezierBy::create(1, arch); }, {10, 10}, {60, 85}, {110, 10}},
        {"Bézier to", {10, 10}, [&] { return BezierTo::create(1, arch); }, {10, 10}, {51.25f, 76.25f}, {100, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Node* node = Node::create();
        node->setPosition(c.start.x, c.start.y);
        ActionInterval* action = c.make();
        ASSERT_NE(action, nullptr);
        action->startWithTarget(node);
        action->update(0.f);
        expectNear(node->getPosition(), c.at0);
        action->update(0.5f);
        expectNear(node->getPosition(), c.atHalf);
        action->update(1.f);
        expectNear(node->getPosition(), c.at1);
    }
}

TEST_F(CurveActionTest, ReverseRetracesThePath) {
    struct Case {
        const char* what;
        std::function<ActionInterval*()> forward;
        std::function<ActionInterval*(ActionInterval*)> reverse;
    };
    const Case cases[] = {
        {"Catmull-Rom to", [] { return CatmullRomTo::create(2, square()); },
         [](ActionInterval* a) -> ActionInterval* { return static_cast<CatmullRomTo*>(a)->reverse(); }},
        {"Catmull-Rom by", [] { return CatmullRomBy::create(2, pointsOf({{0, 0}, {30, 5}, {10, 40}, {-5, 20}})); },
         [](ActionInterval* a) -> ActionInterval* { return static_cast<CatmullRomBy*>(a)->reverse(); }},
        {"cardinal spline by", [] { return CardinalSplineBy::create(2, pointsOf({{0, 0}, {30, 5}, {10, 40}}), 0.2f); },
         [](ActionInterval* a) -> ActionInterval* { return static_cast<CardinalSplineBy*>(a)->reverse(); }},
        {"Bézier by", [] { return BezierBy::create(2, BezierConfig{{50, -20}, {0, 60}, {80, 70}}); },
         [](ActionInterval* a) -> ActionInterval* { return static_cast<BezierBy*>(a)->reverse(); }},
    };
    const float times[] = {0.f, 0.2f, 0.5f, 0.9f, 1.f};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Node* node = Node::create();
        node->setPosition(7, 9);
        ActionInterval* forward = c.forward();
        std::vector<Vec2> path;
        forward->startWithTarget(node);
        for (float t : times) {
            forward->update(t);
            path.push_back(node->getPosition());
        }
        ActionInterval* back = c.reverse(forward);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->getDuration(), 2.f);
        back->startWithTarget(node);   // from where the forward run ended
        for (size_t i = 0; i < std::size(times); ++i) {
            back->update(1.f - times[i]);
            expectNear(node->getPosition(), path[i]);
        }
    }
}

// A move made by someone else while the action runs stays: it is added to the rest of the path.
TEST_F(CurveActionTest, MovesOfOtherActionsAddToThePath) {
    const std::function<ActionInterval*()> makers[] = {
        [] { return CatmullRomBy::create(1, square()); },
        [] { return CatmullRomTo::create(1, square()); },
        [] { return BezierBy::create(1, BezierConfig{{0, 10}, {0, 5}, {0, 10}}); },
    };
    for (const auto& make : makers) {
        Node* node = Node::create();
        ActionInterval* action = make();
        action->startWithTarget(node);
        action->update(0.5f);
        const Vec2 before = node->getPosition();
        node->setPosition(before.x + 5, before.y - 3);
        action->update(0.5f);
        expectNear(node->getPosition(), Vec2(before.x + 5, before.y - 3));
        action->update(1.f);
        const Vec2 end = node->getPosition();
        Node* plain = Node::create();
        ActionInterval* alone = make();
        alone->startWithTarget(plain);
        alone->update(1.f);
        expectNear(end, plain->getPosition() + Vec2(5, -3));
    }
}

TEST_F(CurveActionTest, NoPointsNoAction) {
    EXPECT_EQ(CatmullRomTo::create(1, PointArray::create(4)), nullptr);
    EXPECT_EQ(CatmullRomBy::create(1, nullptr), nullptr);
    EXPECT_EQ(CardinalSplineBy::create(1, PointArray::create(0), 0.5f), nullptr);
}

TEST_F(CurveActionTest, PointArrayEditsAndReadsByIndex) {
    PointArray* points = pointsOf({{1, 1}, {2, 2}});
    points->insertControlPoint({0, 0}, 0);
    points->insertControlPoint({9, 9}, 99);        // beyond the end: appended
    points->replaceControlPoint({3, 3}, 3);
    points->replaceControlPoint({5, 5}, 4);        // outside: nothing
    points->removeControlPointAtIndex(-1);         // outside: nothing
    points->removeControlPointAtIndex(1);
    EXPECT_EQ(points->getControlPoints(), (std::vector<Vec2>{{0, 0}, {2, 2}, {3, 3}}));
    // Indexes outside read the nearest end.
    EXPECT_EQ(points->getControlPointAtIndex(-4), Vec2(0, 0));
    EXPECT_EQ(points->getControlPointAtIndex(7), Vec2(3, 3));
    PointArray* copy = points->clone();
    PointArray* reversed = points->reverse();
    points->reverseInline();
    copy->addControlPoint({8, 8});
    EXPECT_EQ(points->getControlPoints(), (std::vector<Vec2>{{3, 3}, {2, 2}, {0, 0}}));
    EXPECT_EQ(reversed->getControlPoints(), points->getControlPoints());
    EXPECT_EQ(copy->count(), 4);
    EXPECT_EQ(PointArray::create(-5)->getControlPointAtIndex(0), Vec2(0, 0));
    EXPECT_EQ(PointArray::create(1LL << 40)->count(), 0);   // a huge capacity is only a hint
}

TEST_F(CurveActionTest, OrbitCameraMovesTheEyeOnASphere) {
    // Radius 10 growing to 20; zenith 0 to 90 degrees; azimuth 0 to 90 degrees.
    OrbitCamera* orbit = OrbitCamera::create(1, 10, 10, 0, 90, 0, 90);
    orbit->setCenter(Vec3(1, 2, 3));
    ActionCamera* back = orbit->reverse();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->getCenter(), Vec3(1, 2, 3));
    Node* node = Node::create();
    orbit->startWithTarget(node);
    back->startWithTarget(node);
    struct Case {
        float t;
        Vec3 eye;   // of the forward run; the backward run shows it at 1 - t
    };
    const float r = 15 * std::sqrt(0.5f) * std::sqrt(0.5f);
    const Case cases[] = {{0, {1, 2, 13}}, {0.5f, {1 + r, 2 + r, 3 + 15 * std::sqrt(0.5f)}}, {1, {1, 22, 3}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.t);
        for (auto [action, t] : {std::pair<ActionCamera*, float>{orbit, c.t}, {back, 1 - c.t}}) {
            action->update(t);
            EXPECT_NEAR(action->getEye().x, c.eye.x, 1e-4);
            EXPECT_NEAR(action->getEye().y, c.eye.y, 1e-4);
            EXPECT_NEAR(action->getEye().z, c.eye.z, 1e-4);
        }
    }
}

struct UncopyableGrid : GridAction {
    GridAction* clone() const override { return nullptr; }
};
struct UncopyableCamera : ActionCamera {
    ActionCamera* clone() const override { return nullptr; }
};

TEST_F(CurveActionTest, ReverseRunsGridAndCameraActionsBackwards) {
    GridAction* grid = GridAction::create(3);
    GridAction* back = grid->reverse();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->getDuration(), 3.f);
    const float times[] = {0.f, 0.25f, 1.f};
    for (float t : times) {
        grid->update(t);
        back->update(t);
        EXPECT_FLOAT_EQ(grid->getProgress(), t);
        EXPECT_FLOAT_EQ(back->getProgress(), 1 - t);
    }
    EXPECT_FALSE(back->reverse()->isBackwards());

    ActionCamera* camera = ActionCamera::create(2);
    camera->setEye(1, 2, 3);
    camera->setUp(Vec3(0, 0, 1));
    ActionCamera* reversed = camera->reverse();
    EXPECT_TRUE(reversed->isBackwards());
    EXPECT_EQ(reversed->getEye(), Vec3(1, 2, 3));
    EXPECT_EQ(reversed->getUp(), Vec3(0, 0, 1));
    EXPECT_EQ(reversed->getDuration(), 2.f);

    // Nothing to run backwards when the action cannot be copied.
    auto* uncopyableGrid = new UncopyableGrid;
    auto* uncopyableCamera = new UncopyableCamera;
    EXPECT_EQ(uncopyableGrid->reverse(), nullptr);
    EXPECT_EQ(uncopyableCamera->reverse(), nullptr);
    uncopyableGrid->release();
    uncopyableCamera->release();
}

}  // namespace
