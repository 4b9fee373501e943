#pragma once
// Touch, keypad and accelerometer input of a cc.Layer for scripts.
//
// The state lives in the layer's user object, a __Dictionary made by the first
// setter (getters never make it): "touchEnabled", "touchMode" (0 all at once, 1
// one by one), "swallowTouches", "priority" (0: ordered by the scene graph;
// else a fixed priority), the listeners now added ("touchListenerAllAtOnce",
// "touchListenerOneByOne", "keyboardListener", "accListener"), "keyboardEnabled",
// "accelerometerEnabled". The layer's script handlers: TOUCHES gets
// (phase name, x, y) for one touch or (phase name, {x1, y1, id1, ...}) for
// touches, KEYPAD "backClicked" / "menuClicked" on key release only,
// ACCELEROMETER (x, y, z, timestamp).
//
// Changing mode, priority or swallowing while touch is on rebuilds the touch
// listener. Every listener of the layer leaves the dispatcher with the layer,
// fixed-priority ones included. A user object that is not such a dictionary is
// never taken for one: getters answer nothing, setters log and change nothing.
// Count errors: "<Lua name> has wrong number of arguments: %d, was expecting %d\n".
// Main thread only.
#include <lua.hpp>

namespace bindings {

// Adds the layer methods to cc.Layer (nothing when it is not registered).
void register_layer_manual_methods(lua_State* L);

}  // namespace bindings
