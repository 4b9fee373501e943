#pragma once
// Script handlers of controls: one handler per control event, entered in the
// script handler registry under kind CONTROL_EVENT_FIRST + the event's bit.
//
// cc.Control:registerControlEventHandler(f, events) enters f under the kind of
// every event bit (0..8) set in events; a mask with none of those bits keeps
// no reference to f. cc.Control:unregisterControlEventHandler(events) removes
// the handler of every set bit, so that an unregistered event is never heard
// again. Main thread only.
#include <lua.hpp>

namespace engine::extension {
class Control;
}

namespace bindings {

// Enters the handler id under every event bit set in events; each kind owns
// its own id (the first bit takes this one, the others copies of it). A mask
// without event bits releases the id. The builder's setCallback shares this.
void registerControlEventHandler(lua_State* L, engine::extension::Control* control, int handler, int events);

// Adds registerControlEventHandler and unregisterControlEventHandler to cc.Control.
void register_control_event_functions(lua_State* L);

}  // namespace bindings
