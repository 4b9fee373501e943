#include "scripting/LuaRegistrationHooks.h"

namespace engine {

LuaRegistrationHooks& luaRegistrationHooks() {
    static LuaRegistrationHooks hooks;
    return hooks;
}

}  // namespace engine
