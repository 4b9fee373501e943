#include <lua.hpp>

#include <string>

#include "PortalWindowFixture.h"
#include "portal/PayWebViewBinding.h"

using namespace platform;
using portaltest::PortalWindowFixture;

namespace {

class PayWebViewBindingTest : public PortalWindowFixture {
protected:
    void SetUp() override {
        PortalWindowFixture::SetUp();
        L = luaL_newstate();
        luaL_openlibs(L);
    }
    void TearDown() override {
        lua_close(L);
        PortalWindowFixture::TearDown();
    }

    // Runs `code` and gives the result of its `return` as text.
    std::string run(const std::string& code) {
        if (luaL_dostring(L, code.c_str()) != 0) return std::string("error: ") + lua_tostring(L, -1);
        std::string result = lua_isboolean(L, -1) ? (lua_toboolean(L, -1) ? "true" : "false") : "other";
        lua_settop(L, 0);
        return result;
    }

    lua_State* L = nullptr;
};

TEST_F(PayWebViewBindingTest, NullStateIsIgnored) { portal::registerPayWebViewBinding(nullptr); }

TEST_F(PayWebViewBindingTest, WithoutARuntimeTheAnswerIsFalse) {
    portal::registerPayWebViewBinding(L);
    EXPECT_EQ(run("return vexo_openPayWebView('https://localhost:18443/', '__support')"), "false");
}

TEST_F(PayWebViewBindingTest, ArgumentsAreReadAsTheWindowNeedsThem) {
    WebViewRuntime::instance().install(true);
    makeGameWindow();
    portal::registerPayWebViewBinding(L);
    struct Case {
        const char* call;
        const char* result;
        const char* title;   // of the window afterwards; nullptr: no window
    };
    const Case cases[] = {
        {"vexo_openPayWebView()", "false", nullptr},
        {"vexo_openPayWebView(nil, '__support')", "false", nullptr},
        {"vexo_openPayWebView({})", "false", nullptr},
        {"vexo_openPayWebView('')", "false", nullptr},
        {"vexo_openPayWebView('https://localhost:18443/', '__support')", "true", portal::kSupportTitle},
        {"vexo_openPayWebView('https://localhost:18443/', {})", "true", portal::kPayTitle},
        {"vexo_openPayWebView(12345)", "true", portal::kPayTitle},
    };
    for (const Case& c : cases) {
        portal::resetPayWebViewForTesting();
        EXPECT_EQ(run(std::string("return ") + c.call), c.result) << c.call;
        if (c.title) {
            ASSERT_NE(portal::payWindow(), 0u) << c.call;
            EXPECT_EQ(getWindowText(portal::payWindow()), c.title) << c.call;
        } else {
            EXPECT_EQ(portal::payWindow(), 0u) << c.call;
        }
        pumpAll();
    }
}

}  // namespace
