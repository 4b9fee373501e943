#pragma once
// The native bridge: the Lua global vexo_native(className, methodName, args) through
// which the game's Platform module reaches the portal services, the globals
// vexo_secure_protect / vexo_secure_unprotect, and the bridge bootstrap script.
//
// - Classes match by substring ("AppController"/"AppUtils": the clipboard;
//   "PlatformPavrel": sign-in, the saved login, the pay window, links), methods
//   exactly; every call returns exactly one value (nil for what is not known).
// - Sign-in methods return true at once; their one answer reaches the function in
//   item 1 of args later (the silent re-login without a saved token: within the
//   call; with one: once its worker has the reply, SilentLogin.h). Callbacks
//   always run on the Lua state given to registerNativeBridge (a coroutine that
//   made the call may be gone by then). A callback is released exactly once: after
//   its answer, or unanswered when its flow is dropped.
// Main thread only.
#include <functional>
#include <string>

#include <lua.hpp>

#include "portal/SignIn.h"

namespace portal {

// Registers the three globals on L, keeps L for the callbacks, then runs the
// bootstrap script (a load or run error is dropped). A null state does nothing.
void registerNativeBridge(lua_State* L);

// What the bridge uses of the windows and the desktop; replaceable by tests.
struct BridgeServices {
    CaptureOpener openLoginCapture;
    std::function<bool(const std::string& url, const std::string& title)> openPayWebView;
    std::function<bool(const std::string& utf8)> setClipText;
    std::function<bool(std::string& utf8)> getClipText;
    std::function<void(const std::string& url)> openExternalUrl;
};
BridgeServices& bridgeServices();

// The registry reference of item 1 of the table at index when it is a function,
// else -1.
int refLuaCallback(lua_State* L, int index);
// Item n of the table at index as a string (numbers converted); "" otherwise.
std::string argString(lua_State* L, int index, int n);
// Calls the callback of ref with text (cut at its first zero byte) on the kept
// state, drops any error, and releases ref. Nothing for -1 or before registration.
void invokeLuaCallback(int ref, const std::string& text);

}  // namespace portal
