#include "LuaChunks.h"

extern "C" {
#include <lua-cjson.h>
}

namespace hosttest {

void preloadCjson(lua_State* L) {
    lua_getglobal(L, "package");
    lua_getfield(L, -1, "preload");
    lua_pushcfunction(L, luaopen_cjson);
    lua_setfield(L, -2, "cjson");
    lua_pop(L, 2);
}

}  // namespace hosttest
