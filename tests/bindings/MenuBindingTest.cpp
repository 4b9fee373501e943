// Menus, menu items and the layer multiplex from scripts: creating them from
// argument lists, the count and argument errors, alignment, taps through the
// view's input entries, toggles and multiplex switching.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BindingTestSupport.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"
#include "engine/app/GLView.h"

namespace bindingtest {
namespace {

class MenuBindingTest : public LuaEngineBindingTest {
protected:
    static constexpr float kWidth = 300;
    static constexpr float kHeight = 200;
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        view = startViewOnScene(kWidth, kHeight);
        // Font items: each character half the font size wide, one font size high.
        ASSERT_EQ(run(R"(
            log = {}
            function note(...) local t = {} for i = 1, select('#', ...) do t[i] = tostring((select(i, ...))) end
                log[#log + 1] = table.concat(t, ',') end
            function flush() local s = table.concat(log, ' ') log = {} return s end
            scene = cc.Director:getInstance():getRunningScene()
            cc.MenuItemFont:setFontSize(20)
            function font(text) return cc.MenuItemFont:create(text or 'ab') end
            function at(node) return string.format('%.1f:%.1f', node:getPosition()) end
        )"), "");
    }
    void TearDown() override {
        view->release();
        LuaEngineBindingTest::TearDown();
    }
    engine::GLView* view = nullptr;
};

// Every create from its argument list: nil, other values and objects of other
// classes between the items are left out.
TEST_F(MenuBindingTest, CreatesFromArgumentLists) {
    struct Case {
        const char* make;         // assigned to m
        const char* expression;
        const char* expected;
    } cases[] = {
        {"cc.Menu:create()", "tolua.type(m) .. m:getChildrenCount()", "cc.Menu0"},
        {"cc.Menu:create(font(), nil, font())", "m:getChildrenCount()", "2"},
        {"cc.Menu:create(font(), 7, 'x', {}, true, font(), font())", "m:getChildrenCount()", "3"},
        {"cc.Menu:create(font(), cc.Node:create(), cc.Layer:create(), font())", "m:getChildrenCount()", "2"},
        {"cc.MenuItemToggle:create(font('a'), nil, cc.Sprite:create(), font('abc'))",
         "tolua.type(m) .. #m:getSubItems() .. m:getSelectedIndex() .. m:getSelectedItem():getString()",
         "cc.MenuItemToggle20a"},
        {"cc.LayerMultiplex:create(cc.Layer:create(), nil, 3, cc.LayerColor:create())",
         "tolua.type(m) .. m:getChildrenCount() .. m:getEnabledLayer()", "cc.LayerMultiplex10"},
        {"cc.MenuItemFont:create('abc')", "tolua.type(m) .. m:getString() .. m:getContentSize().width", "cc.MenuItemFontabc30"},
        {"cc.MenuItemLabel:create(cc.Label:createWithSystemFont('abcd', 'Arial', 10))",
         "tolua.type(m) .. m:getContentSize().width .. m:getLabel():getString()", "cc.MenuItemLabel20abcd"},
        {"cc.MenuItemSprite:create(cc.Sprite:create(), cc.Sprite:create())",
         "tolua.type(m) .. tostring(m:getDisabledImage()) .. tolua.type(m:getSelectedImage())",
         "cc.MenuItemSpritenilcc.Sprite"},
        {"cc.MenuItemSprite:create(cc.Sprite:create(), nil, cc.Sprite:create())",
         "tostring(m:getSelectedImage()) .. tolua.type(m:getDisabledImage())", "nilcc.Sprite"},
        {"cc.MenuItemImage:create()", "tolua.type(m) .. tostring(m:getNormalImage())", "cc.MenuItemImagenil"},
        {"cc.MenuItemImage:create('missing.png', '')", "tostring(m:getNormalImage())", "nil"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.make);
        ASSERT_EQ(run(std::string("m = ") + c.make), "");
        EXPECT_EQ(eval(c.expression), c.expected);
    }
}

TEST_F(MenuBindingTest, ImageItemsFromFiles) {
    testsupport::TempDir dir;
    const auto png = testsupport::encodeBlankPng(24, 16);
    for (const char* name : {"normal.png", "selected.png", "disabled.png"}) {
        dir.write(name, std::string(png.begin(), png.end()));
    }
    lua_pushstring(L, (dir.path() + "/").c_str());
    lua_setglobal(L, "dir");
    ASSERT_EQ(run("m = cc.MenuItemImage:create(dir .. 'normal.png', dir .. 'selected.png', dir .. 'disabled.png')"), "");
    EXPECT_EQ(eval("m:getContentSize().width .. 'x' .. m:getContentSize().height"), "24x16");
    // One image shows at a time: normal, selected while selected, disabled while disabled.
    const char* shown = "(m:getNormalImage():isVisible() and 'n' or '') .. (m:getSelectedImage():isVisible() and 's' or '')"
                        " .. (m:getDisabledImage():isVisible() and 'd' or '')";
    struct Step {
        const char* call;
        const char* shown;
    } steps[] = {{"", "n"}, {"m:selected()", "s"}, {"m:setEnabled(false)", "d"},
                 {"m:setEnabled(true)", "s"}, {"m:unselected()", "n"}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.call);
        ASSERT_EQ(run(step.call), "");
        EXPECT_EQ(eval(shown), step.shown);
    }
}

TEST_F(MenuBindingTest, CountAndArgumentErrors) {
    ASSERT_EQ(run("menu = cc.Menu:create() s = cc.Sprite:create()"), "");
    struct Case {
        const char* call;
        const char* error;
    } cases[] = {
        {"cc.MenuItemImage:create('a.png')", "cc.MenuItemImage:create has wrong number of arguments: 1, was expecting 0\n"},
        {"cc.MenuItemImage:create('a', 'b', 'c', 'd')",
         "cc.MenuItemImage:create has wrong number of arguments: 4, was expecting 0\n"},
        {"cc.MenuItemFont:create()", "cc.MenuItemFont:create has wrong number of arguments: 0, was expecting 1\n"},
        {"cc.MenuItemLabel:create()", "cc.MenuItemLabel:create has wrong number of arguments: 0, was expecting 1\n"},
        {"cc.MenuItemLabel:create(7)", "invalid arguments in function 'lua_engine_MenuItemLabel_create'"},
        {"cc.MenuItemSprite:create(s)", "cc.MenuItemSprite:create has wrong number of arguments: 1, was expecting 3\n"},
        {"cc.MenuItemSprite:create(s, s, s, s)",
         "cc.MenuItemSprite:create has wrong number of arguments: 4, was expecting 3\n"},
        {"cc.MenuItemSprite:create(nil, s)", "invalid arguments in function 'lua_engine_MenuItemSprite_create'"},
        {"cc.MenuItemSprite:create(s, 'x')", "invalid arguments in function 'lua_engine_MenuItemSprite_create'"},
        {"cc.MenuItemToggle:create()", "cc.MenuItemToggle:create has wrong number of arguments: 0, was expecting 1\n"},
        {"cc.Menu.create()", "create wrong number of arguments: -1, was expecting 0\n"},
        {"menu:alignItemsInColumns()",
         "'alignItemsInColumns' has wrong number of arguments in tolua_engine_Menu_alignItemsInColumns: 0, was expecting 1\n"},
        {"menu:alignItemsInRows()",
         "'alignItemsInRows' has wrong number of arguments in tolua_engine_Menu_alignItemsInRows: 0, was expecting 1\n"},
        {"cc.Menu.alignItemsInRows(cc.Layer:create(), 1)", "invalid 'self' in function 'cc.Menu:alignItemsInRows'"},
        {"cc.Menu.alignItemsInColumns(nil, 1)", "invalid 'self' in function 'cc.Menu:alignItemsInColumns'"},
        {"cc.LayerMultiplex:create()", "cc.LayerMultiplex:create has wrong number of arguments: 0, was expecting 1\n"},
        {"cc.LayerMultiplex:create(cc.Layer:create(), cc.Node:create())", "error in tolua_engine_LayerMultiplex_create \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(eval(c.call), std::string("error: ") + c.error);
    }
}

// Three 20 x 20 items on a 300 x 200 win, placed around the menu's origin.
// Counts that do not match the items are logged and place what they cover; the
// other items stay at 99:99.
TEST_F(MenuBindingTest, AlignmentWithMatchingAndOtherCounts) {
    ASSERT_EQ(run("a, b, c = font(), font(), font() menu = cc.Menu:create(a, b, c) scene:addChild(menu)"), "");
    struct Case {
        const char* call;
        const char* places;   // a b c
        bool logged;
    } cases[] = {
        {"alignItemsVertically()", "0.0:25.0 0.0:0.0 0.0:-25.0", false},
        {"alignItemsVerticallyWithPadding(0)", "0.0:20.0 0.0:0.0 0.0:-20.0", false},
        {"alignItemsHorizontally()", "-25.0:0.0 0.0:0.0 25.0:0.0", false},
        {"alignItemsHorizontallyWithPadding(10)", "-30.0:0.0 0.0:0.0 30.0:0.0", false},
        {"alignItemsInColumns(2, 1)", "-50.0:12.5 50.0:12.5 0.0:-12.5", false},
        {"alignItemsInRows(1, 2)", "-15.0:0.0 15.0:33.3 15.0:-33.3", false},
        {"alignItemsInColumns(3)", "-75.0:0.0 0.0:0.0 75.0:0.0", false},
        {"alignItemsInColumns(1)", "0.0:0.0 99.0:99.0 99.0:99.0", true},
        {"alignItemsInColumns(2, 2)", "-50.0:12.5 50.0:12.5 -50.0:-12.5", true},
        {"alignItemsInColumns(0, 3)", "-75.0:0.0 0.0:0.0 75.0:0.0", true},
        {"alignItemsInColumns(-4, 1, 1, 1, 1)", "0.0:25.0 0.0:0.0 0.0:-25.0", true},
        {"alignItemsInRows(5)", "0.0:66.7 0.0:33.3 0.0:0.0", true},
        {"alignItemsInRows('x')", "99.0:99.0 99.0:99.0 99.0:99.0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        ASSERT_EQ(run("for _, item in ipairs({a, b, c}) do item:setPosition(99, 99) end"), "");
        testsupport::LogCapture logs;
        ASSERT_EQ(run(std::string("menu:") + c.call), "");
        EXPECT_EQ(eval("at(a) .. ' ' .. at(b) .. ' ' .. at(c)"), c.places);
        EXPECT_EQ(logs.contains("do not match"), c.logged);
    }
}

// A 20 x 20 item at the menu's origin covers view pixels 140..160 x 90..110.
// The script's tap handler hears a tap that ends over the item it began on.
TEST_F(MenuBindingTest, TapsThroughTheViewReachTheTapHandler) {
    ASSERT_EQ(run(R"(
        item = font() item:setTag(7) menu = cc.Menu:create(item) scene:addChild(menu)
        item:registerScriptTapHandler(function(tag, sender) note('tap', tag, sender == item) end)
        under = cc.Layer:create() scene:addChild(under, -1)
        under:registerScriptTouchHandler(function(phase) if phase == 'began' then note('under') end return true end)
        under:setTouchEnabled(true)
    )"), "");
    struct Point {
        float x, y;
    };
    const Point on{150, 100}, edge{141, 109}, off{10, 10};
    struct Case {
        const char* setup;
        Point began;
        std::vector<Point> moves;
        Point ended;
        bool cancelled;
        const char* heard;
    } cases[] = {
        {"", on, {}, on, false, "tap,7,true"},
        {"", edge, {}, edge, false, "tap,7,true"},
        {"", off, {}, off, false, "under"},
        {"", on, {off}, off, false, ""},
        {"", on, {}, off, false, ""},
        {"", on, {off, on}, on, false, "tap,7,true"},
        {"", on, {}, on, true, ""},
        {"item:setEnabled(false)", on, {}, on, false, "under"},
        {"menu:setEnabled(false)", on, {}, on, false, "under"},
        {"menu:setVisible(false)", on, {}, on, false, "under"},
        {"scene:setVisible(false)", on, {}, on, false, "under"},
        {"item:unregisterScriptTapHandler()", on, {}, on, false, ""},
    };
    int id = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setup) + " case " + std::to_string(id));
        ASSERT_EQ(run(c.setup), "");
        view->handleTouchBegin(id, c.began.x, c.began.y);
        for (const Point& p : c.moves) view->handleTouchMove(id, p.x, p.y);
        if (c.cancelled) {
            EXPECT_EQ(eval("item:isSelected()"), "true");
            view->handleTouchCancel(id, c.ended.x, c.ended.y);
        } else {
            view->handleTouchEnd(id, c.ended.x, c.ended.y);
        }
        EXPECT_EQ(eval("flush()"), c.heard);
        EXPECT_EQ(eval("item:isSelected()"), "false");
        ASSERT_EQ(run("item:setEnabled(true) menu:setEnabled(true) menu:setVisible(true) scene:setVisible(true)"), "");
        ++id;
    }
    // A handler that takes the menu off the scene, and with it its listener.
    ASSERT_EQ(run("item:registerScriptTapHandler(function() note('gone') menu:removeFromParent() end)"), "");
    for (const char* heard : {"gone", "under"}) {
        view->handleTouchBegin(id, on.x, on.y);
        view->handleTouchEnd(id++, on.x, on.y);
        EXPECT_EQ(eval("flush()"), heard);
    }
}

// A toggle steps through its sub-items on each tap and shows the selected one.
TEST_F(MenuBindingTest, ToggleIndexFollowsTapsAndSettings) {
    ASSERT_EQ(run(R"(
        t = cc.MenuItemToggle:create(font('a'), font('abc'), font('abcde'))
        t:registerScriptTapHandler(function(tag, sender) note(sender:getSelectedIndex()) end)
        menu = cc.Menu:create(t) scene:addChild(menu)
    )"), "");
    struct Step {
        const char* call;
        const char* state;   // index, text of the selected item, toggle width, notes
    } steps[] = {
        {"", "0 a 10 "},
        {"t:activate()", "1 abc 30 1"},
        {"t:activate()", "2 abcde 50 2"},
        {"t:activate()", "0 a 10 0"},
        {"t:setSelectedIndex(2)", "2 abcde 50 "},
        {"t:setSelectedIndex(3)", "2 abcde 50 "},
        {"t:setSelectedIndex(-1)", "2 abcde 50 "},
        {"t:setEnabled(false) t:activate()", "2 abcde 50 "},
        {"t:setEnabled(true) t:addSubItem(font('abcdefg')) t:activate()", "3 abcdefg 70 3"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.call);
        ASSERT_EQ(run(step.call), "");
        EXPECT_EQ(eval("t:getSelectedIndex() .. ' ' .. t:getSelectedItem():getString() .. ' ' .. "
                       "t:getContentSize().width .. ' ' .. flush()"),
                  step.state);
    }
    EXPECT_EQ(eval("t:getChildrenCount()"), "1");
    // A tap on the toggle through the view steps it too.
    view->handleTouchBegin(1, 150, 100);
    view->handleTouchEnd(1, 150, 100);
    EXPECT_EQ(eval("flush()"), "0");
    EXPECT_EQ(eval("cc.MenuItemToggle:create(7):getSelectedIndex()"), "-1");   // nothing to select
}

TEST_F(MenuBindingTest, LayerMultiplexSwitches) {
    ASSERT_EQ(run(R"(
        layers = {}
        for i = 1, 3 do layers[i] = cc.Layer:create() layers[i]:setName('L' .. (i - 1)) end
        m = cc.LayerMultiplex:create(layers[1], layers[2], layers[3])
        scene:addChild(m)
        function shown() local s = '' for i = 0, 2 do if m:getChildByName('L' .. i) then s = s .. 'L' .. i end end
            return s .. ' ' .. m:getEnabledLayer() end
    )"), "");
    struct Step {
        const char* call;
        const char* shown;
    } steps[] = {
        {"", "L0 0"},
        {"m:switchTo(1)", "L1 1"},
        {"m:switchTo(3)", "L1 1"},
        {"m:switchTo(-1)", "L1 1"},
        {"m:switchToAndReleaseMe(2)", "L2 2"},
        {"m:switchTo(1)", "L2 2"},             // let go
        {"m:switchToAndReleaseMe(2)", "L2 2"}, // the one shown
        {"m:switchTo(0)", "L0 0"},
        {"m:addLayer(cc.Layer:create()) m:switchTo(3)", " 3"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.call);
        ASSERT_EQ(run(step.call), "");
        EXPECT_EQ(eval("shown()"), step.shown);
    }
    EXPECT_EQ(eval("m:getChildrenCount()"), "1");
}

}  // namespace
}  // namespace bindingtest
