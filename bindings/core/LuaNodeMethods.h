#pragma once
// Node, orbit-camera and file methods with argument forms or results of their own:
//
//   node:enumerateChildren(path, fn)      fn(node) for every node the path names
//                                         (Node::enumerateChildren) until it answers
//                                         true or a non-zero number; fn is released
//                                         once the walk is over. Returns node.
//   node:setAdditionalTransform(t)        t an affine table {a, b, c, d, tx, ty} or
//                                         16 numbers of a matrix. Returns node.
//   node:setRotationQuat({x, y, z, w})    returns node
//   node:getPosition()                    x, y (up to two ignored arguments)
//   node:setAnchorPoint(p | x, y)         returns node
//   node:setContentSize(s | w, h)         returns node
//   orbit:sphericalRadius(r, zenith, azimuth)  the three values the action leaves
//   files:getStringFromFile(name)         the file's text; "" when it cannot be read
//   cc.UserDefault:getInstance()          the saved settings (wrong count: "...%d\n")
//
// Wrong counts (and a transform or quaternion that does not read) raise
// "<Lua name> has wrong number of arguments: %d, was expecting %d \n"; other
// unreadable arguments end the call without a value. Main thread only.
#include <lua.hpp>

namespace bindings {

void register_node_geometry_manual(lua_State* L);
void register_orbit_camera_manual(lua_State* L);
void register_file_utils_manual(lua_State* L);
void register_user_default_manual(lua_State* L);

}  // namespace bindings
