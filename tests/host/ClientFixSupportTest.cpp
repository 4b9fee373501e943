// The client-fix script's support request on the real engine state against the
// local patch host standing in for the portal: the form it receives, and what the
// reply opens through a recording stand-in of the native bridge. Time-outs run on
// the engine's scheduler, driven by hand.
#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "LuaChunks.h"
#include "bindings/network/LuaXmlHttpRequest.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "engine/network/HttpClient.h"
#include "engine/script/ScriptEngineManager.h"
#include "host/app/AppDelegate.h"
#include "host/app/BindingHooks.h"
#include "host/app/ClientFixes.h"
#include "platform/UrlOpener.h"
#include "scripting/LuaEngine.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"

using namespace std::chrono_literals;
using testsupport::PatchHost;

namespace {

constexpr const char* kEndpoint = "/account/gamepay_url.php";

struct Case {
    const char* name;
    std::string fault;    // the patch host's fault for the endpoint (JSON), "" for none
    bool linkOpened;      // the reply's link opens, else the support page
    bool timesOut;        // the reply comes only after the time-out
};

class SupportOnTheEngine : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(_host.ready()) << _host.error();
        _root = "https://localhost:" + std::to_string(_host.primaryPort());
        // The role is saved in the settings file of the writable folder.
        engine::FileUtils::getInstance()->setWritablePath(_data.path() + "/");
        host::installBindingHooks();
        engine::Director::getInstance();
        engine::ScriptEngineManager::getInstance()->setScriptEngine(engine::LuaEngine::getInstance());
        L = engine::LuaEngine::getInstance()->getLuaStack()->getLuaState();
        bindings::register_xmlhttprequest_class(L);
        hosttest::preloadCjson(L);
        ASSERT_EQ(run("package.path = '" VEXO_SOURCE_DIR "/tests/host/fixtures/game/src/?.lua;' .. package.path;"
                      "OPENED = {}; LOG = {}; release_print = function(t) LOG[#LOG + 1] = t end;"
                      "vexo_native = function(cls, mth, args) "
                      "OPENED[#OPENED + 1] = mth .. ' ' .. args[1] .. ' [' .. args[2] .. ']'; return true end"),
                  "");
        host::installClientFixes(L, _root);
        ASSERT_EQ(run("C = require('game.baner.BanerCommand');"
                      "C.account = { uid = 'u 1', sign = 'sig', serverId = 9 };"
                      "C.onEnterGame({ id = 31, name = 'Lan', level = 12 })"),
                  "");
    }
    void TearDown() override {
        engine::network::HttpClient::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
    }

    std::string run(const std::string& code) { return hosttest::runLua(L, code); }
    std::string eval(const std::string& expr) { return hosttest::evalLua(L, expr); }
    int opened() { return std::stoi(eval("#OPENED")); }
    void replyWithLink(const std::string& link) {
        _host.setFault("*", kEndpoint, R"({"status": 200, "body": "{\"status\":0,\"url\":\")" + link + R"(\"}"})");
    }

    PatchHost _host;
    testsupport::TempDir _data;
    std::string _root;
    lua_State* L = nullptr;
};

class ClientFixSupport : public SupportOnTheEngine, public testing::WithParamInterface<Case> {};

TEST_P(ClientFixSupport, PostsTheFormAndOpensWhatTheReplyAllows) {
    const Case& c = GetParam();
    const std::string link = _root + "/go/login.php?data=xyz";
    if (!c.fault.empty()) {
        std::string fault = c.fault;
        for (size_t at = fault.find("LINK"); at != std::string::npos; at = fault.find("LINK")) {
            fault.replace(at, 4, link);
        }
        _host.setFault("*", kEndpoint, fault);
    }
    ASSERT_EQ(run("C.customerService(); C.customerService()"), "");

    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    if (c.timesOut) {
        ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return !_host.requests().empty(); }, 10s));
        EXPECT_EQ(opened(), 0);
        scheduler->update(20.0f);
        EXPECT_EQ(opened(), 1) << "the time-out opens the support page";
        // The late reply arrives and opens nothing more.
        testsupport::pumpMainThreadUntil([] { return false; }, 2500ms);
    } else {
        ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return opened() > 0; }, 10s));
        testsupport::pumpMainThreadUntil([] { return false; }, 200ms);
    }
    EXPECT_EQ(eval("table.concat(OPENED, '\\n')"), c.linkOpened ? "openPayWebView " + link + " [__support]"
                                                                 : "openPayWebView " + _root + "/report.shtml []");

    const std::vector<PatchHost::Request> requests = _host.requests();
    ASSERT_EQ(requests.size(), 1u) << "one request at a time";
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].path, kEndpoint);
    EXPECT_EQ(requests[0].header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(requests[0].body, "uid=u%201&sign=sig&server=9&roleId=31&roleName=Lan&roleLevel=12");
    const std::string log = eval("table.concat(LOG, '\\n')");
    EXPECT_NE(log.find("fixture showWaiting false"), std::string::npos) << log;
}

const Case kCases[] = {
    {"GoodReply", R"({"status": 200, "body": "{\"status\":0,\"url\":\"LINK\"}"})", true, false},
    {"RefusedByThePortal", R"({"status": 200, "body": "{\"status\":3,\"url\":\"LINK\"}"})", false, false},
    {"OtherHost", R"({"status": 200, "body": "{\"status\":0,\"url\":\"https://127.0.0.2/go/login.php?data=xyz\"}"})",
     false, false},
    {"ServerError", R"({"status": 500, "body": "{\"status\":0,\"url\":\"LINK\"}"})", false, false},
    {"NoSuchPage", "", false, false},
    {"NoReplyInTime", R"({"delay": 1.5, "status": 200, "body": "{\"status\":0,\"url\":\"LINK\"}"})", false, true},
};

INSTANTIATE_TEST_SUITE_P(Replies, ClientFixSupport, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Without the bridge only the support page opens, in the browser, whatever the
// portal answers; without an account nothing is asked of the portal.
TEST_F(SupportOnTheEngine, WithoutTheBridgeTheBrowserShowsTheSupportPage) {
    host::AppDelegate application;   // the program's application object: openURL goes through it
    std::vector<std::string> browsed;
    platform::setUrlOpenerForTesting([&](const std::string& url) {
        browsed.push_back(url);
        return true;
    });
    replyWithLink(_root + "/go/login.php?data=xyz");
    struct Step {
        const char* account;
        size_t requests;
    };
    const Step steps[] = {{"nil", 0}, {"{ uid = 'u 1', sign = 'sig', serverId = 9 }", 1}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.account);
        browsed.clear();
        ASSERT_EQ(run(std::string("vexo_native = nil; C.account = ") + step.account + "; C.customerService()"), "");
        ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return !browsed.empty(); }, 10s))
            << eval("table.concat(LOG, '\\n')");
        EXPECT_EQ(browsed, std::vector<std::string>{_root + "/report.shtml"});
        EXPECT_EQ(_host.requests().size(), step.requests);
    }
    platform::setUrlOpenerForTesting(nullptr);
}

}  // namespace
