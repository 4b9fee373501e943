#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "bindings/LuaModules.h"
#include "bindings/network/LuaXmlHttpRequest.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/network/HttpClient.h"
#include "scripting/LuaEngine.h"
#include "support/HeapPeak.h"
#include "support/PatchHost.h"
#include "support/RawHttpServer.h"
#include "support/TestSupport.h"

using testsupport::PatchHost;
using namespace std::chrono_literals;

namespace {

class XmlHttpRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine::Director::getInstance();
        L = engine::LuaEngine::getInstance()->getLuaStack()->getLuaState();
        bindings::register_xmlhttprequest_class(L);
        ASSERT_TRUE(host.ready()) << host.error();
        run("BASE = 'https://localhost:" + std::to_string(host.primaryPort()) + "'; calls = 0; args = {}");
        run("CLOSED = 'https://localhost:" + std::to_string(PatchHost::closedPort()) + "'");
        run("function count(arg) calls = calls + 1; args[#args + 1] = arg end");
    }
    void TearDown() override {
        engine::network::HttpClient::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
    }

    // Runs a chunk; "" on success, else the error message.
    std::string run(const std::string& code) {
        if (luaL_dostring(L, code.c_str()) == 0) return "";
        std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
        lua_pop(L, 1);
        return message;
    }
    // The value of a Lua expression as text (tostring).
    std::string eval(const std::string& expr) {
        EXPECT_EQ(run("RESULT = tostring(" + expr + ")"), "");
        lua_getglobal(L, "RESULT");
        std::string text = lua_tostring(L, -1);
        lua_pop(L, 1);
        return text;
    }
    int calls() { return std::stoi(eval("calls")); }
    bool waitCalls(int n) {
        return testsupport::pumpMainThreadUntil([&] { return calls() >= n; }, 10s);
    }
    // Frames for a while, so that any late delivery would have happened.
    void settle(std::chrono::milliseconds time = 300ms) {
        testsupport::pumpMainThreadUntil([] { return false; }, time);
    }

    lua_State* L = nullptr;
    PatchHost host;
};

TEST_F(XmlHttpRequestTest, JsonAddressesSetTheResponseType) {
    const std::pair<const char*, int> cases[] = {
        {"a.json", 4}, {"https://h/list.json", 4}, {".json", 0}, {"https://h/a.JSON", 0},
        {"https://h/a.json?x=1", 0}, {"https://h/a.txt", 0},
    };
    for (const auto& [url, type] : cases) {
        SCOPED_TRACE(url);
        EXPECT_EQ(run(std::string("x = cc.XMLHttpRequest:new(); x:open('GET', '") + url + "')"), "");
        EXPECT_EQ(eval("x.responseType"), std::to_string(type));
        EXPECT_EQ(eval("x.readyState"), "1");
    }
    // A type set by the script stays unless the address ends in ".json".
    EXPECT_EQ(run("x = cc.XMLHttpRequest:new(); x.responseType = 1.9; x:open('GET', 'https://h/a.txt')"), "");
    EXPECT_EQ(eval("x.responseType"), "1");
    EXPECT_EQ(run("x.timeout = 2500.7; x.withCredentials = false"), "");
    EXPECT_EQ(eval("x.timeout .. ' ' .. tostring(x.withCredentials)"), "2500 false");
}

TEST_F(XmlHttpRequestTest, OkAnswerHeadersAndResponsePerType) {
    host.writeFile("hello.txt", std::string("hi\0!", 4));
    host.setFault("*", "/hello.txt", R"({"headers": [["X-One", "1"], ["X-Dup", "a"], ["X-Dup", "b"]]})");
    ASSERT_EQ(run("x = cc.XMLHttpRequest:new(); x:registerScriptHandler(count);"
                  "x:open('GET', BASE .. '/hello.txt'); x:send()"),
              "");
    ASSERT_TRUE(waitCalls(1));
    EXPECT_EQ(eval("args[1] == '' and x.status .. ' ' .. x.readyState .. ' ' .. x.statusText"), "200 4 200 OK");
    EXPECT_EQ(eval("x:getResponseHeader('X-One')"), " 1");
    EXPECT_EQ(eval("x:getResponseHeader('X-Dup')"), " b") << "a later line replaces";
    EXPECT_EQ(eval("x:getResponseHeader('x-one')"), "nil") << "names are case-sensitive";
    EXPECT_EQ(eval("x:getResponseHeader('X-Missing')"), "nil");
    const std::string all = eval("x:getAllResponseHeaders()");
    EXPECT_NE(all.find("X-Dup:  b\nX-One:  1\n"), std::string::npos) << all;
    EXPECT_EQ(all.find('\r'), std::string::npos);
    EXPECT_EQ(all.find("HTTP/"), std::string::npos);

    EXPECT_EQ(eval("#x.responseText .. ':' .. x.responseText:byte(3)"), "4:0");
    const std::pair<int, std::string> types[] = {
        {0, "string 4"}, {4, "string 4"}, {1, "table 104,105,0,33"}, {7, "string 4"},
    };
    run("function shape(r) if type(r) == 'table' then return 'table ' .. table.concat(r, ',') end "
        "return type(r) .. ' ' .. #r end");
    for (const auto& [type, shape] : types) {
        EXPECT_EQ(run("x.responseType = " + std::to_string(type)), "");
        EXPECT_EQ(eval("shape(x.response)"), shape) << type;
    }
}

TEST_F(XmlHttpRequestTest, FailedAnswersReportTheirCodeWithoutAnEarlierBody) {
    host.writeFile("ok.txt", "first");
    host.writeFile("big.bin", std::string(100000, 'b'));
    host.setFault("*", "/big.bin", R"({"close_after": 5000})");
    host.setFault("*", "/missing.txt", R"({"status": 404, "body": "nope"})");
    ASSERT_EQ(run("x = cc.XMLHttpRequest:new(); x:registerScriptHandler(count); x.responseType = 4;"
                  "x:open('GET', BASE .. '/missing.txt'); x:send()"),
              "");
    ASSERT_TRUE(waitCalls(1));
    EXPECT_EQ(eval("x.status .. ' ' .. x.readyState .. ' [' .. x.responseText .. '] ' .. x.statusText"),
              "404 1 [] 404 Not Found");
    EXPECT_EQ(eval("x.response"), "nil");

    // Reuse: after a 200, neither a 404 nor a body cut off after the status line
    // shows the earlier body; the cut-off transfer is a failed one.
    struct Case {
        const char* path;
        std::string state;   // status, ready state, [body], [status text], response, headers
    };
    const Case cases[] = {
        {"/missing.txt", "404 1 [] [404 Not Found] nil true"},
        {"/big.bin", "0 1 [] [] nil false"},
    };
    int expected = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_EQ(run("x:open('GET', BASE .. '/ok.txt'); x:send()"), "");
        ASSERT_TRUE(waitCalls(++expected));
        EXPECT_EQ(eval("x.status .. ' ' .. x.readyState .. ' ' .. x.response"), "200 4 first");
        ASSERT_EQ(run(std::string("x:open('GET', BASE .. '") + c.path + "'); x:send()"), "");
        ASSERT_TRUE(waitCalls(++expected));
        EXPECT_EQ(eval("x.status .. ' ' .. x.readyState .. ' [' .. x.responseText .. '] [' .. x.statusText .. '] ' .. "
                       "tostring(x.response) .. ' ' .. tostring(x:getAllResponseHeaders() ~= '')"),
                  c.state);
    }

    // No answer at all.
    ASSERT_EQ(run("y = cc.XMLHttpRequest:new(); y:registerScriptHandler(count); y.responseType = 1;"
                  "y:open('GET', CLOSED .. '/a'); y:send()"),
              "");
    ASSERT_TRUE(waitCalls(++expected));
    EXPECT_EQ(eval("y.status .. ' ' .. y.readyState .. ' [' .. y.statusText .. '] ' .. tostring(y.response)"),
              "0 1 [] nil");
    EXPECT_EQ(eval("#args .. args[#args]"), std::to_string(expected));
}

TEST_F(XmlHttpRequestTest, RequestHeadersAndBodies) {
    ASSERT_EQ(run("x = cc.XMLHttpRequest:new(); x:registerScriptHandler(count);"
                  "x:setRequestHeader('X-Rep', 'a'); x:setRequestHeader('X-Rep', 'b');"
                  "x:setRequestHeader('B-Second', '2'); x:setRequestHeader('A-First', '1');"
                  "x:open('GET', BASE .. '/h'); x:send()"),
              "");
    ASSERT_TRUE(waitCalls(1));
    const auto headers = host.requests().at(0).headers;
    std::vector<std::string> ours;
    for (const auto& [name, value] : headers)
        if (name == "X-Rep" || name == "A-First" || name == "B-Second") ours.push_back(name + "=" + value);
    EXPECT_EQ(ours, (std::vector<std::string>{"A-First=1", "B-Second=2", "X-Rep=a,b"}));

    struct Case {
        const char* method;
        const char* data;   // Lua expression
        std::string body;
    };
    const Case cases[] = {
        {"POST", "'abc'", "abc"}, {"post", "'abc'", "abc"}, {"PUT", "'p'", "p"},   {"POST", "''", ""},
        {"GET", "'abc'", ""},     {"DELETE", "'d'", ""},    {"POST", "12", "12"}, {"POST", "'a\\0b'", std::string("a\0b", 3)},
    };
    int n = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " " + c.data);
        ASSERT_EQ(run(std::string("x = cc.XMLHttpRequest:new(); x:registerScriptHandler(count); x:open('") + c.method +
                      "', BASE .. '/b'); x:send(" + c.data + ")"),
                  "");
        ASSERT_TRUE(waitCalls(++n));
        const auto request = host.requests().back();
        EXPECT_EQ(request.body, c.body);
        EXPECT_EQ(request.method, std::string(c.method) == "post" ? "POST" : c.method);
    }
}

TEST_F(XmlHttpRequestTest, WrongArgumentCounts) {
    ASSERT_EQ(run("x = cc.XMLHttpRequest:new()"), "");
    const std::pair<const char*, const char*> cases[] = {
        {"cc.XMLHttpRequest:new(1)", "XMLHttpRequest has wrong number of arguments: 1, was expecting 0 \n"},
        {"x:open('GET')", "'open' function of XMLHttpRequest wrong number of arguments: 1, was expecting 2\n"},
        {"x:setRequestHeader('a')",
         "'setRequestHeader' function of XMLHttpRequest wrong number of arguments: 1, was expecting 2\n"},
        {"x:getAllResponseHeaders(1)",
         "'getAllResponseHeaders' function of XMLHttpRequest wrong number of arguments: 1, was expecting 0\n"},
        {"x:getResponseHeader()",
         "'getResponseHeader' function of XMLHttpRequest wrong number of arguments: 0, was expecting 1\n"},
        {"x:registerScriptHandler()",
         "'registerScriptHandler' function of XMLHttpRequest wrong number of arguments: 0, was expecting 1\n"},
        {"x:unregisterScriptHandler(count)",
         "'unregisterScriptHandler' function of XMLHttpRequest wrong number of arguments: 1, was expecting 0\n"},
        {"XSET.responseType(x)",
         "'setResponseType' function of XMLHttpRequest wrong number of arguments: 0, was expecting 1\n"},
        {"XSET.withCredentials(x, 1, 2)",
         "'setWithCredentials' function of XMLHttpRequest wrong number of arguments: 2, was expecting 1\n"},
        {"XSET.timeout(x)", "'setTimeout' function of XMLHttpRequest wrong number of arguments: 0, was expecting 1\n"},
    };
    // The setters, as the class's property table holds them.
    ASSERT_EQ(run("XSET = getmetatable(x)['.set']"), "");
    for (const auto& [code, message] : cases) {
        SCOPED_TRACE(code);
        const std::string error = run(code);
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
    EXPECT_EQ(run("x:abort(1, 2); x:send(1, 2); x:abort()"), "") << "abort and send never raise";
    EXPECT_EQ(eval("x.readyState"), "0");
}

// Every method and property checks self: another object, a cast userdata, nil or
// a plain value raises instead of being read as a request.
TEST_F(XmlHttpRequestTest, WrongSelfRaises) {
    bindings::register_core_classes(L);   // cc.Node
    ASSERT_EQ(run("x = cc.XMLHttpRequest:new(); XGET = getmetatable(x)['.get']; node = cc.Node:create()"), "");
    const std::pair<const char*, const char*> cases[] = {
        {"cc.XMLHttpRequest.open(node, 'GET', BASE)", "invalid 'self' in function 'open'"},
        {"cc.XMLHttpRequest.send(tolua.cast(node, 'cc.XMLHttpRequest'))", "invalid 'self' in function 'send'"},
        {"cc.XMLHttpRequest.abort(nil)", "invalid 'self' in function 'abort'"},
        {"cc.XMLHttpRequest.getAllResponseHeaders({})", "invalid 'self' in function 'getAllResponseHeaders'"},
        {"XGET.status(node)", "invalid 'self' in function 'status'"},
        {"XGET.responseText(42)", "invalid 'self' in function 'responseText'"},
    };
    for (const auto& [code, message] : cases) {
        SCOPED_TRACE(code);
        EXPECT_NE(run(code).find(message), std::string::npos) << run(code);
    }
    EXPECT_EQ(eval("x.readyState"), "0");
}

TEST_F(XmlHttpRequestTest, HandlerReplacedRemovedAbsent) {
    host.writeFile("a.txt", "a");
    ASSERT_EQ(run("first = 0; x = cc.XMLHttpRequest:new();"
                  "x:registerScriptHandler(function() first = first + 1 end); x:registerScriptHandler(count);"
                  "x:open('GET', BASE .. '/a.txt'); x:send()"),
              "");
    ASSERT_TRUE(waitCalls(1));
    EXPECT_EQ(eval("first"), "0");
    EXPECT_EQ(eval("select('#', unpack(args)) .. '[' .. args[1] .. ']'"), "1[]");

    ASSERT_EQ(run("x:unregisterScriptHandler(); x:open('GET', BASE .. '/a.txt'); x:send();"
                  "y = cc.XMLHttpRequest:new(); y:open('GET', BASE .. '/a.txt'); y:send()"),
              "");
    ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return eval("x.readyState .. y.readyState") == "44"; }, 10s));
    settle();
    EXPECT_EQ(calls(), 1);
}

TEST_F(XmlHttpRequestTest, AbortSupersedesAndReuse) {
    host.writeFile("slow.txt", "slow");
    host.writeFile("fast.txt", "fast");
    host.setFault("*", "/slow.txt", R"({"delay": 0.4})");
    // Abort after send: nothing happens when the answer comes.
    ASSERT_EQ(run("x = cc.XMLHttpRequest:new(); x:registerScriptHandler(count);"
                  "x:open('GET', BASE .. '/slow.txt'); x:send(); x:abort()"),
              "");
    settle(900ms);
    EXPECT_EQ(calls(), 0);
    EXPECT_EQ(eval("x.readyState .. x.status .. '[' .. x.responseText .. ']'"), "00[]");
    EXPECT_EQ(host.requests().size(), 1u);

    // A send without an engine request does nothing.
    ASSERT_EQ(run("x:send()"), "");
    settle();
    EXPECT_EQ(host.requests().size(), 1u);

    // abort, open, send: only the newest answer is delivered.
    ASSERT_EQ(run("x:open('GET', BASE .. '/slow.txt'); x:send(); x:abort();"
                  "x:open('GET', BASE .. '/fast.txt'); x:send()"),
              "");
    ASSERT_TRUE(waitCalls(1));
    settle(900ms);
    EXPECT_EQ(calls(), 1);
    EXPECT_EQ(eval("x.responseText"), "fast");
    EXPECT_EQ(host.requests().size(), 3u);
}

TEST_F(XmlHttpRequestTest, ScriptDropsTheObjectInFlight) {
    host.writeFile("a.txt", "kept");
    host.setFault("*", "/a.txt", R"({"delay": 0.2})");
    ASSERT_EQ(run("do local x = cc.XMLHttpRequest:new(); x:registerScriptHandler(function() "
                  "calls = calls + 1; seen = x.responseText end);"
                  "x:open('GET', BASE .. '/a.txt'); x:send() end; collectgarbage(); collectgarbage()"),
              "");
    engine::AutoreleasePool::getInstance()->clear();   // the script's reference is gone
    ASSERT_TRUE(waitCalls(1));
    EXPECT_EQ(eval("seen"), "kept");
    settle(100ms);
    EXPECT_EQ(run("collectgarbage()"), "");

    // Dropped with the client shutting down before the answer: released unanswered.
    ASSERT_EQ(run("do local y = cc.XMLHttpRequest:new(); y:registerScriptHandler(count);"
                  "y:open('GET', BASE .. '/a.txt'); y:send() end"),
              "");
    engine::AutoreleasePool::getInstance()->clear();
    engine::network::HttpClient::destroyInstance();
    settle(50ms);
    EXPECT_EQ(calls(), 1);
}

// A peer whose reply never ends: the transfer stops at the reply's cap (the
// smaller one when the body is to become a table of bytes) and ends as a failed
// one, holding nothing of it; a reply within the caps arrives whole.
TEST_F(XmlHttpRequestTest, RepliesAreCapped) {
    const std::string endlessHead = "HTTP/1.1 200 OK\r\nContent-Length: 1000000000000\r\n\r\n";
    testsupport::RawHttpServer endless(endlessHead, std::string(65536, 'e'));
    ASSERT_TRUE(endless.listening());
    const std::string within(3u << 20, 'w');
    testsupport::RawHttpServer sized("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(within.size()) +
                                     "\r\n\r\n" + within);
    ASSERT_TRUE(sized.listening());
    struct Case {
        const char* name;
        std::string url;
        int type;
        std::string state;   // status, ready state, body length, response's type
        size_t peakBelow;
    };
    const Case cases[] = {
        // The 32 MiB cap, the body's string grown by doubling and the transfer's buffers.
        {"endless as text", endless.url("/e"), 0, "0 1 0 string", size_t(128) << 20},
        {"endless as bytes", endless.url("/e"), 1, "0 1 0 nil", size_t(16) << 20},
        {"within the caps as bytes", sized.url("/s"), 1, "200 4 3145728 table", size_t(16) << 20},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(run("x = cc.XMLHttpRequest:new(); x:registerScriptHandler(count); x.responseType = " +
                      std::to_string(c.type) + "; x:open('GET', '" + c.url + "'); x:send()"),
                  "");
        ++n;
        const auto peak = testsupport::peakHeapDuring([&] { waitCalls(n); });
        ASSERT_EQ(calls(), n);
        EXPECT_EQ(eval("x.status .. ' ' .. x.readyState .. ' ' .. #x.responseText .. ' ' .. type(x.response)"), c.state);
        if (peak) EXPECT_LT(*peak, c.peakBelow);
    }
    // A body over the byte table's cap, read as bytes once it has arrived as text.
    const std::string over((4u << 20) + 1, 'o');
    testsupport::RawHttpServer large("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(over.size()) + "\r\n\r\n" +
                                     over);
    ASSERT_EQ(run("x = cc.XMLHttpRequest:new(); x:registerScriptHandler(count); x:open('GET', '" + large.url("/l") +
                  "'); x:send()"),
              "");
    ASSERT_TRUE(waitCalls(++n));
    EXPECT_EQ(eval("x.status .. ' ' .. #x.responseText"), "200 4194305");
    EXPECT_EQ(run("x.responseType = 1"), "");
    EXPECT_EQ(eval("type(x.response)"), "nil");
}

}  // namespace
