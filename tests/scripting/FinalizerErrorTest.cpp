// A __gc finalizer that raises while native code, outside any script call, sets
// off a collection step: the error is logged and the native work goes on. An
// error no protected call can catch is logged before the process ends.
#include <gtest/gtest.h>

#include <tolua++.h>

#include <functional>
#include <list>
#include <map>
#include <string>

#include "ScriptTestSupport.h"
#include "engine/scene/Node.h"
#include "support/TestSupport.h"

namespace {

using scripttest::LuaStackTest;

class FinalizerErrorTest : public LuaStackTest {
protected:
    // Leaves the collector in the middle of finalizing 200 unreachable proxies whose
    // finalizers raise; the next allocation outside a protected call runs one.
    void pendRaisingFinalizers() {
        // Made with the collector stopped: a cycle ending while they are made would
        // run a finalizer inside this chunk.
        run("collectgarbage('stop') for i = 1, 200 do "
            "  local p = newproxy(true) getmetatable(p).__gc = function() error('finalizer boom ' .. i) end "
            "end collectgarbage('restart')");
        bool finalizing = false;
        for (int i = 0; i < 100000 && !finalizing; ++i) {
            finalizing = lua_cpcall(L, [](lua_State* L) { return lua_gc(L, LUA_GCSTEP, 0), 0; }, nullptr) != 0;
            if (finalizing) lua_pop(L, 1);
        }
        ASSERT_TRUE(finalizing);
    }
    // A string field or item of the table on top ("" for anything else).
    std::string field(const char* key) {
        lua_getfield(L, -1, key);
        return popText();
    }
    std::string item(int index) {
        lua_rawgeti(L, -1, index);
        return popText();
    }
    std::string popText() {
        const std::string text = lua_isstring(L, -1) ? lua_tostring(L, -1) : "";
        lua_pop(L, 1);
        return text;
    }
    int errors() const {
        int n = 0;
        for (const std::string& line : _log.lines()) n += line.find("[LUA ERROR] ") != std::string::npos;
        return n;
    }
    testsupport::LogCapture _log;
};

TEST_F(FinalizerErrorTest, NativePushesOutsideAScriptCallLogTheErrorAndStillPush) {
    pendRaisingFinalizers();
    engine::Node* node = engine::Node::create();
    std::map<std::string, engine::ScriptValue> dict{{"k", engine::ScriptValue::stringValue("v")}};
    std::list<engine::ScriptValue> array{engine::ScriptValue::stringValue("a")};
    const struct {
        const char* name;
        std::function<void()> push;
        std::function<bool()> pushedRight;   // looks at the top value
    } cases[] = {
        {"string", [&] { stack->pushString("text"); }, [&] { return lua_tostring(L, -1) == std::string("text"); }},
        {"string with a length", [&] { stack->pushString("bytes", 3); },
         [&] { return lua_tostring(L, -1) == std::string("byt"); }},
        {"object", [&] { stack->pushObject(node, "cc.Node"); },
         [&] { return tolua_tousertype(L, -1, nullptr) == static_cast<engine::Ref*>(node); }},
        {"dictionary", [&] { stack->pushScriptValueDict(dict); }, [&] { return field("k") == "v"; }},
        {"array", [&] { stack->pushScriptValueArray(array); }, [&] { return item(1) == "a"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        lua_gc(L, LUA_GCRESTART, 0);   // the push's first allocation steps the collector
        const int before = errors();
        const int top = lua_gettop(L);
        c.push();
        ASSERT_EQ(lua_gettop(L), top + 1);
        EXPECT_TRUE(c.pushedRight());
        EXPECT_EQ(errors(), before + 1);
        lua_settop(L, top);
    }
    EXPECT_TRUE(_log.contains("finalizer boom"));
}

using FinalizerErrorDeathTest = LuaStackTest;   // its log goes to standard error

TEST_F(FinalizerErrorDeathTest, AnErrorNoProtectedCallCatchesIsLogged) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");   // the stream writer runs a thread
    EXPECT_EXIT(
        {
            lua_pushstring(L, "unguarded failure");
            lua_error(L);
        },
        testing::ExitedWithCode(1), "\\[LUA PANIC\\] unguarded failure");
}

}  // namespace
