#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include <tolua++.h>

#include "BindingTestSupport.h"
#include "bindings/network/LuaSocketPreload.h"
#include "bindings/network/LuaWebSocket.h"
#include "engine/deprecated/Array.h"
#include "engine/deprecated/BoxedValues.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaRegistrationHooks.h"
#include "support/HeapPeak.h"
#include "support/TestSupport.h"
#include "support/WsPeer.h"

using namespace std::chrono_literals;

namespace {

class WebSocketBindingTest : public bindingtest::LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        engine::LuaRegistrationHooks& hooks = engine::luaRegistrationHooks();
        hooks.preloadSocketLibrary = bindings::preload_socket_library;
        hooks.websocketClass = bindings::register_websocket_class;
        hooks.websocketHandlerMethods = bindings::register_websocket_handler_methods;
        engine::register_network_module(L);
        ASSERT_EQ(run(R"(
            log = {}
            function note(text) log[#log + 1] = text end
            function logText() return table.concat(log, ' | ') end
            function held()
                local n = 0
                for _ in pairs(debug.getregistry().toluafix_refid_function_mapping) do n = n + 1 end
                return n
            end
            function bytes(t)
                if type(t) ~= 'table' then return type(t) .. ':' .. tostring(t) end
                return '{' .. table.concat(t, ',') .. '}'
            end
        )"), "");
    }

    // The sockets go before the director: a worker still running would hand its
    // events to a director being torn down.
    void TearDown() override {
        run("for k, v in pairs(_G) do if tolua.type(v) == 'cc.WebSocket' then _G[k] = nil end end "
            "collectgarbage('collect')");
        LuaEngineBindingTest::TearDown();
    }

    bool pumpUntil(const std::string& condition, std::chrono::milliseconds timeout = 10000ms) {
        return testsupport::pumpMainThreadUntil([&] { return eval(condition) == "true"; }, timeout);
    }
    void pumpFor(std::chrono::milliseconds time) { testsupport::pumpMainThreadUntil([] { return false; }, time); }
};

TEST_F(WebSocketBindingTest, ArgumentErrors) {
    ASSERT_EQ(run("ws = cc.WebSocket:create('ws://127.0.0.1:1/'); f = function() end"), "");
    struct Case {
        const char* call;
        const char* error;
    };
    const Case cases[] = {
        {"cc.WebSocket:create()", "error in function 'create'."},
        {"cc.WebSocket:create('ws://h/', 'chat')", "error in function 'create'."},
        {"cc.WebSocket.create('ws://h/')", "error in function 'create'."},
        {"cc.WebSocket:createByAProtocol('ws://h/')", "error in function 'createByAProtocol'."},
        {"cc.WebSocket:createByAProtocol('ws://h/', {})", "error in function 'createByAProtocol'."},
        {"cc.WebSocket:createByProtocolArray('ws://h/', {'chat'})", "error in function 'createByProtocolArray'."},
        {"ws:getReadyState(1)", "error in function 'getReadyState'."},
        {"cc.WebSocket.getReadyState({})", "error in function 'getReadyState'."},
        {"ws:close(1)", "error in function 'close'."},
        {"cc.WebSocket.close(nil)", "invalid 'self' in function 'close'"},
        {"ws:sendString()", "error in function 'sendString'."},
        {"ws:sendString({})", "error in function 'sendString'."},
        {"ws:sendString('a', 'b')", "error in function 'sendString'."},
        {"cc.WebSocket.sendString({}, 'a')", "error in function 'sendString'."},
        {"ws:registerScriptHandler(f)", "error in function 'registerScriptHandler'."},
        {"ws:registerScriptHandler(1, 0)", "error in function 'registerScriptHandler'."},
        {"ws:registerScriptHandler(f, 0, 0)", "error in function 'registerScriptHandler'."},
        {"ws:unregisterScriptHandler()", "error in function 'unregisterScriptHandler'."},
        {"ws:unregisterScriptHandler('x')", "error in function 'unregisterScriptHandler'."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const std::string error = eval(c.call);
        EXPECT_TRUE(error.starts_with("error: ")) << error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

// Types 0..3 (cut to an integer) file kinds 16..19; anything else files
// nothing and keeps no reference to the function.
TEST_F(WebSocketBindingTest, HandlerTypesOutsideTheRangeKeepNothing) {
    ASSERT_EQ(run("ws = cc.WebSocket:create('ws://127.0.0.1:1/')"), "");
    struct Case {
        const char* type;
        bool filed;
    };
    const Case cases[] = {{"0", true}, {"3", true}, {"3.9", true}, {"-0.5", true}, {"'2'", true},
                          {"4", false}, {"-1", false}, {"19", false}, {"0/0", false}, {"1e300", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ASSERT_EQ(run("ws:unregisterScriptHandler(0); ws:unregisterScriptHandler(3); ws:unregisterScriptHandler(2)"), "");
        ASSERT_EQ(run("before = held(); ws:registerScriptHandler(function() end, " + std::string(c.type) + ")"), "");
        EXPECT_EQ(eval("held() - before"), c.filed ? "1" : "0");
    }
    // Unregistering releases the function.
    ASSERT_EQ(run("before = held(); ws:registerScriptHandler(function() end, 1); ws:unregisterScriptHandler(1.5)"), "");
    EXPECT_EQ(eval("held() - before"), "0");
}

TEST_F(WebSocketBindingTest, TalksToThePeer) {
    testsupport::WsPeer peer;
    ASSERT_TRUE(peer.ready()) << peer.error();
    ASSERT_EQ(run("URL = '" + peer.url() + "'"), "");
    ASSERT_EQ(run(R"(
        ws = cc.WebSocket:create(URL)
        state0 = ws:getReadyState()
        ws:registerScriptHandler(function(arg)
            note('open ' .. type(arg) .. ':' .. arg .. ' state ' .. ws:getReadyState())
            ws:sendString('hello')
            ws:sendString('a\0b')      -- a zero byte: sent as binary
            ws:sendString('')
            ws:sendString('cmd:big:0') -- an empty binary message back
            ws:sendString('cmd:big:3')
            ws:sendString('cmd:close:4000')
        end, 0)
        ws:registerScriptHandler(function(msg, extra)
            if type(msg) == 'string' then note('text ' .. msg:len() .. ':' .. msg)
            else note('binary ' .. bytes(msg)) end
            assert(extra == nil)
        end, 1)
        ws:registerScriptHandler(function(arg) note('close ' .. arg .. ' state ' .. ws:getReadyState()) end, 2)
        ws:registerScriptHandler(function() note('kind 19 called') end, 3)
    )"), "");
    EXPECT_EQ(eval("state0"), "0");
    const int top = lua_gettop(L);
    ASSERT_TRUE(pumpUntil("#log >= 7")) << eval("logText()");
    pumpFor(200ms);
    EXPECT_EQ(lua_gettop(L), top) << "callbacks leave the stack as they found it";
    EXPECT_EQ(eval("logText()"),
              "open string: state 1 | text 5:hello | binary {97,0,98} | text 0: | binary {} | binary {171,171,171} | "
              "close  state 3");
}

TEST_F(WebSocketBindingTest, FailedConnectionCallsOnlyClose) {
    ASSERT_EQ(run(R"(
        ws = cc.WebSocket:createByAProtocol('ws://127.0.0.1:)" + std::to_string(1) + R"(/', 'chat')
        for n = 0, 3 do ws:registerScriptHandler(function(arg) note(n .. ':' .. tostring(arg)) end, n) end
    )"), "");
    ASSERT_TRUE(pumpUntil("#log >= 1"));
    pumpFor(200ms);
    EXPECT_EQ(eval("logText()"), "2:");
    EXPECT_EQ(eval("ws:getReadyState()"), "3");
}

TEST_F(WebSocketBindingTest, ProtocolArrayUpToTheFirstEmptySlot) {
    testsupport::WsPeer peer;
    ASSERT_TRUE(peer.ready()) << peer.error();
    // Scripts get such arrays from older engine APIs; the test makes one.
    tolua_usertype(L, "CCArray");
    engine::__Array* array = engine::__Array::create();
    for (const char* name : {"nope", "echo", "", "chat"}) array->addObject(engine::__String::create(name));
    tolua_pushusertype(L, array, "CCArray");
    lua_setglobal(L, "protocols");
    ASSERT_EQ(run("URL = '" + peer.url() + "'"), "");
    ASSERT_EQ(run(R"(
        ws = cc.WebSocket:createByProtocolArray(URL, protocols)
        ws:registerScriptHandler(function() ws:sendString('cmd:protocol') end, 0)
        ws:registerScriptHandler(function(msg) note(msg) end, 1)
    )"), "");
    ASSERT_TRUE(pumpUntil("#log >= 1"));
    EXPECT_EQ(eval("logText()"), "protocol:echo");
}

// The collector deletes the socket, open or still connecting: no handler runs
// afterwards, and a userdata whose object is gone reads state -1.
TEST_F(WebSocketBindingTest, CollectedSocketsCallNothing) {
    testsupport::WsPeer peer;
    ASSERT_TRUE(peer.ready()) << peer.error();
    ASSERT_EQ(run("URL = '" + peer.url() + "'"), "");
    ASSERT_EQ(run(R"(
        local function watch(ws, name)
            for n = 0, 3 do ws:registerScriptHandler(function() note(name .. n) end, n) end
        end
        watch(cc.WebSocket:create(URL), 'connecting')
        collectgarbage('collect')   -- the connecting one goes
        opened = cc.WebSocket:create(URL)
        watch(opened, 'opened')
        opened:registerScriptHandler(function() note('open'); for i = 1, 10 do opened:sendString('x') end end, 0)
    )"), "");
    ASSERT_TRUE(pumpUntil("#log >= 1"));
    ASSERT_EQ(run("kept = opened; getmetatable(opened).__gc(opened); opened = nil; collectgarbage('collect')"), "");
    pumpFor(500ms);
    EXPECT_EQ(eval("logText()"), "open");
    EXPECT_EQ(eval("kept:getReadyState()"), "-1");
    EXPECT_EQ(eval("cc.WebSocket.getReadyState(nil)"), "-1");
}

TEST_F(WebSocketBindingTest, SocketLibraryIsPreloaded) {
    const char* entries[] = {"socket.core", "mime.core", "ltn12", "mime", "socket.ftp", "socket.headers",
                             "socket.http", "socket.mbox", "socket.smtp", "socket.tp", "socket.url", "socket"};
    for (const char* name : entries) {
        SCOPED_TRACE(name);
        EXPECT_EQ(eval("type(package.preload['" + std::string(name) + "'])"), "function");
    }
    // Exactly these twelve.
    ASSERT_EQ(run("for k in pairs(package.preload) do package.preload[k] = nil end"), "");
    bindings::preload_socket_library(L);
    EXPECT_EQ(eval("(function() local n = 0 for _ in pairs(package.preload) do n = n + 1 end return n end)()"),
              std::to_string(std::size(entries)));
    EXPECT_EQ(eval("package.loaded['socket']"), "nil") << "nothing is loaded before a require";
    ASSERT_EQ(run(R"(
        package.path = ''; package.cpath = ''   -- nothing from disk
        local socket = require 'socket'
        assert(type(socket.gettime()) == 'number')
        assert(require('socket.url').parse('http://h:81/p').port == '81')
        assert(require('mime').b64('hi') == 'aGk=')
        local server = assert(socket.bind('127.0.0.1', 0))
        local _, port = server:getsockname()
        local client = assert(socket.connect('127.0.0.1', port))
        local peer = server:accept()
        client:send('ping\n')
        assert(peer:receive() == 'ping')
        client:close(); peer:close(); server:close()
    )"), "");
}

// A binary message reaches the script as one array of byte numbers built in
// place; one past the script's cap ends the connection (the close handler runs).
TEST_F(WebSocketBindingTest, BinaryMessagesUpToTheCapArriveAsByteArrays) {
    testsupport::WsPeer peer;
    ASSERT_TRUE(peer.ready()) << peer.error();
    ASSERT_EQ(run("URL = '" + peer.url() + "'"), "");
    ASSERT_EQ(run(R"(
        ws = cc.WebSocket:create(URL)
        ws:registerScriptHandler(function() ws:sendString('cmd:big:4194304') end, 0)
        ws:registerScriptHandler(function(msg)
            note(type(msg) .. ' ' .. #msg .. ' ' .. msg[1] .. ' ' .. msg[#msg] .. ' ' .. tostring(msg[#msg + 1]))
            ws:sendString('cmd:big:4194305')
        end, 1)
        ws:registerScriptHandler(function() note('close') end, 2)
        ws:registerScriptHandler(function() note('error') end, 3)
    )"), "");
    const auto peak = testsupport::peakHeapDuring([&] { pumpUntil("#log >= 2", 30000ms); });
    EXPECT_EQ(eval("logText()"), "table 4194304 171 171 nil | close");
    if (peak) EXPECT_LT(*peak, size_t(128) << 20);
}

}  // namespace
