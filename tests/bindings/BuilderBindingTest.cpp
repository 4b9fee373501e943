// Builder files from scripts: the proxy's functions and their count errors, the
// Lua class names of loaded nodes, callbacks filed on menu items, reading with
// and without an owner, the reader's load and the sequences' named callbacks.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaModules.h"
#include "bindings/builder/CCBProxy.h"
#include "engine/deprecated/BoxedValues.h"
#include "engine/files/FileUtils.h"
#include "engine/scene/MenuItem.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

constexpr const char* kGraph = R"({"root": {"type": "Layer", "name": "main", "children": [
    {"type": "Label", "name": "title", "text": "Play?", "outlet": "titleLabel"},
    {"type": "Sprite", "name": "logo", "outlet": "logo", "outletTarget": "root"},
    {"type": "Menu", "children": [
        {"type": "MenuItemFont", "name": "go", "text": "Go", "callback": "onGo"},
        {"type": "MenuItemImage", "name": "quit", "callback": "onQuit", "callbackTarget": "root"}]}]},
  "sequences": [{"name": "intro", "duration": 0.5, "callbacks": [{"time": 0.25, "name": "onHalf"}]}]})";

class BuilderBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        view = startViewOnScene(200, 100);
        bindings::register_builder_module(L);
        bindings::register_ui_module(L);
        bindings::register_extension_module(L);
        engine::FileUtils::getInstance()->setSearchPaths({dir.path() + "/"});
        dir.write("menu.json", kGraph);
        ASSERT_EQ(run(R"(
            log = {}
            function note(...) local t = {} for i = 1, select('#', ...) do t[i] = tostring((select(i, ...))) end
                log[#log + 1] = table.concat(t, ',') end
            function flush() local s = table.concat(log, ' ') log = {} return s end
            function refs() local n = 0
                for _ in pairs(debug.getregistry().toluafix_refid_function_mapping) do n = n + 1 end return n end
            function names(list) local t = {} for i, v in ipairs(list) do t[i] = tostring(v) end
                return table.concat(t, ' ') end
            function nodeNames(list) local t = {} for i, v in ipairs(list) do t[i] = v:getName() end
                return table.concat(t, ' ') end
            scene = cc.Director:getInstance():getRunningScene()
            proxy = cc.CCBProxy:create()
            reader = proxy:createCCBReader()
            function f() end
        )"), "");
    }
    void TearDown() override {
        engine::FileUtils::getInstance()->setSearchPaths({});
        view->release();
        LuaEngineBindingTest::TearDown();
    }
    testsupport::TempDir dir;
    engine::GLView* view = nullptr;
};

TEST_F(BuilderBindingTest, CountErrors) {
    const struct {
        const char* call;
        const char* error;
    } cases[] = {
        {"cc.CCBProxy:create(1)", "cc.CCBProxy:create function of CCBProxy has wrong number of arguments: 1, was expecting 0\n"},
        {"proxy:createCCBReader(1)",
         "cc.CCBProxy:createCCBReader function of CCBProxy  has wrong number of arguments: 1, was expecting 0\n"},
        {"proxy:readCCBFromFile('menu.json')",
         "cc.CCBReader:readCCBFromFile function of CCBProxy  has wrong number of arguments: 1, was expecting 2\n"},
        {"proxy:readCCBFromFile('menu.json', reader, true, 1)",
         "cc.CCBReader:readCCBFromFile function of CCBProxy  has wrong number of arguments: 4, was expecting 2\n"},
        {"proxy:getNodeTypeName()", " cc.CCBProxy:getNodeTypeName has wrong number of arguments: 0, was expecting 1\n"},
        {"proxy:setCallback(cc.Node:create())",
         " cc.CCBProxy:setCallback has wrong number of arguments: 1, was expecting 2\n"},
        {"proxy:setCallback(cc.Node:create(), f, 1, 2)",
         " cc.CCBProxy:setCallback has wrong number of arguments: 4, was expecting 2\n"},
        {"reader:load()", "cc.CCBReader:load has wrong number of arguments: 0, was expecting 1\n"},
        {"reader:load('menu.json', proxy, {width = 1, height = 1}, 4)",
         "cc.CCBReader:load has wrong number of arguments: 4, was expecting 1\n"},
        {"reader:getAnimationManager():setCallFuncForLuaCallbackNamed(cc.CallFunc:create(f))",
         "cc.CCBAnimationManager:setCallFuncForLuaCallbackNamed has wrong number of arguments: 1, was expecting 2\n"},
        {"cc.CCBProxy.getNodeTypeName(cc.Node:create(), cc.Node:create())",
         "invalid 'self' in function 'cc.CCBProxy:getNodeTypeName'"},
    };
    ASSERT_EQ(run("reader:load('menu.json')"), "");
    const std::string before = eval("refs()");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(eval(c.call), std::string("error: ") + c.error);
    }
    // The call-function action of the last case holds its function until it goes.
    ASSERT_EQ(run("collectgarbage()"), "");
    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(eval("refs()"), before);
}

TEST_F(BuilderBindingTest, NodeTypeNames) {
    const struct {
        const char* node;
        const char* name;
    } cases[] = {
        {"cc.Label:create()", "cc.Label"},
        {"cc.Sprite:create()", "cc.Sprite"},
        {"cc.ControlButton:create()", "cc.ControlButton"},
        {"cc.LayerGradient:create()", "cc.LayerGradient"},
        {"cc.LayerColor:create()", "cc.LayerColor"},
        {"ccui.Scale9Sprite:create()", "ccui.Scale9Sprite"},
        {"cc.Menu:create()", "cc.Menu"},
        {"cc.MenuItemAtlasFont:create('12', 'digits.png', 8, 12, 48)", "cc.MenuItemAtlasFont"},
        {"cc.MenuItemFont:create('a')", "cc.MenuItemFont"},
        {"cc.MenuItemLabel:create(cc.Label:create())", "cc.MenuItemLabel"},
        {"cc.MenuItemImage:create()", "cc.MenuItemImage"},
        {"cc.MenuItemToggle:create(cc.MenuItemFont:create('a'))", "cc.MenuItemToggle"},
        {"cc.MenuItemSprite:create(cc.Sprite:create(), cc.Sprite:create())", "cc.MenuItemSprite"},
        {"cc.Layer:create()", "cc.Layer"},
        {"cc.LayerMultiplex:create(cc.Layer:create())", "cc.Layer"},
        {"cc.ParticleSystemQuad:create('fire.plist')", "cc.ParticleSystemQuad"},
        {"cc.Node:create()", "No Support"},
        {"ccui.Widget:create()", "No Support"},
        {"nil", "nil"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node);
        EXPECT_EQ(eval(std::string("proxy:getNodeTypeName(") + c.node + ")"), c.name);
    }
    // Objects scripts do not make here: a boxed string and a menu item of no listed kind.
    struct PlainItem : engine::MenuItem {};
    auto* item = new PlainItem;
    EXPECT_STREQ(bindings::CCBProxy::getNodeTypeName(item), "cc.MenuItem");
    item->release();
    EXPECT_STREQ(bindings::CCBProxy::getNodeTypeName(engine::__String::create("x")), "cc.String");
}

TEST_F(BuilderBindingTest, SetCallbackKinds) {
    const struct {
        const char* node;
        const char* extra;     // the third argument, if any
        const char* kept;      // functions kept after the call
        const char* fire;      // what makes the node call its handlers
        const char* heard;
    } cases[] = {
        {"cc.MenuItemFont:create('a')", "", "1", "n:activate()", "tap"},
        {"cc.MenuItemImage:create()", ", 3.9", "1", "n:activate()", "tap"},
        // One id per event bit of the mask: 3 is touch down and drag inside.
        {"cc.ControlButton:create()", ", 3", "2", "n:sendActionsForControlEvents(7)", "tap tap"},
        {"cc.ControlButton:create()", "", "1", "n:sendActionsForControlEvents(3)", "tap"},
        {"cc.ControlButton:create()", ", 512", "0", "n:sendActionsForControlEvents(511)", ""},
        {"cc.Sprite:create()", "", "0", "", ""},
        {"cc.Layer:create()", ", 3", "0", "", ""},
        {"nil", "", "0", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.node) + c.extra);
        ASSERT_EQ(run(std::string("n = ") + c.node + " before = refs() "
                      "proxy:setCallback(n, function(...) note('tap') end" + c.extra + ")"),
                  "");
        EXPECT_EQ(eval("refs() - before"), c.kept);
        ASSERT_EQ(run(c.fire), "");
        EXPECT_EQ(eval("flush()"), c.heard);
    }
}

TEST_F(BuilderBindingTest, ReadingWithAndWithoutOwner) {
    // root | owner | owner outlets: names:nodes | owner callbacks: names:nodes:events
    const struct {
        const char* call;
        const char* expected;
    } cases[] = {
        {"proxy:readCCBFromFile('menu.json', reader)", "main|cc.CCBProxy|titleLabel:title|onGo:go:1"},
        {"proxy:readCCBFromFile('menu.json', reader, true)", "main|cc.CCBProxy|titleLabel:title|onGo:go:1"},
        {"proxy:readCCBFromFile('menu.json', reader, false)", "main|none|:|::"},
        {"proxy:readCCBFromFile('', reader)", "nil|none|:|::"},
        {"proxy:readCCBFromFile('menu.json', nil)", "nil|none|:|::"},
        {"proxy:readCCBFromFile('menu.json', cc.Node:create())", "nil|none|:|::"},
        {"proxy:readCCBFromFile(nil, reader)", "nil|none|:|::"},
        {"reader:load('menu.json')", "main|none|:|::"},
        {"reader:load('menu.json', proxy)", "main|cc.CCBProxy|titleLabel:title|onGo:go:1"},
        {"reader:load('menu.json', proxy, {width = 40, height = 30})", "main|cc.CCBProxy|titleLabel:title|onGo:go:1"},
        {"reader:load('missing.json', proxy)", "nil|none|:|::"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        ASSERT_EQ(run("reader = proxy:createCCBReader()"), "");
        ASSERT_EQ(run(std::string("root = ") + c.call), "");
        EXPECT_EQ(eval("(root and root:getName() or 'nil') .. '|' .. "
                       "(reader:getOwner() and tolua.type(reader:getOwner()) or 'none') .. '|' .. "
                       "names(reader:getOwnerOutletNames()) .. ':' .. nodeNames(reader:getOwnerOutletNodes()) .. '|' .. "
                       "names(reader:getOwnerCallbackNames()) .. ':' .. nodeNames(reader:getOwnerCallbackNodes()) .. "
                       "':' .. names(reader:getOwnerCallbackControlEvents())"),
                  c.expected);
    }
    // The root's outlets and callbacks come with or without an owner.
    ASSERT_EQ(run("root = proxy:readCCBFromFile('menu.json', reader, false)"), "");
    EXPECT_EQ(eval("names(reader:getDocumentOutletNames()) .. ':' .. nodeNames(reader:getDocumentOutletNodes()) .. ':' "
                   ".. names(reader:getDocumentCallbackNames())"),
              "logo:logo:onQuit");
    EXPECT_EQ(eval("tolua.type(root) .. ' ' .. root:getContentSize().width"), "cc.Layer 200");
    ASSERT_EQ(run("root = reader:load('menu.json', nil, {width = 40, height = 30})"), "");
    EXPECT_EQ(eval("root:getContentSize().width"), "40");
    // A name that is not a string returns nothing.
    EXPECT_EQ(eval("select('#', reader:load({}))"), "0");
    EXPECT_EQ(eval("select('#', reader:load('menu.json', nil, 5))"), "0");
}

TEST_F(BuilderBindingTest, SequenceCallbacksByName) {
    ASSERT_EQ(run(R"(
        root = proxy:readCCBFromFile('menu.json', reader)
        scene:addChild(root)
        manager = reader:getAnimationManager()
        manager:setCallFuncForLuaCallbackNamed(cc.CallFunc:create(function() note('half') end), 'onHalf')
        ok = manager:runAnimationsForSequenceNamed('intro')
    )"), "");
    EXPECT_EQ(eval("ok"), "true");
    EXPECT_EQ(eval("manager:runAnimationsForSequenceNamed('outro')"), "false");
    EXPECT_EQ(eval("manager:setCallFuncForLuaCallbackNamed(cc.Node:create(), 'x')"),
              "error: invalid arguments in function 'cc.CCBAnimationManager:setCallFuncForLuaCallbackNamed'");
    // The sequence runs on the root: the callback comes once its time has passed.
    std::string seen;
    for (int i = 0; i < 4; ++i) {
        engine::Director::getInstance()->mainLoop(0.05f);
        seen += eval("flush()") + ";";
    }
    EXPECT_EQ(seen, ";;;;");
    for (int i = 0; i < 4; ++i) engine::Director::getInstance()->mainLoop(0.05f);
    EXPECT_EQ(eval("flush()"), "half");
}

// The sequences, the document's own outlets and callbacks, and the root with
// its manager, as objects; sequences set by a script are the ones that run.
TEST_F(BuilderBindingTest, SequencesAndDocumentListsAsObjects) {
    ASSERT_EQ(run(R"(
        root = proxy:readCCBFromFile('menu.json', reader)
        manager = reader:getAnimationManager()
        s = manager:getSequences()[1]
    )"), "");
    struct Case {
        const char* expression;
        const char* expected;
    };
    const Case cases[] = {
        {"#manager:getSequences() .. ' ' .. tolua.type(s)", "1 cc.CCBSequence"},
        {"s:getName() .. ' ' .. s:getDuration() .. ' ' .. s:getSequenceId()", "intro 0.5 0"},
        {"names(manager:getDocumentOutletNames()) .. ':' .. nodeNames(manager:getDocumentOutletNodes())", "logo:logo"},
        {"names(manager:getDocumentCallbackNames()) .. ':' .. nodeNames(manager:getDocumentCallbackNodes())",
         "onQuit:quit"},
        {"#reader:getNodesWithAnimationManagers() .. ' ' .. tostring(reader:getNodesWithAnimationManagers()[1] == root)",
         "1 true"},
        {"tostring(reader:getAnimationManagersForNodes()[1] == manager)", "true"},
        {"tolua.type(cc.NodeLoaderLibrary:getInstance())", "cc.NodeLoaderLibrary"},
        {"cc.CCBSequenceProperty:create():getType()", "0"},
    };
    for (const Case& c : cases) EXPECT_EQ(eval(c.expression), c.expected) << c.expression;

    ASSERT_EQ(run(R"(
        mine = cc.CCBSequence:create()
        mine:setName('outro')
        manager:setSequences({mine, 5})
    )"), "");
    EXPECT_EQ(eval("manager:setSequences({cc.Node:create()})"),
              "error: invalid arguments in function 'lua_engine_CCBAnimationManager_setSequences'");
    EXPECT_EQ(eval("#manager:getSequences()"), "1");
    EXPECT_EQ(eval("manager:runAnimationsForSequenceNamed('outro')"), "true");
    EXPECT_EQ(eval("manager:runAnimationsForSequenceNamed('intro')"), "false");
    // A failed read leaves the lists empty.
    ASSERT_EQ(run("proxy:readCCBFromFile('missing.json', reader)"), "");
    EXPECT_EQ(eval("#reader:getNodesWithAnimationManagers()"), "0");
}

}  // namespace
}  // namespace bindingtest
