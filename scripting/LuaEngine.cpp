#include "scripting/LuaEngine.h"

#include "engine/base/Director.h"
#include "engine/base/Event.h"
#include "engine/base/NotificationCenter.h"
#include "engine/input/Acceleration.h"
#include "engine/input/Touch.h"
#include "engine/scene/MenuItem.h"
#include "engine/studio/Armature.h"
#include "scripting/LuaAudioBindings.h"
#include "scripting/LuaRegistrationHooks.h"
#include "scripting/ScriptKey.h"

namespace engine {
namespace {

using Kind = ScriptHandlerMgr::HandlerType;

LuaEngine* g_engine = nullptr;

int handlerOf(void* object, Kind kind) {
    return object ? ScriptHandlerMgr::getInstance()->getObjectHandler(object, kind) : 0;
}

bool inRange(Kind kind, Kind first, Kind last) {
    return static_cast<int>(kind) >= static_cast<int>(first) && static_cast<int>(kind) <= static_cast<int>(last);
}

const char* phaseName(int phase) {
    switch (phase) {
    case 0: return "began";
    case 1: return "moved";
    case 2: return "ended";
    case 3: return "cancelled";
    default: return nullptr;
    }
}

// Puts the Lua stack back to its height when the scope began.
class StackGuard {
public:
    explicit StackGuard(lua_State* L) : _L(L), _top(lua_gettop(L)) {}
    ~StackGuard() { lua_settop(_L, _top); }
    StackGuard(const StackGuard&) = delete;
    StackGuard& operator=(const StackGuard&) = delete;

private:
    lua_State* _L;
    int _top;
};

bool rawGlobalIsTable(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    lua_rawget(L, LUA_GLOBALSINDEX);
    const bool table = lua_istable(L, -1);
    lua_pop(L, 1);
    return table;
}

}  // namespace

LuaEngine* LuaEngine::getInstance() {
    if (g_engine) return g_engine;
    g_engine = new LuaEngine;
    g_engine->init();
    ScriptSecret key;
    ScriptSecret sign;
    buildScriptKey(key);
    buildScriptSign(sign);
    g_engine->_stack->setScriptKey(key.bytes, key.length, sign.bytes, sign.length);
    return g_engine;
}

bool LuaEngine::init() {
    _stack = LuaStack::create();
    _stack->retain();
    return true;
}

LuaEngine::~LuaEngine() {
    if (_stack) _stack->release();
    _stack = nullptr;
    if (g_engine == this) g_engine = nullptr;
}

void LuaEngine::removeScriptObjectByObject(Ref* object) {
    _stack->removeScriptObjectByObject(object);
    ScriptHandlerMgr::getInstance()->removeObjectAllHandlers(object);
}

void LuaEngine::removeScriptHandler(int handler) { _stack->removeScriptHandler(handler); }

int LuaEngine::reallocateScriptHandler(int handler) {
    StackGuard guard(_stack->getLuaState());
    return _stack->reallocateScriptHandler(handler);
}

int LuaEngine::executeString(const char* code) {
    StackGuard guard(_stack->getLuaState());
    return _stack->executeString(code);
}

int LuaEngine::executeScriptFile(const char* filename) {
    StackGuard guard(_stack->getLuaState());
    return _stack->executeScriptFile(filename);
}

int LuaEngine::executeGlobalFunction(const char* name) {
    StackGuard guard(_stack->getLuaState());
    return _stack->executeGlobalFunction(name);
}

bool LuaEngine::handleAssert(const char* message) {
    // Raises inside a running script call (and does not return); false otherwise.
    return _stack->handleAssert(message);
}

bool LuaEngine::parseConfig(int type, const std::string& text) {
    lua_State* L = _stack->getLuaState();
    StackGuard guard(L);
    lua_pushstring(L, "__onParseConfig");
    lua_rawget(L, LUA_GLOBALSINDEX);
    if (!lua_isfunction(L, -1)) return false;
    _stack->pushInt(type);
    _stack->pushString(text.c_str(), static_cast<int>(text.size()));
    return _stack->executeFunction(2) != 0;
}

void LuaEngine::addSearchPath(const char* path) { _stack->addSearchPath(path); }
void LuaEngine::addLuaLoader(lua_CFunction fn) { _stack->addLuaLoader(fn); }
int LuaEngine::reload(const char* moduleName) {
    StackGuard guard(_stack->getLuaState());
    return _stack->reload(moduleName);
}

int LuaEngine::callHandler(int handler, int numArgs) { return _stack->executeFunctionByHandler(handler, numArgs); }

int LuaEngine::executeNotificationEvent(__NotificationCenter* center, const char* name) {
    if (!center || !name) return 0;
    const int handler = center->getObserverHandlerByName(name);
    if (handler == 0) return 0;
    StackGuard guard(_stack->getLuaState());
    _stack->pushString(name);
    return callHandler(handler, 1);
}

int LuaEngine::executeSchedule(int handler, float dt, Node*) {
    if (handler == 0) return 0;
    StackGuard guard(_stack->getLuaState());
    return _stack->executeFunctionByHandlerWithNumber(handler, static_cast<double>(dt));
}

int LuaEngine::executeEvent(int handler, const char* eventName, Ref* object, const char* typeName) {
    StackGuard guard(_stack->getLuaState());
    _stack->pushString(eventName);
    if (object) {
        _stack->pushObject(object, typeName ? typeName : "cc.Ref");
        return callHandler(handler, 2);
    }
    return callHandler(handler, 1);
}

// --- sendEvent -------------------------------------------------------------------

int LuaEngine::sendEvent(ScriptEvent* event) {
    if (!event) return 0;
    StackGuard guard(_stack->getLuaState());
    switch (event->type) {
    case NODE_EVENT: return handleNodeEvent(event->data);
    case MENU_CLICKED_EVENT: return handleMenuClickedEvent(event->data);
    case CALLFUNC_EVENT: return handleCallFuncActionEvent(event->data);
    case SCHEDULE_EVENT: return handleScheduler(event->data);
    case TOUCH_EVENT: return handleTouchEvent(event->data);
    case TOUCHES_EVENT: return handleTouchesEvent(event->data);
    case KEYPAD_EVENT: return handleKeypadEvent(event->data);
    case ACCELEROMETER_EVENT: return handleAccelerometerEvent(event->data);
    case CONTROL_EVENT: return handleControlEvent(event->data);
    case COMMON_EVENT: return handleCommonEvent(event->data);
    default: return 0;
    }
}

int LuaEngine::handleNodeEvent(void* data) {
    auto* d = static_cast<BasicScriptData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    const int handler = handlerOf(d->nativeObject, Kind::NODE);
    if (handler == 0) return 0;
    static const char* const kActions[] = {"enter", "exit", "enterTransitionFinish", "exitTransitionStart",
                                           "cleanup"};
    const int action = *static_cast<int*>(d->value);
    if (action < 0 || action > 4) return 0;
    _stack->pushString(kActions[action]);
    return callHandler(handler, 1);
}

int LuaEngine::handleMenuClickedEvent(void* data) {
    auto* d = static_cast<BasicScriptData*>(data);
    if (!d || !d->nativeObject) return 0;
    const int handler = handlerOf(d->nativeObject, Kind::MENU_CLICKED);
    if (handler == 0) return 0;
    auto* item = static_cast<MenuItem*>(d->nativeObject);
    _stack->pushInt(item->getTag());
    _stack->pushObject(item, "cc.MenuItem");
    return callHandler(handler, 2);
}

int LuaEngine::handleCallFuncActionEvent(void* data) {
    auto* d = static_cast<BasicScriptData*>(data);
    if (!d || !d->nativeObject) return 0;
    const int handler = handlerOf(d->nativeObject, Kind::CALLFUNC);
    if (handler == 0) return 0;
    if (auto* target = static_cast<Node*>(d->value)) {
        _stack->pushObject(target, "cc.Node");
        return callHandler(handler, 1);
    }
    return callHandler(handler, 0);
}

int LuaEngine::handleScheduler(void* data) {
    auto* d = static_cast<SchedulerScriptData*>(data);
    if (!d || d->handler == 0) return 0;
    return _stack->executeFunctionByHandlerWithNumber(d->handler, static_cast<double>(d->elapse));
}

int LuaEngine::handleTouchEvent(void* data) {
    auto* d = static_cast<TouchScriptData*>(data);
    if (!d || !d->nativeObject || !d->touch) return 0;
    const int handler = handlerOf(d->nativeObject, Kind::TOUCHES);
    const char* phase = phaseName(d->actionType);
    if (handler == 0 || !phase) return 0;
    const Vec2 p = Director::getInstance()->convertToGL(d->touch->getLocationInView());
    _stack->pushString(phase);
    _stack->pushFloat(p.x);
    _stack->pushFloat(p.y);
    return callHandler(handler, 3);
}

int LuaEngine::handleTouchesEvent(void* data) {
    auto* d = static_cast<TouchesScriptData*>(data);
    if (!d || !d->nativeObject || !d->touches || d->touches->empty()) return 0;
    const int handler = handlerOf(d->nativeObject, Kind::TOUCHES);
    const char* phase = phaseName(d->actionType);
    if (handler == 0 || !phase) return 0;
    _stack->pushString(phase);
    _stack->pushProtected([](lua_State* L, void* touches) {
        lua_newtable(L);
        int index = 1;
        for (Touch* touch : *static_cast<const std::vector<Touch*>*>(touches)) {
            if (!touch) continue;
            const Vec2 p = Director::getInstance()->convertToGL(touch->getLocationInView());
            lua_pushnumber(L, p.x);
            lua_rawseti(L, -2, index++);
            lua_pushnumber(L, p.y);
            lua_rawseti(L, -2, index++);
            lua_pushinteger(L, touch->getId());
            lua_rawseti(L, -2, index++);
        }
    }, const_cast<std::vector<Touch*>*>(d->touches));
    return callHandler(handler, 2);
}

int LuaEngine::handleKeypadEvent(void* data) {
    auto* d = static_cast<KeypadScriptData*>(data);
    if (!d || !d->nativeObject) return 0;
    const int handler = handlerOf(d->nativeObject, Kind::KEYPAD);
    if (handler == 0) return 0;
    const char* name = d->actionType == 7 ? "backClicked" : d->actionType == 18 ? "menuClicked" : nullptr;
    if (!name) return 0;   // a key without a name reaches no handler
    _stack->pushString(name);
    return callHandler(handler, 1);
}

int LuaEngine::handleAccelerometerEvent(void* data) {
    auto* d = static_cast<BasicScriptData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    const int handler = handlerOf(d->nativeObject, Kind::ACCELEROMETER);
    if (handler == 0) return 0;
    auto* acc = static_cast<Acceleration*>(d->value);
    _stack->pushFloat(static_cast<float>(acc->x));
    _stack->pushFloat(static_cast<float>(acc->y));
    _stack->pushFloat(static_cast<float>(acc->z));
    _stack->pushFloat(static_cast<float>(acc->timestamp));
    return callHandler(handler, 4);
}

int LuaEngine::handleControlEvent(void* data) {
    auto* d = static_cast<BasicScriptData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    const int mask = *static_cast<int*>(d->value);
    int result = 0;
    for (int i = 0; i <= 8; ++i) {
        if (!(mask & (1 << i))) continue;
        const int handler =
            handlerOf(d->nativeObject, static_cast<Kind>(ScriptHandlerMgr::CONTROL_EVENT_FIRST + i));
        if (handler == 0) continue;
        _stack->pushObject(static_cast<Ref*>(d->nativeObject), "cc.Ref");
        _stack->pushInt(mask);
        result = callHandler(handler, 2);
    }
    return result;
}

int LuaEngine::handleCommonEvent(void* data) {
    auto* d = static_cast<CommonScriptData*>(data);
    if (!d || d->handler == 0) return 0;
    _stack->pushString(d->eventName);
    if (d->eventSource) {
        _stack->pushObject(d->eventSource, d->eventSourceClassName[0] ? d->eventSourceClassName : "cc.Ref");
        return callHandler(d->handler, 2);
    }
    return callHandler(d->handler, 1);
}

// --- handleEvent -----------------------------------------------------------------

int LuaEngine::handleEvent(Kind kind, void* data) {
    StackGuard guard(_stack->getLuaState());
    if (inRange(kind, Kind::SCROLLVIEW_SCROLL, Kind::TABLECELL_WILL_RECYCLE)) {
        return handleTableViewEvent(kind, data);
    }
    if (inRange(kind, Kind::ASSETSMANAGER_PROGRESS, Kind::ASSETSMANAGER_ERROR)) {
        return handleAssetsManagerEvent(kind, data);
    }
    if (kind == Kind::ARMATURE_EVENT) return handleArmatureWrapper(data);
    if (kind == Kind::EVENT_ACC) return handleEventAcc(data);
    if (kind == Kind::EVENT_CUSTOM) return handleEventCustom(data);
    if (inRange(kind, Kind::EVENT_KEYBOARD_PRESSED, Kind::EVENT_KEYBOARD_RELEASED)) {
        return handleEventKeyboard(kind, data);
    }
    if (inRange(kind, Kind::EVENT_TOUCH_BEGAN, Kind::EVENT_TOUCH_CANCELLED)) return handleEventTouch(kind, data);
    if (inRange(kind, Kind::EVENT_TOUCHES_BEGAN, Kind::EVENT_TOUCHES_CANCELLED)) {
        return handleEventTouches(kind, data);
    }
    if (inRange(kind, Kind::EVENT_MOUSE_DOWN, Kind::EVENT_MOUSE_SCROLL)) return handleEventMouse(kind, data);
    return 0;
}

int LuaEngine::handleTableViewEvent(Kind kind, void* data) {
    auto* d = static_cast<HandlerEventData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    const int handler = handlerOf(d->nativeObject, kind);
    if (handler == 0) return 0;
    if (inRange(kind, Kind::SCROLLVIEW_SCROLL, Kind::SCROLLVIEW_ZOOM)) {
        _stack->pushObject(static_cast<Ref*>(d->nativeObject), "cc.TableView");
        return callHandler(handler, 1);
    }
    auto* cell = static_cast<Ref*>(static_cast<TableViewEventValue*>(d->value)->value);
    if (!cell) return 0;
    _stack->pushObject(static_cast<Ref*>(d->nativeObject), "cc.TableView");
    _stack->pushObject(cell, "cc.TableViewCell");
    return callHandler(handler, 2);
}

int LuaEngine::handleEventWithResult(Kind kind, void* data, int numResults,
                                     const std::function<void(lua_State*, int)>& func) {
    if (!inRange(kind, Kind::TABLECELL_SIZE_FOR_INDEX, Kind::TABLEVIEW_NUMS_OF_CELLS)) return 0;
    StackGuard guard(_stack->getLuaState());
    return handleTableViewEventWithResult(kind, data, numResults, func);
}

int LuaEngine::handleTableViewEventWithResult(Kind kind, void* data, int numResults,
                                              const std::function<void(lua_State*, int)>& func) {
    auto* d = static_cast<HandlerEventData*>(data);
    if (numResults <= 0 || !d || !d->nativeObject || !d->value) return 0;
    const int handler = handlerOf(d->nativeObject, kind);
    if (handler == 0) return 0;
    auto* value = static_cast<TableViewEventValue*>(d->value);
    if (kind != Kind::TABLEVIEW_NUMS_OF_CELLS && !value->value) return 0;
    _stack->pushObject(static_cast<Ref*>(d->nativeObject), "cc.TableView");
    bool ok;
    switch (kind) {
    case Kind::TABLECELL_SIZE_FOR_INDEX:
        _stack->pushLong(*static_cast<long*>(value->value));
        ok = _stack->executeFunction(handler, 2, 2, func);
        break;
    case Kind::TABLECELL_AT_INDEX:
        _stack->pushLong(*static_cast<long*>(value->value));
        ok = _stack->executeFunction(handler, 2, 1, func);
        break;
    default: ok = _stack->executeFunction(handler, 1, 1, func); break;
    }
    return ok ? 1 : 0;
}

int LuaEngine::handleAssetsManagerEvent(Kind kind, void* data) {
    auto* d = static_cast<HandlerEventData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    const int handler = handlerOf(d->nativeObject, kind);
    if (handler == 0) return 0;
    if (kind == Kind::ASSETSMANAGER_SUCCESS) return callHandler(handler, 0);
    _stack->pushInt(*static_cast<int*>(d->value));
    return callHandler(handler, 1);
}

int LuaEngine::handleArmatureWrapper(void* data) {
    auto* d = static_cast<HandlerEventData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    const int handler = handlerOf(d->nativeObject, Kind::ARMATURE_EVENT);
    if (handler == 0) return 0;
    auto* wrapper = static_cast<ArmatureWrapperEventData*>(d->value);
    if (!wrapper->eventData) return 0;
    switch (wrapper->eventType) {
    case 0: {
        auto* e = static_cast<ArmatureMovementEventData*>(wrapper->eventData);
        _stack->pushObject(e->armature, "ccs.Armature");
        _stack->pushInt(e->movementType);
        _stack->pushString(e->movementID.c_str());
        callHandler(handler, 3);
        break;
    }
    case 1: {
        auto* e = static_cast<ArmatureFrameEventData*>(wrapper->eventData);
        _stack->pushObject(e->bone, "ccs.Bone");
        _stack->pushString(e->frameEventName.c_str());
        _stack->pushInt(e->originFrameIndex);
        _stack->pushInt(e->currentFrameIndex);
        callHandler(handler, 4);
        break;
    }
    case 2:
        _stack->pushFloat(static_cast<ArmatureLoadingEventData*>(wrapper->eventData)->percent);
        callHandler(handler, 1);
        break;
    default: break;
    }
    return 0;
}

int LuaEngine::handleEventAcc(void* data) {
    auto* d = static_cast<HandlerEventData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    auto* value = static_cast<AccelerationEventValue*>(d->value);
    if (!value->acc) return 0;
    const int handler = handlerOf(d->nativeObject, Kind::EVENT_ACC);
    if (handler == 0) return 0;
    lua_State* L = _stack->getLuaState();
    _stack->pushObject(value->event, "cc.Event");
    lua_pushnumber(L, value->acc->x);
    lua_pushnumber(L, value->acc->y);
    lua_pushnumber(L, value->acc->z);
    lua_pushnumber(L, value->acc->timestamp);
    return callHandler(handler, 5);
}

int LuaEngine::handleEventCustom(void* data) {
    auto* d = static_cast<HandlerEventData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    const int handler = handlerOf(d->nativeObject, Kind::EVENT_CUSTOM);
    if (handler == 0) return 0;
    _stack->pushObject(static_cast<EventCustom*>(d->value), "cc.EventCustom");
    return callHandler(handler, 1);
}

int LuaEngine::handleEventKeyboard(Kind kind, void* data) {
    auto* d = static_cast<HandlerEventData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    const int handler = handlerOf(d->nativeObject, kind);
    if (handler == 0) return 0;
    auto* value = static_cast<KeyboardEventValue*>(d->value);
    _stack->pushInt(value->keyCode);
    _stack->pushObject(value->event, "cc.Event");
    return callHandler(handler, 2);
}

int LuaEngine::handleEventTouch(Kind kind, void* data) {
    auto* d = static_cast<HandlerEventData*>(data);
    return callTouchHandler(data, d ? handlerOf(d->nativeObject, kind) : 0);
}

int LuaEngine::handleTouchListenerEvent(Kind kind, void* data, int handler) {
    if (!inRange(kind, Kind::EVENT_TOUCH_BEGAN, Kind::EVENT_TOUCH_CANCELLED)) return 0;
    StackGuard guard(_stack->getLuaState());
    return callTouchHandler(data, handler);
}

int LuaEngine::callTouchHandler(void* data, int handler) {
    auto* d = static_cast<HandlerEventData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    auto* value = static_cast<TouchEventValue*>(d->value);
    if (!value->touch || !value->event) return 0;
    if (handler == 0) return 0;
    _stack->pushObject(value->touch, "cc.Touch");
    _stack->pushObject(value->event, "cc.Event");
    return callHandler(handler, 2);
}

int LuaEngine::handleEventTouches(Kind kind, void* data) {
    auto* d = static_cast<HandlerEventData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    auto* value = static_cast<TouchesEventValue*>(d->value);
    if (!value->event || value->touches.empty()) return 0;
    const int handler = handlerOf(d->nativeObject, kind);
    if (handler == 0) return 0;
    struct Push {
        LuaStack* stack;
        TouchesEventValue* value;
    } p{_stack, value};
    _stack->pushProtected([](lua_State* L, void* c) {
        const auto* p = static_cast<const Push*>(c);
        lua_newtable(L);
        int index = 1;
        for (Touch* touch : p->value->touches) {
            if (!touch) continue;
            p->stack->pushObject(touch, "cc.Touch");
            lua_rawseti(L, -2, index++);
        }
    }, &p);
    _stack->pushObject(value->event, "cc.Event");
    return callHandler(handler, 2);
}

int LuaEngine::handleEventMouse(Kind kind, void* data) {
    auto* d = static_cast<HandlerEventData*>(data);
    if (!d || !d->nativeObject || !d->value) return 0;
    auto* value = static_cast<MouseEventValue*>(d->value);
    if (!value->event) return 0;
    const int handler = handlerOf(d->nativeObject, kind);
    if (handler == 0) return 0;
    _stack->pushObject(value->event, "cc.Event");
    return callHandler(handler, 1);
}

// --- module registrations ------------------------------------------------------

int register_audio_module(lua_State* L) {
    if (rawGlobalIsTable(L, "_G")) register_audio_bindings(L);
    return 1;
}

int register_network_module(lua_State* L) {
    if (rawGlobalIsTable(L, "_G")) {
        const LuaRegistrationHooks& hooks = luaRegistrationHooks();
        runRegistrationHook(hooks.preloadSocketLibrary, L);
        runRegistrationHook(hooks.websocketClass, L);
        runRegistrationHook(hooks.websocketHandlerMethods, L);
        runRegistrationHook(hooks.xmlHttpRequestClass, L);
    }
    return 1;
}

}  // namespace engine
