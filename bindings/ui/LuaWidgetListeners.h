#pragma once
// The listener methods of ccui.Widget for scripts:
//   widget:addTouchEventListener(fn)   fn(sender, eventType), eventType 0 began,
//                                      1 moved, 2 ended, 3 canceled
//   widget:addClickEventListener(fn)   fn(sender)
// The sender is pushed as "cc.Ref" (it arrives under its own registered type).
// Each call replaces the widget's listener of that sort and files the function's
// handler id with the widget in the script handler registry, so the function is
// released with the widget; the handler of the listener it replaces is released
// at once. A wrong count raises "'<method>' function of Widget
// has wrong number of arguments: %d, was expecting %d\n". The functions run on
// the installed Lua engine's stack (nothing runs without one). Main thread only.
#include <lua.hpp>

namespace bindings {

// Adds the two methods to ccui.Widget (nothing when the class is not registered).
int register_ui_manual(lua_State* L);

}  // namespace bindings
