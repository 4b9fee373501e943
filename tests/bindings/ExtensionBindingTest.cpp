// The extension module from scripts: control event handlers by mask, scroll
// and table view handlers and delegates, the assets manager's delegate, the
// particle pool and the count errors of the hand-written functions.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaChecks.h"
#include "bindings/LuaModules.h"
#include "engine/extension/AssetsManagerEx.h"
#include "engine/extension/ParticleSystem3D.h"
#include "engine/network/HttpClient.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"
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

// The scroll view's delegate calls its handlers with the one argument "";
// types outside 0..1 file nothing and keep no reference.
TEST_F(ExtensionBindingTest, ScrollViewDelegateAndTypes) {
    ASSERT_EQ(run(R"(
        s = cc.ScrollView:create({width = 100, height = 100}, nil)
        s:getContainer():setContentSize({width = 300, height = 300})
        base = refs()
        for _, t in ipairs({-1, 2, 21, 1e12}) do s:registerScriptHandler(function() note('bad') end, t) end
        s:registerScriptHandler(function(...) note('scroll', select('#', ...), ...) end, 0)
        s:registerScriptHandler(function(...) note('zoom', select('#', ...), ...) end, 1)
        s:setContentOffset({x = -10, y = 0})
    )"), "");
    EXPECT_EQ(eval("refs() - base"), "2");
    EXPECT_EQ(eval("flush()"), "");   // no delegate yet
    // A second delegate replaces the first; the handlers stay with the view.
    ASSERT_EQ(run("s:setDelegate() s:setDelegate() s:setContentOffset({x = -20, y = 0}, false) s:setZoomScale(2)"), "");
    EXPECT_EQ(eval("flush()"), "scroll,1, zoom,1,");
    ASSERT_EQ(run("s:unregisterScriptHandler(0) s:unregisterScriptHandler(5) s:setContentOffset({x = -30, y = 0})"), "");
    EXPECT_EQ(eval("flush()"), "");
    EXPECT_EQ(eval("refs() - base"), "1");
}

// A table view's cells come from the script's data handlers: size answers of
// two values, one (height 0) and none (no size: no cell in sight).
TEST_F(ExtensionBindingTest, TableViewDataHandlers) {
    ASSERT_EQ(run(R"(
        t = cc.TableView:create({width = 100, height = 100})
        scene:addChild(t)
        count = 4
        t:registerScriptHandler(function(view, i) assert(view == t) return size(i) end, 6)
        t:registerScriptHandler(function(view, i)
            local cell = view:dequeueCell() or cc.TableViewCell:new()
            note('cell' .. i) return answer(cell) end, 7)
        t:registerScriptHandler(function(view) return count end, 8)
        answer = function(cell) return cell end
    )"), "");
    EXPECT_EQ(eval("t:getContainer():getContentSize().height .. tolua.type(t)"), "0cc.TableView");   // zero cells when made
    struct Case {
        const char* size;      // body of size(i)
        const char* answer;    // body of answer(cell)
        const char* asked;
        const char* inSight;   // getIdx of cellAtIndex(0..3)
    } cases[] = {
        {"return 100, 40", "return cell", "cell0 cell1 cell2", "0 1 2 -"},
        {"return 100, 40, 'extra'", "return cell", "cell0 cell1 cell2", "0 1 2 -"},
        {"return 100", "return cell", "", "- - - -"},
        {"return", "return cell", "", "- - - -"},
        {"return 100, 40", "return cc.Node:create()", "cell0 cell1 cell2", "- - - -"},
        {"return 100, 40", "return 'cell'", "cell0 cell1 cell2", "- - - -"},
        {"return 100, 40", "", "cell0 cell1 cell2", "- - - -"},
        {"return 0, 200", "return cell", "cell0", "0 - - -"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.size) + " / " + c.answer);
        ASSERT_EQ(run(std::string("function size(i) ") + c.size + " end function answer(cell) " + c.answer + " end"), "");
        ASSERT_EQ(run("t:reloadData()"), "");
        EXPECT_EQ(eval("flush()"), c.asked);
        EXPECT_EQ(eval("(function() local r = {} for i = 0, 3 do local cell = t:cellAtIndex(i) "
                       "r[#r + 1] = cell and cell:getIdx() or '-' end return table.concat(r, ' ') end)()"),
                  c.inSight);
    }
    EXPECT_EQ(eval("t:getContainer():getContentSize().height"), "800");
}

// The table delegate's handlers: (table, cell) from touches, replaced with the
// delegate; types outside 0..8 file nothing.
TEST_F(ExtensionBindingTest, TableViewDelegateFromTouches) {
    ASSERT_EQ(run(R"(
        t = cc.TableView:create({width = 100, height = 100}, cc.Layer:create())
        scene:addChild(t)
        t:registerScriptHandler(function() return 100, 40 end, 6)
        t:registerScriptHandler(function(view, i) return view:dequeueCell() or cc.TableViewCell:new() end, 7)
        t:registerScriptHandler(function() return 5 end, 8)
        base = refs()
        t:registerScriptHandler(print, 9) t:registerScriptHandler(print, -1)
        for kind, name in pairs({[2] = 't', [3] = 'h', [4] = 'u', [5] = 'r'}) do
            t:registerScriptHandler(function(view, cell) note(name .. cell:getIdx(), view == t, tolua.type(cell)) end, kind)
        end
        t:setDelegate() t:setDelegate()
        t:reloadData() flush()
    )"), "");
    EXPECT_EQ(eval("refs() - base"), "4");
    // Cell 0 covers view pixels 0..100 x 160..200.
    view->handleTouchBegin(1, 50, 180);
    view->handleTouchEnd(1, 50, 180);
    EXPECT_EQ(eval("flush()"), "h0,true,cc.TableViewCell u0,true,cc.TableViewCell t0,true,cc.TableViewCell");
    ASSERT_EQ(run("t:setContentOffset({x = 0, y = -100})"), "");
    EXPECT_EQ(eval("flush()"), "r0,true,cc.TableViewCell r1,true,cc.TableViewCell");
    ASSERT_EQ(run("t:unregisterScriptHandler(2) t:unregisterScriptHandler(9)"), "");
    EXPECT_EQ(eval("refs() - base"), "3");
}

// One delegate per assets manager holds every type's handler; a second call
// of a type replaces its handler, types outside 0..2 keep nothing, and the
// handlers go with the manager. A version file that cannot be fetched reaches
// the error handler with code 1.
TEST_F(ExtensionBindingTest, AssetsManagerDelegateAndErrorPath) {
    testsupport::TempDir dir;
    const std::string url = "http://127.0.0.1:" + std::to_string(testsupport::PatchHost::closedPort());
    ASSERT_EQ(run("base = refs() am = cc.AssetsManager:new('" + url + "/p.zip', '" + url + "/version', '" +
                  dir.path() + "') scene:addChild(am)"),
              "");
    ASSERT_EQ(run(R"(
        am:setDelegate(function(p) note('progress', p) end, 0)
        am:setDelegate(function(...) note('first', ...) end, 2)
        am:setDelegate(function(...) note('error', select('#', ...), ...) end, 2)
        am:setDelegate(print, 3) am:setDelegate(print, -1)
        am:update()
    )"), "");
    EXPECT_EQ(eval("refs() - base"), "2");
    EXPECT_TRUE(testsupport::pumpMainThreadUntil([&] { return eval("#log") != "0"; }, std::chrono::seconds(10)));
    EXPECT_EQ(eval("flush()"), "error,1,1");
    EXPECT_EQ(eval("am:getStoragePath() == '" + dir.path() + "/'"), "true");
    ASSERT_EQ(run("am:removeFromParent()"), "");
    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(eval("refs() - base"), "0");
    engine::network::HttpClient::destroyInstance();
}

// The listener hears its own manager's events, raised natively, as
// "cc.EventAssetsManagerEx"; the particle pool lists itself per live particle.
TEST_F(ExtensionBindingTest, AssetsManagerExEventsAndParticlePool) {
    ASSERT_EQ(run(R"(
        -- Both live until the autorelease pool is next drained, after the test.
        m = cc.AssetsManagerEx:create('project.manifest', 'dir')
        other = cc.AssetsManagerEx:create('other.manifest', 'dir')
        base = refs()
        l = cc.EventListenerAssetsManagerEx:create(m, function(...)
            local e = ... note(select('#', ...), tolua.type(e), e:getEventCode(), e:getPercent(), e:getAssetId(),
                e:getMessage(), e:getAssetsManagerEx() == m) end)
        cc.Director:getInstance():getEventDispatcher():addEventListenerWithFixedPriority(l, 1)
        system = cc.ParticleSystem3D:create() pool = system:getParticlePool()
    )"), "");
    EXPECT_EQ(eval("refs() - base"), "1");
    auto managerOf = [this](const char* name) {
        lua_getglobal(L, name);
        auto* manager = bindings::objectAt<engine::extension::AssetsManagerEx>(L, -1, "cc.AssetsManagerEx");
        lua_pop(L, 1);
        return manager;
    };
    using Code = engine::extension::EventAssetsManagerEx::EventCode;
    managerOf("m")->dispatchUpdateEvent(Code::UPDATE_PROGRESSION, 50, "a.png", "half");
    managerOf("other")->dispatchUpdateEvent(Code::UPDATE_FINISHED);
    managerOf("m")->dispatchUpdateEvent(Code::ERROR_DECOMPRESS);
    EXPECT_EQ(eval("flush()"), "1,cc.EventAssetsManagerEx,5,50,a.png,half,true 1,cc.EventAssetsManagerEx,10,0,,,true");

    EXPECT_EQ(eval("#pool:getActiveDataList() .. tolua.type(pool)"), "0cc.ParticlePool");
    lua_getglobal(L, "pool");
    auto* pool = bindings::objectAt<engine::ParticlePool>(L, -1, "cc.ParticlePool");
    lua_pop(L, 1);
    ASSERT_NE(pool, nullptr);
    pool->createData();
    pool->createData();
    EXPECT_EQ(eval("(function() local list = pool:getActiveDataList() return #list .. tostring(list[1] == pool and list[2] == pool) end)()"),
              "2true");
    pool->removeAllDatas();
    EXPECT_EQ(eval("#pool:getActiveDataList()"), "0");
}

TEST_F(ExtensionBindingTest, CountErrors) {
    ASSERT_EQ(run("c = cc.Control:create() s = cc.ScrollView:create() t = cc.TableView:create({width = 1, height = 1}) "
                  "am = cc.AssetsManager:new() m = cc.AssetsManagerEx:create('', '') p = cc.ParticleSystem3D:create()"), "");
    struct Case {
        const char* call;
        const char* error;
    } cases[] = {
        {"c:registerControlEventHandler(print)",
         "cc.Control:registerControlEventHandler function of Control has wrong number of arguments: 1, was expecting 2\n"},
        {"c:unregisterControlEventHandler()",
         "cc.Control:unregisterControlEventHandler function of Control  has wrong number of arguments: 0, was expecting 1\n"},
        {"s:setDelegate(1)", "'setDelegate' function of ScrollView wrong number of arguments: 1, was expecting 0\n"},
        {"s:registerScriptHandler(print)",
         "cc.ScrollView:registerScriptHandler function of ScrollView has wrong number of arguments: 1, was expecting 2\n"},
        {"s:unregisterScriptHandler()",
         "cc.ScrollView:unregisterScriptHandler function of ScrollView  has wrong number of arguments: 0, was expecting 1\n"},
        {"t:setDelegate(1)", "'setDelegate' function of TableView wrong number of arguments: 1, was expecting 0\n"},
        {"t:setDataSource(1)", "'setDataSource' function of TableView wrong number of arguments: 1, was expecting 0\n"},
        {"cc.TableView:create()", "'create' function of TableView wrong number of arguments: 0, was expecting 1\n"},
        {"cc.TableView:create({}, nil, 3)", "'create' function of TableView wrong number of arguments: 3, was expecting 1\n"},
        {"t:registerScriptHandler(print, 1, 2)",
         "cc.TableView:registerScriptHandler has wrong number of arguments: 3, was expecting 2\n"},
        {"t:unregisterScriptHandler()", "cc.TableView:unregisterScriptHandler has wrong number of arguments: 0, was expecting 1\n"},
        {"am:setDelegate(print)", "cc.AssetsManager:setDelegate has wrong number of arguments: 1, was expecting 2\n"},
        {"cc.EventListenerAssetsManagerEx:create(m)", "create has wrong number of arguments: 1, was expecting 2 \n"},
        {"p:getParticlePool(1)", "cc.ParticleSystem3D:getParticlePool has wrong number of arguments: 1, was expecting 0 \n"},
        {"p:getParticlePool():getActiveDataList(1)",
         "cc.ParticlePool:getActiveParticleList has wrong number of arguments: 1, was expecting 0 \n"},
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
