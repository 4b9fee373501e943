#pragma once
// Script timers for scripts: cc.Scheduler:scheduleScriptFunc(fn, interval, paused)
// returns an entry id (a number) and cc.Scheduler:unscheduleScriptEntry(id) ends
// it; fn is called with dt. A non-function fn gives a timer that calls nothing.
// Both raise "<Lua name> has wrong number of arguments: %d, was expecting %d\n"
// on a wrong count; scheduleScriptFunc with an unreadable interval or flag
// schedules nothing and returns nothing. Main thread only.
#include <lua.hpp>

namespace bindings {

// Adds the two methods to cc.Scheduler (nothing when the class is not registered).
int register_scheduler_script_manual(lua_State* L);

}  // namespace bindings
