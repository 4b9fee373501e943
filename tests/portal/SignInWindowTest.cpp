// The bridge with its real services: web sign-in through the pay window's redirect
// capture on the web-view model, and the clipboard of the window model.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/files/FileUtils.h"
#include "platform/WebView.h"
#include "portal/NativeBridge.h"
#include "portal/PayWebWindow.h"
#include "portal/PortalAddresses.h"
#include "portal/PortalWindowFixture.h"
#include "portal/SavedLogin.h"

using platform::WebViewRuntime;

namespace {

class SignInWindowTest : public portaltest::PortalWindowFixture {
protected:
    void SetUp() override {
        PortalWindowFixture::SetUp();
        std::filesystem::create_directories(data.file("writable"));
        _previousWritable = engine::FileUtils::getInstance()->getWritablePath();
        engine::FileUtils::getInstance()->setWritablePath(data.file("writable") + "/");
        L = luaL_newstate();
        luaL_openlibs(L);
        portal::registerNativeBridge(L);
        run("answers = {}; function answer(t) answers[#answers + 1] = t end");
    }
    void TearDown() override {
        PortalWindowFixture::TearDown();   // answers what is still armed while the state lives
        lua_close(L);
        engine::FileUtils::getInstance()->setWritablePath(_previousWritable);
    }
    std::string run(const std::string& code) {
        if (luaL_dostring(L, code.c_str()) == 0) return "";
        std::string message = lua_tostring(L, -1);
        lua_pop(L, 1);
        return message;
    }
    std::string eval(const std::string& expr) {
        EXPECT_EQ(run("RESULT = tostring(" + expr + ")"), "");
        lua_getglobal(L, "RESULT");
        std::string out = lua_tostring(L, -1);
        lua_pop(L, 1);
        return out;
    }
    // The portal redirects from one of its pages to `address`.
    void redirectTo(const std::string& address) {
        const std::string page = portal::portalPage("callback.php");
        WebViewRuntime::instance().setRedirect(page, address);
        WebViewRuntime::instance().lastView()->followLink(page);
        pumpAll();
    }

    lua_State* L = nullptr;

private:
    std::string _previousWritable;
};

TEST_F(SignInWindowTest, WebSignInThroughTheCapture) {
    WebViewRuntime::instance().install(true);
    makeGameWindow();
    ASSERT_EQ(eval("vexo_native('PlatformPavrel', 'loginTelegram', {answer})"), "true");
    pumpAll();
    EXPECT_EQ(WebViewRuntime::instance().lastView()->history().front(), portal::portalPage("tglogin.php?from=app"));
    EXPECT_EQ(eval("#answers"), "0");
    redirectTo("vexo://tgdone?code=1000&userid=42&sign=abc&timestamp=17&rt=t1");
    EXPECT_EQ(eval("table.concat(answers, ';')"), "success|42|abc|17|42");
    EXPECT_EQ(portal::savedLoginLoad(), (portal::SavedLogin{{"method", "telegram"}, {"tg_rt", "t1"}}));

    // Bind, then Google closed by the player: each answers once.
    ASSERT_EQ(eval("vexo_native('PlatformPavrel', 'bindTelegram', {answer})"), "true");
    pumpAll();
    redirectTo("vexo://tgbind?code=1000&ticket=T#x");
    ASSERT_EQ(eval("vexo_native('PlatformPavrel', 'loginGoogle', {answer})"), "true");
    pumpAll();
    portal::payWindowHide(portal::payWindow());
    pumpAll();
    EXPECT_EQ(eval("table.concat(answers, ';')"), "success|42|abc|17|42;ticket|T;faild");
}

TEST_F(SignInWindowTest, ASignInStartedFromASuccessAnswerFindsACleanWindow) {
    WebViewRuntime::instance().install(true);
    makeGameWindow();
    run("function again(t) answer(t); vexo_native('PlatformPavrel', 'loginGoogle', {answer}) end");
    ASSERT_EQ(eval("vexo_native('PlatformPavrel', 'loginTelegram', {again})"), "true");
    pumpAll();
    redirectTo("vexo://tgdone?code=1000&userid=42&sign=abc&timestamp=17");
    EXPECT_EQ(eval("table.concat(answers, ';')"), "success|42|abc|17|42");
    EXPECT_TRUE(portal::payCaptureArmed());
    EXPECT_TRUE(platform::isWindowVisible(portal::payWindow()));
    EXPECT_EQ(WebViewRuntime::instance().lastView()->source(), portal::portalPage("glogin.php?from=app"));
    redirectTo("vexo://gdone?code=1000&userid=9&sign=s&timestamp=1");
    EXPECT_EQ(eval("table.concat(answers, ';')"), "success|42|abc|17|42;success|9|s|1|9");
    EXPECT_FALSE(platform::isWindowVisible(portal::payWindow()));
}

TEST_F(SignInWindowTest, NoWebViewAnswersAtOnce) {
    makeGameWindow();   // no web-view runtime installed
    ASSERT_EQ(eval("vexo_native('PlatformPavrel', 'loginGoogle', {answer})"), "true");
    EXPECT_EQ(eval("table.concat(answers, ';')"), "faild");
    EXPECT_EQ(eval("vexo_native('PlatformPavrel', 'openPayWebView', {'https://localhost:18443/'})"), "false");
}

TEST_F(SignInWindowTest, ClipboardRoundTrip) {
    makeGameWindow();
    EXPECT_EQ(eval("vexo_native('AppUtils', 'getClipText')"), "");
    EXPECT_EQ(eval("vexo_native('AppController', 'setClipText', {content = 'Mộc Hà Lục'})"), "true");
    EXPECT_EQ(eval("vexo_native('AppUtils', 'getClipText')"), "Mộc Hà Lục");
}

}  // namespace
