#include "portal/PayWebViewBinding.h"

#include <string>

#include "portal/PayWebWindow.h"

namespace portal {
namespace {

std::string stringArgument(lua_State* L, int index) {
    size_t length = 0;
    const char* text = lua_tolstring(L, index, &length);
    return text ? std::string(text, length) : std::string();
}

int luaOpenPayWebView(lua_State* L) {
    if (!lua_isstring(L, 1)) {
        lua_pushboolean(L, 0);
        return 1;
    }
    bool opened = false;
    try {   // nothing thrown may cross the Lua frame
        const std::string url = stringArgument(L, 1);
        const std::string target = lua_isstring(L, 2) ? stringArgument(L, 2) : std::string();
        opened = openPayWebView(url, target);
    } catch (...) {
        opened = false;
    }
    lua_pushboolean(L, opened ? 1 : 0);
    return 1;
}

}  // namespace

void registerPayWebViewBinding(lua_State* L) {
    if (!L) return;
    lua_pushcfunction(L, luaOpenPayWebView);
    lua_setglobal(L, "vexo_openPayWebView");
}

}  // namespace portal
