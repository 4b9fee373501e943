#include "bindings/core/LuaScriptHandlers.h"

#include <memory>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/core/LuaInputListeners.h"
#include "engine/actions/ActionTween.h"
#include "engine/scene/MenuItem.h"
#include "engine/scene/Node.h"
#include "scripting/LuaCallFunc.h"
#include "scripting/LuaEngine.h"

namespace bindings {
namespace {

using Kind = engine::ScriptHandlerMgr::HandlerType;

int lua_nodeRegisterScriptHandler(lua_State* L) {
    auto* node = checkSelf<engine::Node>(L, "cc.Node", "cc.Node:registerScriptHandler");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Node:registerScriptHandler", argc, 1);
    engine::ScriptHandlerMgr::getInstance()->addObjectHandler(node, handlerAt(L, 2), Kind::NODE);
    return 0;
}

int lua_nodeUnregisterScriptHandler(lua_State* L) {
    auto* node = checkSelf<engine::Node>(L, "cc.Node", "cc.Node:unregisterScriptHandler");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.Node:unregisterScriptHandler", argc, 0);
    engine::ScriptHandlerMgr::getInstance()->removeObjectHandler(node, Kind::NODE);
    return 0;
}

int lua_scheduleUpdateWithPriorityLua(lua_State* L) {
    auto* node = checkSelf<engine::Node>(L, "cc.Node", "cc.Node:scheduleUpdateWithPriorityLua");
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "cc.Node:scheduleUpdateWithPriorityLua", argc, 2);
    int32_t priority = 0;
    // Read before the function is referenced: a failed read keeps no handler.
    if (!luaconv_read_int32(L, 3, &priority, "cc.Node:scheduleUpdateWithPriorityLua")) return 0;
    node->scheduleUpdateWithPriorityLua(handlerAt(L, 2), priority);
    return 0;
}

int lua_unscheduleUpdate(lua_State* L) {
    auto* node = checkSelf<engine::Node>(L, "cc.Node", "cc.Node:unscheduleUpdate");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.Node:unscheduleUpdate", argc, 0);
    node->unscheduleUpdate();
    return 0;
}

int lua_registerScriptTapHandler(lua_State* L) {
    auto* item = checkSelf<engine::MenuItem>(L, "cc.MenuItem", "cc.MenuItem:registerScriptTapHandler");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.MenuItem:registerScriptTapHandler", argc, 1);
    engine::ScriptHandlerMgr::getInstance()->addObjectHandler(item, handlerAt(L, 2), Kind::MENU_CLICKED);
    return 0;
}

int lua_unregisterScriptTapHandler(lua_State* L) {
    auto* item = checkSelf<engine::MenuItem>(L, "cc.MenuItem", "cc.MenuItem:unregisterScriptTapHandler");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.MenuItem:unregisterScriptTapHandler", argc, 0);
    engine::ScriptHandlerMgr::getInstance()->removeObjectHandler(item, Kind::MENU_CLICKED);
    return 0;
}

// The extra value of a call-function action: one registry reference shared by
// the action and its clones, released when the last holder goes, and only
// while the Lua state it belongs to is still the script engine's.
class ExtraValue {
public:
    ExtraValue(lua_State* L, int ref) : _state(L), _ref(ref) {}
    ~ExtraValue() {
        engine::LuaEngine* luaEngine = scriptLuaEngine();
        if (luaEngine && luaEngine->getLuaStack() && luaEngine->getLuaStack()->getLuaState() == _state) {
            luaL_unref(_state, LUA_REGISTRYINDEX, _ref);
        }
    }
    ExtraValue(const ExtraValue&) = delete;
    ExtraValue& operator=(const ExtraValue&) = delete;
    int ref() const { return _ref; }

private:
    lua_State* _state;
    int _ref;
};

// Runs the handler filed under the running action (the original or a clone)
// with (target [, extra table]); the stack is left as it was found.
void runCallFunc(void* action, engine::Node* target, const std::shared_ptr<ExtraValue>& extra) {
    const int handler = engine::ScriptHandlerMgr::getInstance()->getObjectHandler(action, Kind::CALLFUNC);
    if (handler == 0) return;
    engine::LuaEngine* luaEngine = scriptLuaEngine();
    if (!luaEngine || !luaEngine->getLuaStack()) return;
    engine::LuaStack* stack = luaEngine->getLuaStack();
    lua_State* L = stack->getLuaState();
    const int top = lua_gettop(L);
    stack->pushObject(target, "cc.Node");
    int argc = 1;
    if (extra) {
        lua_rawgeti(L, LUA_REGISTRYINDEX, extra->ref());
        if (lua_istable(L, -1)) {
            argc = 2;
        } else {
            lua_pop(L, 1);
        }
    }
    stack->executeFunctionByHandler(handler, argc);
    lua_settop(L, top);
}

int lua_callFuncCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1 && argc != 2) return countError(L, "cc.CallFunc:create", argc, 1);
    const int handler = handlerAt(L, 2);
    int ref = LUA_NOREF;
    if (argc == 2) {
        lua_pushvalue(L, 3);
        ref = luaL_ref(L, LUA_REGISTRYINDEX);
    }
    std::shared_ptr<ExtraValue> extra = argc == 2 ? std::make_shared<ExtraValue>(L, ref) : nullptr;
    engine::LuaCallFunc* action = engine::LuaCallFunc::create();
    action->initWithFunction([extra](void* running, engine::Node* target) { runCallFunc(running, target, extra); });
    engine::ScriptHandlerMgr::getInstance()->addObjectHandler(action, handler, Kind::CALLFUNC);
    extra.reset();
    luaconv_push_object(L, "cc.CallFunc", action);
    return 1;
}

// A script function kept for native code: one function reference, removed when
// the last holder goes, and only while its Lua state is still the engine's.
class FunctionRef {
public:
    FunctionRef(lua_State* L, int handler) : _state(L), _handler(handler) {}
    ~FunctionRef() {
        engine::LuaEngine* luaEngine = scriptLuaEngine();
        if (luaEngine && luaEngine->getLuaStack() && luaEngine->getLuaStack()->getLuaState() == _state) {
            toluafix_removeFunctionByRefid(_state, _handler);
        }
    }
    FunctionRef(const FunctionRef&) = delete;
    FunctionRef& operator=(const FunctionRef&) = delete;
    int handler() const { return _handler; }

private:
    lua_State* _state;
    int _handler;
};

int lua_actionFloatCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 4) return countError(L, "cc.ActionFloat:create", argc, 4);
    double duration = 0, from = 0, to = 0;
    if (!luaconv_read_number(L, 2, &duration) || !luaconv_read_number(L, 3, &from) ||
        !luaconv_read_number(L, 4, &to) || !lua_isfunction(L, 5)) {
        return luaL_error(L, "invalid arguments in function 'lua_engine_ActionFloat_create'");
    }
    const int handler = handlerAt(L, 5);
    engine::ActionFloat* action = nullptr;
    {
        auto function = std::make_shared<FunctionRef>(L, handler);
        action = engine::ActionFloat::create(static_cast<float>(duration), static_cast<float>(from),
                                             static_cast<float>(to), [function](float value) {
                                                 engine::LuaEngine* luaEngine = scriptLuaEngine();
                                                 if (!luaEngine || !luaEngine->getLuaStack()) return;
                                                 luaEngine->getLuaStack()->executeFunctionByHandlerWithNumber(
                                                     function->handler(), value);
                                             });
    }
    luaconv_push_object(L, "cc.ActionFloat", action);
    return 1;
}

}  // namespace

void register_action_float_manual(lua_State* L) {
    const ClassFunction functions[] = {{"create", lua_actionFloatCreate}};
    addClassFunctions(L, "cc.ActionFloat", functions);
}

void register_node_manual_methods(lua_State* L) {
    const ClassFunction functions[] = {{"registerScriptHandler", lua_nodeRegisterScriptHandler},
                                       {"unregisterScriptHandler", lua_nodeUnregisterScriptHandler},
                                       {"scheduleUpdateWithPriorityLua", lua_scheduleUpdateWithPriorityLua},
                                       {"unscheduleUpdate", lua_unscheduleUpdate}};
    addClassFunctions(L, "cc.Node", functions);
}

void register_menu_item_manual_methods(lua_State* L) {
    const ClassFunction functions[] = {{"registerScriptTapHandler", lua_registerScriptTapHandler},
                                       {"unregisterScriptTapHandler", lua_unregisterScriptTapHandler}};
    addClassFunctions(L, "cc.MenuItem", functions);
}

void register_call_func_manual_methods(lua_State* L) {
    const ClassFunction functions[] = {{"create", lua_callFuncCreate}};
    addClassFunctions(L, "cc.CallFunc", functions);
}

}  // namespace bindings
