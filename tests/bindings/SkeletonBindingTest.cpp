// The script side of skeleton nodes, driven from Lua on the Lua engine's stack:
// create, the handler tables of each notification, handler replacement and
// removal, argument count and self checks, the two setBlendFunc forms, and
// handlers that chain animations or remove the node.
#include <gtest/gtest.h>

#include <string>

#include "bindings/LuaModules.h"
#include "bindings/skeleton/LuaSkeletonAnimation.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"
#include "scripting/LuaEngine.h"
#include "scripting/ScriptHandlerMgr.h"
#include "scripting/ToluaFix.h"
#include "skeleton/RenderFixture.h"

namespace {

using engine::ScriptHandlerMgr;
using Kind = ScriptHandlerMgr::HandlerType;

const char* const kAnimated = R"({
"bones": [{"name": "root"}],
"slots": [{"name": "s", "bone": "root", "attachment": "quad"}],
"skins": {"default": {"s": {"quad": {}}}},
"events": {"hit": {"int": 7, "float": 0.5}},
"animations": {
  "walk": {"bones": {"root": {"rotate": [{"time": 0, "angle": 0}, {"time": 1, "angle": 90}]}},
           "events": [{"time": 0.5, "name": "hit"}]},
  "idle": {"bones": {"root": {"rotate": [{"time": 0, "angle": 0}, {"time": 1, "angle": 10}]}}}
}
})";

class SkeletonBindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        bindings::installRegistrationHooks();
        luaEngine = engine::LuaEngine::getInstance();
        engine::ScriptEngineManager::getInstance()->setScriptEngine(luaEngine);
        L = luaEngine->getLuaStack()->getLuaState();
        bindings::register_skeleton_module(L);
        const std::string path = files.skeleton("a.json", kAnimated);
        ASSERT_EQ(run("DATA, ATLAS = '" + path + "', '" + files.atlas() + "'\n"
                      "node = sp.SkeletonAnimation:create(DATA, ATLAS)\n"
                      "seen = {}\n"
                      "function record(t) seen[#seen + 1] = t end\n"
                      "function text(t)\n"
                      "  local s = t.type .. ' ' .. t.trackIndex .. ' ' .. t.animation .. ' ' .. t.loopCount\n"
                      "  if t.eventData then local e = t.eventData\n"
                      "    s = s .. ' ' .. e.name .. ' ' .. e.intValue .. ' ' .. e.floatValue .. ' [' .. e.stringValue .. ']' end\n"
                      "  return s\n"
                      "end\n"
                      "function seenText() local r = {} for i, t in ipairs(seen) do r[i] = text(t) end\n"
                      "  return table.concat(r, ', ') end"),
                  "");
        node = static_cast<skeleton::SkeletonAnimation*>(global("node"));
        ASSERT_NE(node, nullptr);
    }
    void TearDown() override {
        engine::AutoreleasePool::getInstance()->clear();
        engine::ScriptEngineManager::destroyInstance();
        engine::Director::destroyInstance();
        engine::TextureCache::destroyInstance();
        engine::GLProgramCache::destroyInstance();
    }
    std::string run(const std::string& chunk) {
        const int top = lua_gettop(L);
        std::string error;
        if (luaL_loadstring(L, chunk.c_str()) != 0 || lua_pcall(L, 0, 0, 0) != 0) error = lua_tostring(L, -1);
        lua_settop(L, top);
        return error;
    }
    std::string eval(const std::string& expression) {
        const int top = lua_gettop(L);
        std::string result;
        if (luaL_loadstring(L, ("return tostring(" + expression + ")").c_str()) != 0 || lua_pcall(L, 0, 1, 0) != 0)
            result = "error: ";
        result += lua_tostring(L, -1);
        lua_settop(L, top);
        return result;
    }
    void* global(const char* name) {
        lua_getglobal(L, name);
        void* object = tolua_tousertype(L, -1, nullptr);
        lua_pop(L, 1);
        return object;
    }
    void registerAll() {
        ASSERT_EQ(run("for type = 0, 3 do node:registerSkeletonEventHandler(record, type) end"), "");
    }
    bool alive(int handler) {
        toluafix_getFunctionByRefid(L, handler);
        const bool function = lua_isfunction(L, -1);
        lua_pop(L, 1);
        return function;
    }

    skeleton_test::RenderFiles files;
    engine::LuaEngine* luaEngine = nullptr;
    lua_State* L = nullptr;
    skeleton::SkeletonAnimation* node = nullptr;
};

TEST_F(SkeletonBindingTest, CreateTakesTwoOrThreeArguments) {
    EXPECT_EQ(eval("tolua.type(node)"), "sp.SkeletonAnimation");
    EXPECT_EQ(eval("tolua.type(sp.SkeletonAnimation:create(DATA, ATLAS, 0.5))"), "sp.SkeletonAnimation");
    const std::string message = "'createWithFile' function of SkeletonAnimation has wrong number of arguments: ";
    EXPECT_NE(eval("sp.SkeletonAnimation:create(DATA)").find(message + "1, was expecting 2\n"), std::string::npos);
    EXPECT_NE(eval("sp.SkeletonAnimation:create(DATA, ATLAS, 1, 2)").find(message + "4, was expecting 2\n"),
              std::string::npos);
    // The generated methods are there too.
    EXPECT_EQ(run("node:setTimeScale(2); assert(node:getTimeScale() == 2); node:setDebugBonesEnabled(true)"), "");
    EXPECT_EQ(eval("node:setSkin('nope')"), "false");
    EXPECT_EQ(eval("node:setAttachment('s', '')"), "true");
}

TEST_F(SkeletonBindingTest, EachNotificationArrivesAsItsTable) {
    registerAll();
    ASSERT_EQ(run("assert(node:setAnimation(0, 'walk', true) == node)"), "");
    node->update(0.6f);   // the event
    node->update(0.6f);   // first loop complete
    node->update(0.3f);   // the event again
    node->update(0.6f);   // second loop complete
    ASSERT_EQ(run("node:setAnimation(0, 'idle', false)"), "");
    EXPECT_EQ(eval("seenText()"),
              "start 0 walk 0, event 0 walk 0 hit 7 0.5 [], complete 0 walk 1, event 0 walk 0 hit 7 0.5 [], "
              "complete 0 walk 2, end 0 walk 0, start 0 idle 0");
    EXPECT_EQ(eval("seen[1].eventData"), "nil");
}

TEST_F(SkeletonBindingTest, ReplacedAndRemovedHandlersAreReleased) {
    registerAll();
    auto* mgr = ScriptHandlerMgr::getInstance();
    const int first = mgr->getObjectHandler(node, Kind::EVENT_SKELETON_ANIMATION_START);
    ASSERT_TRUE(alive(first));
    ASSERT_EQ(run("node:registerSkeletonEventHandler(function(t) replaced = t.type end, 0)"), "");
    EXPECT_FALSE(alive(first));
    ASSERT_EQ(run("node:setAnimation(0, 'walk', true)"), "");
    EXPECT_EQ(eval("replaced"), "start");

    ASSERT_EQ(run("node:unregisterSkeletonEventHandler(1)"), "");
    EXPECT_EQ(mgr->getObjectHandler(node, Kind::EVENT_SKELETON_ANIMATION_END), 0);
    ASSERT_EQ(run("seen = {}; node:setAnimation(0, 'idle', true)"), "");
    EXPECT_EQ(eval("#seen"), "0") << "the end handler is gone";
}

TEST_F(SkeletonBindingTest, TypesOutsideZeroToThreeDoNothingEitherWay) {
    registerAll();
    auto* mgr = ScriptHandlerMgr::getInstance();
    const int start = mgr->getObjectHandler(node, Kind::EVENT_SKELETON_ANIMATION_START);
    for (const char* type : {"5", "-1"}) {
        SCOPED_TRACE(type);
        ASSERT_EQ(run(std::string("node:registerSkeletonEventHandler(function() end, ") + type + ")"), "");
        ASSERT_EQ(run(std::string("node:unregisterSkeletonEventHandler(") + type + ")"), "");
        EXPECT_EQ(mgr->getObjectHandler(node, Kind::EVENT_SKELETON_ANIMATION_START), start);
        EXPECT_TRUE(alive(start));
    }
    // No reference was taken for the refused functions: the next one follows the last.
    ASSERT_EQ(run("node:registerSkeletonEventHandler(record, 3)"), "");
    EXPECT_EQ(mgr->getObjectHandler(node, Kind::EVENT_SKELETON_ANIMATION_EVENT), start + 4);
}

TEST_F(SkeletonBindingTest, CountSelfAndArgumentErrors) {
    struct Case {
        const char* chunk;
        const char* error;   // a part of the message; "" for none
    } cases[] = {
        {"node:setAnimation(0, 'walk')", "setAnimation has wrong number of arguments: 2, was expecting 3 \n"},
        {"node:addAnimation(0, 'walk', true, 1, 2)", "addAnimation has wrong number of arguments: 5, was expecting 3 \n"},
        {"node:addAnimation(0)", "addAnimation has wrong number of arguments: 1, was expecting 3 \n"},
        {"sp.SkeletonAnimation.setAnimation(cc.Node:create(), 0, 'walk', true)", "invalid 'self' in function 'setAnimation'"},
        {"sp.SkeletonAnimation.addAnimation(nil, 0, 'walk', true)", "invalid 'self' in function 'addAnimation'"},
        {"sp.SkeletonAnimation.setBlendFunc(cc.Node:create(), 1, 1)", "invalid 'self' in function 'setBlendFunc'"},
        {"node:registerSkeletonEventHandler(record, 'x')", "error in function 'registerSkeletonEventHandler'."},
        {"node:registerSkeletonEventHandler(record, 0, 1)", "error in function 'registerSkeletonEventHandler'."},
        {"node:unregisterSkeletonEventHandler()", "error in function 'unregisterSkeletonEventHandler'."},
        {"assert(select('#', node:setAnimation(0, {}, true)) == 0)", ""},   // a failed read: no call, no result
        {"assert(select('#', node:addAnimation(0, 'walk', true, 'x')) == 0)", ""},
        {"assert(node:addAnimation(0, 'walk', true, 1) == node)", ""},
        // Track indices outside 0 to 255 are refused before anything is allocated.
        {"node:setAnimation(2147483647, 'walk', false)",
         "sp.SkeletonAnimation:setAnimation: track index 2147483647 is outside 0 to 255"},
        {"node:setAnimation(100000000, 'walk', false)", "track index 100000000 is outside 0 to 255"},
        {"node:setAnimation(0/0, 'walk', false)", "is outside 0 to 255"},
        {"node:addAnimation(-1, 'walk', false)", "sp.SkeletonAnimation:addAnimation: track index -1 is outside 0 to 255"},
        {"node:addAnimation(256, 'walk', false, 1)", "track index 256 is outside 0 to 255"},
        // A delay that is not finite queues nothing (the node logs it).
        {"assert(node:addAnimation(0, 'walk', false, 0/0) == node)", ""},
        {"assert(node:addAnimation(0, 'walk', false, math.huge) == node)", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chunk);
        const std::string error = run(c.chunk);
        if (*c.error)
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        else
            EXPECT_EQ(error, "");
    }
    EXPECT_EQ(node->getCurrent(0)->animation->name, std::string("walk"));
    EXPECT_FLOAT_EQ(node->getCurrent(0)->next ? 1.f : 0.f, 0.f);   // the one add went straight to the empty track
    EXPECT_EQ(node->getState()->tracksCount, 1);
}

TEST_F(SkeletonBindingTest, SetBlendFuncTakesTwoNumbersOrATable) {
    EXPECT_EQ(run("node:setBlendFunc(770, 771)"), "");
    EXPECT_EQ(eval("node:getBlendFunc().src .. ',' .. node:getBlendFunc().dst"), "770,771");
    EXPECT_EQ(run("node:setBlendFunc({src = 1, dst = 1})"), "");
    EXPECT_EQ(eval("node:getBlendFunc().src .. ',' .. node:getBlendFunc().dst"), "1,1");
    EXPECT_EQ(run("node:setBlendFunc('a', 771)"), "") << "a factor that is not a number changes nothing";
    EXPECT_EQ(eval("node:getBlendFunc().src"), "1");
    EXPECT_NE(run("node:setBlendFunc()").find("setBlendFunc has wrong number of arguments: 0"), std::string::npos);
}

TEST_F(SkeletonBindingTest, EndHandlerChainsTheNextAnimation) {
    ASSERT_EQ(run("node:registerSkeletonEventHandler(function(t)\n"
                  "  record(t)\n"
                  "  if t.animation == 'walk' then node:setAnimation(0, 'idle', true) end\n"
                  "end, 1)\n"
                  "node:registerSkeletonEventHandler(record, 0)\n"
                  "node:setAnimation(0, 'walk', false)"),
              "");
    node->update(1.2f);   // walk reaches its end
    node->update(0.1f);   // its track ends: the handler plays idle
    node->update(0.1f);
    EXPECT_EQ(eval("seenText()"), "start 0 walk 0, end 0 walk 0, start 0 idle 0");
    ASSERT_NE(node->getCurrent(0), nullptr);
    EXPECT_EQ(node->getCurrent(0)->animation->name, std::string("idle"));
}

TEST_F(SkeletonBindingTest, HandlerMayRemoveTheNodeFromTheScene) {
    engine::Director* director = engine::Director::getInstance();
    engine::Scene* scene = engine::Scene::create();
    scene->addChild(node);
    ASSERT_EQ(run("node:registerSkeletonEventHandler(function(t) record(t); node:removeFromParent(); node = nil end, 3)\n"
                  "node:setAnimation(0, 'walk', true)"),
              "");
    director->runWithScene(scene);
    director->mainLoop(0);
    lua_gc(L, LUA_GCCOLLECT, 0);
    director->mainLoop(0.6f);   // the event: the handler takes the node out of the scene
    lua_gc(L, LUA_GCCOLLECT, 0);
    director->mainLoop(0.6f);
    EXPECT_EQ(eval("#seen"), "1");
    EXPECT_TRUE(scene->getChildren().empty());
}

TEST_F(SkeletonBindingTest, RecordsComeAndGoBackOnlyToTheirNode) {
    ASSERT_EQ(run("other = sp.SkeletonAnimation:create(DATA, ATLAS)\n"
                  "quad = node:getAttachment('s', 'quad')\n"
                  "node:setAnimation(0, 'walk', true)\n"
                  "entry = node:getCurrent(0)"),
              "");
    struct Case {
        const char* expression;
        const char* expected;
    };
    const Case cases[] = {
        {"tolua.type(node:getSkeleton())", "spSkeleton"},
        {"tolua.type(node:findBone('root'))", "spBone"},
        {"node:findBone('nope')", "nil"},
        {"tolua.type(node:findSlot('s'))", "spSlot"},
        {"tolua.type(quad)", "spAttachment"},
        {"tolua.type(node:getRegionAttachmentTexture(quad))", "cc.Texture2D"},
        // the right kind is asked for, and the attachment is the node's own
        {"node:getMeshAttachmentTexture(quad)", "nil"},
        {"other:getRegionAttachmentTexture(quad)", "nil"},
        {"tolua.type(entry)", "spTrackEntry"},
        {"node:getCurrent(3)", "nil"},
        {"tolua.type(node:getState())", "spAnimationState"},
        {"tolua.type(node:getTrackEntryListeners(entry))", "TrackEntryListeners"},
        {"other:getTrackEntryListeners(entry)", "nil"},
        {"node:getBoundingBox().width > 0", "true"},
    };
    for (const Case& c : cases) EXPECT_EQ(eval(c.expression), c.expected) << c.expression;

    // An entry that has ended is no longer taken.
    ASSERT_EQ(run("node:setAnimation(0, 'idle', false)"), "");
    node->update(0.1f);
    EXPECT_EQ(eval("node:getTrackEntryListeners(entry)"), "nil");
    EXPECT_EQ(run("node:setTrackStartListener(entry, function() end)"), "");
}

TEST_F(SkeletonBindingTest, ListenersCallTheirFunctions) {
    auto* mgr = ScriptHandlerMgr::getInstance();
    ASSERT_EQ(run("log = {}\n"
                  "node:setStartListener(function(track) log[#log + 1] = 'first ' .. track end)"),
              "");
    const int first = mgr->getObjectHandler(node, Kind::EVENT_SKELETON_ANIMATION_START);
    ASSERT_EQ(run("node:setStartListener(function(track) log[#log + 1] = 'start ' .. track end)\n"
                  "node:setCompleteListener(function(track, loops) log[#log + 1] = 'complete ' .. loops end)\n"
                  "node:setEventListener(function(track, e) log[#log + 1] = 'event ' .. (e and e.name or '-') end)\n"
                  "node:setAnimation(1, 'walk', true)\n"
                  "node:setTrackEndListener(node:getCurrent(1), function(track) log[#log + 1] = 'track end ' .. track end)"),
              "");
    EXPECT_FALSE(alive(first)) << "a replaced listener's function is released";
    node->update(0.6f);
    node->update(0.6f);
    ASSERT_EQ(run("node:clearTrack(1)"), "");
    // Notifications handed over by a script carry no event record.
    ASSERT_EQ(run("node:onAnimationStateEvent(2, 3, nil, 0)\nnode:onAnimationStateEvent(2, 0, 0)"), "");
    EXPECT_EQ(eval("table.concat(log, ', ')"),
              "start 1, event hit, complete 1, track end 1, event -, start 2");
}

TEST_F(SkeletonBindingTest, SettingUpAgainIsRefused) {
    spSkeleton* skeleton = node->getSkeleton();
    const std::string error = run("node:initWithFile(DATA, ATLAS)\nnode:initialize()\n"
                                  "node:setSkeletonData(nil, false)\nnode:initWithData(nil)");
    EXPECT_EQ(error, "");
    EXPECT_EQ(node->getSkeleton(), skeleton);

    struct Case {
        const char* chunk;
        const char* error;
    };
    const Case cases[] = {
        {"node:findBone()", "sp.SkeletonRenderer:findBone has wrong number of arguments: 0, was expecting 1"},
        {"node:findBone(1, 2)", "sp.SkeletonRenderer:findBone has wrong number of arguments: 2, was expecting 1"},
        {"node:getAttachment('s', {})", "invalid arguments in function 'sp.SkeletonRenderer:getAttachment'"},
        {"node:getRegionAttachmentTexture(node)",
         "invalid arguments in function 'sp.SkeletonRenderer:getRegionAttachmentTexture'"},
        {"node:setTrackStartListener(node:getCurrent(0), 5)",
         "invalid arguments in function 'sp.SkeletonAnimation:setTrackStartListener'"},
        {"sp.SkeletonAnimation.getState(nil)", "invalid 'self' in function 'sp.SkeletonAnimation:getState'"},
        {"node:update()", "sp.SkeletonAnimation:update has wrong number of arguments: 0, was expecting 1"},
        {"node:setAnimationStateData(node:getState())",
         "invalid arguments in function 'sp.SkeletonAnimation:setAnimationStateData'"},
    };
    for (const Case& c : cases) EXPECT_NE(run(c.chunk).find(c.error), std::string::npos) << c.chunk;
}

}  // namespace

