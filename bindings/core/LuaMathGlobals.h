#pragma once
// Matrix and vector arithmetic on plain Lua tables, and the cc.utils table.
//
// Globals (a matrix is an array of 16 numbers in the engine's element order;
// vectors and quaternions are {x, y, z[, w]} tables): mat4_getInversed(m),
// mat4_transformVector(m, v4, dst) or (m, x, y, z, w, dst3), mat4_decompose(m,
// scale, rotation, translation) (nil leaves a component out), mat4_multiply(a, b),
// mat4_translate(m, t), mat4_createRotationZ(m, angle), mat4_setIdentity(m),
// mat4_createTranslation(t, m) or (x, y, z, m), mat4_createRotation(q, m) or
// (axis, angle, m), vec3_cross(a, b[, dst]). They raise nothing: a count that
// fits no form or an unreadable argument returns no value.
//
// cc.utils:captureScreen(f, file) calls f(succeeded, full path) once, from the
// next frame, and releases f after that call whatever the outcome;
// cc.utils:findChildren(node, name) gives an array of the named descendants.
// Main thread only.
#include <lua.hpp>

namespace bindings {

int register_utils_module(lua_State* L);
int register_math_globals(lua_State* L);

}  // namespace bindings
