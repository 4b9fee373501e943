#pragma once
// The hand-written script methods of the 2D physics classes: constructors and
// computations over Lua point arrays, the shapes' point getters, a body's
// joints, the world's scene and its point, rectangle and ray queries with a Lua
// callback, the contact listener's handlers, the debug-draw numbers and the
// global PHYSICS_INFINITY; also the physics methods of cc.Node and cc.Scene.
//
// register_physics_manual runs after the physics classes are registered
// (bindings/physics/PhysicsClasses.cpp); a class whose table is missing is
// skipped. Main thread only.
#include <lua.hpp>

namespace bindings {

int register_physics_manual(lua_State* L);

}  // namespace bindings
