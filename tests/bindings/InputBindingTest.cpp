// Script input: listeners made and cloned by scripts, the dispatch order they
// see, the layer's input state, node and call-function handlers, all driven
// through the view's input entries or events the scripts raise.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/core/LuaCoreManual.h"
#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/deprecated/Dictionary.h"
#include "engine/input/EventTouch.h"
#include "scripting/ToluaFix.h"
#include "engine/input/InputEvents.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Scene.h"
#include "scripting/LuaCallFunc.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindingtest {
namespace {

class InputBindingTest : public LuaEngineBindingTest {
protected:
    static constexpr float kHeight = 200;
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        view = startViewOnScene(300, kHeight);
        ASSERT_EQ(run(R"(
            log = {}
            function note(...) local t = {} for i = 1, select('#', ...) do t[i] = tostring((select(i, ...))) end
                log[#log + 1] = table.concat(t, ',') end
            function flush() local s = table.concat(log, ' ') log = {} return s end
            d = cc.Director:getInstance() scene = d:getRunningScene() dispatcher = d:getEventDispatcher()
            function touch(code, id, x, y)
                local t = cc.Touch:new() t:setTouchInfo(id or 1, x or 10, y or 10)
                local e = cc.EventTouch:new() e:setEventCode(code) e:setTouches({t})
                dispatcher:dispatchEvent(e)
                return t
            end
            function tap() local t = touch(0) local e = cc.EventTouch:new() e:setEventCode(2) e:setTouches({t})
                dispatcher:dispatchEvent(e) end
        )"), "");
    }
    void TearDown() override {
        view->release();
        LuaEngineBindingTest::TearDown();
    }
    template <class T>
    T* global(const char* name) {
        lua_getglobal(L, name);
        auto* object = static_cast<T*>(static_cast<engine::Ref*>(tolua_tousertype(L, -1, nullptr)));
        lua_pop(L, 1);
        return object;
    }
    std::string flush() { return eval("flush()"); }
    engine::GLView* view = nullptr;
};

// A began handler claims the touch when its result is true, or a number (or a
// numeric string) that is not 0; only a claimed touch reaches the ended handler.
TEST_F(InputBindingTest, BeganResultsDecideClaiming) {
    struct Case {
        const char* result;
        bool claims;
    } cases[] = {{"", false}, {"false", false}, {"0", false}, {"'x'", false},
                 {"true", true}, {"1", true},    {"'1'", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        ASSERT_EQ(run(std::string("l = cc.EventListenerTouchOneByOne:create()\n"
                                  "l:registerScriptHandler(function() note('began') return ") +
                      c.result + " end, 40)\n"
                                 "l:registerScriptHandler(function(t, e) note('ended', tolua.type(t), tolua.type(e)) end, 42)\n"
                                 "dispatcher:addEventListenerWithSceneGraphPriority(l, scene)\n"
                                 "tap() dispatcher:removeEventListener(l)"),
                  "");
        EXPECT_EQ(flush(), c.claims ? "began ended,cc.Touch,cc.EventTouch" : "began");
    }
}

// A touch handler replaced or removed, between touches or by a began handler
// during one, is the one the next call finds.
TEST_F(InputBindingTest, ChangedTouchHandlersTakeEffectAtTheNextCall) {
    ASSERT_EQ(run("l = cc.EventListenerTouchOneByOne:create()\n"
                  "l:registerScriptHandler(function() note('began1') return true end, 40)\n"
                  "l:registerScriptHandler(function() note('ended1') end, 42)\n"
                  "dispatcher:addEventListenerWithSceneGraphPriority(l, scene)"),
              "");
    const struct {
        const char* change;
        const char* calls;
    } steps[] = {
        {"", "began1 ended1"},
        {"l:registerScriptHandler(function() note('began2') return true end, 40)", "began2 ended1"},
        {"ScriptHandlerMgr:getInstance():unregisterScriptHandler(l, 42)", "began2"},
        {"l:registerScriptHandler(function() note('began3')\n"
         "  l:registerScriptHandler(function() note('ended3') end, 42) return true end, 40)",
         "began3 ended3"},
        {"ScriptHandlerMgr:getInstance():removeObjectAllHandlers(l)", ""},
        {"ScriptHandlerMgr:getInstance():registerScriptHandler(l, function() note('began4') return true end, 40)",
         "began4"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.change);
        ASSERT_EQ(run(std::string(step.change) + "\ntap()"), "");
        EXPECT_EQ(flush(), step.calls);
    }
    ASSERT_EQ(run("dispatcher:removeEventListener(l)"), "");
}

// Fixed priorities below 0, the scene graph front to back, fixed above 0; a
// swallowing claimer hides the touch from every later listener.
TEST_F(InputBindingTest, DispatchOrderAndSwallowing) {
    ASSERT_EQ(run(R"(
        back = cc.Node:create() front = cc.Node:create() scene:addChild(back) scene:addChild(front, 1)
        function listener(name, swallow)
            local l = cc.EventListenerTouchOneByOne:create()
            l:setSwallowTouches(swallow)
            l:registerScriptHandler(function() note(name) return true end, 40)
            return l
        end
        all = cc.EventListenerTouchAllAtOnce:create()
        all:registerScriptHandler(function(touches) note('all' .. #touches) end, 44)
        dispatcher:addEventListenerWithFixedPriority(all, 3)
        dispatcher:addEventListenerWithFixedPriority(listener('high', false), 2)
        dispatcher:addEventListenerWithSceneGraphPriority(listener('back', false), back)
        frontListener = listener('front', false)
        dispatcher:addEventListenerWithSceneGraphPriority(frontListener, front)
        dispatcher:addEventListenerWithFixedPriority(listener('low', false), -1)
    )"), "");
    ASSERT_EQ(run("touch(0, 1)"), "");
    EXPECT_EQ(flush(), "low front back high all1");
    ASSERT_EQ(run("frontListener:setSwallowTouches(true) touch(0, 2)"), "");
    EXPECT_EQ(flush(), "low front");
    ASSERT_EQ(run("front:removeFromParent() touch(0, 3)"), "");   // its listener leaves with it
    EXPECT_EQ(flush(), "low back high all1");
}

// A clone has new handler ids for the source's handlers: they outlive the
// source's, and a one-by-one clone swallows like its source.
TEST_F(InputBindingTest, ClonesKeepTheirOwnHandlers) {
    ASSERT_EQ(run(R"(
        k = cc.EventListenerKeyboard:create()
        k:registerScriptHandler(function(code, e) note('released', code, tolua.type(e)) end, 39)
        copy = k:clone()
        dispatcher:addEventListenerWithFixedPriority(copy, 1)
        t = cc.EventListenerTouchOneByOne:create() t:setSwallowTouches(true)
        tc = t:clone()
    )"), "");
    engine::ScriptHandlerMgr::getInstance()->removeObjectAllHandlers(global<engine::EventListener>("k"));
    ASSERT_EQ(run("k = nil collectgarbage()"), "");
    view->onKeyInput(65, 0, 1, 0);   // A pressed: no handler for it
    view->onKeyInput(65, 0, 0, 0);
    EXPECT_EQ(flush(), "released,60,cc.EventKeyboard");
    EXPECT_EQ(eval("tc:isSwallowTouches()"), "true");
}

TEST_F(InputBindingTest, CustomEventsByNameAndListenerErrors) {
    ASSERT_EQ(run(R"(
        dispatcher:addEventListenerWithFixedPriority(cc.EventListenerCustom:create('a', function(e) note('a', tolua.type(e), e:getEventName()) end), 1)
        dispatcher:addEventListenerWithFixedPriority(cc.EventListenerCustom:create('b', function(e) note('b') end), 1)
        dispatcher:dispatchCustomEvent('a')
        dispatcher:dispatchEvent(cc.EventCustom:new('b'))
        m = cc.EventListenerMouse:create()
        m:registerScriptHandler(function() note('scroll') end, 52)
        m:registerScriptHandler(function(e) note('down', e:getCursorX(), e:getCursorY()) end, 48)
        m:registerScriptHandler(function() note('wrapped') end, 4294967344)
        m:registerScriptHandler(function() note('first') end, 49)
        m:registerScriptHandler(function(e) note('up', e:getMouseButton()) end, 49)
        dispatcher:addEventListenerWithFixedPriority(m, -2)
    )"), "");
    view->handleMouseButton(1, 1, 30, 40);
    view->handleMouseButton(1, 0, 30, 40);
    // The cursor in design points, y up in the 200 points high view.
    EXPECT_EQ(flush(), "a,cc.EventCustom,a b down,30,160 up,1");
    struct Case {
        const char* call;
        const char* error;
    } cases[] = {
        {"cc.EventListenerKeyboard:create(1)", "cc.EventListenerKeyboard:create has wrong number of arguments: 1, was expecting 0\n"},
        {"cc.EventListenerMouse:create(1)", "cc.EventListenerMouse:create has wrong number of arguments: 1, was expecting 0\n"},
        {"m:registerScriptHandler(print)", "cc.EventListenerMouse:registerScriptHandler has wrong number of arguments: 1, was expecting 2\n"},
        {"m:clone(1)", "cc.EventListenerMouse:clone has wrong number of arguments: 1, was expecting 0\n"},
        {"cc.EventListenerCustom:create('a')", "cc.EventListenerCustom:create has wrong number of arguments: 1, was expecting 2\n"},
        {"cc.EventListenerAcceleration:create()", "cc.EventListenerAcceleration:create has wrong number of arguments: 0, was expecting 1\n"},
        {"cc.EventListenerMouse.clone(scene)", "invalid 'self' in function 'cc.EventListenerMouse:clone'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(eval(c.call), std::string("error: ") + c.error);
    }
}

TEST_F(InputBindingTest, AccelerationReachesListenersAndLayers) {
    ASSERT_EQ(run(R"(
        dispatcher:addEventListenerWithFixedPriority(cc.EventListenerAcceleration:create(function(e, x, y, z, t) note('listener', tolua.type(e), x, y, z, t) end), 1)
        layer = cc.Layer:create() scene:addChild(layer)
        layer:registerScriptAccelerateHandler(function(x, y, z, t) note('layer', x, y, z, t) end)
        layer:setAccelerometerEnabled(true)
        dispatcher:dispatchEvent(cc.EventAcceleration:new(0.5, -1, 2, 7))
    )"), "");
    EXPECT_EQ(flush(), "layer,0.5,-1,2,7 listener,cc.EventAcceleration,0.5,-1,2,7");
    EXPECT_TRUE(engine::Device::isAccelerometerEnabled());
    ASSERT_EQ(run("layer:setAccelerometerEnabled(false)"), "");
    EXPECT_FALSE(engine::Device::isAccelerometerEnabled());
}

// The layer's input state: listeners built from its options, rebuilt when they
// change while touch is on, and the handlers' payloads through the view.
TEST_F(InputBindingTest, LayerTouchStateAndPayloads) {
    ASSERT_EQ(run(R"(
        layer = cc.Layer:create() scene:addChild(layer)
        layer:registerScriptTouchHandler(function(phase, x, y) note(phase, type(x) == 'table' and table.concat(x, ':') or x, y) return true end, true)
    )"), "");
    EXPECT_EQ(eval("select('#', layer:getTouchMode())"), "1");
    EXPECT_EQ(eval("select('#', cc.Layer:create():getTouchMode())"), "0");   // no state: nothing
    ASSERT_EQ(run("layer:setTouchEnabled(true)"), "");
    view->handleTouchBegin(3, 10, kHeight - 20);
    view->handleTouchEnd(3, 12, kHeight - 20);
    EXPECT_EQ(flush(), "began,10:20:3,nil ended,12:20:3,nil");

    // One by one, swallowing, fixed priority 5: three options changed, each a rebuild.
    ASSERT_EQ(run("layer:registerScriptTouchHandler(function(phase, x, y) note(phase, x, y) return 1 end, false, 5)"), "");
    auto* layer = global<engine::Layer>("layer");
    auto* state = dynamic_cast<engine::__Dictionary*>(layer->getUserObject());
    ASSERT_NE(state, nullptr);
    auto* listener = dynamic_cast<engine::EventListenerTouchOneByOne*>(state->objectForKey("touchListenerOneByOne"));
    ASSERT_NE(listener, nullptr);
    EXPECT_EQ(state->objectForKey("touchListenerAllAtOnce"), nullptr);
    EXPECT_TRUE(listener->isSwallowTouches());
    EXPECT_EQ(listener->getFixedPriority(), 5);
    EXPECT_EQ(eval("tostring(layer:getTouchMode()) .. tostring(layer:isSwallowsTouches())"), "1true");
    view->handleTouchBegin(4, 7, kHeight - 8);
    view->handleTouchEnd(4, 7, kHeight - 8);
    EXPECT_EQ(flush(), "began,7,8 ended,7,8");

    // Options set while off only take effect when touch is next enabled.
    ASSERT_EQ(run("layer:setTouchEnabled(false) layer:setTouchMode(0)"), "");
    EXPECT_EQ(state->objectForKey("touchListenerOneByOne"), nullptr);
    EXPECT_EQ(state->objectForKey("touchListenerAllAtOnce"), nullptr);
    view->handleTouchBegin(5, 1, 1);
    EXPECT_EQ(flush(), "");

    // The layer's fixed-priority listener leaves the dispatcher with the layer.
    ASSERT_EQ(run("layer:setTouchEnabled(true) layer:removeFromParent() layer = nil collectgarbage()"), "");
    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_TRUE(engine::Director::getInstance()->getEventDispatcher()
                    ->listenersInOrder(engine::EventListener::Type::TOUCH_ALL_AT_ONCE).empty());
}

TEST_F(InputBindingTest, LayerKeypadOnReleaseAndCountErrors) {
    ASSERT_EQ(run(R"(
        layer = cc.Layer:create() scene:addChild(layer)
        layer:registerScriptKeypadHandler(function(name) note(name) end)
        layer:setKeyboardEnabled(true)
    )"), "");
    view->onKeyInput(256, 0, 1, 0);   // Escape pressed: nothing yet
    view->onKeyInput(256, 0, 0, 0);
    view->onKeyInput(348, 0, 1, 0);
    view->onKeyInput(348, 0, 0, 0);
    EXPECT_EQ(flush(), "backClicked menuClicked");
    EXPECT_EQ(eval("layer:isKeyboardEnabled()"), "true");

    engine::Node* other = engine::Node::create();
    global<engine::Layer>("layer")->setUserObject(other);   // not an input state
    EXPECT_EQ(eval("select('#', layer:isTouchEnabled())"), "0");
    ASSERT_EQ(run("layer:setTouchEnabled(true)"), "");
    EXPECT_EQ(global<engine::Layer>("layer")->getUserObject(), other);

    struct Case {
        const char* call;
        const char* error;
    } cases[] = {
        {"layer:registerScriptTouchHandler()", "cc.Layer:registerScriptTouchHandler has wrong number of arguments: 0, was expecting 1\n"},
        {"layer:registerScriptTouchHandler(print, 1, 2, 3, 4)", "cc.Layer:registerScriptTouchHandler has wrong number of arguments: 5, was expecting 1\n"},
        {"layer:setTouchEnabled()", "cc.Layer:setTouchEnabled has wrong number of arguments: 0, was expecting 1\n"},
        {"layer:isTouchEnabled(1)", "cc.Layer:isTouchEnabled has wrong number of arguments: 1, was expecting 0\n"},
        {"cc.Layer.setTouchEnabled(nil, true)", "invalid 'self' in function 'cc.Layer:setTouchEnabled'"},
        {"cc.Layer.setTouchEnabled(cc.Node:create(), true)", "invalid 'self' in function 'cc.Layer:setTouchEnabled'"},
        {"scene:registerScriptHandler()", "cc.Node:registerScriptHandler has wrong number of arguments: 0, was expecting 1\n"},
        {"cc.CallFunc:create()", "cc.CallFunc:create has wrong number of arguments: 0, was expecting 1\n"},
        {"cc.CallFunc:create(print, 1, 2)", "cc.CallFunc:create has wrong number of arguments: 3, was expecting 1\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(eval(c.call), std::string("error: ") + c.error);
    }
}

// Node events in order, a replaced handler, update handlers by priority then
// insertion (one scheduled before its node joined the scene runs once it has),
// and script timers with ids from 1.
TEST_F(InputBindingTest, NodeEventsUpdatesAndScriptEntries) {
    ASSERT_EQ(run(R"(
        n = cc.Node:create()
        n:registerScriptHandler(function(e) note('first', e) end)
        n:registerScriptHandler(function(e) note(e) end)
        scene:addChild(n) n:removeFromParent()
        a = cc.Node:create() b = cc.Node:create() c = cc.Node:create()
        scene:addChild(a) scene:addChild(b) scene:addChild(c)
        a:scheduleUpdateWithPriorityLua(function() note('a') end, 2)
        b:scheduleUpdateWithPriorityLua(function() note('b') end, -1)
        c:scheduleUpdateWithPriorityLua(function() note('c') end, 2)
        late = cc.Node:create() late:scheduleUpdateWithPriorityLua(function() note('late') end, 0)
        scene:addChild(late)
        id = d:getScheduler():scheduleScriptFunc(function(dt) note('timer') end, 0, false)
    )"), "");
    EXPECT_EQ(flush(), "enter enterTransitionFinish exitTransitionStart exit cleanup");
    EXPECT_EQ(eval("id"), "1");
    engine::Director::getInstance()->mainLoop(0.1f);
    EXPECT_EQ(flush(), "b late a c timer");
    ASSERT_EQ(run("a:unscheduleUpdate() late:unscheduleUpdate() d:getScheduler():unscheduleScriptEntry(id)"), "");
    engine::Director::getInstance()->mainLoop(0.1f);
    EXPECT_EQ(flush(), "b c");
}

// The extra value goes with every run of the action and of its clones; a clone
// calls its own handler, also after the original is gone.
TEST_F(InputBindingTest, CallFuncExtraValuesAndClones) {
    ASSERT_EQ(run(R"(
        target = cc.Node:create()
        withTable = cc.CallFunc:create(function(node, extra) note(tolua.type(node), extra and extra.k) end, {k = 1})
        withNumber = cc.CallFunc:create(function(node, extra) note('number', extra) end, 5)
    )"), "");
    auto* withTable = global<engine::LuaCallFunc>("withTable");
    auto* withNumber = global<engine::LuaCallFunc>("withNumber");
    withTable->retain();
    withTable->startWithTarget(global<engine::Node>("target"));
    withTable->execute();
    withTable->execute();
    withNumber->execute();
    EXPECT_EQ(flush(), "cc.Node,1 cc.Node,1 number,nil");

    engine::LuaCallFunc* copy = withTable->clone();
    ASSERT_NE(copy, nullptr);
    copy->retain();
    withTable->release();
    ASSERT_EQ(run("withTable = nil collectgarbage()"), "");
    engine::AutoreleasePool::getInstance()->clear();
    copy->execute();
    EXPECT_EQ(flush(), "nil,1");
    copy->release();
}

// Sequences and spawns from arguments or from one table; other objects and
// values among the arguments are skipped.
TEST_F(InputBindingTest, SequencesAndSpawnsFromArgumentsAndTables) {
    struct Case {
        const char* make;
        const char* halfway;   // scale and notes after half a second
        const char* end;       // after the whole second
    } cases[] = {
        {"cc.Spawn:create(cc.ScaleTo:create(1, 3), scene, 7, cc.CallFunc:create(function() note('called') end))",
         "2 called", "3 "},
        {"cc.Spawn:create({cc.ScaleTo:create(1, 3), cc.CallFunc:create(function() note('called') end)})",
         "2 called", "3 "},
        {"cc.Sequence:create(cc.ScaleTo:create(1, 3), cc.CallFunc:create(function() note('called') end))", "2 ",
         "3 called"},
        {"cc.Sequence:create({cc.ScaleTo:create(1, 3), cc.CallFunc:create(function() note('called') end)})", "2 ",
         "3 called"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.make);
        ASSERT_EQ(run(std::string("n = cc.Node:create() scene:addChild(n) n:runAction(") + c.make + ")"), "");
        engine::Director::getInstance()->mainLoop(0.f);
        engine::Director::getInstance()->mainLoop(0.5f);
        EXPECT_EQ(eval("n:getScale() .. ' ' .. flush()"), c.halfway);
        engine::Director::getInstance()->mainLoop(0.5f);
        EXPECT_EQ(eval("n:getScale() .. ' ' .. flush()"), c.end);
    }
    EXPECT_EQ(eval("cc.Spawn:create()"), "error: cc.Spawn:create has wrong number of arguments: 0, was expecting 1\n");
    EXPECT_EQ(eval("cc.Spawn:create({scene})"), "nil");
}

}  // namespace
}  // namespace bindingtest
