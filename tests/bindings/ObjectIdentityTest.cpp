// Object identity from scripts: casts answer only what the object really is,
// methods check the object's own class, and ownership a script takes is given
// back without ever freeing what the engine owns.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/scene/Node.h"
#include "engine/scene/Sprite.h"
#include "scripting/ToluaFix.h"

namespace bindingtest {
namespace {

class ObjectIdentityTest : public BindingStackTest {
protected:
    // The engine object held by a global.
    engine::Ref* global(const char* name) {
        lua_getglobal(L, name);
        auto* object = static_cast<engine::Ref*>(tolua_tousertype(L, -1, nullptr));
        lua_pop(L, 1);
        return object;
    }
};

struct IdentityCase {
    const char* name;
    const char* chunk;       // run first (after the prelude)
    const char* expression;  // then evaluated and shown with tostring
    const char* expected;
};

constexpr const char* kPrelude =
    "n = cc.Node:create() s = cc.Sprite:create() f = cc.FileUtils:getInstance()\n";

const IdentityCase kIdentityCases[] = {
    // Names that are no registered class.
    {"short name of another class", "", "tolua.cast(n, 'Sprite')", "nil"},
    {"old prefixed name", "", "tolua.cast(n, 'CCSprite')", "nil"},
    {"unknown name", "", "tolua.cast(n, 'cc.NoSuchClass')", "nil"},
    {"registry table that is no class", "", "tolua.cast(n, '_LOADED')", "nil"},
    {"type name not a string", "", "tolua.cast(n, 42)", "nil"},

    // Classes the object is not.
    {"plain node as a sprite", "", "tolua.cast(n, 'cc.Sprite')", "nil"},
    {"node as an unrelated class", "", "tolua.cast(n, 'cc.Director')", "nil"},
    {"engine object as a class that is not counted", "", "tolua.cast(n, 'cc.FileUtils')", "nil"},
    {"singleton as an engine object", "", "tolua.cast(f, 'cc.Node')", "nil"},

    // What the object is.
    {"same class", "", "tolua.cast(s, 'cc.Sprite') == s", "true"},
    {"base class keeps the object and its type", "", "tolua.cast(s, 'cc.Node') == s and tolua.type(s)",
     "cc.Sprite"},
    {"root class", "", "tolua.cast(s, 'cc.Ref') == s", "true"},
    {"singleton as its own class", "", "tolua.cast(f, 'cc.FileUtils') == f", "true"},
    {"sprite carried as a node, cast to what it is", "", "tolua.type(tolua.cast(base, 'cc.Sprite'))", "cc.Sprite"},

    // Values that are no live engine object.
    {"dead object", "", "tolua.cast(dead, 'cc.Node')", "nil"},
    {"nil", "", "tolua.cast(nil, 'cc.Node')", "nil"},
    {"table", "", "tolua.cast({}, 'cc.Node')", "nil"},
    {"file handle", "", "tolua.cast(io.stdout, 'cc.Node')", "nil"},
    {"empty proxy", "", "tolua.cast(newproxy(), 'cc.Node')", "nil"},

    // A method checks the object's own class, whatever type it carries.
    {"node carrying the sprite type", "debug.setmetatable(n, debug.getregistry()['cc.Sprite'])", "n:getTexture()",
     "error: invalid arguments in function 'lua_engine_Sprite_getTexture'"},
    {"node carrying the scene type as an argument", "debug.setmetatable(n, debug.getregistry()['cc.Scene'])",
     "cc.Director:getInstance():replaceScene(n)",
     "error: invalid arguments in function 'lua_engine_Director_replaceScene'"},
    {"its node methods still work", "debug.setmetatable(n, debug.getregistry()['cc.Sprite'])", "n:getTag()", "-1"},
};

TEST_F(ObjectIdentityTest, CastsAndMethodCallsJudgeTheObjectsOwnClass) {
    // A sprite pushed under its base's type, and an object whose script side is gone.
    engine::Sprite* sprite = engine::Sprite::create();
    toluafix_pushAnchoredUsertype(L, sprite, "cc.Node");
    lua_setglobal(L, "base");
    ASSERT_EQ(run("dead = cc.Node:create()"), "");
    stack->removeScriptObjectByObject(global("dead"));

    for (const IdentityCase& c : kIdentityCases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(run(kPrelude), "");
        ASSERT_EQ(run(c.chunk), "");
        EXPECT_EQ(eval(c.expression), c.expected);
    }
}

// A script owns only the reference it took: a reference-counted object gets it
// back when ownership is released or its userdata goes (here with the state), also
// one the engine holds; a singleton that is not reference counted is never the
// script's. Nothing is freed that someone else holds.
TEST_F(ObjectIdentityTest, OwnershipTakenByAScriptIsGivenBackNeverFreed) {
    engine::LuaStack* own = engine::LuaStack::create();
    own->retain();
    std::swap(own, stack);
    L = stack->getLuaState();
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    ASSERT_EQ(run("sch = cc.Director:getInstance():getScheduler()"), "");
    engine::AutoreleasePool::getInstance()->clear();
    const unsigned int schedulerRefs = scheduler->getReferenceCount();
    // Created now, they live until the pool is cleared unless someone keeps them.
    ASSERT_EQ(run("held = cc.Node:create() kept = cc.Node:create() given = cc.Node:create()"), "");
    engine::Ref* held = global("held");
    held->retain();   // as the engine would

    const struct {
        const char* expression;
        const char* expected;
    } steps[] = {
        {"tolua.takeownership(cc.FileUtils:getInstance())", "false"},
        {"tolua.takeownership(cc.Director:getInstance())", "false"},
        {"tolua.takeownership(ScriptHandlerMgr:getInstance())", "false"},
        {"tolua.takeownership(sch)", "true"},
        {"tolua.takeownership(sch)", "false"},
        {"tolua.takeownership(held)", "true"},
        {"tolua.takeownership(kept)", "true"},
        {"tolua.takeownership(given)", "true"},
        {"tolua.releaseownership(given)", "true"},
        {"tolua.releaseownership(given)", "false"},
        {"tolua.takeownership(42)", "false"},
        {"tolua.takeownership(newproxy())", "false"},
    };
    for (const auto& step : steps) EXPECT_EQ(eval(step.expression), step.expected) << step.expression;
    EXPECT_EQ(scheduler->getReferenceCount(), schedulerRefs + 1);
    EXPECT_EQ(eval("tolua.releaseownership(sch)"), "true");
    engine::Ref* kept = global("kept");
    ASSERT_EQ(run("sch = nil held = nil kept = nil given = nil collectgarbage('collect') collectgarbage('collect')"),
              "");
    EXPECT_EQ(eval("cc.FileUtils:getInstance():isFileExist('no/such/file')"), "false");
    EXPECT_EQ(eval("cc.Director:getInstance():getAnimationInterval() > 0"), "true");
    EXPECT_EQ(eval("ScriptHandlerMgr:getInstance() ~= nil"), "true");

    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(scheduler->getReferenceCount(), schedulerRefs);
    EXPECT_EQ(held->getReferenceCount(), 2u);   // the engine's and the script's
    EXPECT_EQ(kept->getReferenceCount(), 1u);   // the script's own

    std::swap(own, stack);
    L = stack->getLuaState();
    own->release();   // closes the state: the script's references come back
    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(held->getReferenceCount(), 1u);
    held->release();
}

}  // namespace
}  // namespace bindingtest
