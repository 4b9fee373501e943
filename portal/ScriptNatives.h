#pragma once
// The pay window's and the edit fields' natives, installed by the script start
// around the native bridge (portal/NativeBridge.h). Main thread only; a null state
// does nothing.
#include <lua.hpp>

namespace portal {

// The global "vexo_openPayWebView"(url [, title]) -> boolean.
void registerPayWebViewBinding(lua_State* L);
// Key and character filters for the engine's edit fields.
void installTextInputFix();

}  // namespace portal
