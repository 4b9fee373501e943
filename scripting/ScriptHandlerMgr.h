#pragma once
// The registry of script handlers: for each native object, the (handler kind,
// handler id) pairs in the order they were added. Handler ids are Lua function
// references (ToluaFix.h); removing a pair releases its function through the Lua
// engine. An object's entry appears with its first handler and disappears only
// with removeObjectAllHandlers (removing single pairs may leave it empty).
//
// Custom kinds (addCustomHandler) are numbered from CUSTOM_HANDLER_BASE up: one
// more than the object's largest custom kind, so they never collide with a
// built-in kind; when that largest kind is INT_MAX, the lowest custom kind the
// object does not use. Main thread only.
#include <utility>
#include <unordered_map>
#include <vector>

#include <lua.hpp>

#include "engine/base/Ref.h"

namespace engine {

class ScriptHandlerMgr {
public:
    enum class HandlerType : int {
        NODE = 0,
        MENU_CLICKED = 1,
        CALLFUNC = 2,
        TOUCHES = 4,
        KEYPAD = 5,
        ACCELEROMETER = 6,
        CONTROL_TOUCH_DOWN = 7,
        CONTROL_TOUCH_DRAG_INSIDE,
        CONTROL_TOUCH_DRAG_OUTSIDE,
        CONTROL_TOUCH_DRAG_ENTER,
        CONTROL_TOUCH_DRAG_EXIT,
        CONTROL_TOUCH_UP_INSIDE,
        CONTROL_TOUCH_UP_OUTSIDE,
        CONTROL_TOUCH_CANCEL,
        CONTROL_VALUE_CHANGED,   // 15
        WEBSOCKET_OPEN = 16,
        WEBSOCKET_MESSAGE,
        WEBSOCKET_CLOSE,
        WEBSOCKET_ERROR,
        GL_NODE_DRAW = 20,
        SCROLLVIEW_SCROLL = 21,
        SCROLLVIEW_ZOOM,
        TABLECELL_TOUCHED,
        TABLECELL_HIGHLIGHT,
        TABLECELL_UNHIGHLIGHT,
        TABLECELL_WILL_RECYCLE,
        TABLECELL_SIZE_FOR_INDEX,
        TABLECELL_AT_INDEX,
        TABLEVIEW_NUMS_OF_CELLS,   // 29
        XMLHTTPREQUEST_READY_STATE = 30,
        ASSETSMANAGER_PROGRESS = 31,
        ASSETSMANAGER_SUCCESS,
        ASSETSMANAGER_ERROR,
        ARMATURE_EVENT = 35,
        EVENT_ACC = 36,
        EVENT_CUSTOM = 37,
        EVENT_KEYBOARD_PRESSED = 38,
        EVENT_KEYBOARD_RELEASED,
        EVENT_TOUCH_BEGAN = 40,
        EVENT_TOUCH_MOVED,
        EVENT_TOUCH_ENDED,
        EVENT_TOUCH_CANCELLED,
        EVENT_TOUCHES_BEGAN = 44,
        EVENT_TOUCHES_MOVED,
        EVENT_TOUCHES_ENDED,
        EVENT_TOUCHES_CANCELLED,
        EVENT_MOUSE_DOWN = 48,
        EVENT_MOUSE_UP,
        EVENT_MOUSE_MOVE,
        EVENT_MOUSE_SCROLL,
        EVENT_PHYSICS_CONTACT_BEGIN = 53,
        EVENT_PHYSICS_CONTACT_PRESOLVE,
        EVENT_PHYSICS_CONTACT_POSTSOLVE,
        EVENT_PHYSICS_CONTACT_SEPARATE,
        EVENT_FOCUS = 57,
        EVENT_SKELETON_ANIMATION_START = 64,
        EVENT_SKELETON_ANIMATION_END,
        EVENT_SKELETON_ANIMATION_COMPLETE,
        EVENT_SKELETON_ANIMATION_EVENT,
        CUSTOM_HANDLER_BASE = 10000,
    };
    static constexpr int CONTROL_EVENT_FIRST = static_cast<int>(HandlerType::CONTROL_TOUCH_DOWN);

    static ScriptHandlerMgr* getInstance();
    virtual ~ScriptHandlerMgr() = default;

    // Replaces the object's handler of that kind (the old one is released first).
    // A null object does nothing.
    void addObjectHandler(void* object, int handler, HandlerType kind);
    // Appends the handler under a new custom kind and returns that kind.
    HandlerType addCustomHandler(void* object, int handler);
    // The handler id of the first pair of that kind; 0 when none.
    int getObjectHandler(void* object, HandlerType kind) const;
    void removeObjectHandler(void* object, HandlerType kind);
    // Releases every handler of the object and erases its entry.
    void removeObjectAllHandlers(void* object);
    // Changes whenever a handler is added or removed: a handler id looked up
    // under one value stays right while it stays the same.
    static unsigned long handlersGeneration();

private:
    ScriptHandlerMgr() = default;
    using Pairs = std::vector<std::pair<HandlerType, int>>;
    std::unordered_map<void*, Pairs> _handlers;   // read at every event a script handles
};

// Registers the Lua side: usertypes "ScheduleHandlerDelegate" and
// "ScriptHandlerMgr" and the class "ScriptHandlerMgr" with getInstance,
// registerScriptHandler, unregisterScriptHandler and removeObjectAllHandlers.
// A kind is truncated toward zero; one outside the int range (NaN included)
// raises the function's argument error. registerScriptHandler on a dead object
// raises "invalid 'cobj' ..." and keeps no reference to the function.
int register_script_handler_mgr(lua_State* L);

// A Ref with a no-op scheduleFunc; only its Lua usertype name is registered.
class ScheduleHandlerDelegate : public Ref {
public:
    void scheduleFunc(float) {}
    int _handler = 0;
};

}  // namespace engine
