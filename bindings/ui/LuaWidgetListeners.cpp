#include "bindings/ui/LuaWidgetListeners.h"

#include "bindings/LuaClassTable.h"

#include <tolua++.h>

#include "engine/ui/Widget.h"
#include "scripting/LuaEngine.h"
#include "scripting/ScriptHandlerMgr.h"
#include "scripting/ToluaFix.h"

namespace bindings {
namespace {

using engine::ui::Widget;

// Calls the handler with the sender and, when given, the event type. The stack
// operations put the Lua stack back as they found it, so a listener may run while
// a script call is under way (a script that drives touches itself).
void callListener(int handler, engine::Ref* sender, const int* eventType) {
    auto* luaEngine = dynamic_cast<engine::LuaEngine*>(engine::ScriptEngineManager::getInstance()->getScriptEngine());
    if (!luaEngine || !luaEngine->getLuaStack()) return;
    engine::LuaStack* stack = luaEngine->getLuaStack();
    stack->pushObject(sender, "cc.Ref");
    if (eventType) stack->pushInt(*eventType);
    stack->executeFunctionByHandler(handler, eventType ? 2 : 1);
}

// Self and count of a listener method; the handler id of argument 2.
Widget* readCall(lua_State* L, const char* method, int* handler) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "ccui.Widget", 0, &err)) {
        tolua_error(L, "#ferror in function 'register_ui_manual'.", &err);
        return nullptr;
    }
    auto* widget = static_cast<Widget*>(tolua_tousertype(L, 1, nullptr));
    const int argc = lua_gettop(L) - 1;
    if (argc != 1) {
        luaL_error(L, "'%s' function of Widget has wrong number of arguments: %d, was expecting %d\n", method, argc, 1);
        return nullptr;
    }
    if (!widget) {
        luaL_error(L, "invalid 'cobj' in function '%s'", method);
        return nullptr;
    }
    *handler = toluafix_refFunction(L, 2, 0);
    return widget;
}

// The listeners a script installs: each knows its handler and the custom kind it
// is filed under, so that the listener replacing it can release that handler.
struct ScriptListener {
    int handler = 0;
    engine::ScriptHandlerMgr::HandlerType kind{};
};

struct TouchListener : ScriptListener {
    void operator()(engine::Ref* sender, Widget::TouchEventType type) const {
        const int eventType = static_cast<int>(type);
        callListener(handler, sender, &eventType);
    }
};

struct ClickListener : ScriptListener {
    void operator()(engine::Ref* sender) const { callListener(handler, sender, nullptr); }
};

// Installs the listener and files its handler. The script listener it replaces
// gives up its handler first, when the registry still holds it under its kind (a
// script may have filed its own handler there). A listener replacing itself runs
// on: the widget keeps it alive until the call returns, and the running function
// stays on the Lua stack.
template <class Listener, class Callback>
void install(Widget* widget, int handler, const Callback& current, void (Widget::*add)(const Callback&)) {
    engine::ScriptHandlerMgr* registry = engine::ScriptHandlerMgr::getInstance();
    if (const Listener* replaced = current.template target<Listener>()) {
        if (registry->getObjectHandler(widget, replaced->kind) == replaced->handler) {
            registry->removeObjectHandler(widget, replaced->kind);
        }
    }
    Listener listener;
    listener.handler = handler;
    listener.kind = registry->addCustomHandler(widget, handler);
    (widget->*add)(listener);
}

int lua_addTouchEventListener(lua_State* L) {
    int handler = 0;
    Widget* widget = readCall(L, "addTouchEventListener", &handler);
    install<TouchListener>(widget, handler, widget->getTouchEventListener(), &Widget::addTouchEventListener);
    return 0;
}

int lua_addClickEventListener(lua_State* L) {
    int handler = 0;
    Widget* widget = readCall(L, "addClickEventListener", &handler);
    install<ClickListener>(widget, handler, widget->getClickEventListener(), &Widget::addClickEventListener);
    return 0;
}

}  // namespace

int register_ui_manual(lua_State* L) {
    const ClassFunction functions[] = {{"addTouchEventListener", lua_addTouchEventListener},
                                       {"addClickEventListener", lua_addClickEventListener}};
    addClassFunctions(L, "ccui.Widget", functions);
    return 0;
}

}  // namespace bindings
