#pragma once
// Geometry and device queries scripts make with argument forms of their own:
//
//   camera:unproject({x, y, z})                     -> {x, y, z} over the win size
//   camera:unproject({width, height}, src, dst)     -> dst as the camera leaves it
//   view:getAllTouches()                            -> array of the "cc.Touch"es down
//   cc.Application:getInstance():isIOS64bit()       -> false (also is64BitIOSDevice)
//
// A point that does not read raises "invalid arguments in function
// 'lua_engine_Camera_project'"; an unreadable three-argument form returns
// nothing. Wrong counts raise "<Lua name> has wrong number of arguments: %d, was
// expecting %d \n". Main thread only.
#include <lua.hpp>

namespace bindings {

void register_camera_manual(lua_State* L);
void register_glview_manual(lua_State* L);
void register_application_manual(lua_State* L);

}  // namespace bindings
