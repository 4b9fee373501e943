#include "scripting/ScriptHandlerMgr.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>

#include <tolua++.h>

#include "scripting/LuaClassRegistry.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaNumberCasts.h"
#include "scripting/ToluaFix.h"

namespace engine {
namespace {

ScriptHandlerMgr* g_manager = nullptr;
unsigned long g_handlersGeneration = 0;   // main thread only

void releaseHandler(int handler) { LuaEngine::getInstance()->removeScriptHandler(handler); }

constexpr int kCustomBase = static_cast<int>(ScriptHandlerMgr::HandlerType::CUSTOM_HANDLER_BASE);

}  // namespace

ScriptHandlerMgr* ScriptHandlerMgr::getInstance() {
    if (!g_manager) {
        g_manager = new ScriptHandlerMgr;
        g_manager->_handlers.clear();
    }
    return g_manager;
}

void ScriptHandlerMgr::addObjectHandler(void* object, int handler, HandlerType kind) {
    if (!object) return;
    removeObjectHandler(object, kind);
    _handlers[object].emplace_back(kind, handler);
    ++g_handlersGeneration;
}

unsigned long ScriptHandlerMgr::handlersGeneration() { return g_handlersGeneration; }

ScriptHandlerMgr::HandlerType ScriptHandlerMgr::addCustomHandler(void* object, int handler) {
    int kind = kCustomBase;
    if (object) {
        Pairs& pairs = _handlers[object];
        int64_t next = kCustomBase;
        for (const auto& [k, id] : pairs) next = std::max<int64_t>(next, static_cast<int64_t>(k) + 1);
        if (next > INT_MAX) {
            // A script filed a handler under the largest kind: take the lowest free
            // custom kind instead (an object never holds 2^31 pairs).
            next = kCustomBase;
            while (std::any_of(pairs.begin(), pairs.end(),
                               [&](const auto& p) { return static_cast<int64_t>(p.first) == next; })) {
                ++next;
            }
        }
        kind = static_cast<int>(next);
        pairs.emplace_back(static_cast<HandlerType>(kind), handler);
        ++g_handlersGeneration;
    }
    return static_cast<HandlerType>(kind);
}

int ScriptHandlerMgr::getObjectHandler(void* object, HandlerType kind) const {
    if (!object || _handlers.empty()) return 0;
    auto it = _handlers.find(object);
    if (it == _handlers.end()) return 0;
    for (const auto& [k, id] : it->second) {
        if (k == kind) return id;
    }
    return 0;
}

void ScriptHandlerMgr::removeObjectHandler(void* object, HandlerType kind) {
    if (!object || _handlers.empty()) return;
    auto it = _handlers.find(object);
    if (it == _handlers.end()) return;
    Pairs& pairs = it->second;
    auto pair = std::find_if(pairs.begin(), pairs.end(), [&](const auto& p) { return p.first == kind; });
    if (pair == pairs.end()) return;
    const int handler = pair->second;
    pairs.erase(pair);
    ++g_handlersGeneration;
    releaseHandler(handler);
}

void ScriptHandlerMgr::removeObjectAllHandlers(void* object) {
    if (!object || _handlers.empty()) return;
    auto it = _handlers.find(object);
    if (it == _handlers.end()) return;
    Pairs pairs = std::move(it->second);
    _handlers.erase(it);
    ++g_handlersGeneration;
    for (const auto& [kind, handler] : pairs) releaseHandler(handler);
}

// --- Lua side -------------------------------------------------------------------
// tolua++ errors longjmp: these functions build nothing with a destructor.

namespace {

// The handler kind argument, truncated toward zero; a kind outside the int range
// (NaN included) raises the function's argument error.
int kindArgument(lua_State* L, int index, const char* function) {
    int32_t kind = 0;
    if (!luaconv::toInt32Checked(tolua_tonumber(L, index, 0), &kind)) {
        tolua_Error err{};
        err.index = index;
        err.array = 0;
        err.type = "int";
        char message[96];
        std::snprintf(message, sizeof message, "#ferror in function '%s'.", function);
        tolua_error(L, message, &err);
    }
    return kind;
}

int lua_ScriptHandlerMgr_getInstance(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertable(L, 1, "ScriptHandlerMgr", 0, &err) || !tolua_isnoobj(L, 2, &err)) {
        tolua_error(L, "#ferror in function 'getInstance'.", &err);
        return 0;
    }
    tolua_pushusertype(L, ScriptHandlerMgr::getInstance(), "ScriptHandlerMgr");
    return 1;
}

int lua_ScriptHandlerMgr_registerScriptHandler(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "ScriptHandlerMgr", 0, &err) || !tolua_isusertype(L, 2, "cc.Ref", 0, &err) ||
        !toluafix_isFunction(L, 3, "LUA_FUNCTION", 0, &err) || !tolua_isnumber(L, 4, 0, &err) ||
        !tolua_isnoobj(L, 5, &err)) {
        tolua_error(L, "#ferror in function 'registerScriptHandler'.", &err);
        return 0;
    }
    auto* self = static_cast<ScriptHandlerMgr*>(tolua_tousertype(L, 1, nullptr));
    if (!self) {
        luaL_error(L, "%s", "invalid 'scriptHanlderMgr' in function 'tolua_Engine_ScriptHandlerMgr_registerScriptHandler00'\n");
        return 0;
    }
    void* object = tolua_tousertype(L, 2, nullptr);
    if (!object) {
        luaL_error(L, "%s", "invalid 'cobj' in function 'tolua_Engine_ScriptHandlerMgr_registerScriptHandler00'\n");
        return 0;
    }
    const int kind = kindArgument(L, 4, "registerScriptHandler");
    const int handler = toluafix_refFunction(L, 3, 0);
    self->addObjectHandler(object, handler, static_cast<ScriptHandlerMgr::HandlerType>(kind));
    return 0;
}

int lua_ScriptHandlerMgr_unregisterScriptHandler(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "ScriptHandlerMgr", 0, &err) || !tolua_isusertype(L, 2, "cc.Ref", 0, &err) ||
        !tolua_isnumber(L, 3, 0, &err) || !tolua_isnoobj(L, 4, &err)) {
        tolua_error(L, "#ferror in function 'unregisterScriptHandler'.", &err);
        return 0;
    }
    auto* self = static_cast<ScriptHandlerMgr*>(tolua_tousertype(L, 1, nullptr));
    if (!self) {
        luaL_error(L, "%s", "invalid 'scriptHanlderMgr' in function 'tolua_Engine_ScriptHandlerMgr_unregisterScriptHandler00'\n");
        return 0;
    }
    self->removeObjectHandler(tolua_tousertype(L, 2, nullptr),
                              static_cast<ScriptHandlerMgr::HandlerType>(kindArgument(L, 3, "unregisterScriptHandler")));
    return 0;
}

int lua_ScriptHandlerMgr_removeObjectAllHandlers(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "ScriptHandlerMgr", 0, &err) || !tolua_isusertype(L, 2, "cc.Ref", 0, &err) ||
        !tolua_isnoobj(L, 3, &err)) {
        tolua_error(L, "#ferror in function 'removeObjectAllHandlers'.", &err);
        return 0;
    }
    auto* self = static_cast<ScriptHandlerMgr*>(tolua_tousertype(L, 1, nullptr));
    if (!self) {
        luaL_error(L, "%s", "invalid 'scriptHanlderMgr' in function 'tolua_Engine_ScriptHandlerMgr_removeObjectAllHandlers00'\n");
        return 0;
    }
    self->removeObjectAllHandlers(tolua_tousertype(L, 2, nullptr));
    return 0;
}

}  // namespace

int register_script_handler_mgr(lua_State* L) {
    tolua_open(L);
    tolua_usertype(L, "ScheduleHandlerDelegate");
    tolua_usertype(L, "ScriptHandlerMgr");
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_cclass(L, "ScriptHandlerMgr", "ScriptHandlerMgr", "", &luaconv_collect<ScriptHandlerMgr>);
    tolua_beginmodule(L, "ScriptHandlerMgr");
    tolua_function(L, "getInstance", lua_ScriptHandlerMgr_getInstance);
    tolua_function(L, "registerScriptHandler", lua_ScriptHandlerMgr_registerScriptHandler);
    tolua_function(L, "unregisterScriptHandler", lua_ScriptHandlerMgr_unregisterScriptHandler);
    tolua_function(L, "removeObjectAllHandlers", lua_ScriptHandlerMgr_removeObjectAllHandlers);
    tolua_endmodule(L);
    tolua_endmodule(L);
    return 1;
}

}  // namespace engine
