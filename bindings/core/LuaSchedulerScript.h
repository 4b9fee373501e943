#pragma once
// Script timers for scripts: cc.Scheduler:scheduleScriptFunc(fn, interval, paused)
// returns an entry id (a number) and cc.Scheduler:unscheduleScriptEntry(id) ends
// it; fn is called with dt. Both raise "<Lua name> has wrong number of
// arguments: %d, was expecting %d\n" on a wrong count; scheduleScriptFunc with an
// fn that is not a function, an unreadable or NaN interval or an unreadable flag
// schedules nothing, keeps nothing and returns nothing. Main thread only.
#include <lua.hpp>

namespace bindings {

// Adds the two methods to cc.Scheduler (nothing when the class is not registered).
int register_scheduler_script_manual(lua_State* L);

}  // namespace bindings
