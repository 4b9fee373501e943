#pragma once
// The script side of the focus listener, cc.EventListenerFocus:
//   cc.EventListenerFocus:create()        a new listener (nil if none was made)
//   listener:registerScriptHandler(fn)    fn(widgetLosingFocus, widgetGettingFocus),
//                                         each a "ccui.Widget" or nil; replaces
//                                         (and releases) an earlier function
//   listener:clone()                      a new listener; with a function of its
//                                         own (a new handler id for the same
//                                         function) when the source has one
// Handlers are filed under the listener with the focus kind, released with it.
// A wrong count raises "<Lua name> has wrong number of arguments: %d, was
// expecting %d\n"; self is type-tested. Calls put the Lua stack back as they
// found it. Main thread only.
#include <lua.hpp>

namespace bindings {

// Adds the three methods to cc.EventListenerFocus (nothing when it is not registered).
int register_event_listener_focus_manual(lua_State* L);

}  // namespace bindings
