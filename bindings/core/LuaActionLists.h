#pragma once
// cc.Sequence:create for scripts: from one table of actions, or from one or more
// actions given as arguments (arguments that are not actions are skipped). No
// argument raises "cc.Sequence:create has wrong number of arguments: 0, was
// expecting 1\n"; an empty or unreadable list gives nil. Main thread only.
#include <lua.hpp>

namespace bindings {

// Adds create to cc.Sequence (nothing when the class is not registered).
int register_action_lists_manual(lua_State* L);
// cc.Spawn:create, alike ("cc.Spawn:create has wrong number of arguments...").
int register_spawn_manual(lua_State* L);

}  // namespace bindings
