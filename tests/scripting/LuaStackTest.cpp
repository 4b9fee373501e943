// The Lua stack: execute operations and their stack discipline, pushes, loaders,
// print functions, the script key and the registration order.
#include <gtest/gtest.h>

#include <tolua++.h>

#include <vector>

#include "ScriptTestSupport.h"
#include "engine/deprecated/Array.h"
#include "engine/deprecated/BoxedValues.h"
#include "engine/scene/Node.h"
#include "scripting/LuaRegistrationHooks.h"
#include "scripting/LuaTypeMap.h"
#include "scripting/ToluaFix.h"
#include "support/TestSupport.h"

namespace {

using scripttest::LuaStackTest;

// Two values below every call: a binding's own arguments must survive it.
constexpr int kBelow = 2;

void pushBelow(lua_State* L) {
    lua_pushstring(L, "mine");
    lua_pushinteger(L, 42);
}

void expectBelowIntact(lua_State* L) {
    ASSERT_EQ(lua_gettop(L), kBelow);
    EXPECT_STREQ(lua_tostring(L, 1), "mine");
    EXPECT_EQ(lua_tointeger(L, 2), 42);
}

struct ResultCase {
    const char* body;   // body of function f(a, b)
    int expected;
};

const ResultCase kResults[] = {
    {"return a + b", 5},
    {"return 4294967301", 5},   // cut to 32 bits
    {"return -7.9", -7},
    {"return true", 1},
    {"return false", 0},
    {"return '12'", 12},   // a string that reads as a number counts as that number
    {"return '1x'", 0},
    {"return nil", 0},
    {"", 0},
    {"error('boom')", 0},
    {"return {}", 0},
};

class ExecuteTest : public LuaStackTest {
protected:
    void define(const char* body) { run(std::string("function f(a, b) ") + body + " end"); }
};

TEST_F(ExecuteTest, ExecuteFunctionByHandlerResultsAndStackHeight) {
    for (bool traceback : {false, true}) {
        if (traceback) run("__G__TRACKBACK__ = function(msg) traced = msg; return msg end");
        for (const ResultCase& c : kResults) {
            SCOPED_TRACE(std::string(c.body) + (traceback ? " with traceback" : ""));
            define(c.body);
            const int handler = ref("f");
            pushBelow(L);
            stack->pushInt(2);
            stack->pushInt(3);
            EXPECT_EQ(stack->executeFunctionByHandler(handler, 2), c.expected);
            expectBelowIntact(L);
            lua_settop(L, 0);
        }
    }
    EXPECT_NE(global("traced").find("boom"), std::string::npos);
}

TEST_F(ExecuteTest, ExecuteFunctionByHandlerWithNumberPassesTheNumber) {
    const struct {
        const char* body;   // body of function f(a, b), called with 2.5 alone
        int expected;
    } cases[] = {
        {"return a * 2", 5},
        {"return b == nil and 7 or 0", 7},
        {"return select('#', ...) + 1", 1},
        {"error('boom')", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        run(std::string("function f(a, b, ...) ") + c.body + " end");
        pushBelow(L);
        EXPECT_EQ(stack->executeFunctionByHandlerWithNumber(ref("f"), 2.5), c.expected);
        expectBelowIntact(L);
        lua_settop(L, 0);
    }
    pushBelow(L);
    EXPECT_EQ(stack->executeFunctionByHandlerWithNumber(999, 1.0), 0);   // names no function
    expectBelowIntact(L);
}

TEST_F(ExecuteTest, FailuresConsumeTheirArgumentsAndNothingElse) {
    run("function f() return 1 end");
    run("t = {}");
    lua_getglobal(L, "t");
    const int notFunction = toluafix_refFunction(L, -1, 0);
    lua_pop(L, 1);
    const int unknownHandler = 999;

    // A handler that names no function: failure, never success.
    pushBelow(L);
    stack->pushInt(1);
    EXPECT_EQ(stack->executeFunctionByHandler(unknownHandler, 1), 0);
    expectBelowIntact(L);
    bool called = false;
    stack->pushInt(1);
    EXPECT_FALSE(stack->executeFunction(unknownHandler, 1, 1, [&](lua_State*, int) { called = true; }));
    EXPECT_FALSE(called);
    expectBelowIntact(L);
    engine::__Array* array = engine::__Array::create();
    stack->pushInt(1);
    EXPECT_FALSE(stack->executeFunctionReturnArray(notFunction, 1, 1, *array));
    expectBelowIntact(L);
    EXPECT_EQ(notFunction, 0);

    // executeFunction(n) with a non-function below its arguments pops them all.
    lua_pushnumber(L, 1);
    stack->pushInt(1);
    stack->pushInt(2);
    EXPECT_EQ(stack->executeFunction(2), 0);
    expectBelowIntact(L);
}

// A binding in the middle of a handler call that calls another handler itself.
int callInner(lua_State* L) {
    engine::LuaStack* stack = engine::LuaStack::fromState(L);
    const int handler = static_cast<int>(lua_tointeger(L, 1));
    stack->pushInt(static_cast<int>(lua_tointeger(L, 2)));
    stack->pushInt(100);
    lua_pushinteger(L, stack->executeFunctionByHandler(handler, 2));
    return 1;
}

TEST_F(ExecuteTest, HandlerCallsTakeAnyArgumentCountAndNest) {
    run("function sum(...) local s = 0 for i = 1, select('#', ...) do s = s + select(i, ...) end return s end");
    run("function outer(inner, a) return callInner(inner, a) + 1 end");
    lua_register(L, "callInner", callInner);
    const int sum = ref("sum");
    // Around the room the call keeps for arguments, and far past it.
    for (int count : {0, 1, 31, 32, 33, 34, 300}) {
        SCOPED_TRACE(count);
        pushBelow(L);
        ASSERT_TRUE(lua_checkstack(L, count));
        for (int i = 1; i <= count; ++i) stack->pushInt(i);
        EXPECT_EQ(stack->executeFunctionByHandler(sum, count), count * (count + 1) / 2);
        expectBelowIntact(L);
        lua_settop(L, 0);
    }
    pushBelow(L);
    stack->pushInt(sum);
    stack->pushInt(5);
    EXPECT_EQ(stack->executeFunctionByHandler(ref("outer"), 2), 106);
    expectBelowIntact(L);
    // The inner call still works after the nested one returned.
    stack->pushInt(sum);
    stack->pushInt(7);
    EXPECT_EQ(stack->executeFunctionByHandler(ref("outer"), 2), 108);
    expectBelowIntact(L);
}

TEST_F(ExecuteTest, ExecuteFunctionWithResultsHandsThemToTheCallback) {
    run("function size(view, i) return i * 10, i * 20 end");
    run("function bad() error('x') end");
    const int size = ref("size");
    pushBelow(L);
    stack->pushInt(0);
    stack->pushInt(3);
    double w = 0, h = 0;
    EXPECT_TRUE(stack->executeFunction(size, 2, 2, [&](lua_State* s, int n) {
        ASSERT_EQ(n, 2);
        w = lua_tonumber(s, -2);
        h = lua_tonumber(s, -1);
        lua_pop(s, 2);
    }));
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 60);
    expectBelowIntact(L);

    // Results the callback leaves are removed too; an error gives false.
    stack->pushInt(0);
    stack->pushInt(1);
    EXPECT_TRUE(stack->executeFunction(size, 2, 2, nullptr));
    expectBelowIntact(L);
    EXPECT_FALSE(stack->executeFunction(ref("bad"), 0, 1, nullptr));
    expectBelowIntact(L);
    EXPECT_EQ(stack->executeFunctionWithCallback(size, 0, 0, nullptr), 0);   // i is nil: error
    expectBelowIntact(L);
}

TEST_F(ExecuteTest, ReturnArrayTakesTheLastResultFirstAndOnlyEngineObjects) {
    engine::Node* node = engine::Node::create();
    stack->pushObject(node, "cc.Node");
    lua_setglobal(L, "node");
    run("function f() return 1, 'x', true end");
    run("function g() return node, {}, io.stdout, nil end");

    engine::__Array* array = engine::__Array::create();
    pushBelow(L);
    ASSERT_TRUE(stack->executeFunctionReturnArray(ref("f"), 0, 3, *array));
    expectBelowIntact(L);
    ASSERT_EQ(array->count(), 3u);
    EXPECT_TRUE(dynamic_cast<engine::__Bool*>(array->getObjectAtIndex(0))->getValue());
    EXPECT_STREQ(dynamic_cast<engine::__String*>(array->getObjectAtIndex(1))->getCString(), "x");
    EXPECT_EQ(dynamic_cast<engine::__Double*>(array->getObjectAtIndex(2))->getValue(), 1.0);

    // A file handle is userdata but no engine object: skipped, never cast.
    array->removeAllObjects();
    ASSERT_TRUE(stack->executeFunctionReturnArray(ref("g"), 0, 4, *array));
    ASSERT_EQ(array->count(), 1u);
    EXPECT_EQ(array->getObjectAtIndex(0), node);
    EXPECT_FALSE(stack->executeFunctionReturnArray(ref("f"), 0, 0, *array));
    expectBelowIntact(L);
}

TEST_F(ExecuteTest, StringFileAndGlobalExecution) {
    struct Case {
        const char* code;
        int expected;
    };
    const Case cases[] = {
        {"return 3", 3},
        {"return true", 1},
        {"this is not lua", 0},
        {"error('e')", 0},
    };
    for (const Case& c : cases) {
        pushBelow(L);
        EXPECT_EQ(stack->executeString(c.code), c.expected) << c.code;
        expectBelowIntact(L);
        lua_settop(L, 0);
    }
    run("function g() return 8 end; notfn = 1");
    EXPECT_EQ(stack->executeGlobalFunction("g"), 8);
    EXPECT_EQ(stack->executeGlobalFunction("notfn"), 0);
    EXPECT_EQ(stack->executeGlobalFunction("missing"), 0);
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(ExecuteTest, ScriptFileTriesLuaBeforeLuac) {
    testsupport::TempDir dir;
    dir.write("src/main.lua", "return 1");
    dir.write("src/main.luac", "return 2");
    dir.write("src/only.luac", "return 3");
    struct Case {
        std::string name;
        int expected;
    };
    const Case cases[] = {
        {dir.file("src/main.lua"), 1},
        {dir.file("src/main.luac"), 1},   // ".lua" wins even when ".luac" is asked for
        {dir.file("src/main"), 1},
        {dir.file("src/only.lua"), 3},
        {dir.file("src/none.lua"), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(stack->executeScriptFile(c.name.c_str()), c.expected) << c.name;
}

TEST_F(ExecuteTest, HandleAssertRaisesOnlyInsideAScriptCall) {
    EXPECT_FALSE(stack->handleAssert("outside"));
    lua_pushcfunction(L, [](lua_State* s) -> int {
        engine::LuaStack::fromState(s)->handleAssert(nullptr);
        return 0;
    });
    lua_setglobal(L, "assertNow");
    run("function f() local ok, e = pcall(assertNow); message = e end");
    stack->executeFunctionByHandler(ref("f"), 0);
    EXPECT_NE(global("message").find("ASSERT FAILED ON LUA EXECUTE: unknown"), std::string::npos);
    EXPECT_EQ(stack->getCallDepth(), 0);
}

// An object pushed again and again (more objects than the stack remembers, under
// two type names) is always its one live userdata; once it leaves the scripts,
// the next push gives a new live one, never the detached one.
TEST_F(LuaStackTest, PushObjectKeepsOneLiveUserdataPerObject) {
    std::vector<engine::Node*> nodes;
    for (int i = 0; i < 6; ++i) nodes.push_back(engine::Node::create());
    std::vector<int> first;
    for (engine::Node* node : nodes) {
        stack->pushObject(node, "cc.Node");
        first.push_back(luaL_ref(L, LUA_REGISTRYINDEX));
    }
    for (int round = 0; round < 3; ++round) {
        for (size_t i = 0; i < nodes.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "round " << round << ", node " << i);
            stack->pushObject(nodes[i], round == 1 ? "cc.Ref" : "cc.Node");
            lua_rawgeti(L, LUA_REGISTRYINDEX, first[i]);
            EXPECT_TRUE(lua_rawequal(L, -1, -2));
            lua_setglobal(L, "pushed");
            lua_pop(L, 1);
            run("t = tolua.type(pushed)");
            EXPECT_EQ(global("t"), "cc.Node");
        }
    }
    ASSERT_EQ(lua_gettop(L), 0);

    stack->removeScriptObjectByObject(nodes[0]);
    stack->pushObject(nodes[0], "cc.Node");
    lua_rawgeti(L, LUA_REGISTRYINDEX, first[0]);
    EXPECT_FALSE(lua_rawequal(L, -1, -2));
    EXPECT_EQ(*static_cast<void**>(lua_touserdata(L, -1)), nullptr);     // the detached one
    EXPECT_EQ(*static_cast<void**>(lua_touserdata(L, -2)), nodes[0]);   // the new one
    lua_settop(L, 0);
    for (int ref : first) luaL_unref(L, LUA_REGISTRYINDEX, ref);
}

TEST_F(LuaStackTest, PushScriptValues) {
    engine::Node* node = engine::Node::create();
    engine::ScriptValue::Dict dict{
        {"i", engine::ScriptValue::intValue(3)},
        {"f", engine::ScriptValue::floatValue(0.5f)},
        {"b", engine::ScriptValue::booleanValue(true)},
        {"s", engine::ScriptValue::stringValue("t")},
        {"a", engine::ScriptValue::arrayValue({engine::ScriptValue::intValue(7), engine::ScriptValue::intValue(8)})},
        {"o", engine::ScriptValue::objectValue(node, "cc.Node")},
    };
    stack->pushScriptValueDict(dict);
    lua_setglobal(L, "v");
    run("r = v.i .. ',' .. v.f .. ',' .. tostring(v.b) .. ',' .. v.s .. ',' .. #v.a .. v.a[1] .. v.a[2]"
        " .. ',' .. tolua.type(v.o)");
    EXPECT_EQ(global("r"), "3,0.5,true,t,278,cc.Node");

    stack->pushLong(5000000000L);
    stack->pushString("a\0b", 3);
    EXPECT_EQ(lua_tonumber(L, 1), 5000000000.0);
    EXPECT_EQ(lua_objlen(L, 2), 3u);
}

TEST_F(LuaStackTest, ReloadRequiresTheModuleAgainWithItsNameAsAnArgument) {
    run("loads = 0; package.preload['a.b'] = function() loads = loads + 1; return loads end");
    run("require 'a.b'");
    EXPECT_EQ(stack->reload("a.b"), 2);   // the module's result
    EXPECT_EQ(global("loads"), "2");
    EXPECT_EQ(stack->reload(""), 1);
    EXPECT_EQ(stack->reload(nullptr), 1);
    EXPECT_EQ(global("loads"), "2");
    // A name that would break out of a quoted string stays a name.
    run("package.preload[\"x'); hacked = true; --\"] = function() return 1 end");
    stack->reload("x'); hacked = true; --");
    EXPECT_EQ(global("hacked"), "nil");
}

TEST_F(LuaStackTest, LoaderGoesSecondAndSearchPathAppends) {
    run("n = #package.loaders; second = package.loaders[2]");
    EXPECT_EQ(global("n"), "5");   // Lua's four plus ours at 2
    run("package.loaders = {1, 2, 3, 4}");
    stack->addLuaLoader([](lua_State*) -> int { return 0; });
    run("r = #package.loaders .. type(package.loaders[2]) .. package.loaders[3] .. package.loaders[5]");
    EXPECT_EQ(global("r"), "5function24");
    stack->addLuaLoader(nullptr);
    run("n = #package.loaders");
    EXPECT_EQ(global("n"), "5");

    run("package.path = 'x/?.lua'");
    stack->addSearchPath("lib");
    stack->addSearchPath("lib");
    run("p = package.path");
    EXPECT_EQ(global("p"), "x/?.lua;lib/?.lua;lib/?.lua");
}

TEST_F(LuaStackTest, PrintIsSilentAndReleasePrintJoinsWithTabs) {
    testsupport::LogCapture log;
    run("print(nil, 3, {})");
    run("release_print(nil, 3, {}, 'x', true, print, io.stdout, 1.5)");
    run("release_print()");
    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "[LUA-print] nil\t3\ttable\tx\ttrue\tfunction\tuserdata\t1.5");
    EXPECT_EQ(lines[1], "[LUA-print] ");
}

TEST_F(LuaStackTest, ScriptKeyNeedsBothKeyAndSign) {
    const auto* key = reinterpret_cast<const unsigned char*>("0123456789abcdef");
    const auto* sign = reinterpret_cast<const unsigned char*>("SIGN");
    struct Case {
        const unsigned char* key;
        int keyLength;
        const unsigned char* sign;
        int signLength;
        bool enabled;
    };
    const Case cases[] = {
        {key, 16, sign, 4, true}, {key, 16, sign, 0, false}, {key, 0, sign, 4, false},
        {nullptr, 16, sign, 4, false}, {key, 16, nullptr, 4, false},
    };
    for (const Case& c : cases) {
        stack->setScriptKey(c.key, c.keyLength, c.sign, c.signLength);
        EXPECT_EQ(stack->isScriptKeyEnabled(), c.enabled);
    }
}

std::vector<std::string> g_order;

TEST(LuaStackInit, RegistersInItsFixedOrderAndRefillsOnlyTheTypeMap) {
    engine::LuaRegistrationHooks& hooks = engine::luaRegistrationHooks();
    const engine::LuaRegistrationHooks saved = hooks;
#define VEXO_HOOK(field) hooks.field = [](lua_State*) -> int { g_order.push_back(#field); return 1; }
    VEXO_HOOK(coreBindings);
    VEXO_HOOK(openglBindings);
    VEXO_HOOK(coreManual);
    VEXO_HOOK(utilsModule);
    VEXO_HOOK(mathGlobals);
    VEXO_HOOK(experimentalBindings);
    VEXO_HOOK(experimentalManual);
    VEXO_HOOK(glnodeDrawHandler);
    VEXO_HOOK(physicsBindings);
    VEXO_HOOK(physicsManual);
    VEXO_HOOK(deprecatedClasses);
    VEXO_HOOK(deprecatedManual);
#undef VEXO_HOOK
    luaTypeMap["stale"] = "x.Stale";
    luaClassNameMap["Stale"] = "x.Stale";
    engine::LuaStack* stack = engine::LuaStack::create();
    stack->retain();
    hooks = saved;

    EXPECT_EQ(g_order, (std::vector<std::string>{"coreBindings", "openglBindings", "coreManual", "utilsModule",
                                                 "mathGlobals", "experimentalBindings", "experimentalManual",
                                                 "glnodeDrawHandler", "physicsBindings", "physicsManual",
                                                 "deprecatedClasses", "deprecatedManual"}));
    EXPECT_EQ(luaTypeMap.count("stale"), 0u);
    EXPECT_EQ(luaClassNameMap.count("Stale"), 1u);
    EXPECT_EQ(luaClassNameMap.at("Node"), "cc.Node");
    lua_State* L = stack->getLuaState();
    EXPECT_EQ(luaL_dostring(L, "assert(ScriptHandlerMgr.getInstance and cc.VEXOStreamIO.version == 1)"), 0);
    stack->release();
    engine::AutoreleasePool::getInstance()->clear();
    engine::Director::destroyInstance();
}

}  // namespace
