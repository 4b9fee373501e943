#include "host/app/AnrFix.h"

#include <cstring>

#include "engine/base/Log.h"
#include "host/app/AnrFixScript.h"
#include "host/app/AnrGc.h"
#include "scripting/LuaCcTable.h"

namespace host {
namespace {

int anrNow(lua_State* L) {
    lua_pushnumber(L, anrGcNow());
    return 1;
}

int anrLog(lua_State* L) {
    const char* text = luaL_checkstring(L, 1);
    engine::log("%s", text);
    return 0;
}

int anrCollect(lua_State*) {
    if (lua_State* main = installedLuaState()) beginAnrGc(main, false, "boot");
    return 0;
}

}  // namespace

void installAnrFix(lua_State* L) {
    engine::pushCcTable(L);
    lua_newtable(L);
    lua_pushcfunction(L, anrNow);
    lua_setfield(L, -2, "now");
    lua_pushcfunction(L, anrLog);
    lua_setfield(L, -2, "log");
    lua_pushcfunction(L, anrCollect);
    lua_setfield(L, -2, "collect");
    lua_pushinteger(L, 22);
    lua_setfield(L, -2, "version");
    lua_setfield(L, -2, "VEXOAnrFix");
    lua_pop(L, 1);

    if (luaL_loadbuffer(L, kAnrFixScript, std::strlen(kAnrFixScript), "@AnrFix.lua") != 0 ||
        lua_pcall(L, 0, 0, 0) != 0) {
        const char* message = lua_tostring(L, -1);
        engine::log("ANRBOOT install failed: %s", message ? message : "(no message)");
        lua_pop(L, 1);
    }
}

}  // namespace host
