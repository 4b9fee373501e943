#include "host/app/BindingHooks.h"

#include "bindings/LuaModules.h"
#include "bindings/network/LuaSocketPreload.h"
#include "bindings/network/LuaWebSocket.h"
#include "bindings/network/LuaXmlHttpRequest.h"
#include "scripting/LuaRegistrationHooks.h"

namespace host {

void installBindingHooks() {
    bindings::installRegistrationHooks();
    engine::LuaRegistrationHooks& hooks = engine::luaRegistrationHooks();
    hooks.preloadSocketLibrary = bindings::preload_socket_library;
    hooks.websocketClass = bindings::register_websocket_class;
    hooks.websocketHandlerMethods = bindings::register_websocket_handler_methods;
    hooks.xmlHttpRequestClass = bindings::register_xmlhttprequest_class;
}

}  // namespace host
