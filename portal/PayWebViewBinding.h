#pragma once
// The scripts' way to the pay/support window: the Lua global
// vexo_openPayWebView(url[, target]) -> boolean.
//
// Contract: registerPayWebViewBinding sets the global (nothing for a null state).
// The first argument must be a string (a number counts), else the answer is false
// and nothing opens; a missing or non-string target is "". The answer is
// openPayWebView's. Raises no Lua error.
#include <lua.hpp>

namespace portal {

void registerPayWebViewBinding(lua_State* L);

}  // namespace portal
