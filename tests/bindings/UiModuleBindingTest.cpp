// The widget kinds from scripts: their listeners' arguments from real touches,
// listeners replacing each other, every count error of the module's hand-written
// methods, margins, the edit box typed into through the view, and focus
// listeners with their clones.
#include <gtest/gtest.h>

#include <string>

#include <tolua++.h>

#include "BindingTestSupport.h"
#include "bindings/LuaModules.h"
#include "engine/app/GLView.h"
#include "engine/base/EventListenerFocus.h"
#include "engine/input/IMEDelegate.h"
#include "engine/input/IMEDispatcher.h"

namespace bindingtest {
namespace {

class UiModuleBindingTest : public LuaEngineBindingTest {
protected:
    static constexpr float kHeight = 200;
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        bindings::register_ui_module(L);
        view = startViewOnScene(300, kHeight);
        ASSERT_EQ(run(R"(
            log = {}
            placed = {}
            scene = cc.Director:getInstance():getRunningScene()
            function note(...)
                local parts = {select('#', ...)}
                for i = 1, select('#', ...) do
                    local v = select(i, ...)
                    parts[#parts + 1] = type(v) == 'userdata' and tolua.type(v) or tostring(v)
                end
                log[#log + 1] = table.concat(parts, ' ')
            end
            function taken() local text = table.concat(log, ', ') log = {} return text end
            function held()
                local n = 0
                for _ in pairs(debug.getregistry().toluafix_refid_function_mapping) do n = n + 1 end
                return n
            end
            function put(w, x, y, width, height)
                w:setAnchorPoint({x = 0, y = 0})
                w:setPosition(x, y)
                w:setContentSize(width, height)
                scene:addChild(w)
                placed[#placed + 1] = w
                return w
            end)"),
                  "");
    }
    void TearDown() override {
        if (auto* attached = engine::IMEDispatcher::sharedDispatcher()->getAttachedDelegate(nullptr)) {
            attached->detachWithIME();
        }
        view->release();
        LuaEngineBindingTest::TearDown();
    }
    void down(float x, float y) { view->handleTouchBegin(1, x, kHeight - y); }
    void move(float x, float y) { view->handleTouchMove(1, x, kHeight - y); }
    void up(float x, float y) { view->handleTouchEnd(1, x, kHeight - y); }
    engine::GLView* view = nullptr;
};

TEST_F(UiModuleBindingTest, ListenersGetTheirArgumentsFromTouches) {
    // Each listener logs its argument count, then each argument (objects by type).
    const struct {
        const char* setup;
        float fromX, toX;   // a touch at y 10 from fromX to toX
        const char* log;
    } cases[] = {
        {"w = put(ccui.CheckBox:create(), 0, 0, 50, 50) w:addEventListener(note)", 10, 10, "2 ccui.CheckBox 0"},
        {"w = put(ccui.RadioButton:create(), 0, 0, 50, 50) w:addEventListener(note)", 10, 10,
         "2 ccui.RadioButton 0"},
        {"g = ccui.RadioButtonGroup:create() scene:addChild(g)"
         " for i = 0, 1 do g:addRadioButton(put(ccui.RadioButton:create(), 60 * i, 0, 50, 50)) end"
         " g:addEventListener(note)",
         70, 70, "3 ccui.RadioButton 1 0"},
        {"w = put(ccui.Slider:create(), 0, 0, 100, 20) w:addEventListener(note)", 50, 50,
         "2 ccui.Slider 1, 2 ccui.Slider 0, 2 ccui.Slider 2"},
        {"w = put(ccui.TextField:create(), 0, 0, 100, 20) w:addEventListener(note)", 10, 10, "2 ccui.TextField 0"},
        {"w = put(ccui.PageView:create(), 0, 0, 100, 100) w:addPage(ccui.Layout:create())"
         " w:addPage(ccui.Layout:create()) w:addEventListener(note)",
         80, 20, "2 ccui.PageView 0"},
        {"w = put(ccui.ScrollView:create(), 0, 0, 100, 100) w:setDirection(2)"
         " w:setInnerContainerSize({width = 300, height = 100}) w:addEventListener(note)"
         // a child that takes the touch: the view still scrolls
         " local c = ccui.Layout:create() c:setContentSize(300, 100) c:setTouchEnabled(true) w:addChild(c)"
         " assert(c:getParent() == w:getInnerContainer())",
         80, 40, "2 ccui.ScrollView 4, 2 ccui.ScrollView 4"},
        {"w = put(ccui.ListView:create(), 0, 0, 100, 100) local item = ccui.Widget:create()"
         " item:setContentSize(100, 100) w:pushBackCustomItem(item) w:addEventListener(note)",
         10, 10, "2 ccui.ListView 0, 2 ccui.ListView 1"},
        {"w = put(ccui.ListView:create(), 0, 0, 100, 100) w:setDirection(2)"
         " w:setInnerContainerSize({width = 300, height = 100}) w:addScrollViewEventListener(note)",
         80, 40, "2 ccui.ListView 4, 2 ccui.ListView 4"},
        {"w = put(ccui.Layout:create(), 0, 0, 50, 50) w:setTouchEnabled(true) w:addTouchEventListener(note)"
         " w:addClickEventListener(note)",
         10, 10, "2 ccui.Layout 0, 2 ccui.Layout 1, 2 ccui.Layout 1, 2 ccui.Layout 2, 1 ccui.Layout"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setup);
        ASSERT_EQ(run(c.setup), "");
        // What stands on the stack (a script call under way) is left as it was.
        lua_pushstring(L, "kept");
        const int top = lua_gettop(L);
        down(c.fromX, 10);
        move((c.fromX + c.toX) / 2, 10);
        move(c.toX, 10);
        up(c.toX, 10);
        EXPECT_EQ(lua_gettop(L), top);
        EXPECT_STREQ(lua_tostring(L, -1), "kept");
        lua_pop(L, 1);
        EXPECT_EQ(eval("taken()"), c.log);
        ASSERT_EQ(run("for _, w in ipairs(placed) do w:removeFromParent() end placed = {}"), "");
    }
}

TEST_F(UiModuleBindingTest, ANewListenerReleasesTheOneItReplaces) {
    const struct {
        const char* widgetClass;
        const char* method;
    } calls[] = {
        {"ccui.Widget", "addTouchEventListener"}, {"ccui.Widget", "addClickEventListener"},
        {"ccui.CheckBox", "addEventListener"},    {"ccui.RadioButton", "addEventListener"},
        {"ccui.RadioButtonGroup", "addEventListener"}, {"ccui.Slider", "addEventListener"},
        {"ccui.TextField", "addEventListener"},   {"ccui.PageView", "addEventListener"},
        {"ccui.ScrollView", "addEventListener"},  {"ccui.ListView", "addEventListener"},
        {"ccui.ListView", "addScrollViewEventListener"},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(std::string(call.widgetClass) + ":" + call.method);
        ASSERT_EQ(run(std::string("w = ") + call.widgetClass + ":create() scene:addChild(w) before = held()"
                      " for i = 1, 50 do w:" + call.method + "(function() end) end"),
                  "");
        EXPECT_EQ(eval("held() - before"), "1");
        ASSERT_EQ(run("w:removeFromParent() w = nil"), "");
    }
    // A listener still holding the previous one's kind keeps only the newest called.
    ASSERT_EQ(run("b = put(ccui.CheckBox:create(), 0, 0, 50, 50)"
                  " b:addEventListener(function() note('old') end)"
                  " b:addEventListener(function(_, kind) note('new', kind) end)"),
              "");
    down(10, 10);
    up(10, 10);
    EXPECT_EQ(eval("taken()"), "2 new 0");
}

TEST_F(UiModuleBindingTest, CountAndSelfErrors) {
    ASSERT_EQ(run("w = ccui.Widget:create() c = ccui.CheckBox:create() r = ccui.RadioButton:create()"
                  " g = ccui.RadioButtonGroup:create() s = ccui.Slider:create() t = ccui.TextField:create()"
                  " p = ccui.PageView:create() sv = ccui.ScrollView:create() l = ccui.ListView:create()"
                  " m = ccui.LinearLayoutParameter:create() e = ccui.EditBox:create({width = 10, height = 10})"
                  " f = cc.EventListenerFocus:create()"),
              "");
    const std::string tail = " has wrong number of arguments: ";
    const struct {
        const char* call;
        std::string error;
    } cases[] = {
        {"w:addTouchEventListener()", "'addTouchEventListener' function of Widget" + tail + "0, was expecting 1\n"},
        {"w:addClickEventListener(print, print)",
         "'addClickEventListener' function of Widget" + tail + "2, was expecting 1\n"},
        {"c:addEventListener()", "'addEventListener' function of CheckBox" + tail + "0, was expecting 1\n"},
        {"r:addEventListener()", "'addEventListener' function of RadioButton" + tail + "0, was expecting 1\n"},
        {"g:addEventListener(1, 2)", "'addEventListener' function of RadioButtonGroup" + tail + "2, was expecting 1\n"},
        {"s:addEventListener()", "'addEventListener' function of Slider" + tail + "0, was expecting 1\n"},
        {"t:addEventListener()", "'addEventListener' function of TextField" + tail + "0, was expecting 1\n"},
        {"p:addEventListener()", "'addEventListener' function of PageView" + tail + "0, was expecting 1\n"},
        {"sv:addEventListener()", "'addEventListener' function of ScrollView" + tail + "0, was expecting 1\n"},
        {"l:addEventListener()", "'addEventListener' function of ListView" + tail + "0, was expecting 1\n"},
        {"l:addScrollViewEventListener()",
         "'addScrollViewEventListener' function of ListView" + tail + "0, was expecting 1\n"},
        {"m:getMargin(1)", "'getMargin' function of LayoutParameter" + tail + "1, was expecting 0\n"},
        {"m:setMargin()", "'setMargin' function of LayoutParameter" + tail + "0, was expecting 1\n"},
        {"e:registerScriptEditBoxHandler()",
         "ccui.EditBox:registerScriptEditBoxHandler function of EditBox " + tail + "0, was expecting 1\n"},
        {"e:unregisterScriptEditBoxHandler(print)",
         "ccui.EditBox:unregisterScriptEditBoxHandler function of EditBox " + tail + "1, was expecting 0\n"},
        {"cc.EventListenerFocus:create(1)", "cc.EventListenerFocus:create" + tail + "1, was expecting 0\n"},
        {"f:registerScriptHandler()", "cc.EventListenerFocus:registerScriptHandler" + tail + "0, was expecting 1\n"},
        {"f:clone(1)", "cc.EventListenerFocus:clone" + tail + "1, was expecting 0\n"},
        // Self is type-tested.
        {"ccui.Widget.addTouchEventListener(cc.Node:create(), print)",
         "invalid 'self' in function 'ccui.Widget:addTouchEventListener'"},
        {"ccui.CheckBox.addEventListener(s, print)", "invalid 'self' in function 'ccui.CheckBox:addEventListener'"},
        {"ccui.ListView.addScrollViewEventListener(sv, print)",
         "invalid 'self' in function 'ccui.ListView:addScrollViewEventListener'"},
        {"ccui.LayoutParameter.getMargin(nil)", "invalid 'self' in function 'ccui.LayoutParameter:getMargin'"},
        {"ccui.EditBox.registerScriptEditBoxHandler(w, print)",
         "invalid 'self' in function 'ccui.EditBox:registerScriptEditBoxHandler'"},
        {"cc.EventListenerFocus.clone(w)", "invalid 'self' in function 'cc.EventListenerFocus:clone'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(eval(c.call), "error: " + c.error);
    }
}

TEST_F(UiModuleBindingTest, MarginsRoundTrip) {
    const struct {
        const char* margin;
        const char* read;
    } cases[] = {
        {"{left = 5}", "5 0 0 0"},
        {"{left = 1.5, top = 2, right = 3, bottom = 4}", "1.5 2 3 4"},
        {"{top = '7', bottom = 'x', extra = 9}", "0 7 0 0"},
        {"{}", "0 0 0 0"},
    };
    ASSERT_EQ(run("m = ccui.LinearLayoutParameter:create() p = ccui.LayoutParameter:create()"), "");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.margin);
        for (const char* parameter : {"m", "p"}) {
            ASSERT_EQ(run(std::string(parameter) + ":setMargin(" + c.margin + ")"), "");
            EXPECT_EQ(eval(std::string("(function(t) return type(t.left) .. ' ' .. t.left .. ' ' .. t.top .. ' ' ..") +
                           " t.right .. ' ' .. t.bottom end)(" + parameter + ":getMargin())"),
                      std::string("number ") + c.read);
        }
    }
    EXPECT_EQ(eval("m:setMargin(3)").rfind("error: ", 0), 0u);
    // A widget keeps its parameter.
    EXPECT_EQ(eval("(function() local w = ccui.Widget:create() w:setLayoutParameter(m)"
                   " return tolua.type(w:getLayoutParameter()) .. ' ' .. w:getLayoutParameter():getMargin().top end)()"),
              "ccui.LinearLayoutParameter 0");
}

TEST_F(UiModuleBindingTest, EditBoxTypedIntoThroughTheView) {
    ASSERT_EQ(run("e = put(ccui.EditBox:create({width = 100, height = 30}), 0, 0, 100, 30) e:setMaxLength(3)"
                  " e:registerScriptEditBoxHandler(function(name, sender, ...)"
                  "   note(name, sender == e, e:getText(), ...) end)"),
              "");
    view->onCharInput('x');   // not editing yet
    down(10, 10);
    up(10, 10);
    for (unsigned int ch : {0x61u, 0xE9u, 0x62u, 0x63u}) view->onCharInput(ch);
    view->onKeyInput(259, 0, 1, 0);   // Backspace
    view->onKeyInput(257, 0, 1, 0);   // Enter
    view->onCharInput('z');           // closed again
    EXPECT_EQ(eval("taken()"),
              "3 began true , 3 changed true a, 3 changed true a\xC3\xA9, 3 changed true a\xC3\xA9" "b, "
              "3 changed true a\xC3\xA9, 3 ended true a\xC3\xA9, 3 return true a\xC3\xA9");
    // Replacing and removing the handler release it.
    ASSERT_EQ(run("before = held() e:registerScriptEditBoxHandler(function() end) after = held()"
                  " e:unregisterScriptEditBoxHandler()"),
              "");
    EXPECT_EQ(eval("(after - before) .. ' ' .. (held() - before)"), "0 -1");
    down(10, 10);
    up(10, 10);
    view->onKeyInput(257, 0, 1, 0);
    EXPECT_EQ(eval("taken()"), "");
}

TEST_F(UiModuleBindingTest, FocusListenersAndTheirClones) {
    ASSERT_EQ(run(R"(
        dispatcher = cc.Director:getInstance():getEventDispatcher()
        a = ccui.Widget:create() scene:addChild(a)
        b = ccui.Widget:create() scene:addChild(b)
        plain = cc.EventListenerFocus:create()
        plainCopy = plain:clone()
        source = cc.EventListenerFocus:create()
        source:registerScriptHandler(function(losing, getting, ...)
            note('first', losing == a, getting == b, ...) end)
        source:registerScriptHandler(function(losing, getting, ...)
            note(losing == nil and 'nil' or (losing == a and 'a' or 'b'), getting == a and 'a' or 'b', ...) end)
        copy = source:clone()
        dispatcher:addEventListenerWithFixedPriority(copy, 1)
        dispatcher:addEventListenerWithFixedPriority(plainCopy, 2))"),
              "");
    EXPECT_EQ(eval("tolua.type(copy) .. ' ' .. tolua.type(plainCopy)"),
              "cc.EventListenerFocus cc.EventListenerFocus");
    lua_getglobal(L, "plainCopy");
    auto* plainCopy = static_cast<engine::EventListenerFocus*>(tolua_tousertype(L, -1, nullptr));
    lua_pop(L, 1);
    ASSERT_NE(plainCopy, nullptr);
    EXPECT_FALSE(plainCopy->onFocusChanged);
    // The clone's function outlives the source's own handler.
    ASSERT_EQ(run("source:registerScriptHandler(function() note('replaced') end)"), "");
    lua_pushstring(L, "kept");
    const int top = lua_gettop(L);
    ASSERT_EQ(run("a:requestFocus() b:requestFocus()"), "");
    EXPECT_EQ(lua_gettop(L), top);
    lua_pop(L, 1);
    EXPECT_EQ(eval("taken()"), "2 nil a, 2 a b");
    ASSERT_EQ(run("dispatcher:removeEventListener(copy) a:requestFocus()"), "");
    EXPECT_EQ(eval("taken()"), "");
}

}  // namespace
}  // namespace bindingtest
