#pragma once
// The portal's natives for the scripts, installed by the script start right after
// the binding modules and the script key, in this order. Main thread only; a null
// state does nothing.
#include <lua.hpp>

// The global "vexo_openPayWebView"(url [, title]) -> boolean.
void registerPayWebViewBinding(lua_State* L);
// The bridge's globals and its bootstrap script (which wraps "require").
void registerNativeBridge(lua_State* L);
// Key and character filters for the engine's edit fields.
void installTextInputFix();
