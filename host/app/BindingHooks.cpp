#include "host/app/BindingHooks.h"

#include "bindings/LuaModules.h"
#include "bindings/network/LuaXmlHttpRequest.h"
#include "scripting/LuaRegistrationHooks.h"

namespace host {

void installBindingHooks() {
    bindings::installRegistrationHooks();
    engine::LuaRegistrationHooks& hooks = engine::luaRegistrationHooks();
    hooks.xmlHttpRequestClass = bindings::register_xmlhttprequest_class;
}

}  // namespace host
