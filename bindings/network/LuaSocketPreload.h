#pragma once
// Makes the socket library loadable by require with no file on disk: in
// package.preload, "socket.core" and "mime.core" get the library's C openers,
// then each of its Lua modules (SocketLibraryModules.h) its compiled chunk under
// its name. Nothing runs until a script requires it. Without a package.preload
// table nothing is done. Main thread only.
#include <lua.hpp>

namespace bindings {

int preload_socket_library(lua_State* L);

}  // namespace bindings
