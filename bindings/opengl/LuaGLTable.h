#pragma once
// The script table `gl`: thin wrappers of the GL entry points, called through the
// engine's GL function table (engine/renderer/GLFunctions.h).
#include <lua.hpp>

namespace bindings {

// Fills the module table that tolua++ has entered (the "gl" table) with its members.
void register_gl_table(lua_State* L);

}  // namespace bindings
