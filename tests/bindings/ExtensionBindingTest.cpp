// The extension module from scripts: control event handlers by mask, scroll
// and table view handlers and delegates, the assets manager's delegate, the
// particle pool and the count errors of the hand-written functions.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaModules.h"
#include "engine/app/GLView.h"

namespace bindingtest {
namespace {

class ExtensionBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        bindings::register_ui_module(L);
        bindings::register_extension_module(L);
        view = startViewOnScene(300, 200);
        ASSERT_EQ(run(R"(
            log = {}
            function note(...) local t = {} for i = 1, select('#', ...) do t[i] = tostring((select(i, ...))) end
                log[#log + 1] = table.concat(t, ',') end
            function flush() local s = table.concat(log, ' ') log = {} return s end
            scene = cc.Director:getInstance():getRunningScene()
            -- Functions held by native code under handler ids.
            function refs() local n = 0
                for _ in pairs(debug.getregistry().toluafix_refid_function_mapping) do n = n + 1 end return n end
        )"), "");
    }
    void TearDown() override {
        view->release();
        LuaEngineBindingTest::TearDown();
    }
    engine::GLView* view = nullptr;
};

// A handler hears (control, event) for each event of its mask it is still
// registered for; masks without event bits keep nothing.
TEST_F(ExtensionBindingTest, ControlHandlersByMask) {
    struct Case {
        int registered;
        int unregistered;   // -1: none
        const char* heard;  // after sending every event
        int refs;           // functions kept
    } cases[] = {
        {0, -1, "", 0},
        {512, -1, "", 0},
        {1024 + 512, -1, "", 0},
        {3, -1, "1 2", 2},
        {3, 3, "", 0},
        {3, 1, "2", 1},
        {3, 2, "1", 1},
        {3, 512, "1 2", 2},
        {0x1ff, 0x100 + 0x20, "1 2 4 8 16 64 128", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.registered) + " less " + std::to_string(c.unregistered));
        ASSERT_EQ(run("base = refs() c = cc.Control:create() "
                      "c:registerControlEventHandler(function(sender, e) note(e) assert(sender == c) end, " +
                      std::to_string(c.registered) + ")"),
                  "");
        if (c.unregistered >= 0) ASSERT_EQ(run("c:unregisterControlEventHandler(" + std::to_string(c.unregistered) + ")"), "");
        ASSERT_EQ(run("c:sendActionsForControlEvents(0x3ff)"), "");
        EXPECT_EQ(eval("flush()"), c.heard);
        EXPECT_EQ(eval("refs() - base"), std::to_string(c.refs));
        // Registering again for a kind replaces its handler.
        ASSERT_EQ(run("c:registerControlEventHandler(function(_, e) note('new' .. e) end, 1) c:sendActionsForControlEvents(1)"), "");
        EXPECT_EQ(eval("flush()"), "new1");
        ASSERT_EQ(run("c:unregisterControlEventHandler(0x1ff)"), "");
        EXPECT_EQ(eval("refs() - base"), "0");
    }
}

// A 100 x 40 button centred in the view: a tap through the view reaches the
// handlers of touch down and up inside.
TEST_F(ExtensionBindingTest, ButtonTapReachesItsHandlers) {
    ASSERT_EQ(run(R"(
        b = cc.ControlButton:create('ok', 'Arial', 10)
        b:setPreferredSize({width = 100, height = 40}) b:setPosition(150, 100) scene:addChild(b)
        b:registerControlEventHandler(function(sender, e) note(tolua.type(sender), e) end, 1 + 32 + 64)
    )"), "");
    view->handleTouchBegin(1, 150, 100);
    view->handleTouchEnd(1, 150, 100);
    view->handleTouchBegin(2, 150, 100);
    view->handleTouchEnd(2, 10, 10);
    EXPECT_EQ(eval("flush()"), "cc.ControlButton,1 cc.ControlButton,32 cc.ControlButton,1 cc.ControlButton,64");
    EXPECT_EQ(eval("tolua.type(cc.ControlButton:create()) .. tolua.type(cc.ControlButton:create(ccui.Scale9Sprite:create()))"),
              "cc.ControlButtoncc.ControlButton");
    EXPECT_EQ(eval("cc.ControlButton:create(cc.Label:createWithSystemFont('abc', 'Arial', 10), nil):getCurrentTitle()"), "abc");
}

TEST_F(ExtensionBindingTest, CountErrors) {
    ASSERT_EQ(run("c = cc.Control:create()"), "");
    struct Case {
        const char* call;
        const char* error;
    } cases[] = {
        {"c:registerControlEventHandler(print)",
         "cc.Control:registerControlEventHandler function of Control has wrong number of arguments: 1, was expecting 2\n"},
        {"c:unregisterControlEventHandler()",
         "cc.Control:unregisterControlEventHandler function of Control  has wrong number of arguments: 0, was expecting 1\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(eval(c.call), std::string("error: ") + c.error);
    }
    EXPECT_EQ(eval("cc.Control.registerControlEventHandler(cc.Node:create(), print, 1)"),
              "error: invalid 'self' in function 'lua_engine_Control_registerControlEventHandler'");
}

}  // namespace
}  // namespace bindingtest
