#pragma once
// The client's fix-up natives, installed by the script start after the portal's:
// the table "cc.VEXOClientFixes" with its embedded script (the staged start's
// table and script are in host/app/AnrFix.h). Main thread only.
#include <lua.hpp>

namespace host {

void installClientFixes(lua_State* L);

}  // namespace host
