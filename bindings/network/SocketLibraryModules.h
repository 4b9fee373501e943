#pragma once
// The socket library's own Lua modules, kept in the program as text (the build
// reads them from the system's Lua module folder), in their preload order:
// ltn12, mime, socket.ftp, socket.headers, socket.http, socket.mbox,
// socket.smtp, socket.tp, socket.url, socket.
#include <cstddef>

namespace bindings {

struct SocketLibraryModule {
    const char* name;
    const unsigned char* text;
    size_t size;
};

extern const SocketLibraryModule kSocketLibraryModules[];
extern const size_t kSocketLibraryModuleCount;

}  // namespace bindings
