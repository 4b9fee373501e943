#pragma once
// The scripts' global table "cc", where the natives' tables are stored.
#include <lua.hpp>

namespace engine {

// Pushes the global table "cc", made when there is none.
void pushCcTable(lua_State* L);

}  // namespace engine
