#pragma once
// The point-list draw calls of cc.DrawNode for scripts.
//
//   drawPoints(points, count, color) / drawPoints(points, count, size, color)
//   drawPoly(points, count, closed, color)
//   drawSolidPoly(points, count, color)
//   drawPolygon(points, count, fillColor, borderWidth, borderColor)
//       points: a Lua array of {x, y}; count: how many of them to draw.
//   drawCardinalSpline(points, tension, segments, color)
//   drawCatmullRom(points, segments, color)
//       points: a Lua array of {x, y} control points.
// Colours are {r, g, b, a} tables of 0..1. A wrong number of arguments, and a
// point count of 0 or below, raise "cc.DrawNode:<name> has wrong number of
// arguments: <given>, was expecting <n> \n" (drawPolygon without the blank). A
// count beyond the array's length, an entry that is not a point, or an argument
// that cannot be read draws nothing and gives no error; the count is checked
// against the array before anything is allocated. A self that is not a live
// DrawNode raises "invalid 'self' in function 'cc.DrawNode:<name>'". Main
// thread only.
#include <lua.hpp>

namespace bindings {

// Stores the six functions in cc.DrawNode's table (nothing when it is missing).
void register_draw_node_manual(lua_State* L);

}  // namespace bindings
