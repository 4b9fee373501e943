#include "portal/NativeBridge.h"

#include <cstring>
#include <memory>

#include "platform/DataProtection.h"
#include "portal/BridgeBootstrap.h"
#include "portal/ClipboardText.h"
#include "portal/ExternalUrl.h"
#include "portal/PayWebWindow.h"
#include "portal/SavedLogin.h"
#include "portal/SilentLogin.h"

namespace portal {
namespace {

lua_State* g_state = nullptr;

BridgeServices defaultServices() {
    BridgeServices services;
    services.openLoginCapture = openLoginCapture;
    services.openPayWebView = openPayWebView;
    services.setClipText = setClipText;
    services.getClipText = [](std::string& text) { return getClipText(&text); };
    services.openExternalUrl = [](const std::string& url) { openExternalUrl(url); };
    return services;
}

// A callback reference answered at most once; released unanswered when its flow
// drops it.
class PendingCallback {
public:
    explicit PendingCallback(int ref) : _ref(ref) {}
    ~PendingCallback() {
        if (_ref != -1 && g_state) luaL_unref(g_state, LUA_REGISTRYINDEX, _ref);
    }
    PendingCallback(const PendingCallback&) = delete;
    PendingCallback& operator=(const PendingCallback&) = delete;
    void answer(const std::string& text) {
        const int ref = _ref;
        _ref = -1;
        invokeLuaCallback(ref, text);
    }

private:
    int _ref;
};

Answer answerTo(int ref) {
    auto pending = std::make_shared<PendingCallback>(ref);
    return [pending](const std::string& text) { pending->answer(text); };
}

std::string stringArg(lua_State* L, int index) {
    if (!lua_isstring(L, index)) return {};
    size_t size = 0;
    const char* text = lua_tolstring(L, index, &size);
    return std::string(text, size);
}

// The "content" field of the table at index, "" otherwise.
std::string contentField(lua_State* L, int index) {
    if (!lua_istable(L, index)) return {};
    lua_getfield(L, index, "content");
    std::string text = stringArg(L, -1);
    lua_pop(L, 1);
    return text;
}

void clearSavedLogin() {
    for (const char* key : {"method", "tg_rt", "gg_rt"}) savedLoginSet(key, "");
}

// Pushes the one result of a PlatformPavrel method; false when the method is unknown.
bool platformMethod(lua_State* L, const std::string& method) {
    const BridgeServices& services = bridgeServices();
    const std::string& root = signInEndpoints().portalRoot;
    struct WebSignIn {
        const char* method;
        const char* provider;
        const char* page;
        const char* prefix;
        const char* tokenKey;
    };
    static const WebSignIn kWeb[] = {
        {"loginTelegram", "telegram", "tglogin.php?from=app", "vexo://tgdone", "tg_rt"},
        {"loginGoogle", "google", "glogin.php?from=app", "vexo://gdone", "gg_rt"},
    };
    for (const WebSignIn& web : kWeb) {
        if (method != web.method) continue;
        loginWithWebView(services.openLoginCapture, web.provider, root + web.page, web.prefix, web.tokenKey,
                         answerTo(refLuaCallback(L, 3)));
        lua_pushboolean(L, 1);
        return true;
    }
    if (method == "loginTelegramSilent" || method == "loginGoogleSilent") {
        const int ref = refLuaCallback(L, 3);
        loginSilentAsync(method == "loginTelegramSilent" ? "tg_rt" : "gg_rt",
                         [ref](const std::string& answer) { invokeLuaCallback(ref, answer); });
        lua_pushboolean(L, 1);
        return true;
    }
    if (method == "getGoogleIdToken" || method == "bindTelegram") {
        Answer answer = answerTo(refLuaCallback(L, 3));
        if (method == "getGoogleIdToken") {
            getGoogleIdToken(services.openLoginCapture, std::move(answer));
        } else {
            bindTelegram(services.openLoginCapture, std::move(answer));
        }
        lua_pushboolean(L, 1);
        return true;
    }
    if (method == "getSavedMethod") {
        const std::string saved = savedLoginGet("method");
        lua_pushlstring(L, saved.data(), saved.size());
        return true;
    }
    if (method == "openPayWebView") {
        const bool opened = services.openPayWebView && services.openPayWebView(argString(L, 3, 1), argString(L, 3, 2));
        lua_pushboolean(L, opened);
        return true;
    }
    if (method == "openTelegram") {
        if (services.openExternalUrl) services.openExternalUrl(argString(L, 3, 1));
        lua_pushboolean(L, 1);
        return true;
    }
    if (method == "logout" || method == "switchAccount" || method == "clearSavedLogin") {
        clearSavedLogin();
        lua_pushboolean(L, 1);
        return true;
    }
    static const char* const kNothing[] = {"submitLoginInfo", "contactUs", "faceBookShare",
                                           "openCafeForum",   "bandPhone", "exitGame"};
    for (const char* name : kNothing) {
        if (method == name) {
            lua_pushboolean(L, 1);
            return true;
        }
    }
    return false;
}

// Pushes the one result of a clipboard method; false when the method is another.
bool clipboardMethod(lua_State* L, const std::string& method) {
    const BridgeServices& services = bridgeServices();
    if (method == "setClipText") {
        std::string text = contentField(L, 3);
        if (text.empty() && lua_istable(L, 3)) text = argString(L, 3, 1);
        lua_pushboolean(L, services.setClipText && services.setClipText(text));
        return true;
    }
    if (method == "getClipText") {
        std::string text;
        if (!services.getClipText || !services.getClipText(text)) text.clear();
        lua_pushlstring(L, text.data(), text.size());
        return true;
    }
    return false;
}

int vexo_native(lua_State* L) {
    lua_settop(L, 3);
    const std::string className = stringArg(L, 1);
    const std::string method = stringArg(L, 2);
    if (className.find("AppController") != std::string::npos || className.find("AppUtils") != std::string::npos) {
        if (clipboardMethod(L, method)) return 1;
    }
    if (className.find("PlatformPavrel") != std::string::npos && platformMethod(L, method)) return 1;
    lua_pushnil(L);
    return 1;
}

int vexo_secure_protect(lua_State* L) {
    size_t size = 0;
    const char* text = luaL_checklstring(L, 1, &size);
    const std::string blob = protectLoginBlob(std::string_view(text, size));
    if (blob.empty()) {
        lua_pushnil(L);
    } else {
        lua_pushlstring(L, blob.data(), blob.size());
    }
    return 1;
}

int vexo_secure_unprotect(lua_State* L) {
    size_t size = 0;
    const char* text = luaL_checklstring(L, 1, &size);
    std::string plain;
    const int result = unprotectLoginBlob(std::string_view(text, size), plain);
    if (result == 1) {
        lua_pushlstring(L, plain.data(), plain.size());
        platform::cleanseString(plain);
        return 1;
    }
    lua_pushnil(L);
    lua_pushstring(L, result == 0 ? "notblob" : "fail");
    return 2;
}

}  // namespace

BridgeServices& bridgeServices() {
    static BridgeServices services = defaultServices();
    return services;
}

void registerNativeBridge(lua_State* L) {
    if (!L) return;
    g_state = L;
    const int top = lua_gettop(L);
    lua_register(L, "vexo_native", vexo_native);
    lua_register(L, "vexo_secure_protect", vexo_secure_protect);
    lua_register(L, "vexo_secure_unprotect", vexo_secure_unprotect);
    if (luaL_loadstring(L, kBridgeBootstrap) == 0) lua_pcall(L, 0, LUA_MULTRET, 0);
    lua_settop(L, top);
}

int refLuaCallback(lua_State* L, int index) {
    if (!lua_istable(L, index)) return -1;
    lua_rawgeti(L, index, 1);
    if (!lua_isfunction(L, -1)) {
        lua_pop(L, 1);
        return -1;
    }
    return luaL_ref(L, LUA_REGISTRYINDEX);
}

std::string argString(lua_State* L, int index, int n) {
    if (!lua_istable(L, index)) return {};
    lua_rawgeti(L, index, n);
    std::string text = stringArg(L, -1);
    lua_pop(L, 1);
    return text;
}

void invokeLuaCallback(int ref, const std::string& text) {
    lua_State* L = g_state;
    if (ref == -1 || !L) return;
    const int top = lua_gettop(L);
    lua_rawgeti(L, LUA_REGISTRYINDEX, ref);
    if (lua_isfunction(L, -1)) {
        lua_pushstring(L, text.c_str());
        lua_pcall(L, 1, 0, 0);
    }
    lua_settop(L, top);
    luaL_unref(L, LUA_REGISTRYINDEX, ref);
}

}  // namespace portal
