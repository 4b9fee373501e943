#include "bindings/LuaModules.h"

#include "bindings/deprecated/LuaDeprecated.h"
#include "bindings/opengl/LuaOpenGL.h"
#include "bindings/physics/LuaPhysicsManual.h"
#include "scripting/LuaRegistrationHooks.h"

namespace bindings {

void installRegistrationHooks() {
    engine::LuaRegistrationHooks& hooks = engine::luaRegistrationHooks();
    hooks.coreBindings = &register_core_classes;
    hooks.openglBindings = &register_opengl_bindings;
    hooks.experimentalBindings = &register_experimental_classes;
    hooks.glnodeDrawHandler = &register_glnode_draw_handler_methods;
    hooks.physicsBindings = &register_physics_classes;
    hooks.physicsManual = &register_physics_manual;
    hooks.deprecatedClasses = &register_deprecated_classes;
    hooks.deprecatedManual = &register_deprecated_manual;
}

bool globalsTableExists(lua_State* L) {
    lua_pushstring(L, "_G");
    lua_rawget(L, LUA_GLOBALSINDEX);
    const bool table = lua_istable(L, -1);
    lua_pop(L, 1);
    return table;
}

}  // namespace bindings
