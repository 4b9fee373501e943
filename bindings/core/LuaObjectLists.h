#pragma once
// Core methods that take or answer lists of objects as Lua arrays:
//   cc.Node:getChildren()                         the children whose class is registered
//   cc.ActionManager:pauseAllRunningActions()     the targets it paused
//   cc.ActionManager:resumeTargets(nodes)
//   cc.Animation:create([frames, delayPerUnit[, loops]])   animation frames
//   cc.Animation:initWithAnimationFrames(frames, delayPerUnit, loops) -> true
//   cc.Animation:setFrames(frames)
//   cc.Animation:initWithSpriteFrames(spriteFrames[, delayPerUnit[, loops]]) -> true
//   cc.LayerMultiplex:initWithArray(layers) -> bool
//   cc.Menu:initWithArray(items) -> bool
//   cc.MenuItemToggle:setSubItems(items)
// A list is a table read 1..#t; entries that are not objects are skipped, an
// object of another class fails the call with "invalid arguments in function
// 'lua_engine_<Class>_<method>'". A wrong count raises "<cc.Class:method> has
// wrong number of arguments: <n>, was expecting <m>\n". Main thread only.
#include <lua.hpp>

namespace bindings {

// Adds the functions to their classes (those not registered are passed over).
void register_object_lists_manual(lua_State* L);

}  // namespace bindings
