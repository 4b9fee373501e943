#pragma once
// Entries of the binding modules that the script start registers after the audio
// and network modules, in this order: builder, studio, ui, extension, skeleton, 3d,
// audioengine, physics3d, navmesh. Each does its work only when the global "_G" is
// a table and leaves the Lua stack as it found it; the results are not used.
#include <lua.hpp>

int register_builder_module(lua_State* L);
int register_studio_module(lua_State* L);
int register_ui_module(lua_State* L);
int register_extension_module(lua_State* L);
int register_skeleton_module(lua_State* L);
int register_3d_module(lua_State* L);
int register_audioengine_module(lua_State* L);
int register_physics3d_module(lua_State* L);
int register_navmesh_module(lua_State* L);
