#include "host/app/FixedPrefetch.h"

#include <cstring>

#include "engine/base/Log.h"
#include "host/app/FixedPrefetchScript.h"

namespace host {

void preloadFixedPrefetch(lua_State* L) {
    if (!L) return;
    const int top = lua_gettop(L);
    if (luaL_loadbuffer(L, kFixedPrefetchScript, std::strlen(kFixedPrefetchScript), "@FixedPrefetch.lua") != 0) {
        engine::log("[VEXOClientFix] fixed prefetcher not loaded: %s", lua_tostring(L, -1));
        lua_settop(L, top);
        return;
    }
    lua_getglobal(L, "package");
    if (lua_istable(L, -1)) {
        lua_getfield(L, -1, "preload");
        if (lua_istable(L, -1)) {
            lua_pushvalue(L, top + 1);
            lua_setfield(L, -2, kFixedPrefetchPreloadName);
        }
    }
    lua_settop(L, top);
}

}  // namespace host
