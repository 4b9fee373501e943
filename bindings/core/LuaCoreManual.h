#pragma once
// The hand-written additions to the core classes, added after the class table
// is registered: one routine per class, run in a fixed order; each finds its
// class table in the Lua registry under the Lua name, stores its functions there
// (replacing a function of the same name) and skips a class that is missing,
// leaving the stack as it was. Main thread only.
#include <lua.hpp>

#include <span>

namespace bindings {

// Runs every routine in order; 0 at once for a null state. Returns 0.
int register_core_manual(lua_State* L);

// The classes of the routines, in the order they run (for tests).
std::span<const char* const> coreManualClasses();

}  // namespace bindings
