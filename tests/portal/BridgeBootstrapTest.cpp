#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "bindings/network/LuaXmlHttpRequest.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/network/HttpClient.h"
#include "portal/NativeBridge.h"
#include "portal/PortalTestSupport.h"
#include "portal/SavedLogin.h"
#include "scripting/LuaEngine.h"
#include "support/PatchHost.h"

using namespace portal;
using namespace std::chrono_literals;
using testsupport::PatchHost;

namespace {

std::string runOn(lua_State* L, const std::string& code) {
    if (luaL_dostring(L, code.c_str()) == 0) return "";
    std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
    lua_pop(L, 1);
    return message;
}

std::string evalOn(lua_State* L, const std::string& expr) {
    EXPECT_EQ(runOn(L, "RESULT = tostring(" + expr + ")"), "");
    lua_getglobal(L, "RESULT");
    std::string out = lua_tostring(L, -1) ? lua_tostring(L, -1) : "";
    lua_pop(L, 1);
    return out;
}

// Stand-ins the bootstrap patches: cc.UserDefault over a Lua table, the game's
// Platform module (preloaded), and log lines collected by release_print.
const char* const kStandIns = R"(
    logs = {}
    function release_print(text) logs[#logs + 1] = text end
    stored = {}
    cc = { UserDefault = {} }
    function cc.UserDefault:setStringForKey(k, v) stored[k] = v end
    function cc.UserDefault:getStringForKey(k) return stored[k] or "" end
    previousCalls = {}
    package.preload.Platform = function()
        local P = {}
        function P:callNativeFunc(...) previousCalls[#previousCalls + 1] = table.concat({tostring(select(1, ...)),
            tostring(select(2, ...)), tostring(select(3, ...)), tostring(select(4, ...))}, ',') .. '/' .. select('#', ...)
            return 'previous' end
        function P:callNativeFuncNotError(...) previousCalls[#previousCalls + 1] = 'notError/' .. select('#', ...)
            return false end
        return P
    end
    package.preload.Bare = function() return { callNativeFunc = 1 } end
)";

class BridgeBootstrapTest : public portaltest::PortalFixture {
protected:
    void SetUp() override {
        L = luaL_newstate();
        luaL_openlibs(L);
        ASSERT_EQ(runOn(L, kStandIns), "");
        registerNativeBridge(L);
    }
    void TearDown() override { lua_close(L); }
    std::string run(const std::string& code) { return runOn(L, code); }
    std::string eval(const std::string& expr) { return evalOn(L, expr); }
    lua_State* L = nullptr;
};

TEST_F(BridgeBootstrapTest, PlatformCallsReachTheBridgeFirst) {
    ASSERT_TRUE(savedLoginSet("method", "google"));
    ASSERT_EQ(run("P = require('Platform'); same = require('Platform') == P"), "");
    EXPECT_EQ(eval("same and P.__vexo_win"), "true");
    const std::string before = eval("tostring(P.callNativeFunc)");
    ASSERT_EQ(run("require('Platform')"), "");
    EXPECT_EQ(eval("tostring(P.callNativeFunc)"), before) << "patched once";

    EXPECT_EQ(eval("P:callNativeFunc('PlatformPavrel', 'getSavedMethod', {}, 'sig')"), "google");
    EXPECT_EQ(eval("#previousCalls"), "0");
    // A nil answer (unknown class) falls back with all five arguments.
    EXPECT_EQ(eval("P:callNativeFunc('Unknown', 'm', 'a', 'sig')"), "previous");
    EXPECT_EQ(eval("previousCalls[1]"), "Unknown,m,a,sig/4");
    EXPECT_EQ(eval("select('#', P:callNativeFuncNotError('PlatformPavrel', 'exitGame', {}, 's')) .. "
                   "tostring(select(2, P:callNativeFuncNotError('PlatformPavrel', 'exitGame', {}, 's')))"),
              "2true");
    EXPECT_EQ(eval("P:callNativeFuncNotError('Unknown', 'm', {}, 's')"), "false");
    EXPECT_EQ(eval("previousCalls[2]"), "notError/4");

    // A module without callNativeFuncNotError gets none; other modules are returned as they are.
    ASSERT_EQ(run("B = require('Bare')"), "");
    EXPECT_EQ(eval("B.callNativeFunc"), "1");
    ASSERT_EQ(run("package.preload.Platform2 = nil; package.loaded.Platform = nil;"
                  "package.preload.Platform = function() return { } end; Q = require('Platform')"),
              "");
    EXPECT_EQ(eval("Q.callNativeFuncNotError"), "nil");
    EXPECT_EQ(eval("Q:callNativeFunc('Unknown', 'm')"), "nil");
    EXPECT_EQ(eval("Q:callNativeFunc('PlatformPavrel', 'exitGame', {})"), "true");
}

TEST_F(BridgeBootstrapTest, SecureAccountValue) {
    ASSERT_EQ(run("cc.UserDefault:setStringForKey('yorn_acount', 'player1'); cc.UserDefault:setStringForKey('other', 'v')"),
              "");
    EXPECT_EQ(eval("stored.yorn_acount:sub(1, 8)"), "VEXODP1:");
    EXPECT_EQ(eval("stored.other"), "v");
    EXPECT_EQ(eval("cc.UserDefault:getStringForKey('yorn_acount')"), "player1");
    EXPECT_EQ(eval("cc.UserDefault:getStringForKey('other')"), "v");
    // An empty value is stored as it is.
    ASSERT_EQ(run("cc.UserDefault:setStringForKey('yorn_acount', '')"), "");
    EXPECT_EQ(eval("stored.yorn_acount"), "");
    // A plain value from an older version: returned, and stored protected.
    ASSERT_EQ(run("stored.yorn_acount = 'legacy'"), "");
    EXPECT_EQ(eval("cc.UserDefault:getStringForKey('yorn_acount')"), "legacy");
    EXPECT_EQ(eval("stored.yorn_acount:sub(1, 8)"), "VEXODP1:");
    EXPECT_EQ(eval("cc.UserDefault:getStringForKey('yorn_acount')"), "legacy");
    // A value that does not unprotect reads as "".
    ASSERT_EQ(run("stored.yorn_acount = 'VEXODP1:!!!'"), "");
    EXPECT_EQ(eval("cc.UserDefault:getStringForKey('yorn_acount')"), "");
    // Patched once: a second registration keeps the same functions.
    const std::string setter = eval("tostring(cc.UserDefault.setStringForKey)");
    registerNativeBridge(L);
    EXPECT_EQ(eval("tostring(cc.UserDefault.setStringForKey)"), setter);
}

TEST(BridgeBootstrapFailureTest, AFailingBootstrapLeavesTheGlobals) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    // cc.UserDefault raises when looked at: the script stops in its first step.
    ASSERT_EQ(runOn(L, "cc = setmetatable({}, {__index = function() error('no') end}); "
                       "plainRequire = require; top = 0"),
              "");
    const int top = lua_gettop(L);
    registerNativeBridge(L);
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_EQ(evalOn(L, "type(vexo_native) .. type(vexo_secure_protect) .. type(vexo_secure_unprotect)"),
              "functionfunctionfunction");
    EXPECT_EQ(evalOn(L, "require == plainRequire"), "true");
    lua_close(L);
}

// The gateway prefetch on the engine's Lua state with the real XMLHttpRequest and
// stand-ins for the file utilities, the scheduler and the json module.
class GatewayPrefetchTest : public portaltest::PortalFixture {
protected:
    void SetUp() override {
        engine::Director::getInstance();
        L = engine::LuaEngine::getInstance()->getLuaStack()->getLuaState();
        bindings::register_xmlhttprequest_class(L);
        ASSERT_TRUE(host.ready()) << host.error();
        gateway = PatchHost::url(host.primaryPort(), "/gw");
        dir.write("res/fenk/gateway", "  " + gateway + "  next\n");
        host.writeFile("gw", R"({"ok":1})");
        ASSERT_EQ(run("RES = '" + dir.path() + "/res/'"), "");
        ASSERT_EQ(run(R"(
            logs = {}
            function release_print(text) logs[#logs + 1] = text end
            local files = {}
            function files:isFileExist(name) local f = io.open(RES .. name) if f then f:close() end return f ~= nil end
            function files:getStringFromFile(name) local f = io.open(RES .. name) local t = f:read('*a') f:close() return t end
            cc.FileUtils = { getInstance = function() return files end }
            frames = {}
            local scheduler = {}
            function scheduler:scheduleScriptFunc(fn, interval, paused)
                assert(interval == 0 and paused == false)
                frames[#frames + 1] = fn return #frames end
            function scheduler:unscheduleScriptEntry(id) frames[id] = false end
            cc.Director = { getInstance = function() return { getScheduler = function() return scheduler end } end }
            function tick() for id, fn in pairs(frames) do if fn then fn(0) end end end
            json = { decode = function(s) if s == '{"ok":1}' then return { ok = 1 } end error('bad json') end }
            network = {}
            package.loaded.YornTools = nil
            package.preload.YornTools = function()
                return { httpGetJson = function(...) network[#network + 1] = select('#', ...) .. ':' .. tostring(...) end }
            end
            got = {}
            function deliver(data) got[#got + 1] = data.ok end
        )"),
                  "");
        registerNativeBridge(L);
    }
    void TearDown() override {
        engine::network::HttpClient::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
    }
    std::string run(const std::string& code) { return runOn(L, code); }
    std::string eval(const std::string& expr) { return evalOn(L, expr); }
    bool hasLog(const std::string& line) {
        return eval("(function() for _, l in ipairs(logs) do if l == [[" + line + "]] then return 1 end end return 0 end)()") ==
               "1";
    }
    bool waitLog(const std::string& line) {
        return testsupport::pumpMainThreadUntil([&] { return hasLog(line); }, 10s);
    }

    lua_State* L = nullptr;
    PatchHost host;
    std::string gateway;
};

TEST_F(GatewayPrefetchTest, WaitersThenNextFrameThenNetwork) {
    ASSERT_EQ(run("Y = require('YornTools'); require('YornTools')"), "");
    EXPECT_TRUE(hasLog("[VEXOGW] prefetch start " + gateway));
    // A waiter before the answer comes, and one failing waiter.
    ASSERT_EQ(run("Y.httpGetJson('" + gateway + "', deliver, nil)"), "");
    EXPECT_EQ(eval("#got"), "0");
    ASSERT_TRUE(waitLog("[VEXOGW] prefetch done status=200 bytes=8"));
    EXPECT_EQ(eval("table.concat(got, ',')"), "1");
    EXPECT_TRUE(hasLog("[VEXOGW] GW recv (prefetched)"));
    // Used once: the next call goes to the network, with its arguments.
    ASSERT_EQ(run("Y.httpGetJson('" + gateway + "', deliver, 'err')"), "");
    EXPECT_EQ(eval("network[1]"), "3:" + gateway);
    EXPECT_EQ(host.requests().size(), 1u) << "started once";
}

TEST_F(GatewayPrefetchTest, DoneBeforeTheCallDeliversOnTheNextFrame) {
    ASSERT_EQ(run("Y = require('YornTools')"), "");
    ASSERT_TRUE(waitLog("[VEXOGW] prefetch done status=200 bytes=8"));
    ASSERT_EQ(run("Y.httpGetJson('https://other/', deliver)"), "");
    EXPECT_EQ(eval("network[1]"), "2:https://other/") << "another address goes to the network";
    ASSERT_EQ(run("Y.httpGetJson('" + gateway + "', deliver)"), "");
    EXPECT_EQ(eval("#got"), "0") << "not within the call";
    ASSERT_EQ(run("tick(); tick()"), "");
    EXPECT_EQ(eval("table.concat(got, ',')"), "1");
}

TEST_F(GatewayPrefetchTest, UnusableReplyFallsBackAndFailingWaiterIsLogged) {
    host.setFault("*", "/gw", R"({"status": 500, "body": "oops"})");
    ASSERT_EQ(run("Y = require('YornTools');"
                  "Y.httpGetJson('" + gateway + "', function() error('waiter broke') end, 'e');"
                  "Y.httpGetJson('" + gateway + "', deliver, 'e')"),
              "");
    ASSERT_TRUE(waitLog("[VEXOGW] prefetch done status=500 bytes=-1"));
    EXPECT_TRUE(hasLog("[VEXOGW] prefetch khong dung duoc (status=500) -> tai lai qua mang"));
    EXPECT_EQ(eval("network[1]"), "3:" + gateway) << "fell back with all arguments";
    EXPECT_EQ(eval("#network"), "2") << "the second call was not the prefetch's";
}

TEST_F(GatewayPrefetchTest, FailingWaiterIsLogged) {
    ASSERT_EQ(run("Y = require('YornTools'); Y.httpGetJson('" + gateway + "', function() error('waiter broke') end)"),
              "");
    ASSERT_TRUE(waitLog("[VEXOGW] prefetch done status=200 bytes=8"));
    EXPECT_EQ(eval("(function() for _, l in ipairs(logs) do if l:find('loi trao ket qua: ', 1, true) and "
                   "l:find('waiter broke', 1, true) then return 1 end end return 0 end)()"),
              "1");
}

TEST_F(GatewayPrefetchTest, NoGatewayFileMeansNoPrefetch) {
    dir.write("res/fenk/gateway", "   \n");
    ASSERT_EQ(run("Y = require('YornTools'); Y.httpGetJson('" + gateway + "', deliver)"), "");
    EXPECT_EQ(eval("network[1]"), "2:" + gateway);
    EXPECT_TRUE(host.requests().empty());
}

}  // namespace
