#pragma once
// The script table `gl`: 128 thin wrappers of the GL entry points, called
// through the engine's GL function table (engine/renderer/GLFunctions.h), so
// they reach the game window's context, the no-op table without a display, or
// the recorder in tests. Members that make, take or query object ids start with
// "_"; one member, "glEnableVertexAttribs", drives the engine's attribute state.
//
// Buffers handed to GL always hold what GL reads or writes for the call (count x
// components for uniform arrays, a whole matrix or vector, count indices, the
// whole image under the pixel-store alignment, imageSize bytes), as many of the
// script's n table entries as fit at their start and 0 beyond; readPixels and
// _texSubImage2D answer n bytes, the image's first and 0 past it. A call whose
// buffer and answer would take more than 64 MiB is refused: it returns nothing
// and GL is not called. _getUniform of an integer vector answers all its
// components; getSupportedExtensions skips empty names. drawElements without
// indices and without a bound element array buffer draws nothing.
// Main thread only, with the context current.
#include <lua.hpp>

namespace bindings {

// Fills the module table that tolua++ has entered (the "gl" table, on top of the
// stack) with its members, in their registration order.
void register_gl_table(lua_State* L);
// Adds the module "gl", filled as above, to the module table that tolua++ has
// entered (on top of the stack; the globals at start-up).
void register_gl_module(lua_State* L);

}  // namespace bindings
