#pragma once
// The client's fix-up natives, installed by the script start after the portal's:
// the tables "cc.VEXOClientFixes" and "cc.VEXOAnrFix", each with its embedded
// script. Main thread only.
#include <lua.hpp>

namespace host {

void installClientFixes(lua_State* L);
void installAnrFix(lua_State* L);

}  // namespace host
