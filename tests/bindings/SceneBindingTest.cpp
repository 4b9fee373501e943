// The scene and widget classes as scripts see them: construction through the
// forms of create, results under each object's own Lua type, and the layout
// reader reached from a script.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaModules.h"
#include "engine/files/FileUtils.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

class SceneBindingTest : public BindingStackTest {
protected:
    void SetUp() override {
        BindingStackTest::SetUp();
        bindings::register_studio_module(L);
        bindings::register_ui_module(L);
    }
};

const ChunkCase kCases[] = {
    {"label with a system font", "l = cc.Label:createWithSystemFont('hello', 'sans-serif', 20)",
     "tolua.type(l) .. ' ' .. l:getString() .. ' ' .. l:getContentSize().width", "cc.Label hello 50"},
    {"label in a box", "l = cc.Label:createWithSystemFont('aa bb', 'sans-serif', 10, {width = 15, height = 0})",
     "l:getContentSize().height", "20"},
    {"label methods from cc.Node", "l = cc.Label:create() l:setScale(2, 3) l:setRotation(90)",
     "l:getScale() .. ' ' .. l:getRotation()", "2 90"},
    {"coloured layer of a size", "c = cc.LayerColor:create({r = 1, g = 2, b = 3, a = 4}, 540, 20)",
     "tolua.type(c) .. ' ' .. c:getContentSize().width .. ' ' .. c:getColor().b", "cc.LayerColor 540 3"},
    {"gradient layer", "g = cc.LayerGradient:create({r = 1, g = 2, b = 3, a = 40}, {r = 4, g = 5, b = 6, a = 50}, {x = 1, y = 0})",
     "tolua.type(g) .. ' ' .. g:getStartColor().b .. ' ' .. g:getEndColor().r .. ' ' .. g:getStartOpacity() .. ' ' .. "
     "g:getEndOpacity() .. ' ' .. g:getVector().x .. ' ' .. tostring(g:isCompressedInterpolation())",
     "cc.LayerGradient 3 4 40 50 1 true"},
    {"layer", "", "tolua.type(cc.Layer:create())", "cc.Layer"},
    {"a sprite without its image is nil", "", "cc.Sprite:create('missing.png')", "nil"},
    {"empty sprite", "", "tolua.type(cc.Sprite:create())", "cc.Sprite"},
    {"draw node", "", "tolua.type(cc.DrawNode:create())", "cc.DrawNode"},
    {"widgets under their own types", "p = ccui.Widget:create() b = ccui.Button:create() p:addChild(b)",
     "tolua.type(p) .. ' ' .. tolua.type(p:getChildByTag(-1)) .. ' ' .. tostring(b:isTouchEnabled())",
     "ccui.Widget ccui.Button true"},
    {"text widget", "t = ccui.Text:create('abc', 'sans-serif', 20)", "t:getString()", "abc"},
    {"loading bar percent is clamped", "bar = ccui.LoadingBar:create() bar:setPercent(140)", "bar:getPercent()",
     "100"},
    {"seek by name", "p = ccui.Widget:create() t = ccui.Text:create() t:setName('lbl_msg') p:addChild(t)",
     "tolua.type(ccui.Helper:seekWidgetByName(p, 'lbl_msg'))", "ccui.Text"},
};

TEST_F(SceneBindingTest, CasesTable) {
    runCases(kCases);
}

TEST_F(SceneBindingTest, LayoutFilesLoadFromScripts) {
    testsupport::TempDir dir;
    const std::string path = dir.write("layout.json", R"({"type": "Layout", "children": [
        {"name": "bar_process", "type": "LoadingBar", "percent": 30}]})");
    lua_pushstring(L, path.c_str());
    lua_setglobal(L, "path");
    ASSERT_EQ(run("root = ccs.GUIReader:getInstance():widgetFromJsonFile(path)"), "");
    EXPECT_EQ(eval("tolua.type(root)"), "ccui.Widget");
    EXPECT_EQ(eval("ccui.Helper:seekWidgetByName(root, 'bar_process'):getPercent()"), "30");
    EXPECT_EQ(eval("ccs.GUIReader:getInstance():widgetFromJsonFile(path .. '.missing')"), "nil");
}

}  // namespace
}  // namespace bindingtest
