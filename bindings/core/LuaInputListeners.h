#pragma once
// Script handlers of the engine's event listeners.
//
// Each listener callback that a script handler drives is a closure holding the
// listener (not retained: the listener owns it) and the handler kind; when the
// event comes it hands the Lua engine a HandlerEventData of (listener, value)
// and the engine calls the handler filed under (listener, kind), if any. A
// began callback claims the touch when the handler's result is non-zero.
//
// Script methods (registered by register_core_manual):
//   cc.EventListenerKeyboard / Mouse / TouchOneByOne / TouchAllAtOnce:
//     create()                      a new listener
//     registerScriptHandler(f, k)   files f under kind k of the class's range
//                                   (38-39, 48-51, 40-43, 44-47; a kind outside
//                                   it files nothing and keeps no reference)
//     clone()                       a new listener with a new handler id for each
//                                   handler of the source, and (one by one) its
//                                   swallowing; callbacks only for those kinds
//   cc.EventListenerCustom:create(name, f)  f gets each event of that name
//   cc.EventListenerAcceleration:create(f)  f gets (event, x, y, z, timestamp)
// Count errors: "<Lua name> has wrong number of arguments: %d, was expecting %d\n";
// self of another class: "invalid 'self' in function '<Lua name>'".
// Main thread only.
#include <lua.hpp>

#include "scripting/ScriptHandlerMgr.h"

namespace engine {
class EventListener;
class LuaEngine;
}  // namespace engine

namespace bindings {

// The Lua engine when it is the script engine; null otherwise.
engine::LuaEngine* scriptLuaEngine();

// Installs the closure for kind on the listener's callback member of that kind
// (nothing when the kind is not one of the listener's).
void installListenerCallback(engine::EventListener* listener, engine::ScriptHandlerMgr::HandlerType kind);

void register_event_listener_keyboard_manual(lua_State* L);
void register_event_listener_touch_one_by_one_manual(lua_State* L);
void register_event_listener_touch_all_at_once_manual(lua_State* L);
void register_event_listener_mouse_manual(lua_State* L);
void register_event_listener_custom_manual(lua_State* L);
void register_event_listener_acceleration_manual(lua_State* L);

}  // namespace bindings
