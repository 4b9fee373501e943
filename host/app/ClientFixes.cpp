#include "host/app/ClientFixes.h"

#include <cstring>
#include <string>

#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "scripting/LuaCcTable.h"
#include "host/app/FixedPrefetch.h"
#include "host/app/ResourceHash.h"
#include "portal/PortalAddresses.h"

#include "host/app/ClientFix.lua.h"

namespace host {

namespace {

// hashFile(path) -> digest or nil; never raises.
int hashFile(lua_State* L) {
    if (lua_type(L, 1) != LUA_TSTRING) {
        lua_pushnil(L);
        return 1;
    }
    size_t size = 0;
    const char* text = lua_tolstring(L, 1, &size);
    std::string digest = resourceFileMd5(std::string(text, size),
                                         engine::FileUtils::getInstance()->getWritablePath() + "auc/Resources/");
    if (digest.empty()) {
        lua_pushnil(L);
    } else {
        lua_pushlstring(L, digest.data(), digest.size());
    }
    return 1;
}

}  // namespace

void installClientFixes(lua_State* L) { installClientFixes(L, portal::portalRoot()); }

void installClientFixes(lua_State* L, const std::string& portalRoot) {
    if (!L) return;
    const int top = lua_gettop(L);
    engine::pushCcTable(L);
    lua_newtable(L);
    lua_pushcfunction(L, hashFile);
    lua_setfield(L, -2, "hashFile");
    lua_pushinteger(L, 1);
    lua_setfield(L, -2, "version");
    lua_setfield(L, -2, "VEXOClientFixes");
    lua_pop(L, 1);

    preloadFixedPrefetch(L);

    int status = luaL_loadbuffer(L, kClientFixScript, std::strlen(kClientFixScript), "@ClientFix.lua");
    if (status == 0) {
        lua_pushlstring(L, portalRoot.data(), portalRoot.size());
        status = lua_pcall(L, 1, LUA_MULTRET, 0);
    }
    if (status == 0) {
        engine::log("[VEXOClientFix] support UI and guarded Store1011 updater installed");
    } else {
        const char* message = lua_tostring(L, -1);
        engine::log("[VEXOClientFix] initialization failed: %s", message ? message : "(no message)");
    }
    lua_settop(L, top);
}

}  // namespace host
