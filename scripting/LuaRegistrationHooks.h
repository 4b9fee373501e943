#pragma once
// Registration steps that live in the layers above the script host (the
// generated and hand-written bindings). Those layers fill the hooks at start-up;
// the Lua stack's init and the module registrations call them in their fixed
// order. An empty hook does nothing. Main thread only.
#include <lua.hpp>

namespace engine {

using LuaRegisterFn = int (*)(lua_State* L);

struct LuaRegistrationHooks {
    // Inside LuaStack::init, in this order.
    LuaRegisterFn coreBindings = nullptr;           // generated "cc" bindings
    LuaRegisterFn openglBindings = nullptr;         // register_opengl_bindings
    LuaRegisterFn coreManual = nullptr;             // register_core_manual
    LuaRegisterFn utilsModule = nullptr;            // register_utils_module
    LuaRegisterFn mathGlobals = nullptr;            // register_math_globals
    LuaRegisterFn experimentalBindings = nullptr;   // generated "ccexp" bindings
    LuaRegisterFn experimentalManual = nullptr;     // register_experimental_manual
    LuaRegisterFn glnodeDrawHandler = nullptr;      // register_glnode_draw_handler_methods
    LuaRegisterFn physicsBindings = nullptr;        // generated physics bindings
    LuaRegisterFn physicsManual = nullptr;          // register_physics_manual
    LuaRegisterFn deprecatedClasses = nullptr;      // register_deprecated_classes
    LuaRegisterFn deprecatedManual = nullptr;       // register_deprecated_manual

    // The network module's pieces (register_network_module), in this order.
    LuaRegisterFn preloadSocketLibrary = nullptr;
    LuaRegisterFn websocketClass = nullptr;
    LuaRegisterFn websocketHandlerMethods = nullptr;
    LuaRegisterFn xmlHttpRequestClass = nullptr;
};

// The process's hooks, all empty until a layer above fills them.
LuaRegistrationHooks& luaRegistrationHooks();

// Calls a hook when it is set.
inline void runRegistrationHook(LuaRegisterFn fn, lua_State* L) {
    if (fn) fn(L);
}

}  // namespace engine
