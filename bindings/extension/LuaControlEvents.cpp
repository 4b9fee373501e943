#include "bindings/extension/LuaControlEvents.h"

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/extension/Control.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {

namespace {

using engine::ScriptHandlerMgr;
using engine::extension::Control;
using engine::extension::ControlEvent;

ScriptHandlerMgr::HandlerType controlKind(int bit) {
    return static_cast<ScriptHandlerMgr::HandlerType>(ScriptHandlerMgr::CONTROL_EVENT_FIRST + bit);
}

int lua_controlRegisterHandler(lua_State* L) {
    Control* self = checkSelf<Control>(L, "cc.Control", "lua_engine_Control_registerControlEventHandler");
    const int argc = argumentCount(L);
    if (argc != 2) {
        return luaL_error(L, "%s function of Control has wrong number of arguments: %d, was expecting %d\n",
                          "cc.Control:registerControlEventHandler", argc, 2);
    }
    const int events = intAt(L, 3);
    registerControlEventHandler(L, self, handlerAt(L, 2), events);
    return 0;
}

int lua_controlUnregisterHandler(lua_State* L) {
    Control* self = checkSelf<Control>(L, "cc.Control", "lua_engine_Control_unregisterControlEventHandler");
    const int argc = argumentCount(L);
    if (argc != 1) {
        return luaL_error(L, "%s function of Control  has wrong number of arguments: %d, was expecting %d\n",
                          "cc.Control:unregisterControlEventHandler", argc, 1);
    }
    const int events = intAt(L, 2);
    for (int bit = 0; bit < ControlEvent::COUNT; ++bit) {
        if (events & (1 << bit)) ScriptHandlerMgr::getInstance()->removeObjectHandler(self, controlKind(bit));
    }
    return 0;
}

const ClassFunction kControlFunctions[] = {
    {"registerControlEventHandler", lua_controlRegisterHandler},
    {"unregisterControlEventHandler", lua_controlUnregisterHandler},
};

}  // namespace

void registerControlEventHandler(lua_State* L, Control* control, int handler, int events) {
    if (handler == 0) return;
    bool first = true;
    for (int bit = 0; bit < ControlEvent::COUNT; ++bit) {
        if (!(events & (1 << bit))) continue;
        int id = handler;
        if (!first) {
            toluafix_getFunctionByRefid(L, handler);
            id = toluafix_refFunction(L, -1, 0);
            lua_pop(L, 1);
        }
        first = false;
        if (id != 0) ScriptHandlerMgr::getInstance()->addObjectHandler(control, id, controlKind(bit));
    }
    if (first) toluafix_removeFunctionByRefid(L, handler);
}

void register_control_event_functions(lua_State* L) { addClassFunctions(L, "cc.Control", kControlFunctions); }

}  // namespace bindings
