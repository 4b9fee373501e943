#include "bindings/core/LuaLayerInput.h"

#include <string>
#include <vector>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/core/LuaInputListeners.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/Log.h"
#include "engine/deprecated/BoxedValues.h"
#include "engine/deprecated/Dictionary.h"
#include "engine/input/EventTouch.h"
#include "engine/input/InputEvents.h"
#include "engine/scene/Layer.h"
#include "engine/script/ScriptEvent.h"
#include "scripting/LuaEngine.h"

namespace bindings {
namespace {

using engine::__Bool;
using engine::__Dictionary;
using engine::__Integer;
using engine::Layer;
using Kind = engine::ScriptHandlerMgr::HandlerType;

constexpr const char* kLayer = "cc.Layer";

// The layer's state dictionary; null when it has none (or another object).
__Dictionary* stateOf(Layer* layer) { return dynamic_cast<__Dictionary*>(layer->getUserObject()); }

// The dictionary, made when the layer has no user object; null (logged) when
// the user object is something else.
__Dictionary* makeState(Layer* layer) {
    if (!layer->getUserObject()) {
        layer->setUserObject(__Dictionary::create());
    }
    __Dictionary* state = stateOf(layer);
    if (!state) engine::log("Layer: its user object is not an input state; input left as it is");
    return state;
}

// A flag kept as a __Bool, or as a __Integer read as a boolean.
bool boolOf(__Dictionary* state, const char* key) {
    engine::Ref* object = state->objectForKey(key);
    if (auto* flag = dynamic_cast<__Bool*>(object)) return flag->getValue();
    if (auto* number = dynamic_cast<__Integer*>(object)) return number->getValue() != 0;
    return false;
}
int intOf(__Dictionary* state, const char* key) {
    auto* value = dynamic_cast<__Integer*>(state->objectForKey(key));
    return value ? value->getValue() : 0;
}

int sendScriptEvent(int type, void* data) {
    engine::LuaEngine* luaEngine = scriptLuaEngine();
    if (!luaEngine) return 0;
    engine::ScriptEvent event(type, data);
    return luaEngine->sendEvent(&event);
}

int sendTouch(Layer* layer, int phase, engine::Touch* touch, engine::Event* event) {
    engine::TouchScriptData data;
    data.actionType = phase;
    data.nativeObject = layer;
    data.touch = touch;
    data.event = event;
    return sendScriptEvent(engine::TOUCH_EVENT, &data);
}

int sendTouches(Layer* layer, int phase, const std::vector<engine::Touch*>& touches, engine::Event* event) {
    engine::TouchesScriptData data;
    data.actionType = phase;
    data.nativeObject = layer;
    data.touches = &touches;
    data.event = event;
    return sendScriptEvent(engine::TOUCHES_EVENT, &data);
}

void addForLayer(engine::EventDispatcher* dispatcher, engine::EventListener* listener, Layer* layer, int priority) {
    if (priority != 0) {
        dispatcher->addEventListenerWithFixedPriority(listener, priority, layer);
    } else {
        dispatcher->addEventListenerWithSceneGraphPriority(listener, layer);
    }
}

void removeStored(__Dictionary* state, const char* key) {
    if (auto* listener = dynamic_cast<engine::EventListener*>(state->objectForKey(key))) {
        engine::Director::getInstance()->getEventDispatcher()->removeEventListener(listener);
    }
}

void setLayerTouchEnabled(Layer* layer, bool enabled) {
    __Dictionary* state = makeState(layer);
    if (!state) return;
    state->setObject(__Bool::create(enabled), "touchEnabled");
    engine::EventDispatcher* dispatcher = engine::Director::getInstance()->getEventDispatcher();
    if (state->objectForKey("touchListenerAllAtOnce") || state->objectForKey("touchListenerOneByOne")) {
        removeStored(state, "touchListenerAllAtOnce");
        removeStored(state, "touchListenerOneByOne");
        state->removeObjectForKey("touchListenerAllAtOnce");
        state->removeObjectForKey("touchListenerOneByOne");
    }
    if (!enabled) return;
    const int priority = intOf(state, "priority");
    if (intOf(state, "touchMode") == 0) {
        auto* listener = engine::EventListenerTouchAllAtOnce::create();
        listener->onTouchesBegan = [layer](const std::vector<engine::Touch*>& t, engine::Event* e) { sendTouches(layer, 0, t, e); };
        listener->onTouchesMoved = [layer](const std::vector<engine::Touch*>& t, engine::Event* e) { sendTouches(layer, 1, t, e); };
        listener->onTouchesEnded = [layer](const std::vector<engine::Touch*>& t, engine::Event* e) { sendTouches(layer, 2, t, e); };
        listener->onTouchesCancelled = [layer](const std::vector<engine::Touch*>& t, engine::Event* e) {
            sendTouches(layer, 3, t, e);
        };
        addForLayer(dispatcher, listener, layer, priority);
        state->setObject(listener, "touchListenerAllAtOnce");
    } else {
        auto* listener = engine::EventListenerTouchOneByOne::create();
        listener->setSwallowTouches(intOf(state, "swallowTouches") != 0);
        listener->onTouchBegan = [layer](engine::Touch* t, engine::Event* e) { return sendTouch(layer, 0, t, e) != 0; };
        listener->onTouchMoved = [layer](engine::Touch* t, engine::Event* e) { sendTouch(layer, 1, t, e); };
        listener->onTouchEnded = [layer](engine::Touch* t, engine::Event* e) { sendTouch(layer, 2, t, e); };
        listener->onTouchCancelled = [layer](engine::Touch* t, engine::Event* e) { sendTouch(layer, 3, t, e); };
        addForLayer(dispatcher, listener, layer, priority);
        state->setObject(listener, "touchListenerOneByOne");
    }
}

// Stores an option and rebuilds the touch listener when it changed while touch is on.
void setTouchOption(Layer* layer, __Dictionary* state, const char* key, int value) {
    if (intOf(state, key) == value) return;
    state->setObject(__Integer::create(value), key);
    if (boolOf(state, "touchEnabled")) {
        setLayerTouchEnabled(layer, false);
        setLayerTouchEnabled(layer, true);
    }
}

Layer* self(lua_State* L, const char* name) { return checkSelf<Layer>(L, kLayer, name); }

int lua_registerScriptTouchHandler(lua_State* L) {
    Layer* layer = self(L, "cc.Layer:registerScriptTouchHandler");
    const int argc = argumentCount(L);
    if (argc < 1 || argc > 4) return countError(L, "cc.Layer:registerScriptTouchHandler", argc, 1);
    const bool multi = argc >= 2 && truthAt(L, 3);
    const int priority = argc >= 3 ? intAt(L, 4) : 0;
    const bool swallow = argc >= 4 ? truthAt(L, 5) : true;
    __Dictionary* state = makeState(layer);
    if (!state) return 0;
    const int handler = handlerAt(L, 2);
    setTouchOption(layer, state, "touchMode", multi ? 0 : 1);
    setTouchOption(layer, state, "priority", priority);
    setTouchOption(layer, state, "swallowTouches", swallow ? 1 : 0);
    engine::ScriptHandlerMgr::getInstance()->addObjectHandler(layer, handler, Kind::TOUCHES);
    return 0;
}

int unregisterHandler(lua_State* L, const char* luaName, Kind kind,
                      std::initializer_list<const char*> keys) {
    Layer* layer = self(L, luaName);
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, luaName, argc, 0);
    if (__Dictionary* state = stateOf(layer)) {
        for (const char* key : keys) removeStored(state, key);
    }
    engine::ScriptHandlerMgr::getInstance()->removeObjectHandler(layer, kind);
    return 0;
}

int lua_unregisterScriptTouchHandler(lua_State* L) {
    return unregisterHandler(L, "cc.Layer:unregisterScriptTouchHandler",
                             Kind::TOUCHES, {"touchListenerAllAtOnce", "touchListenerOneByOne"});
}
int lua_unregisterScriptKeypadHandler(lua_State* L) {
    return unregisterHandler(L, "cc.Layer:unregisterScriptKeypadHandler",
                             Kind::KEYPAD, {"keyboardListener"});
}
int lua_unregisterScriptAccelerateHandler(lua_State* L) {
    return unregisterHandler(L, "cc.Layer:unregisterScriptAccelerateHandler",
                             Kind::ACCELEROMETER, {"accListener"});
}

int registerHandler(lua_State* L, const char* luaName, Kind kind) {
    Layer* layer = self(L, luaName);
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, luaName, argc, 1);
    engine::ScriptHandlerMgr::getInstance()->addObjectHandler(layer, handlerAt(L, 2), kind);
    return 0;
}
int lua_registerScriptKeypadHandler(lua_State* L) {
    return registerHandler(L, "cc.Layer:registerScriptKeypadHandler", Kind::KEYPAD);
}
int lua_registerScriptAccelerateHandler(lua_State* L) {
    return registerHandler(L, "cc.Layer:registerScriptAccelerateHandler",
                           Kind::ACCELEROMETER);
}

// A setter of one argument: its layer and state (null when it cannot be kept).
__Dictionary* setterState(lua_State* L, const char* luaName, Layer** layer) {
    *layer = self(L, luaName);
    const int argc = argumentCount(L);
    if (argc != 1) {
        countError(L, luaName, argc, 1);
        return nullptr;
    }
    return makeState(*layer);
}

int lua_setTouchEnabled(lua_State* L) {
    Layer* layer = nullptr;
    if (!setterState(L, "cc.Layer:setTouchEnabled", &layer)) return 0;
    setLayerTouchEnabled(layer, truthAt(L, 2));
    return 0;
}
int lua_setTouchMode(lua_State* L) {
    Layer* layer = nullptr;
    __Dictionary* state = setterState(L, "cc.Layer:setTouchMode", &layer);
    if (state) setTouchOption(layer, state, "touchMode", intAt(L, 2));
    return 0;
}
int lua_setSwallowsTouches(lua_State* L) {
    Layer* layer = nullptr;
    __Dictionary* state = setterState(L, "cc.Layer:setSwallowsTouches", &layer);
    if (state) setTouchOption(layer, state, "swallowTouches", truthAt(L, 2) ? 1 : 0);
    return 0;
}

int lua_setKeyboardEnabled(lua_State* L) {
    Layer* layer = nullptr;
    __Dictionary* state = setterState(L, "cc.Layer:setKeyboardEnabled", &layer);
    if (!state) return 0;
    const bool enabled = truthAt(L, 2);
    state->setObject(__Bool::create(enabled), "keyboardEnabled");
    removeStored(state, "keyboardListener");
    if (enabled) {
        auto* listener = engine::EventListenerKeyboard::create();
        listener->onKeyPressed = [](int, engine::Event*) {};
        listener->onKeyReleased = [layer](int keyCode, engine::Event*) {
            engine::KeypadScriptData data;
            data.actionType = keyCode;
            data.nativeObject = layer;
            sendScriptEvent(engine::KEYPAD_EVENT, &data);
        };
        engine::Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, layer);
        state->setObject(listener, "keyboardListener");
    }
    return 0;
}

int lua_setAccelerometerEnabled(lua_State* L) {
    Layer* layer = nullptr;
    __Dictionary* state = setterState(L, "cc.Layer:setAccelerometerEnabled", &layer);
    if (!state) return 0;
    const bool enabled = truthAt(L, 2);
    state->setObject(__Bool::create(enabled), "accelerometerEnabled");
    removeStored(state, "accListener");
    engine::Device::setAccelerometerEnabled(enabled);
    if (enabled) {
        auto* listener = engine::EventListenerAcceleration::create([layer](engine::Acceleration* acc, engine::Event*) {
            engine::BasicScriptData data(layer, acc);
            sendScriptEvent(engine::ACCELEROMETER_EVENT, &data);
        });
        engine::Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, layer);
        state->setObject(listener, "accListener");
    }
    return 0;
}

int lua_setAccelerometerInterval(lua_State* L) {
    self(L, "cc.Layer:setAccelerometerInterval");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Layer:setAccelerometerInterval", argc, 1);
    engine::Device::setAccelerometerInterval(static_cast<float>(numberAt(L, 2)));
    return 0;
}

// Getters: the stored value, its default when the key is missing, nothing
// without a state.
template <bool IsBool>
int getter(lua_State* L, const char* luaName, const char* key) {
    Layer* layer = self(L, luaName);
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, luaName, argc, 0);
    __Dictionary* state = stateOf(layer);
    if (!state) return 0;
    if constexpr (IsBool) {
        lua_pushboolean(L, boolOf(state, key));
    } else {
        lua_pushnumber(L, intOf(state, key));
    }
    return 1;
}
int lua_isTouchEnabled(lua_State* L) { return getter<true>(L, "cc.Layer:isTouchEnabled", "touchEnabled"); }
int lua_getTouchMode(lua_State* L) { return getter<false>(L, "cc.Layer:getTouchMode", "touchMode"); }
int lua_isSwallowsTouches(lua_State* L) {
    return getter<true>(L, "cc.Layer:isSwallowsTouches", "swallowTouches");
}
int lua_isKeyboardEnabled(lua_State* L) {
    return getter<true>(L, "cc.Layer:isKeyboardEnabled", "keyboardEnabled");
}
int lua_isAccelerometerEnabled(lua_State* L) {
    return getter<true>(L, "cc.Layer:isAccelerometerEnabled", "accelerometerEnabled");
}

}  // namespace

void register_layer_manual_methods(lua_State* L) {
    const ClassFunction functions[] = {
        {"registerScriptTouchHandler", lua_registerScriptTouchHandler},
        {"unregisterScriptTouchHandler", lua_unregisterScriptTouchHandler},
        {"registerScriptKeypadHandler", lua_registerScriptKeypadHandler},
        {"unregisterScriptKeypadHandler", lua_unregisterScriptKeypadHandler},
        {"registerScriptAccelerateHandler", lua_registerScriptAccelerateHandler},
        {"unregisterScriptAccelerateHandler", lua_unregisterScriptAccelerateHandler},
        {"setTouchEnabled", lua_setTouchEnabled},
        {"isTouchEnabled", lua_isTouchEnabled},
        {"setTouchMode", lua_setTouchMode},
        {"getTouchMode", lua_getTouchMode},
        {"setSwallowsTouches", lua_setSwallowsTouches},
        {"isSwallowsTouches", lua_isSwallowsTouches},
        {"setKeyboardEnabled", lua_setKeyboardEnabled},
        {"isKeyboardEnabled", lua_isKeyboardEnabled},
        {"setAccelerometerEnabled", lua_setAccelerometerEnabled},
        {"isAccelerometerEnabled", lua_isAccelerometerEnabled},
        {"setAccelerometerInterval", lua_setAccelerometerInterval},
    };
    addClassFunctions(L, kLayer, functions);
}

}  // namespace bindings
