// The script handler registry, its Lua side and the script call-function action.
#include <gtest/gtest.h>

#include <climits>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/scene/Node.h"
#include "scripting/LuaCallFunc.h"
#include "scripting/LuaEngine.h"
#include "scripting/ToluaFix.h"

namespace {

using engine::ScriptHandlerMgr;
using Kind = ScriptHandlerMgr::HandlerType;

class HandlerRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        luaEngine = engine::LuaEngine::getInstance();
        engine::ScriptEngineManager::getInstance()->setScriptEngine(luaEngine);
        L = luaEngine->getLuaStack()->getLuaState();
        mgr = ScriptHandlerMgr::getInstance();
        ASSERT_EQ(luaL_dostring(L, "hits = 0; function f(...) hits = hits + 1; last = select('#', ...) end"), 0);
    }
    void TearDown() override {
        engine::AutoreleasePool::getInstance()->clear();
        engine::ScriptEngineManager::destroyInstance();   // deletes the Lua engine
        engine::Director::destroyInstance();
    }
    int newHandler() {
        lua_getglobal(L, "f");
        const int id = toluafix_refFunction(L, -1, 0);
        lua_pop(L, 1);
        return id;
    }
    bool alive(int handler) {
        toluafix_getFunctionByRefid(L, handler);
        const bool function = lua_isfunction(L, -1);
        lua_pop(L, 1);
        return function;
    }
    // Functions held in the handler table.
    int heldFunctions() {
        lua_getfield(L, LUA_REGISTRYINDEX, "toluafix_refid_function_mapping");
        int n = 0;
        for (lua_pushnil(L); lua_next(L, -2) != 0; lua_pop(L, 1)) ++n;
        lua_pop(L, 1);
        return n;
    }
    int hits() {
        lua_getglobal(L, "hits");
        const int n = static_cast<int>(lua_tointeger(L, -1));
        lua_pop(L, 1);
        return n;
    }

    engine::LuaEngine* luaEngine = nullptr;
    lua_State* L = nullptr;
    ScriptHandlerMgr* mgr = nullptr;
    int object = 0;
    int other = 0;
};

TEST_F(HandlerRegistry, AddReplaceAndRemove) {
    const int first = newHandler();
    const int second = newHandler();
    mgr->addObjectHandler(&object, first, Kind::KEYPAD);
    mgr->addObjectHandler(&object, second, Kind::KEYPAD);   // replaces, releasing the first
    EXPECT_EQ(mgr->getObjectHandler(&object, Kind::KEYPAD), second);
    EXPECT_FALSE(alive(first));
    EXPECT_TRUE(alive(second));

    mgr->removeObjectHandler(&object, Kind::KEYPAD);
    EXPECT_EQ(mgr->getObjectHandler(&object, Kind::KEYPAD), 0);
    EXPECT_FALSE(alive(second));
    mgr->removeObjectHandler(&object, Kind::KEYPAD);   // nothing left: nothing happens
    mgr->removeObjectHandler(nullptr, Kind::KEYPAD);
    mgr->addObjectHandler(nullptr, newHandler(), Kind::NODE);
    EXPECT_EQ(mgr->getObjectHandler(nullptr, Kind::NODE), 0);

    const int a = newHandler();
    const int b = newHandler();
    const int c = newHandler();
    mgr->addObjectHandler(&object, a, Kind::NODE);
    mgr->addObjectHandler(&object, b, Kind::MENU_CLICKED);
    mgr->addObjectHandler(&other, c, Kind::NODE);
    EXPECT_EQ(mgr->getObjectHandler(&object, Kind::MENU_CLICKED), b);
    mgr->removeObjectAllHandlers(&object);
    for (Kind k : {Kind::NODE, Kind::MENU_CLICKED}) EXPECT_EQ(mgr->getObjectHandler(&object, k), 0);
    EXPECT_FALSE(alive(a));
    EXPECT_FALSE(alive(b));
    EXPECT_EQ(mgr->getObjectHandler(&other, Kind::NODE), c);
    EXPECT_TRUE(alive(c));
}

TEST_F(HandlerRegistry, CustomKindsCountFromTenThousandAboveTheLargestCustomKind) {
    struct Step {
        enum { ADD, CUSTOM, REMOVE } op;
        Kind kind;
        int expected;   // the kind a custom add returns
    };
    const Step steps[] = {
        {Step::CUSTOM, Kind::NODE, 10000},
        {Step::CUSTOM, Kind::NODE, 10001},
        {Step::ADD, Kind::MENU_CLICKED, 0},   // a built-in kind after the custom ones
        {Step::CUSTOM, Kind::NODE, 10002},
        {Step::REMOVE, static_cast<Kind>(10002), 0},
        {Step::CUSTOM, Kind::NODE, 10002},
        // A script's handler under the largest kind: the lowest free custom kinds follow.
        {Step::ADD, static_cast<Kind>(INT_MAX), 0},
        {Step::CUSTOM, Kind::NODE, 10003},
        {Step::REMOVE, static_cast<Kind>(10001), 0},
        {Step::CUSTOM, Kind::NODE, 10001},
        {Step::CUSTOM, Kind::NODE, 10004},
    };
    for (const Step& s : steps) {
        switch (s.op) {
        case Step::ADD: mgr->addObjectHandler(&object, newHandler(), s.kind); break;
        case Step::REMOVE: mgr->removeObjectHandler(&object, s.kind); break;
        case Step::CUSTOM: EXPECT_EQ(static_cast<int>(mgr->addCustomHandler(&object, newHandler())), s.expected);
        }
    }
    // Handlers of kinds 0 and 1: the custom kind never collides with MENU_CLICKED.
    mgr->addObjectHandler(&other, newHandler(), Kind::NODE);
    const int menu = newHandler();
    mgr->addObjectHandler(&other, menu, Kind::MENU_CLICKED);
    EXPECT_EQ(mgr->getObjectHandler(&other, Kind::MENU_CLICKED), menu);
    EXPECT_EQ(static_cast<int>(mgr->addCustomHandler(&other, newHandler())), 10000);
    EXPECT_EQ(mgr->getObjectHandler(&other, Kind::MENU_CLICKED), menu);
    // After the only handler is removed, numbering starts over.
    int third = 0;
    mgr->addObjectHandler(&third, newHandler(), Kind::NODE);
    mgr->removeObjectHandler(&third, Kind::NODE);
    EXPECT_EQ(static_cast<int>(mgr->addCustomHandler(&third, newHandler())), 10000);
}

TEST_F(HandlerRegistry, LuaSideRegistersUnregistersAndChecksItsArguments) {
    engine::Node* node = engine::Node::create();
    luaEngine->getLuaStack()->pushObject(node, "cc.Node");
    lua_setglobal(L, "node");
    ASSERT_EQ(luaL_dostring(L, R"(
        mgr = ScriptHandlerMgr:getInstance()
        mgr:registerScriptHandler(node, f, 5.9)
    )"), 0) << lua_tostring(L, -1);
    const int handler = mgr->getObjectHandler(node, Kind::KEYPAD);
    EXPECT_NE(handler, 0);
    engine::KeypadScriptData key{7, node};
    engine::ScriptEvent event(engine::KEYPAD_EVENT, &key);
    luaEngine->sendEvent(&event);
    EXPECT_EQ(hits(), 1);

    ASSERT_EQ(luaL_dostring(L, "mgr:unregisterScriptHandler(node, 5)"), 0);
    EXPECT_EQ(mgr->getObjectHandler(node, Kind::KEYPAD), 0);
    EXPECT_FALSE(alive(handler));
    ASSERT_EQ(luaL_dostring(L, "mgr:registerScriptHandler(node, f, 0); mgr:removeObjectAllHandlers(node)"), 0);
    EXPECT_EQ(mgr->getObjectHandler(node, Kind::NODE), 0);

    struct Case {
        const char* code;
        const char* message;
    };
    const Case cases[] = {
        {"mgr:registerScriptHandler(node, 1, 5)", "error in function 'registerScriptHandler'"},
        {"mgr:registerScriptHandler(node, f)", "error in function 'registerScriptHandler'"},
        {"mgr:registerScriptHandler({}, f, 5)", "error in function 'registerScriptHandler'"},
        {"mgr:unregisterScriptHandler(node, 5, 6)", "error in function 'unregisterScriptHandler'"},
        {"mgr:removeObjectAllHandlers()", "error in function 'removeObjectAllHandlers'"},
        {"ScriptHandlerMgr.getInstance(1)", "error in function 'getInstance'"},
        // Kinds beyond an int, and a dead object: refused, no function kept.
        {"mgr:registerScriptHandler(node, f, 0/0)", "argument #4 is 'number'; 'int' expected."},
        {"mgr:registerScriptHandler(node, f, 2^31)", "argument #4 is 'number'; 'int' expected."},
        {"mgr:registerScriptHandler(node, f, -2^31 - 1)", "argument #4 is 'number'; 'int' expected."},
        {"mgr:unregisterScriptHandler(node, 1e300)", "argument #3 is 'number'; 'int' expected."},
        {"mgr:registerScriptHandler(dead, f, 5)",
         "invalid 'cobj' in function 'tolua_Engine_ScriptHandlerMgr_registerScriptHandler00'"},
    };
    engine::Node* dead = engine::Node::create();
    luaEngine->getLuaStack()->pushObject(dead, "cc.Node");
    lua_setglobal(L, "dead");
    luaEngine->getLuaStack()->removeScriptObjectByObject(dead);
    const int held = heldFunctions();
    for (const Case& c : cases) {
        ASSERT_NE(luaL_dostring(L, c.code), 0) << c.code;
        EXPECT_NE(std::string(lua_tostring(L, -1)).find(c.message), std::string::npos) << lua_tostring(L, -1);
        lua_settop(L, 0);
    }
    EXPECT_EQ(heldFunctions(), held);
    // The largest and smallest ints are kinds like any other.
    ASSERT_EQ(luaL_dostring(L, "mgr:registerScriptHandler(node, f, 2^31 - 0.5)"
                               "mgr:registerScriptHandler(node, f, -2^31)"), 0) << lua_tostring(L, -1);
    EXPECT_NE(mgr->getObjectHandler(node, static_cast<Kind>(INT_MAX)), 0);
    EXPECT_NE(mgr->getObjectHandler(node, static_cast<Kind>(INT_MIN)), 0);
}

TEST_F(HandlerRegistry, CallFuncCloneGetsItsOwnIdForTheSameFunction) {
    engine::Node* target = engine::Node::create();
    auto* action = engine::LuaCallFunc::create();
    action->setTarget(target);
    EXPECT_EQ(action->clone(), nullptr);   // no CALLFUNC handler yet

    int nativeCalls = 0;
    action->initWithFunction([&](void* self, engine::Node* node) {
        EXPECT_EQ(self, action);
        EXPECT_EQ(node, target);
        ++nativeCalls;
    });
    const int handler = newHandler();
    mgr->addObjectHandler(action, handler, Kind::CALLFUNC);
    engine::LuaCallFunc* copy = action->clone();
    ASSERT_NE(copy, nullptr);
    const int copied = mgr->getObjectHandler(copy, Kind::CALLFUNC);
    EXPECT_NE(copied, handler);
    EXPECT_NE(copied, 0);

    // Both ids call the same Lua function.
    for (int id : {handler, copied}) EXPECT_EQ(luaEngine->executeSchedule(id, 0), 0);
    EXPECT_EQ(hits(), 2);

    // With a function, execute calls it; without one, the call-function event
    // reaches the Lua handler with the target.
    action->execute();
    EXPECT_EQ(nativeCalls, 1);
    auto* plain = engine::LuaCallFunc::create();
    plain->setTarget(target);
    mgr->addObjectHandler(plain, newHandler(), Kind::CALLFUNC);
    plain->execute();
    EXPECT_EQ(hits(), 3);
    lua_getglobal(L, "last");
    EXPECT_EQ(lua_tointeger(L, -1), 1);
    lua_pop(L, 1);
}

}  // namespace
