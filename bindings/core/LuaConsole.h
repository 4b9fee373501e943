#pragma once
// The script side of the remote console (cc.Console):
//
//   console:addCommand({name = "hi", help = "says hi"}, function(fd, args) ... end)
//       adds a console command; each time a client sends "hi ARGS" the function
//       runs on the main thread with the client's descriptor and ARGS (the rest
//       of the line after the word and its blanks). A missing "name" or "help"
//       is "". An unreadable description adds nothing. Returns the console.
//   console:send(fd, text)
//       writes the whole text (zero bytes included) to that client, never raising
//       SIGPIPE. A descriptor that is not a current client of this console is
//       refused with a log line. Returns nothing.
//   console:wait(seconds)
//       blocks the calling (main) thread; 0, a negative or an unreadable number
//       returns at once.
//
// A command's function is kept as a handler of the console and released when
// the console is destroyed; a command line that arrives after that, or that was
// still queued for the main thread then, runs nothing. Wrong counts raise
// "<Lua name> has wrong number of arguments: %d, was expecting %d". Main thread.
#include <lua.hpp>

namespace bindings {

// Adds the three methods to cc.Console (nothing when the class is not registered).
void register_console_manual(lua_State* L);

}  // namespace bindings
