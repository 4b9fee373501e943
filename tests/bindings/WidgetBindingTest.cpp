// Widgets and the node methods the game's buttons use, from scripts: touch and
// click listeners with their arguments, layouts, nine-slice frames, label looks
// and scale actions.
#include <gtest/gtest.h>

#include <string>

#include <tolua++.h>

#include "BindingTestSupport.h"
#include "bindings/LuaModules.h"
#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/label/Label.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrameCache.h"

namespace bindingtest {
namespace {

class WidgetBindingTest : public LuaEngineBindingTest {
protected:
    static constexpr float kHeight = 200;
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        bindings::register_ui_module(L);
        view = startViewOnScene(300, kHeight);
        ASSERT_EQ(run("log = {}; scene = cc.Director:getInstance():getRunningScene()"), "");
    }
    void TearDown() override {
        view->release();
        engine::SpriteFrameCache::destroyInstance();
        LuaEngineBindingTest::TearDown();
    }
    template <class T>
    T* global(const char* name) {
        lua_getglobal(L, name);
        auto* object = static_cast<T*>(tolua_tousertype(L, -1, nullptr));
        lua_pop(L, 1);
        return object;
    }
    void tap(float x, float y, float upX, float upY) {
        view->handleTouchBegin(1, x, kHeight - y);
        view->handleTouchEnd(1, upX, kHeight - upY);
    }
    engine::GLView* view = nullptr;
};

TEST_F(WidgetBindingTest, TouchAndClickListenersGetTheirArguments) {
    ASSERT_EQ(run(R"(
        b = ccui.Layout:create()
        b:setContentSize(100, 50)
        b:setTouchEnabled(true)
        b:addTouchEventListener(function() log[#log + 1] = 'first' end)
        b:addTouchEventListener(function(sender, kind, ...)
            log[#log + 1] = tostring(sender == b) .. ' ' .. kind .. ' ' .. select('#', ...)
        end)
        b:addClickEventListener(function(sender, ...)
            log[#log + 1] = 'click ' .. tostring(sender == b) .. ' ' .. select('#', ...)
        end)
        scene:addChild(b))"),
              "");
    tap(10, 10, 20, 20);   // ended inside: click after the end
    tap(10, 10, 150, 20);  // ended outside: canceled, no click
    tap(150, 10, 150, 10); // outside: nothing
    EXPECT_EQ(eval("table.concat(log, ', ')"), "true 0 0, true 2 0, click true 0, true 0 0, true 3 0");

    const struct {
        const char* chunk;
        const char* error;
    } counts[] = {
        {"b:addTouchEventListener()",
         "error: 'addTouchEventListener' function of Widget has wrong number of arguments: 0, was expecting 1\n"},
        {"b:addClickEventListener(print, print)",
         "error: 'addClickEventListener' function of Widget has wrong number of arguments: 2, was expecting 1\n"},
    };
    for (const auto& c : counts) {
        SCOPED_TRACE(c.chunk);
        EXPECT_EQ(eval(c.chunk), c.error);
    }
}

// Re-installing a listener, also from inside the listener itself, keeps one
// function per listener alive: the replaced one is released.
TEST_F(WidgetBindingTest, AReplacedListenerReleasesItsFunction) {
    ASSERT_EQ(run(R"(
        function held()
            local n = 0
            for _ in pairs(debug.getregistry().toluafix_refid_function_mapping) do n = n + 1 end
            return n
        end
        b = ccui.Layout:create()
        b:setContentSize(100, 50)
        b:setTouchEnabled(true)
        scene:addChild(b)
        before = held()
        for i = 1, 2000 do
            b:addTouchEventListener(function(_, kind) log[#log + 1] = 'touch' .. i .. ' ' .. kind end)
            b:addClickEventListener(function() log[#log + 1] = 'click' .. i end)
        end)"),
              "");
    EXPECT_EQ(eval("held() - before"), "2");
    tap(10, 10, 20, 20);
    EXPECT_EQ(eval("table.concat(log, ', ')"), "touch2000 0, touch2000 2, click2000");

    ASSERT_EQ(run(R"(
        log = {}
        b:addTouchEventListener(function(_, kind)
            log[#log + 1] = 'first ' .. kind
            b:addTouchEventListener(function(_, kind) log[#log + 1] = 'second ' .. kind end)
        end))"),
              "");
    tap(10, 10, 20, 20);
    EXPECT_EQ(eval("table.concat(log, ', ')"), "first 0, second 2, click2000");
    EXPECT_EQ(eval("held() - before"), "2");
}

TEST_F(WidgetBindingTest, ButtonPartsFromScripts) {
    engine::Texture2D* texture = engine::Texture2D::create(64, 32, engine::Texture2D::PixelFormat::RGBA8888);
    engine::SpriteFrameCache::getInstance()->addSpriteFrame(
        engine::SpriteFrame::createWithTexture(texture, engine::Rect(32, 0, 32, 32)), "sudoku/sudoku57.png");
    texture->release();
    const struct {
        const char* chunk;
        const char* expression;
        const char* expected;
    } cases[] = {
        {"l = ccui.Layout:create() l:setBackGroundColorType(1) l:setBackGroundColor({r = 26, g = 19, b = 17})"
         " l:setBackGroundColorOpacity(235) l:setContentSize({width = 286, height = 78})",
         "tolua.type(l) .. ' ' .. l:getBackGroundColorType() .. ' ' .. l:getBackGroundColor().g .. ' ' .."
         " l:getBackGroundColorOpacity() .. ' ' .. l:getContentSize().width .. ' ' .. tostring(l:isTouchEnabled())",
         "ccui.Layout 1 19 235 286 false"},
        {"f = ccui.Scale9Sprite:createWithSpriteFrameName('sudoku/sudoku57.png') f:setContentSize(286, 78)"
         " f:setScale(0.6)",
         "tolua.type(f) .. ' ' .. f:getOriginalSize().width .. ' ' .. f:getContentSize().height .. ' ' .. f:getScale()",
         "ccui.Scale9Sprite 32 78 0.60000002384186"},
        {"", "ccui.Scale9Sprite:createWithSpriteFrameName('missing.png')", "nil"},
        {"s = cc.Sprite:create() c = cc.LayerColor:create({r = 0, g = 0, b = 0, a = 128}, 10, 10)",
         "tolua.type(s) .. ' ' .. tolua.type(c) .. ' ' .. c:getOpacity()", "cc.Sprite cc.LayerColor 128"},
        {"n = cc.Node:create() n:setOpacity(235)", "n:getOpacity()", "235"},
        {"", "cc.Sequence:create()",
         "error: cc.Sequence:create has wrong number of arguments: 0, was expecting 1\n"},
        {"", "cc.Sequence:create({})", "nil"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        ASSERT_EQ(run(c.chunk), "");
        EXPECT_EQ(eval(c.expression), c.expected);
    }

    ASSERT_EQ(run("lbl = cc.Label:createWithSystemFont('Liên Hệ AD', 'Arial', 25)"
                  "lbl:setTextColor({r = 255, g = 210, b = 90, a = 255})"
                  "lbl:enableOutline({r = 40, g = 16, b = 6, a = 255}, 2)"),
              "");
    auto* label = global<engine::Label>("lbl");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getTextColor(), (engine::Color4B{255, 210, 90, 255}));
    EXPECT_EQ(label->getOutlineColor(), (engine::Color4B{40, 16, 6, 255}));
    EXPECT_EQ(label->getOutlineSize(), 2);
}

TEST_F(WidgetBindingTest, ABounceRunsAsASequenceOfScales) {
    // The argument list and a table of the same actions make the same sequence.
    for (const char* make : {"cc.Sequence:create(cc.ScaleTo:create(0.1, 0.9), cc.ScaleTo:create(0.1, 1))",
                             "cc.Sequence:create({cc.ScaleTo:create(0.1, 0.9), cc.ScaleTo:create(0.1, 1)})"}) {
        SCOPED_TRACE(make);
        ASSERT_EQ(run(std::string("n = cc.Node:create() scene:addChild(n) a = n:runAction(") + make + ")"), "");
        EXPECT_EQ(eval("tolua.type(a)"), "cc.Sequence");
        engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
        scheduler->update(0.f);   // an action's first step starts it
        scheduler->update(0.1f);
        EXPECT_EQ(eval("string.format('%.2f', n:getScale())"), "0.90");
        scheduler->update(0.1f);
        EXPECT_EQ(eval("string.format('%.2f', n:getScale())"), "1.00");
    }
}

}  // namespace
}  // namespace bindingtest
