#pragma once
// Script handlers of nodes, menu items and call-function actions.
//   cc.Node:registerScriptHandler(f)              node events ("enter", "exit",
//                                                 "enterTransitionFinish",
//                                                 "exitTransitionStart", "cleanup");
//                                                 a second call replaces the first
//   cc.Node:unregisterScriptHandler()
//   cc.Node:scheduleUpdateWithPriorityLua(f, p)   f(dt) every frame, lower p first
//   cc.Node:unscheduleUpdate()
//   cc.MenuItem:registerScriptTapHandler(f)       f(tag, item) on activation
//   cc.MenuItem:unregisterScriptTapHandler()
//   cc.CallFunc:create(f [, extra])               f(target [, extra when a table])
//   cc.ActionFloat:create(d, from, to, f)         f(value) at every update; the
//                                                 function is kept by one shared
//                                                 reference for the action and its
//                                                 clones, released with the last
//                                                 (not a function: the
//                                                 invalid-arguments error of
//                                                 lua_engine_ActionFloat_create)
// The extra value of a call-function action is kept by one shared reference for
// the action and its clones, passed on every run and released once, when the
// last of them goes (never on a Lua state that was closed). A clone calls its
// own handler, also after the original is gone.
// Count errors: "<Lua name> has wrong number of arguments: %d, was expecting %d\n".
// Main thread only.
#include <lua.hpp>

namespace bindings {

void register_node_manual_methods(lua_State* L);
void register_menu_item_manual_methods(lua_State* L);
void register_call_func_manual_methods(lua_State* L);
void register_action_float_manual(lua_State* L);

}  // namespace bindings
