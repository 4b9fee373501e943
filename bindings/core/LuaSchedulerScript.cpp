#include "bindings/core/LuaSchedulerScript.h"

#include "bindings/LuaClassTable.h"

#include <tolua++.h>

#include <cmath>
#include <cstdio>

#include "engine/base/Scheduler.h"
#include "scripting/LuaValueConversions.h"
#include "scripting/ToluaFix.h"

namespace bindings {
namespace {

constexpr const char* kLuaName = "cc.Scheduler";

engine::Scheduler* checkSelf(lua_State* L, const char* binding) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kLuaName, 0, &err)) {
        char message[128];
        std::snprintf(message, sizeof message, "#ferror in function '%s'.", binding);
        tolua_error(L, message, &err);
        return nullptr;
    }
    auto* scheduler = static_cast<engine::Scheduler*>(tolua_tousertype(L, 1, nullptr));
    if (!scheduler) luaL_error(L, "invalid 'cobj' in function '%s'", binding);
    return scheduler;
}

int lua_scheduleScriptFunc(lua_State* L) {
    engine::Scheduler* scheduler = checkSelf(L, "lua_engine_Scheduler_scheduleScriptFunc");
    const int argc = lua_gettop(L) - 1;
    if (argc != 3) {
        return luaL_error(L, "%s has wrong number of arguments: %d, was expecting %d\n",
                          "cc.Scheduler:scheduleScriptFunc", argc, 3);
    }
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
    engine::Scheduler* scheduler = checkSelf(L, "lua_engine_Scheduler_unscheduleScriptEntry");
    const int argc = lua_gettop(L) - 1;
    if (argc != 1) {
        return luaL_error(L, "%s has wrong number of arguments: %d, was expecting %d\n",
                          "cc.Scheduler:unscheduleScriptEntry", argc, 1);
    }
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
