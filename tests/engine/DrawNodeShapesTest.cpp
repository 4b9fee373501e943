// What DrawNode records for its point-list calls: the vertices, colours and
// sizes of each shape, and the calls that record nothing.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/actions/PointArray.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/scene/DrawNode.h"

using namespace engine;
using Kind = DrawNode::Shape::Kind;

namespace {

struct DrawNodeShapesTest : ::testing::Test {
    ~DrawNodeShapesTest() override { AutoreleasePool::getInstance()->clear(); }
};

const Vec2 kTriangle[] = {{0, 0}, {10, 0}, {0, 10}};
const Color4F kRed{1, 0, 0, 1};
const Color4F kBlue{0, 0, 1, 0.5f};

PointArray* zigzag() {
    PointArray* points = PointArray::create(3);
    for (const Vec2& p : {Vec2(0, 0), Vec2(10, 10), Vec2(20, 0)}) points->addControlPoint(p);
    return points;
}

TEST_F(DrawNodeShapesTest, PointListCallsRecordTheirShape) {
    struct Case {
        const char* what;
        std::function<void(DrawNode*)> draw;
        Kind kind;
        size_t vertices;
        float size;
        bool closed;
    };
    const Case cases[] = {
        {"points, size 1 by default", [](DrawNode* n) { n->drawPoints(kTriangle, 2, kRed); }, Kind::Points, 2, 1, false},
        {"points of a size", [](DrawNode* n) { n->drawPoints(kTriangle, 3, 4.f, kRed); }, Kind::Points, 3, 4, false},
        {"open lines", [](DrawNode* n) { n->drawPoly(kTriangle, 3, false, kRed); }, Kind::Lines, 3, 1, false},
        {"closed lines", [](DrawNode* n) { n->drawPoly(kTriangle, 3, true, kRed); }, Kind::Lines, 3, 1, true},
        {"solid polygon", [](DrawNode* n) { n->drawSolidPoly(kTriangle, 3, kRed); }, Kind::SolidPoly, 3, 0, false},
        {"polygon with border", [](DrawNode* n) { n->drawPolygon(kTriangle, 3, kRed, 2.f, kBlue); }, Kind::Polygon,
         3, 2, true},
        {"cardinal spline in 8 segments", [](DrawNode* n) { n->drawCardinalSpline(zigzag(), 0.f, 8, kRed); },
         Kind::Lines, 9, 1, false},
        {"Catmull-Rom in 1 segment", [](DrawNode* n) { n->drawCatmullRom(zigzag(), 1, kRed); }, Kind::Lines, 2, 1,
         false},
        {"segment, as wide as twice its radius", [](DrawNode* n) { n->drawSegment({0, 0}, {5, 5}, 3.f, kRed); },
         Kind::Lines, 2, 6, false},
        {"line", [](DrawNode* n) { n->drawLine({0, 0}, {5, 5}, kRed); }, Kind::Lines, 2, 1, false},
        {"rectangle outline", [](DrawNode* n) { n->drawRect({0, 0}, {4, 3}, kRed); }, Kind::Lines, 4, 1, true},
        {"circle outline", [](DrawNode* n) { n->drawCircle({-5, 0}, 5.f, 0.f, 6, false, kRed); }, Kind::Lines, 6, 1,
         true},
        {"circle through its centre", [](DrawNode* n) { n->drawCircle({-10, 0}, 5.f, 0.f, 6, true, 2.f, 1.f, kRed); },
         Kind::Lines, 7, 1, true},
        {"triangle", [](DrawNode* n) { n->drawTriangle({0, 0}, {1, 0}, {0, 1}, kRed); }, Kind::SolidPoly, 3, 0, false},
        {"one point", [](DrawNode* n) { n->drawPoint({0, 0}, 3.f, kRed); }, Kind::Points, 1, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DrawNode* node = DrawNode::create();
        c.draw(node);
        ASSERT_EQ(node->getShapes().size(), 1u);
        const DrawNode::Shape& shape = node->getShapes()[0];
        EXPECT_EQ(shape.kind, c.kind);
        EXPECT_EQ(shape.vertices.size(), c.vertices);
        EXPECT_EQ(shape.color, kRed);
        EXPECT_EQ(shape.size, c.size);
        EXPECT_EQ(shape.closed, c.closed);
        EXPECT_EQ(shape.vertices.front(), Vec2(0, 0));
    }
}

TEST_F(DrawNodeShapesTest, RecordedValuesAreThePointsGiven) {
    DrawNode* node = DrawNode::create();
    node->drawPolygon(kTriangle, 3, kRed, 2.f, kBlue);
    node->drawCatmullRom(zigzag(), 4, kBlue);
    ASSERT_EQ(node->getShapes().size(), 2u);
    EXPECT_EQ(node->getShapes()[0].vertices, (std::vector<Vec2>{{0, 0}, {10, 0}, {0, 10}}));
    EXPECT_EQ(node->getShapes()[0].borderColor, kBlue);
    // The spline goes through its control points: the middle one at segment 2 of 4.
    const std::vector<Vec2>& spline = node->getShapes()[1].vertices;
    EXPECT_EQ(spline[2], Vec2(10, 10));
    EXPECT_EQ(spline[4], Vec2(20, 0));
    EXPECT_EQ(node->getShapes()[1].color, kBlue);
}

TEST_F(DrawNodeShapesTest, NothingToDrawRecordsNothing) {
    const std::function<void(DrawNode*)> calls[] = {
        [](DrawNode* n) { n->drawPoints(kTriangle, 0, kRed); },
        [](DrawNode* n) { n->drawPoints(nullptr, 3, kRed); },
        [](DrawNode* n) { n->drawPoly(kTriangle, 0, true, kRed); },
        [](DrawNode* n) { n->drawSolidPoly(kTriangle, 0, kRed); },
        [](DrawNode* n) { n->drawPolygon(kTriangle, -3, kRed, 1.f, kRed); },
        [](DrawNode* n) { n->drawCardinalSpline(zigzag(), 0.5f, 0, kRed); },
        [](DrawNode* n) { n->drawCardinalSpline(zigzag(), 0.5f, DrawNode::kMaxSplineSegments + 1, kRed); },
        [](DrawNode* n) { n->drawCatmullRom(PointArray::create(0), 8, kRed); },
        [](DrawNode* n) { n->drawCatmullRom(nullptr, 8, kRed); },
        [](DrawNode* n) { n->drawCircle({0, 0}, 5.f, 0.f, 2, true, kRed); },
    };
    for (size_t i = 0; i < std::size(calls); ++i) {
        SCOPED_TRACE(i);
        DrawNode* node = DrawNode::create();
        calls[i](node);
        EXPECT_TRUE(node->getShapes().empty());
    }
}

}  // namespace
