#include "scripting/LuaCcTable.h"

namespace engine {

void pushCcTable(lua_State* L) {
    lua_getglobal(L, "cc");
    if (lua_istable(L, -1)) return;
    lua_pop(L, 1);
    lua_newtable(L);
    lua_pushvalue(L, -1);
    lua_setglobal(L, "cc");
}

}  // namespace engine
