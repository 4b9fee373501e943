#include "bindings/core/LuaSchedulerScript.h"

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"

#include <tolua++.h>

#include <cmath>

#include "engine/base/Scheduler.h"
#include "scripting/LuaValueConversions.h"
#include "scripting/ToluaFix.h"

namespace bindings {
namespace {

constexpr const char* kLuaName = "cc.Scheduler";

engine::Scheduler* self(lua_State* L, const char* luaName) {
    return checkSelf<engine::Scheduler>(L, kLuaName, luaName);
}

int lua_scheduleScriptFunc(lua_State* L) {
    engine::Scheduler* scheduler = self(L, "cc.Scheduler:scheduleScriptFunc");
    const int argc = argumentCount(L);
    if (argc != 3) return countError(L, "cc.Scheduler:scheduleScriptFunc", argc, 3);
    double interval = 0;
    bool paused = false;
    // Read before the function is referenced: a failed read leaves no handler behind.
    if (!lua_isfunction(L, 2) || !luaconv_read_number(L, 3, &interval, "cc.Scheduler:scheduleScriptFunc") ||
        std::isnan(interval) || !luaconv_read_bool(L, 4, &paused, "cc.Scheduler:scheduleScriptFunc")) {
        return 0;
    }
    const int handler = toluafix_refFunction(L, 2, 0);
    const unsigned int id = scheduler->scheduleScriptFunc(handler, static_cast<float>(interval), paused);
    lua_pushnumber(L, static_cast<lua_Number>(id));
    return 1;
}

int lua_unscheduleScriptEntry(lua_State* L) {
    engine::Scheduler* scheduler = self(L, "cc.Scheduler:unscheduleScriptEntry");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Scheduler:unscheduleScriptEntry", argc, 1);
    uint32_t id = 0;
    if (luaconv_read_uint32(L, 2, &id, "cc.Scheduler:unscheduleScriptEntry")) scheduler->unscheduleScriptEntry(id);
    return 0;
}

}  // namespace

int register_scheduler_script_manual(lua_State* L) {
    const ClassFunction functions[] = {{"scheduleScriptFunc", lua_scheduleScriptFunc},
                                       {"unscheduleScriptEntry", lua_unscheduleScriptEntry}};
    addClassFunctions(L, kLuaName, functions);
    return 0;
}

}  // namespace bindings
