#pragma once
// The 3D value classes scripts create and own: cc.AABB, cc.OBB and cc.Ray
// (engine/3d), each a user type whose objects made by its `new` belong to the
// script (deleted by the collector) while those pushed by engine methods (a
// sprite's box) stay the engine's. Fields read as vector tables {x, y, z} and
// take one; methods follow the engine classes. Also declares the plain user
// types cc.Vec2, cc.Vec3, cc.Vec4, cc.Mat4 and cc.Quaternion, under which
// native code may hand scripts a vector to fill (cc.AABB:getCorners).
// Main thread only.
#include <lua.hpp>

namespace bindings {

void register_3d_math_classes(lua_State* L);

}  // namespace bindings
