#pragma once
// Keeps C++ exceptions out of Lua frames.
//
//   return guarded(L, body);
//       runs the lua_CFunction body; a std::bad_alloc it throws becomes the Lua
//       error "not enough memory", any other std::exception a Lua error with its
//       text. Lua errors raised by body pass through untouched.
//
// A C++ exception must never unwind through the interpreter (it is C and its
// frames would be skipped): every binding entry point that can throw runs
// under this guard. The guard itself builds nothing with a destructor, so the
// Lua error it raises leaves nothing behind.
#include <lua.hpp>

namespace bindings {

int guarded(lua_State* L, lua_CFunction body);

// A closure calling function under the guard (function as its upvalue).
void pushGuardedFunction(lua_State* L, lua_CFunction function);

}  // namespace bindings
