#include "bindings/network/LuaSocketPreload.h"

#include <string>

#include "bindings/network/SocketLibraryModules.h"
#include "engine/base/Log.h"

extern "C" {
int luaopen_socket_core(lua_State* L);
int luaopen_mime_core(lua_State* L);
}

namespace bindings {

int preload_socket_library(lua_State* L) {
    const int top = lua_gettop(L);
    lua_getglobal(L, "package");
    if (lua_istable(L, -1)) lua_getfield(L, -1, "preload");
    if (!lua_istable(L, -1)) {
        lua_settop(L, top);
        return 1;
    }
    lua_pushcfunction(L, luaopen_socket_core);
    lua_setfield(L, -2, "socket.core");
    lua_pushcfunction(L, luaopen_mime_core);
    lua_setfield(L, -2, "mime.core");
    for (size_t i = 0; i < kSocketLibraryModuleCount; ++i) {
        const SocketLibraryModule& module = kSocketLibraryModules[i];
        const std::string chunkName = std::string("=") + module.name;
        if (luaL_loadbuffer(L, reinterpret_cast<const char*>(module.text), module.size, chunkName.c_str()) != 0) {
            engine::log("socket library: cannot compile %s: %s", module.name, lua_tostring(L, -1));
            lua_pop(L, 1);
            continue;
        }
        lua_setfield(L, -2, module.name);
    }
    lua_settop(L, top);
    return 1;
}

}  // namespace bindings
