#include "host/app/BindingModules.h"

// Modules whose bindings are not in this build yet register nothing.

int register_builder_module(lua_State*) { return 1; }
int register_studio_module(lua_State*) { return 1; }
int register_ui_module(lua_State*) { return 1; }
int register_extension_module(lua_State*) { return 1; }
int register_skeleton_module(lua_State*) { return 1; }
int register_3d_module(lua_State*) { return 1; }
int register_audioengine_module(lua_State*) { return 1; }
int register_physics3d_module(lua_State*) { return 1; }
int register_navmesh_module(lua_State*) { return 1; }
