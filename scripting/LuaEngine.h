#pragma once
// The engine's script engine for Lua: one per process, owning the one LuaStack.
// It forwards the engine's script requests to the stack and turns engine events
// into calls of Lua handlers, found in the event record (schedule and common
// events) or in the ScriptHandlerMgr by (native object, handler kind).
//
// Every event path answers a missing record, object, value or handler, and an
// unknown phase, action, key or kind, with 0 and calls no Lua code. After a call
// the Lua stack is back to what it was before the event (nothing of the event is
// left on it, nothing below it is touched). Main thread only.
#include <functional>

#include <lua.hpp>

#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"
#include "scripting/LuaStack.h"
#include "scripting/ScriptHandlerMgr.h"

namespace engine {

class Node;
class MenuItem;
class CallFunc;
class __NotificationCenter;

class LuaEngine : public ScriptEngineProtocol {
public:
    // Created on first use, with its stack and the configured script key and sign.
    static LuaEngine* getInstance();
    ~LuaEngine() override;

    LuaStack* getLuaStack() const { return _stack; }

    int getScriptType() override { return 1; }
    void removeScriptObjectByObject(Ref* object) override;
    void removeScriptHandler(int handler) override;
    int reallocateScriptHandler(int handler) override;
    int executeString(const char* code) override;
    int executeScriptFile(const char* filename) override;
    int executeGlobalFunction(const char* name) override;
    int sendEvent(ScriptEvent* event) override;
    bool handleAssert(const char* message) override;
    // Calls the global "__onParseConfig"(type, text); false when it is missing.
    bool parseConfig(int type, const std::string& text) override;

    void addSearchPath(const char* path);
    void addLuaLoader(lua_CFunction fn);
    int reload(const char* moduleName);

    int executeNodeEvent(Node*, int) { return 0; }
    int executeMenuItemEvent(MenuItem*) { return 0; }
    // Calls the handler of the first observer of name with the name.
    int executeNotificationEvent(__NotificationCenter* center, const char* name);
    int executeCallFuncActionEvent(CallFunc*, Ref*) { return 0; }
    int executeSchedule(int handler, float dt, Node* node = nullptr);
    int executeLayerTouchesEvent() { return 0; }
    int executeLayerTouchEvent() { return 0; }
    int executeLayerKeypadEvent() { return 0; }
    int executeAccelerometerEvent() { return 0; }
    // Calls the handler with the event name and, when given, the object (under
    // typeName, "cc.Ref" when null).
    int executeEvent(int handler, const char* eventName, Ref* object = nullptr, const char* typeName = nullptr);

    // Table-view data-source queries: the results go to func.
    int handleEventWithResult(ScriptHandlerMgr::HandlerType kind, void* data, int numResults,
                              const std::function<void(lua_State*, int)>& func);
    int handleEvent(ScriptHandlerMgr::HandlerType kind, void* data);
    // handleEvent for a one-by-one touch kind whose handler the caller already
    // looked up (0: none).
    int handleTouchListenerEvent(ScriptHandlerMgr::HandlerType kind, void* data, int handler);

private:
    LuaEngine() = default;
    bool init();

    // Runs handler with the numArgs values above `base` and puts the stack back.
    int callHandler(int handler, int numArgs);

    int handleNodeEvent(void* data);
    int handleMenuClickedEvent(void* data);
    int handleCallFuncActionEvent(void* data);
    int handleScheduler(void* data);
    int handleTouchEvent(void* data);
    int handleTouchesEvent(void* data);
    int handleKeypadEvent(void* data);
    int handleAccelerometerEvent(void* data);
    int handleControlEvent(void* data);
    int handleCommonEvent(void* data);

    int handleTableViewEvent(ScriptHandlerMgr::HandlerType kind, void* data);
    int handleTableViewEventWithResult(ScriptHandlerMgr::HandlerType kind, void* data, int numResults,
                                       const std::function<void(lua_State*, int)>& func);
    int handleAssetsManagerEvent(ScriptHandlerMgr::HandlerType kind, void* data);
    int handleArmatureWrapper(void* data);
    int handleEventAcc(void* data);
    int handleEventCustom(void* data);
    int handleEventKeyboard(ScriptHandlerMgr::HandlerType kind, void* data);
    int handleEventTouch(ScriptHandlerMgr::HandlerType kind, void* data);
    // The touch and event of a one-by-one touch handler call, then the call.
    int callTouchHandler(void* data, int handler);
    int handleEventTouches(ScriptHandlerMgr::HandlerType kind, void* data);
    int handleEventMouse(ScriptHandlerMgr::HandlerType kind, void* data);

    LuaStack* _stack = nullptr;
};

// Module registrations of the script start (each returns 1).
int register_audio_module(lua_State* L);
int register_network_module(lua_State* L);

}  // namespace engine
