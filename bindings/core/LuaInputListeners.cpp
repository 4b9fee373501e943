#include "bindings/core/LuaInputListeners.h"

#include <cstdint>
#include <vector>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/base/EventListener.h"
#include "engine/input/EventTouch.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaNumberCasts.h"

namespace bindings {

using engine::EventListener;
using Kind = engine::ScriptHandlerMgr::HandlerType;

engine::LuaEngine* scriptLuaEngine() {
    // Every input event asks: the cast is made once per script engine.
    static unsigned long generation = ~0UL;
    static engine::LuaEngine* luaEngine = nullptr;
    const unsigned long now = engine::ScriptEngineManager::engineGeneration();
    if (now != generation) {
        luaEngine = dynamic_cast<engine::LuaEngine*>(engine::ScriptEngineManager::getInstance()->getScriptEngine());
        generation = engine::ScriptEngineManager::engineGeneration();
    }
    return luaEngine;
}

namespace {

int handle(Kind kind, EventListener* listener, void* value) {
    engine::LuaEngine* luaEngine = scriptLuaEngine();
    if (!luaEngine) return 0;
    engine::HandlerEventData data(listener, value);
    return luaEngine->handleEvent(kind, &data);
}

// A listener's handler id of one kind, looked up again only when handlers change.
struct HandlerCache {
    unsigned long generation = ~0UL;
    int handler = 0;
};

int handleTouch(Kind kind, EventListener* listener, engine::TouchEventValue* value, HandlerCache& cache) {
    engine::LuaEngine* luaEngine = scriptLuaEngine();
    if (!luaEngine) return 0;
    const unsigned long generation = engine::ScriptHandlerMgr::handlersGeneration();
    if (cache.generation != generation) {
        cache.handler = engine::ScriptHandlerMgr::getInstance()->getObjectHandler(listener, kind);
        cache.generation = generation;
    }
    engine::HandlerEventData data(listener, value);
    return luaEngine->handleTouchListenerEvent(kind, &data, cache.handler);
}

int kindNumber(Kind kind) { return static_cast<int>(kind); }
bool inRange(int kind, Kind first, Kind last) { return kind >= kindNumber(first) && kind <= kindNumber(last); }

}  // namespace

void installListenerCallback(EventListener* listener, Kind kind) {
    const int k = kindNumber(kind);
    switch (listener->getType()) {
    case EventListener::Type::KEYBOARD: {
        auto* keyboard = static_cast<engine::EventListenerKeyboard*>(listener);
        auto callback = [keyboard, kind](int keyCode, engine::Event* event) {
            engine::KeyboardEventValue value{keyCode, event};
            handle(kind, keyboard, &value);
        };
        if (kind == Kind::EVENT_KEYBOARD_PRESSED) keyboard->onKeyPressed = callback;
        if (kind == Kind::EVENT_KEYBOARD_RELEASED) keyboard->onKeyReleased = callback;
        break;
    }
    case EventListener::Type::MOUSE: {
        auto* mouse = static_cast<engine::EventListenerMouse*>(listener);
        auto callback = [mouse, kind](engine::Event* event) {
            engine::MouseEventValue value{event};
            handle(kind, mouse, &value);
        };
        if (kind == Kind::EVENT_MOUSE_DOWN) mouse->onMouseDown = callback;
        if (kind == Kind::EVENT_MOUSE_UP) mouse->onMouseUp = callback;
        if (kind == Kind::EVENT_MOUSE_MOVE) mouse->onMouseMove = callback;
        if (kind == Kind::EVENT_MOUSE_SCROLL) mouse->onMouseScroll = callback;
        break;
    }
    case EventListener::Type::TOUCH_ONE_BY_ONE: {
        auto* touch = static_cast<engine::EventListenerTouchOneByOne*>(listener);
        if (kind == Kind::EVENT_TOUCH_BEGAN) {
            touch->onTouchBegan = [touch, cache = HandlerCache{}](engine::Touch* t, engine::Event* event) mutable {
                engine::TouchEventValue value{t, event};
                return handleTouch(Kind::EVENT_TOUCH_BEGAN, touch, &value, cache) != 0;
            };
            break;
        }
        if (!inRange(k, Kind::EVENT_TOUCH_MOVED, Kind::EVENT_TOUCH_CANCELLED)) break;
        auto callback = [touch, kind, cache = HandlerCache{}](engine::Touch* t, engine::Event* event) mutable {
            engine::TouchEventValue value{t, event};
            handleTouch(kind, touch, &value, cache);
        };
        if (kind == Kind::EVENT_TOUCH_MOVED) touch->onTouchMoved = callback;
        if (kind == Kind::EVENT_TOUCH_ENDED) touch->onTouchEnded = callback;
        if (kind == Kind::EVENT_TOUCH_CANCELLED) touch->onTouchCancelled = callback;
        break;
    }
    case EventListener::Type::TOUCH_ALL_AT_ONCE: {
        auto* touches = static_cast<engine::EventListenerTouchAllAtOnce*>(listener);
        auto callback = [touches, kind](const std::vector<engine::Touch*>& list, engine::Event* event) {
            engine::TouchesEventValue value{list, event};
            handle(kind, touches, &value);
        };
        if (kind == Kind::EVENT_TOUCHES_BEGAN) touches->onTouchesBegan = callback;
        if (kind == Kind::EVENT_TOUCHES_MOVED) touches->onTouchesMoved = callback;
        if (kind == Kind::EVENT_TOUCHES_ENDED) touches->onTouchesEnded = callback;
        if (kind == Kind::EVENT_TOUCHES_CANCELLED) touches->onTouchesCancelled = callback;
        break;
    }
    default:
        break;
    }
}

namespace {

// The listener classes a script creates, with their kind ranges.
struct ListenerClass {
    const char* luaName;           // "cc.EventListenerKeyboard"
    const char* createName;        // "cc.EventListenerKeyboard:create"
    const char* registerName;
    const char* cloneName;
    std::vector<Kind> kinds;       // in the order clone copies them
    EventListener* (*make)();
};

const ListenerClass kKeyboard{"cc.EventListenerKeyboard", "cc.EventListenerKeyboard:create",
                              "cc.EventListenerKeyboard:registerScriptHandler", "cc.EventListenerKeyboard:clone",
                              {Kind::EVENT_KEYBOARD_PRESSED, Kind::EVENT_KEYBOARD_RELEASED},
                              [] { return static_cast<EventListener*>(engine::EventListenerKeyboard::create()); }};
const ListenerClass kMouse{"cc.EventListenerMouse", "cc.EventListenerMouse:create",
                           "cc.EventListenerMouse:registerScriptHandler", "cc.EventListenerMouse:clone",
                           {Kind::EVENT_MOUSE_DOWN, Kind::EVENT_MOUSE_MOVE, Kind::EVENT_MOUSE_SCROLL, Kind::EVENT_MOUSE_UP},
                           [] { return static_cast<EventListener*>(engine::EventListenerMouse::create()); }};
const ListenerClass kTouchOne{"cc.EventListenerTouchOneByOne", "cc.EventListenerTouchOneByOne:create",
                              "cc.EventListenerTouchOneByOne:registerScriptHandler",
                              "cc.EventListenerTouchOneByOne:clone",
                              {Kind::EVENT_TOUCH_BEGAN, Kind::EVENT_TOUCH_MOVED, Kind::EVENT_TOUCH_ENDED,
                               Kind::EVENT_TOUCH_CANCELLED},
                              [] { return static_cast<EventListener*>(engine::EventListenerTouchOneByOne::create()); }};
const ListenerClass kTouchAll{"cc.EventListenerTouchAllAtOnce", "cc.EventListenerTouchAllAtOnce:create",
                              "cc.EventListenerTouchAllAtOnce:registerScriptHandler",
                              "cc.EventListenerTouchAllAtOnce:clone",
                              {Kind::EVENT_TOUCHES_BEGAN, Kind::EVENT_TOUCHES_MOVED, Kind::EVENT_TOUCHES_ENDED,
                               Kind::EVENT_TOUCHES_CANCELLED},
                              [] { return static_cast<EventListener*>(engine::EventListenerTouchAllAtOnce::create()); }};

bool hasKind(const ListenerClass& c, int kind) {
    for (Kind k : c.kinds) {
        if (kindNumber(k) == kind) return true;
    }
    return false;
}

// Copies the source's handler of each kind onto the copy under a new id, with its callback.
void copyScriptHandlers(const ListenerClass& c, EventListener* source, EventListener* copy) {
    if (!source || !copy) return;
    engine::ScriptHandlerMgr* handlers = engine::ScriptHandlerMgr::getInstance();
    engine::LuaEngine* luaEngine = scriptLuaEngine();
    for (Kind kind : c.kinds) {
        const int handler = handlers->getObjectHandler(source, kind);
        if (handler == 0 || !luaEngine) continue;
        const int copied = luaEngine->reallocateScriptHandler(handler);
        if (copied <= 0) continue;
        handlers->addObjectHandler(copy, copied, kind);
        installListenerCallback(copy, kind);
    }
}

template <const ListenerClass& C>
int lua_create(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, C.createName, argc, 0);
    luaconv_push_object(L, C.luaName, C.make());
    return 1;
}

template <const ListenerClass& C>
int lua_registerScriptHandler(lua_State* L) {
    auto* listener = checkSelf<EventListener>(L, C.luaName, C.registerName);
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, C.registerName, argc, 2);
    // Truncated, never wrapped: 2^32 + 38 is no keyboard kind.
    int32_t kind = 0;
    if (!luaconv::toInt32Checked(lua_tonumber(L, 3), &kind) || !hasKind(C, kind)) return 0;
    const int handler = handlerAt(L, 2);
    engine::ScriptHandlerMgr::getInstance()->addObjectHandler(listener, handler, static_cast<Kind>(kind));
    installListenerCallback(listener, static_cast<Kind>(kind));
    return 0;
}

template <const ListenerClass& C>
int lua_clone(lua_State* L) {
    auto* listener = checkSelf<EventListener>(L, C.luaName, C.cloneName);
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, C.cloneName, argc, 0);
    EventListener* copy = C.make();
    if (listener->getType() == EventListener::Type::TOUCH_ONE_BY_ONE) {
        static_cast<engine::EventListenerTouchOneByOne*>(copy)->setSwallowTouches(
            static_cast<engine::EventListenerTouchOneByOne*>(listener)->isSwallowTouches());
    }
    copyScriptHandlers(C, listener, copy);
    luaconv_push_object(L, C.luaName, copy);
    return 1;
}

template <const ListenerClass& C>
void registerListenerClass(lua_State* L) {
    const ClassFunction functions[] = {{"create", &lua_create<C>},
                                       {"registerScriptHandler", &lua_registerScriptHandler<C>},
                                       {"clone", &lua_clone<C>}};
    addClassFunctions(L, C.luaName, functions);
}

int lua_customCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "cc.EventListenerCustom:create", argc, 2);
    const char* name = luaconv_to_cstring(L, 2, "");
    const int handler = handlerAt(L, 3);
    engine::EventListenerCustom* listener = engine::EventListenerCustom::create(name ? name : "", nullptr);
    listener->setCallback([listener](engine::EventCustom* event) { handle(Kind::EVENT_CUSTOM, listener, event); });
    engine::ScriptHandlerMgr::getInstance()->addObjectHandler(listener, handler, Kind::EVENT_CUSTOM);
    luaconv_push_object(L, "cc.EventListenerCustom", listener);
    return 1;
}

int lua_accelerationCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.EventListenerAcceleration:create", argc, 1);
    const int handler = handlerAt(L, 2);
    engine::EventListenerAcceleration* listener = engine::EventListenerAcceleration::create(nullptr);
    listener->setCallback([listener](engine::Acceleration* acceleration, engine::Event* event) {
        engine::AccelerationEventValue value{acceleration, event};
        handle(Kind::EVENT_ACC, listener, &value);
    });
    engine::ScriptHandlerMgr::getInstance()->addObjectHandler(listener, handler, Kind::EVENT_ACC);
    luaconv_push_object(L, "cc.EventListenerAcceleration", listener);
    return 1;
}

}  // namespace

void register_event_listener_keyboard_manual(lua_State* L) { registerListenerClass<kKeyboard>(L); }
void register_event_listener_touch_one_by_one_manual(lua_State* L) { registerListenerClass<kTouchOne>(L); }
void register_event_listener_touch_all_at_once_manual(lua_State* L) { registerListenerClass<kTouchAll>(L); }
void register_event_listener_mouse_manual(lua_State* L) { registerListenerClass<kMouse>(L); }


void register_event_listener_custom_manual(lua_State* L) {
    const ClassFunction functions[] = {{"create", &lua_customCreate}};
    addClassFunctions(L, "cc.EventListenerCustom", functions);
}

void register_event_listener_acceleration_manual(lua_State* L) {
    const ClassFunction functions[] = {{"create", &lua_accelerationCreate}};
    addClassFunctions(L, "cc.EventListenerAcceleration", functions);
}

}  // namespace bindings
