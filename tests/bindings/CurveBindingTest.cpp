// The curve actions and the point-list draw calls of cc.DrawNode as scripts
// reach them: Bézier and spline actions from Lua point arrays, the
// control-point list, the camera and grid actions with their reverse, and what
// each draw call records; every count error text.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "engine/actions/GridAction.h"
#include "engine/scene/DrawNode.h"
#include "scripting/LuaObjectConversions.h"

namespace bindingtest {
namespace {

using CurveBindingTest = BindingStackTest;

// Three points and a fourth one past what a Bézier action reads.
#define POINTS "{{x = 0, y = 100}, {x = 100, y = 100}, {x = 100, y = 0}, {x = 9, y = 9}}"

const ChunkCase kActionCases[] = {
    {"Bézier by", "a = cc.BezierBy:create(2, " POINTS ")", "tolua.type(a)", "cc.BezierBy"},
    {"Bézier to", "a = cc.BezierTo:create(2, " POINTS ")", "tolua.type(a)", "cc.BezierTo"},
    {"Bézier by reversed", "a = cc.BezierBy:create(2, " POINTS "):reverse()", "tolua.type(a)", "cc.BezierBy"},
    {"Bézier to has no way back", "a = cc.BezierTo:create(2, " POINTS ")", "a:reverse()", "nil"},
    {"Bézier with two points: nothing, no error", "",
     "select('#', cc.BezierBy:create(1, {{x = 1, y = 1}, {x = 2, y = 2}}))", "0"},
    {"Bézier with a duration that is no number: nothing", "", "select('#', cc.BezierTo:create({}, " POINTS "))",
     "0"},
    {"Bézier with a point that is no table: nothing", "",
     "select('#', cc.BezierTo:create(1, {{x = 1, y = 1}, 2, {x = 3, y = 3}}))", "0"},
    {"Bézier count", "", "cc.BezierTo:create(1)",
     "error: cc.BezierTo:create has wrong number of arguments: 1, was expecting 2\n"},
    {"Catmull-Rom by keeps every point", "a = cc.CatmullRomBy:create(1, " POINTS ")",
     "tolua.type(a) .. ' ' .. a:getPoints():count() .. ' ' .. a:getPoints():getControlPointAtIndex(3).x",
     "cc.CatmullRomBy 4 9"},
    {"Catmull-Rom to reversed", "a = cc.CatmullRomTo:create(1, " POINTS "):reverse()",
     "tolua.type(a) .. ' ' .. a:getPoints():getControlPointAtIndex(0).x", "cc.CatmullRomTo 9"},
    {"Catmull-Rom from an empty list", "", "cc.CatmullRomTo:create(1, {})",
     "error: cc.CatmullRomTo:create has wrong number of arguments: 2, was expecting 2\n"},
    {"Catmull-Rom from no list: nothing", "", "select('#', cc.CatmullRomBy:create(1, 'points'))", "0"},
    {"Catmull-Rom count", "", "cc.CatmullRomBy:create(1, {}, 3)",
     "error: cc.CatmullRomBy:create has wrong number of arguments: 3, was expecting 2\n"},
    {"cardinal spline by", "a = cc.CardinalSplineBy:create(1, " POINTS ", 0.2)",
     "tolua.type(a) .. ' ' .. tolua.type(a:reverse()) .. ' ' .. a:getPoints():count()",
     "cc.CardinalSplineBy cc.CardinalSplineBy 4"},
    {"cardinal spline by from an empty list", "", "cc.CardinalSplineBy:create(1, {}, 0.2)",
     "error: cc.CardinalSplineBy:create has wrong number of arguments: 3, was expecting 3\n"},
    {"cardinal spline by without tension: nothing", "",
     "select('#', cc.CardinalSplineBy:create(1, " POINTS ", 'x'))", "0"},
    {"cardinal spline by count", "", "cc.CardinalSplineBy:create(1, {})",
     "error: cc.CardinalSplineBy:create has wrong number of arguments: 2, was expecting 3\n"},
    {"point list", "p = cc.PointArray:create(2) p:addControlPoint({x = 1, y = 2}) p:addControlPoint({x = 3, y = 4}) "
     "p:insertControlPoint({x = 0, y = 0}, 0) p:removeControlPointAtIndex(1)",
     "p:count() .. ' ' .. p:reverse():getControlPointAtIndex(0).x .. ' ' .. p:getControlPointAtIndex(9).y", "2 3 4"},
    {"cardinal spline to from a point list",
     "p = cc.PointArray:create(1) p:addControlPoint({x = 5, y = 5}) a = cc.CardinalSplineTo:create(1, p, 0)",
     "tolua.type(a:reverse()) .. ' ' .. a:getPoints():getControlPointAtIndex(0).x", "cc.CardinalSplineTo 5"},
    {"camera values", "c = cc.ActionCamera:create(1) c:setEye(1, 2, 3) c:setCenter({x = 0, y = 0, z = 7})",
     "c:getEye().z .. ' ' .. c:getCenter().z .. ' ' .. c:getUp().y", "3 7 1"},
    {"camera eye from a table", "c = cc.ActionCamera:create(1) c:setEye({x = 4, y = 5, z = 6})", "c:getEye().x",
     "4"},
    {"camera reverse", "r = cc.ActionCamera:create(1):reverse()", "tolua.type(r)", "cc.ActionCamera"},
    {"orbit reverse under the base type", "r = cc.OrbitCamera:create(1, 10, 0, 0, 90, 0, 90):reverse()",
     "tolua.type(r)", "cc.ActionCamera"},
    {"camera reverse count", "", "cc.ActionCamera:create(1):reverse(1)",
     "error: cc.ActionCamera:reverse has wrong number of arguments: 1, was expecting 0 \n"},
    {"grid reverse", "r = cc.GridAction:create(1):reverse()", "tolua.type(r)", "cc.GridAction"},
    {"grid reverse count", "", "cc.GridAction:create(1):reverse(nil, 2)",
     "error: cc.GridAction:reverse has wrong number of arguments: 2, was expecting 0 \n"},
    {"grid reverse of another class", "", "cc.GridAction.reverse(cc.ActionCamera:create(1))",
     "error: invalid 'self' in function 'cc.GridAction:reverse'"},
    {"camera reverse of nil", "", "cc.ActionCamera.reverse(nil)",
     "error: invalid 'self' in function 'cc.ActionCamera:reverse'"},
};

TEST_F(CurveBindingTest, ActionCases) {
    runCases(kActionCases);
}

struct UncopyableGrid : engine::GridAction {
    GridAction* clone() const override { return nullptr; }
};

TEST_F(CurveBindingTest, ReverseOfNothingIsNil) {
    auto* grid = new UncopyableGrid;
    grid->autorelease();
    luaconv_push_object(L, "cc.GridAction", static_cast<engine::GridAction*>(grid));
    lua_setglobal(L, "g");
    EXPECT_EQ(eval("select('#', g:reverse()) .. ' ' .. tostring(g:reverse())"), "1 nil");
}

struct DrawCase {
    const char* name;
    const char* call;    // on the DrawNode d
    const char* error;   // "" when the call raises none
    size_t vertices;     // of the one shape recorded; 0: none recorded
};

#define RED "{r = 1, g = 0, b = 0, a = 1}"
#define TWO "{{x = 1, y = 1}, {x = 2, y = 2}}"

const DrawCase kDrawCases[] = {
    {"points", "d:drawPoints(" TWO ", 2, " RED ")", "", 2},
    {"points of a size", "d:drawPoints(" TWO ", 1, 5, " RED ")", "", 1},
    {"points count", "d:drawPoints(" TWO ", 2)", "cc.DrawNode:drawPoints has wrong number of arguments: 2, was expecting 3 \n", 0},
    {"lines", "d:drawPoly(" TWO ", 2, true, " RED ")", "", 2},
    {"lines of no points", "d:drawPoly(" TWO ", 0, true, " RED ")",
     "cc.DrawNode:drawPoly has wrong number of arguments: 4, was expecting 4 \n", 0},
    {"lines of a negative count", "d:drawPoly(" TWO ", -2, true, " RED ")",
     "cc.DrawNode:drawPoly has wrong number of arguments: 4, was expecting 4 \n", 0},
    {"lines of a count that is no number", "d:drawPoly(" TWO ", {}, true, " RED ")",
     "cc.DrawNode:drawPoly has wrong number of arguments: 4, was expecting 4 \n", 0},
    {"solid polygon", "d:drawSolidPoly(" TWO ", 2, " RED ")", "", 2},
    {"a count beyond the list", "d:drawSolidPoly(" TWO ", 3, " RED ")", "", 0},
    {"a count far beyond the list", "d:drawSolidPoly(" TWO ", 2000000000, " RED ")", "", 0},
    {"a list that is no table", "d:drawSolidPoly(7, 2, " RED ")", "", 0},
    {"an entry that is no point", "d:drawSolidPoly({{x = 1, y = 1}, 'p'}, 2, " RED ")", "", 0},
    {"a colour that cannot be read", "d:drawSolidPoly(" TWO ", 2, 'red')", "", 0},
    {"solid polygon count", "d:drawSolidPoly(" TWO ", 2, " RED ", 1)",
     "cc.DrawNode:drawSolidPoly has wrong number of arguments: 4, was expecting 3 \n", 0},
    {"bordered polygon", "d:drawPolygon(" TWO ", 2, " RED ", 1, " RED ")", "", 2},
    {"bordered polygon count truncated", "d:drawPolygon(" TWO ", 1.9, " RED ", 1, " RED ")", "", 1},
    {"bordered polygon of no points", "d:drawPolygon(" TWO ", 0.5, " RED ", 1, " RED ")",
     "cc.DrawNode:drawPolygon has wrong number of arguments: 5, was expecting 5\n", 0},
    {"bordered polygon without its border colour", "d:drawPolygon(" TWO ", 2, " RED ", 1, 'x')", "", 0},
    {"bordered polygon count", "d:drawPolygon(" TWO ", 2, " RED ", 1)",
     "cc.DrawNode:drawPolygon has wrong number of arguments: 4, was expecting 5\n", 0},
    {"cardinal spline", "d:drawCardinalSpline(" TWO ", 0.5, 8, " RED ")", "", 9},
    {"cardinal spline with a colour that cannot be read", "d:drawCardinalSpline(" TWO ", 0.5, 8, 1)", "", 0},
    {"cardinal spline count", "d:drawCardinalSpline(" TWO ", 0.5, 8)",
     "cc.DrawNode:drawCardinalSpline has wrong number of arguments: 3, was expecting 4 \n", 0},
    {"Catmull-Rom", "d:drawCatmullRom(" TWO ", 3, " RED ")", "", 4},
    {"Catmull-Rom of an empty list", "d:drawCatmullRom({}, 3, " RED ")", "", 0},
    {"Catmull-Rom of negative segments", "d:drawCatmullRom(" TWO ", -1, " RED ")", "", 0},
    {"Catmull-Rom count", "d:drawCatmullRom(" TWO ")",
     "cc.DrawNode:drawCatmullRom has wrong number of arguments: 1, was expecting 3 \n", 0},
    {"self of another class", "cc.DrawNode.drawPoly(cc.Node:create(), " TWO ", 2, true, " RED ")",
     "invalid 'self' in function 'cc.DrawNode:drawPoly'", 0},
};

TEST_F(CurveBindingTest, DrawCallsRecordOrRefuse) {
    for (const DrawCase& c : kDrawCases) {
        SCOPED_TRACE(c.name);
        auto* node = engine::DrawNode::create();
        luaconv_push_object(L, "cc.DrawNode", node);
        lua_setglobal(L, "d");
        const std::string error = run(c.call);
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_EQ(error.empty(), *c.error == '\0') << error;
        ASSERT_EQ(node->getShapes().size(), c.vertices ? 1u : 0u);
        if (c.vertices) {
            EXPECT_EQ(node->getShapes()[0].vertices.size(), c.vertices);
            EXPECT_EQ(node->getShapes()[0].color, (engine::Color4F{1, 0, 0, 1}));
        }
    }
}

// The count is checked against the list before the points are allocated.
TEST_F(CurveBindingTest, ACountBeyondTheListAllocatesNothing) {
    luaconv_push_object(L, "cc.DrawNode", engine::DrawNode::create());
    lua_setglobal(L, "d");
    ASSERT_EQ(run("collectgarbage('stop') local before = collectgarbage('count') "
                  "d:drawSolidPoly(" TWO ", 10000000, " RED ") "
                  "grown = collectgarbage('count') - before collectgarbage('restart')"),
              "");
    EXPECT_LT(std::stod(eval("grown")), 64.0);   // kilobytes; the points would take 78125
}

TEST_F(CurveBindingTest, DrawCallsKeepWhatTheyRead) {
    auto* node = engine::DrawNode::create();
    luaconv_push_object(L, "cc.DrawNode", node);
    lua_setglobal(L, "d");
    ASSERT_EQ(run("d:drawPoints({{x = 3, y = 4}}, 1, 6, " RED ") "
                  "d:drawPolygon({{x = 1, y = 2}, {x = 5, y = 2}, {x = 5, y = 7}}, 3, " RED ", 2.5, "
                  "{r = 0, g = 0, b = 1, a = 0.5}) "
                  "d:drawPoly(" TWO ", 2, false, " RED ")"),
              "");
    const auto& shapes = node->getShapes();
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0].vertices[0], engine::Vec2(3, 4));
    EXPECT_EQ(shapes[0].size, 6.f);
    EXPECT_EQ(shapes[1].vertices[2], engine::Vec2(5, 7));
    EXPECT_EQ(shapes[1].size, 2.5f);
    EXPECT_EQ(shapes[1].borderColor, (engine::Color4F{0, 0, 1, 0.5f}));
    EXPECT_FALSE(shapes[2].closed);
}

}  // namespace
}  // namespace bindingtest
