#pragma once
// The scripts' global table "cc", where the host's native tables are stored.
#include <lua.hpp>

namespace host {

// Pushes the global table "cc", made when there is none.
void pushCcTable(lua_State* L);

}  // namespace host
