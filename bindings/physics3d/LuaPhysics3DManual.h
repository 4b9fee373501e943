#pragma once
// The hand-written script methods of the 3D physics classes: the creators that
// take a description record or arrays (rigid bodies, physics sprites, components,
// mesh, height-field, compound and convex-hull shapes), the collision callback
// and the ray cast with their Lua records; also the scene's 3D world and debug
// camera.
//
// register_physics3d_manual runs after the 3D physics classes are registered
// (bindings/physics3d/Physics3DModule.cpp); a class whose table is missing is
// skipped. Main thread only.
#include <lua.hpp>

namespace engine {
struct Physics3DRigidBodyDes;
}

namespace bindings {

int register_physics3d_manual(lua_State* L);

// cc.Scene:getPhysics3DWorld and cc.Scene:setPhysics3DDebugCamera, added with the
// scene's other physics methods while the Lua stack starts.
void register_scene_physics3d_methods(lua_State* L);

// A rigid-body description read from the table at index: absent keys, and
// vectors, shapes or transforms of another Lua type, keep the record's defaults.
// False (and *out untouched) when the value is not a table.
bool readRigidBodyDes(lua_State* L, int index, engine::Physics3DRigidBodyDes* out);

// A Bullet object under its own class name ("btRigidBody"...): a usertype when
// a class table of that name exists, otherwise a light userdata; nil for null.
void pushBulletObject(lua_State* L, void* object, const char* typeName);

}  // namespace bindings
