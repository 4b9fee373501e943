#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "portal/NativeBridge.h"
#include "portal/PortalTestSupport.h"
#include "portal/SavedLogin.h"

using namespace portal;

namespace {

// A fresh Lua state with the bridge registered, and recording services.
class NativeBridgeTest : public portaltest::PortalFixture {
protected:
    struct Capture {
        std::string url, prefix;
        std::function<void(const std::string&)> deliver;
    };

    void SetUp() override {
        _saved = bridgeServices();
        BridgeServices& services = bridgeServices();
        services.openLoginCapture = [this](const std::string& url, const std::string& prefix,
                                           std::function<void(const std::string&)> deliver) {
            captures.push_back({url, prefix, std::move(deliver)});
            return captureOpens;
        };
        services.openPayWebView = [this](const std::string& url, const std::string& title) {
            payOpened.push_back(url + "|" + title);
            return payResult;
        };
        services.setClipText = [this](const std::string& text) {
            clipboard = text;
            return true;
        };
        services.getClipText = [this](std::string& text) {
            text = clipboard;
            return !text.empty();
        };
        services.openExternalUrl = [this](const std::string& url) { opened.push_back(url); };
        signInEndpoints().portalRoot = "https://portal.test/";
        L = luaL_newstate();
        luaL_openlibs(L);
        registerNativeBridge(L);
        run("answers = {}; function answer(t) answers[#answers + 1] = t end");
    }
    void TearDown() override {
        captures.clear();   // drops unanswered callbacks while the state lives
        lua_close(L);
        bridgeServices() = _saved;
    }

    std::string run(const std::string& code) {
        if (luaL_dostring(L, code.c_str()) == 0) return "";
        std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
        lua_pop(L, 1);
        return message;
    }
    std::string eval(const std::string& expr) {
        EXPECT_EQ(run("RESULT = " + expr), "");
        lua_getglobal(L, "RESULT");
        size_t size = 0;
        const char* text = lua_tolstring(L, -1, &size);
        std::string out = text ? std::string(text, size) : std::string("<not text>");
        lua_pop(L, 1);
        return out;
    }
    std::string answers() { return eval("table.concat(answers, ';')"); }
    // Functions held in the registry: callbacks not yet released.
    int heldFunctions() {
        return std::stoi(eval("(function() local n = 0 for _, v in pairs(debug.getregistry()) do "
                              "if type(v) == 'function' then n = n + 1 end end return tostring(n) end)()"));
    }

    lua_State* L = nullptr;
    std::vector<Capture> captures;
    bool captureOpens = true;
    bool payResult = true;
    std::vector<std::string> payOpened, opened;
    std::string clipboard;

private:
    BridgeServices _saved;
};

TEST_F(NativeBridgeTest, ClassesAndMethodsToOneResult) {
    ASSERT_TRUE(savedLoginSet("method", "google"));
    run("function show(...) local n = select('#', ...) local v = ... "
        "return n .. ':' .. type(v) .. ':' .. tostring(v) end");
    struct Case {
        const char* call;   // arguments of vexo_native
        const char* result;
    };
    const Case cases[] = {
        {"'AppUtils', 'getClipText', {}", "1:string:"},
        {"'AppController', 'setClipText', {content = '', 'abc'}", "1:boolean:true"},
        {"'AppUtils', 'getClipText'", "1:string:abc"},
        {"'x.AppController', 'setClipText', {content = 'xyz', 'abc'}", "1:boolean:true"},
        {"'AppUtils', 'getClipText', nil", "1:string:xyz"},
        {"'AppUtils', 'setClipText', 'not a table'", "1:boolean:true"},
        {"'AppUtils', 'getClipText', {}", "1:string:"},
        {"'AppUtils', 'setClipText', {12}", "1:boolean:true"},
        {"'AppUtils', 'getClipText', {}", "1:string:12"},
        {"'AppUtils', 'exitGame'", "1:nil:nil"},
        {"'com/game/platform/PlatformPavrel', 'exitGame'", "1:boolean:true"},
        {"'com/game/platform/PlatformPavrel', 'logout '", "1:nil:nil"},
        {"'PlatformPavrel', 'getSavedMethod'", "1:string:google"},
        {"'PlatformPavrel', 'openPayWebView', {'https://pay.test/', 'Nap'}", "1:boolean:true"},
        {"'PlatformPavrel', 'openTelegram', {'tg://resolve?domain=x'}", "1:boolean:true"},
        {"'PlatformPavrel', 'contactUs', {}", "1:boolean:true"},
        {"'PlatformPavrel', 'unknownMethod', {}", "1:nil:nil"},
        {"'Other', 'getSavedMethod'", "1:nil:nil"},
        {"nil, 'getSavedMethod'", "1:nil:nil"},
        {"", "1:nil:nil"},
        {"'PlatformPavrel', 'logout'", "1:boolean:true"},
        {"'PlatformPavrel', 'getSavedMethod'", "1:string:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(eval(std::string("show(vexo_native(") + c.call + "))"), c.result);
    }
    EXPECT_EQ(payOpened, std::vector<std::string>{"https://pay.test/|Nap"});
    EXPECT_EQ(opened, std::vector<std::string>{"tg://resolve?domain=x"});
    EXPECT_EQ(savedLoginLoad(), (SavedLogin{{"gg_rt", ""}, {"method", ""}, {"tg_rt", ""}}));
    payResult = false;
    EXPECT_EQ(eval("show(vexo_native('PlatformPavrel', 'openPayWebView', {'https://pay.test/'}))"), "1:boolean:false");
}

TEST_F(NativeBridgeTest, SignInMethodsAnswerOnceAndReleaseTheirCallback) {
    const int baseline = heldFunctions();
    ASSERT_TRUE(savedLoginStore({}));
    // Web sign-in: opened, answered later.
    EXPECT_EQ(eval("tostring(vexo_native('PlatformPavrel', 'loginTelegram', {answer}))"), "true");
    EXPECT_EQ(eval("tostring(vexo_native('PlatformPavrel', 'loginGoogle', {answer}))"), "true");
    EXPECT_EQ(eval("tostring(vexo_native('PlatformPavrel', 'bindTelegram', {answer}))"), "true");
    EXPECT_EQ(eval("tostring(vexo_native('PlatformPavrel', 'getGoogleIdToken', {answer}))"), "true");
    ASSERT_EQ(captures.size(), 4u);
    EXPECT_EQ(captures[0].url, "https://portal.test/tglogin.php?from=app");
    EXPECT_EQ(captures[0].prefix, "vexo://tgdone");
    EXPECT_EQ(captures[1].url, "https://portal.test/glogin.php?from=app");
    EXPECT_EQ(captures[1].prefix, "vexo://gdone");
    EXPECT_EQ(captures[2].prefix, "vexo://tgbind");
    EXPECT_EQ(captures[3].prefix, "https://portal.test/gcallback.php#");
    EXPECT_EQ(answers(), "");
    EXPECT_EQ(heldFunctions(), baseline + 4);

    captures[0].deliver("vexo://tgdone?code=1000&userid=42&sign=abc&timestamp=17&rt=");
    captures[1].deliver("");
    captures[2].deliver("vexo://tgbind?code=1000&ticket=T#frag");
    captures[0].deliver("vexo://tgdone?code=1000&userid=1&sign=s&timestamp=1");   // a second capture: no answer
    EXPECT_EQ(answers(), "success|42|abc|17|42;faild;ticket|T");
    EXPECT_EQ(savedLoginGet("method"), "telegram");
    EXPECT_EQ(heldFunctions(), baseline + 1);
    captures.clear();   // the window dropped the last capture unanswered
    EXPECT_EQ(heldFunctions(), baseline);

    // No capture: "faild" at once; silent without a token: "faild" within the call;
    // a callback that raises is dropped and still released; args without a function.
    captureOpens = false;
    EXPECT_EQ(run("vexo_native('PlatformPavrel', 'loginGoogle', {answer});"
                  "vexo_native('PlatformPavrel', 'loginTelegramSilent', {answer});"
                  "vexo_native('PlatformPavrel', 'loginGoogleSilent', {function() error('boom') end});"
                  "vexo_native('PlatformPavrel', 'loginGoogleSilent', {'not a function'});"
                  "vexo_native('PlatformPavrel', 'loginGoogleSilent', 'no table')"),
              "");
    EXPECT_EQ(answers(), "success|42|abc|17|42;faild;ticket|T;faild;faild");
    EXPECT_EQ(heldFunctions(), baseline);
}

TEST_F(NativeBridgeTest, CallbacksRunOnTheRegisteredState) {
    // The call comes from a coroutine that is finished and collected before the answer.
    EXPECT_EQ(run("local co = coroutine.create(function() vexo_native('PlatformPavrel', 'bindTelegram', "
                  "{function(t) answer(t .. (coroutine.running() and ' in a coroutine' or '')) end}) end);"
                  "assert(coroutine.resume(co)); co = nil; collectgarbage()"),
              "");
    EXPECT_EQ(run("local co = coroutine.create(function() "
                  "vexo_native('PlatformPavrel', 'loginTelegramSilent', {answer}) end); assert(coroutine.resume(co))"),
              "");
    EXPECT_EQ(answers(), "faild");
    ASSERT_EQ(captures.size(), 1u);
    captures[0].deliver("vexo://tgbind?code=1000&ticket=T");
    EXPECT_EQ(answers(), "faild;ticket|T");

    // The answer text ends at its first zero byte.
    EXPECT_EQ(run("holder = {answer}"), "");
    lua_getglobal(L, "holder");
    const int ref = refLuaCallback(L, -1);
    lua_pop(L, 1);
    invokeLuaCallback(ref, std::string("a\0b", 3));
    EXPECT_EQ(answers(), "faild;ticket|T;a");
    EXPECT_EQ(argString(L, 1, 1), "") << "no table there";
}

TEST_F(NativeBridgeTest, SecureTextGlobals) {
    EXPECT_EQ(eval("table.concat({tostring(vexo_secure_unprotect('plain'))}, ',') .. ',' .. "
                   "select(2, vexo_secure_unprotect('plain'))"),
              "nil,notblob");
    EXPECT_EQ(eval("select('#', vexo_secure_unprotect('VEXODP1:!!!')) .. ',' .. select(2, vexo_secure_unprotect('VEXODP1:!!!'))"),
              "2,fail");
    EXPECT_EQ(eval("vexo_secure_unprotect(vexo_secure_protect('s\\0cret'))"), std::string("s\0cret", 6));
    EXPECT_EQ(eval("vexo_secure_unprotect(vexo_secure_protect(12))"), "12");
    EXPECT_EQ(eval("vexo_secure_protect('x'):sub(1, 8)"), "VEXODP1:");
    EXPECT_NE(run("vexo_secure_protect()").find("bad argument #1 to 'vexo_secure_protect'"), std::string::npos);
    EXPECT_NE(run("vexo_secure_unprotect({})").find("bad argument #1 to 'vexo_secure_unprotect'"), std::string::npos);
    breakKey();
    EXPECT_EQ(eval("tostring(vexo_secure_protect('x'))"), "nil");
}

}  // namespace
