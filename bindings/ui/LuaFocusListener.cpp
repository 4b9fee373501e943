#include "bindings/ui/LuaFocusListener.h"

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"

#include "engine/base/EventListenerFocus.h"
#include "engine/ui/Widget.h"
#include "scripting/LuaEngine.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {
namespace {

using engine::EventListenerFocus;
using engine::ScriptHandlerMgr;
using engine::ui::Widget;

constexpr auto kFocusKind = ScriptHandlerMgr::HandlerType::EVENT_FOCUS;

engine::LuaEngine* luaEngine() {
    return dynamic_cast<engine::LuaEngine*>(engine::ScriptEngineManager::getInstance()->getScriptEngine());
}

void pushWidget(engine::LuaStack* stack, Widget* widget) {
    if (widget) {
        stack->pushObject(widget, "ccui.Widget");
    } else {
        stack->pushNil();
    }
}

// The listener's focus callback calls the handler filed on it.
void relayTo(EventListenerFocus* listener, int handler) {
    listener->onFocusChanged = [handler](Widget* losing, Widget* getting) {
        engine::LuaEngine* engine = luaEngine();
        if (!engine || !engine->getLuaStack()) return;
        engine::LuaStack* stack = engine->getLuaStack();
        lua_State* L = stack->getLuaState();
        const int top = lua_gettop(L);
        pushWidget(stack, losing);
        pushWidget(stack, getting);
        stack->executeFunctionByHandler(handler, 2);
        lua_settop(L, top);
    };
}

int pushListener(lua_State* L, EventListenerFocus* listener) {
    if (!listener) return 0;
    return pushResult(L, listener);
}

int lua_create(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.EventListenerFocus:create", argc, 0);
    return pushListener(L, EventListenerFocus::create());
}

int lua_registerScriptHandler(lua_State* L) {
    const char* name = "cc.EventListenerFocus:registerScriptHandler";
    auto* listener = checkSelf<EventListenerFocus>(L, "cc.EventListenerFocus", name);
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, name, argc, 1);
    const int handler = handlerAt(L, 2);
    ScriptHandlerMgr::getInstance()->addObjectHandler(listener, handler, kFocusKind);
    relayTo(listener, handler);
    return 0;
}

int lua_clone(lua_State* L) {
    const char* name = "cc.EventListenerFocus:clone";
    auto* source = checkSelf<EventListenerFocus>(L, "cc.EventListenerFocus", name);
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, name, argc, 0);
    EventListenerFocus* copy = EventListenerFocus::create();
    if (!copy) return 0;
    const int handler = ScriptHandlerMgr::getInstance()->getObjectHandler(source, kFocusKind);
    engine::LuaEngine* engine = luaEngine();
    if (handler != 0 && engine) {
        const int copied = engine->reallocateScriptHandler(handler);
        if (copied > 0) {
            ScriptHandlerMgr::getInstance()->addObjectHandler(copy, copied, kFocusKind);
            relayTo(copy, copied);
        }
    }
    return pushListener(L, copy);
}

}  // namespace

int register_event_listener_focus_manual(lua_State* L) {
    const ClassFunction functions[] = {
        {"create", lua_create}, {"registerScriptHandler", lua_registerScriptHandler}, {"clone", lua_clone}};
    addClassFunctions(L, "cc.EventListenerFocus", functions);
    return 0;
}

}  // namespace bindings
