#pragma once
// Records by which the engine hands its events to the script engine.
//
// sendEvent() takes a ScriptEvent: its type says which data record `data` points
// to. The Lua engine's handleEvent()/handleEventWithResult() take a
// HandlerEventData whose `value` points to the per-kind record listed below. The
// native object is always the one the script handler was registered on.
#include <cstring>
#include <string>
#include <vector>

namespace studio {
class Armature;
class Bone;
}  // namespace studio

namespace engine {

class Ref;
class Touch;
class Event;
class Acceleration;

enum ScriptEventType {
    NODE_EVENT = 0,
    MENU_CLICKED_EVENT,
    CALLFUNC_EVENT,
    SCHEDULE_EVENT,
    TOUCH_EVENT,
    TOUCHES_EVENT,
    KEYPAD_EVENT,
    ACCELEROMETER_EVENT,
    CONTROL_EVENT,
    COMMON_EVENT,
};

struct ScriptEvent {
    int type = 0;
    void* data = nullptr;
    ScriptEvent(int type_, void* data_) : type(type_), data(data_) {}
};

// Node, menu, call-function, accelerometer and control events; also the record of
// handleEvent()/handleEventWithResult() (HandlerEventData).
//   node event: value -> int action (0 enter, 1 exit, 2 enterTransitionFinish,
//               3 exitTransitionStart, 4 cleanup)
//   menu clicked: nativeObject is the MenuItem, value unused
//   call-function: nativeObject is the action, value its target Node (may be null)
//   accelerometer: value -> Acceleration
//   control: value -> int event mask
struct BasicScriptData {
    void* nativeObject = nullptr;
    void* value = nullptr;
    explicit BasicScriptData(void* object, void* value_ = nullptr)
        : nativeObject(object), value(value_) {}
};
using HandlerEventData = BasicScriptData;

struct SchedulerScriptData {
    int handler = 0;
    float elapse = 0.f;
    SchedulerScriptData(int handler_, float elapse_) : handler(handler_), elapse(elapse_) {}
};

// Phase: 0 began, 1 moved, 2 ended, 3 cancelled.
struct TouchScriptData {
    int actionType = 0;
    void* nativeObject = nullptr;
    Touch* touch = nullptr;
    Event* event = nullptr;
};

struct TouchesScriptData {
    int actionType = 0;
    void* nativeObject = nullptr;
    const std::vector<Touch*>* touches = nullptr;
    Event* event = nullptr;
};

// Key code 7 is the back key, 18 the menu key.
struct KeypadScriptData {
    int actionType = 0;
    void* nativeObject = nullptr;
};

// A named event for a handler id; the names are copied bounded to 63 bytes plus
// the terminator (a null name leaves the field all zero).
struct CommonScriptData {
    int handler = 0;
    char eventName[64] = {};
    Ref* eventSource = nullptr;
    char eventSourceClassName[64] = {};

    CommonScriptData(int handler_, const char* name, Ref* source = nullptr,
                     const char* className = nullptr)
        : handler(handler_), eventSource(source) {
        if (name) std::strncpy(eventName, name, sizeof eventName - 1);
        if (className) std::strncpy(eventSourceClassName, className, sizeof eventSourceClassName - 1);
    }
};

// Values of handleEvent() by handler kind.

// Table-view delegate kinds: value is the TableViewCell. Data-source kinds: value
// points to the cell index (a signed long).
struct TableViewEventValue {
    void* value = nullptr;
};

// ARMATURE_EVENT: eventType 0 movement (ArmatureMovementEventData), 1 frame event
// (ArmatureFrameEventData), 2 asynchronous loading (ArmatureLoadingEventData).
struct ArmatureWrapperEventData {
    int eventType = 0;
    void* eventData = nullptr;
};
struct ArmatureMovementEventData {
    studio::Armature* armature = nullptr;
    int movementType = 0;
    std::string movementID;
};
struct ArmatureFrameEventData {
    studio::Bone* bone = nullptr;
    std::string frameEventName;
    int originFrameIndex = 0;
    int currentFrameIndex = 0;
};
struct ArmatureLoadingEventData {
    float percent = 0.f;
};

struct AccelerationEventValue {
    Acceleration* acc = nullptr;
    Event* event = nullptr;
};
struct KeyboardEventValue {
    int keyCode = 0;
    Event* event = nullptr;
};
struct TouchEventValue {
    Touch* touch = nullptr;
    Event* event = nullptr;
};
struct TouchesEventValue {
    std::vector<Touch*> touches;
    Event* event = nullptr;
};
struct MouseEventValue {
    Event* event = nullptr;
};

}  // namespace engine
