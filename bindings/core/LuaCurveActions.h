#pragma once
// The script constructors of the curve actions, from a duration and a Lua array
// of {x, y} points, and the reverse of the camera and grid actions.
//
//   cc.BezierBy:create(duration, points), cc.BezierTo:create(...)
//       control point 1, control point 2 and the end are points[1..3] (further
//       points are ignored); fewer than 3 points or an unreadable argument
//       give no value and no error.
//   cc.CatmullRomBy:create(duration, points), cc.CatmullRomTo:create(...)
//       the points in order; an unreadable argument gives no value, an empty
//       array raises the count error (2 given, 2 expected).
//   cc.CardinalSplineBy:create(duration, points, tension)
//       as the Catmull-Rom ones with 3 arguments; an empty array raises the
//       count error (3 given, 3 expected).
//   cc.ActionCamera:reverse(), cc.GridAction:reverse()
//       the action run backwards (under its own class's Lua type); nil when
//       the action gives none.
// A wrong count raises "<Lua name> has wrong number of arguments: <given>, was
// expecting <n>\n" (reverse: " \n"); a self that is not a live object of the
// class raises "invalid 'self' in function '<Lua name>'". Main thread only.
#include <lua.hpp>

namespace engine {
class PointArray;
}

namespace bindings {

// The points of the Lua array at index as a new control-point list (autoreleased,
// so a later Lua error leaves nothing behind); null when the argument is not an
// array of point tables. An empty array gives an empty list.
engine::PointArray* pointArrayAt(lua_State* L, int index);

// Each stores its function in its class's table; nothing when the class is missing.
void register_cardinal_spline_by_manual(lua_State* L);
void register_catmull_rom_by_manual(lua_State* L);
void register_catmull_rom_to_manual(lua_State* L);
void register_bezier_by_manual(lua_State* L);
void register_bezier_to_manual(lua_State* L);
void register_action_camera_manual(lua_State* L);
void register_grid_action_manual(lua_State* L);

}  // namespace bindings
