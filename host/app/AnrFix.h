#pragma once
// The table "cc.VEXOAnrFix" and the staged-start script kept in the program
// (scripts/AnrFix.lua, run under the chunk name "AnrFix.lua"):
//   now()       the steady clock in seconds;
//   log(text)   one line to the engine log (text must be a string);
//   collect()   a sliced collection of the Lua engine's state, not full, reason
//               "boot" (host/app/AnrGc.h);
//   version     22.
// The script then keeps status, slices and maxSliceMs in the same table.
// A script that fails to load or run logs "ANRBOOT install failed: <message>";
// the start goes on. Main thread only.
#include <lua.hpp>

namespace host {

void installAnrFix(lua_State* L);

}  // namespace host
