// Core methods with argument forms or results of their own, as scripts call them:
// label creation, node geometry and paths, cameras, touches, files and counts.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "engine/app/Application.h"
#include "engine/files/FileUtils.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

class CoreMiscBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        dir.write("fonts/round.ttf", "ttf");
        dir.write("notes.txt", std::string("a\0b", 3));
        engine::FileUtils::getInstance()->addSearchPath(dir.path());
    }
    void TearDown() override {
        engine::FileUtils::destroyInstance();
        LuaEngineBindingTest::TearDown();
    }
    // Handler ids now held for scripts.
    int heldHandlers() {
        lua_getfield(L, LUA_REGISTRYINDEX, "toluafix_refid_function_mapping");
        int count = 0;
        for (lua_pushnil(L); lua_next(L, -2); lua_pop(L, 1)) ++count;
        lua_pop(L, 1);
        return count;
    }
    testsupport::TempDir dir;
};

TEST_F(CoreMiscBindingTest, CreateWithTTFInBothFormsAndTheirDefaults) {
    runCases({
        {"file form, three arguments", "l = cc.Label:createWithTTF('hi', 'fonts/round.ttf', 20)",
         "tolua.type(l) .. ' ' .. l:getString() .. ' ' .. l:getSystemFontSize() .. ' ' .. l:getDimensions().width "
         ".. ' ' .. l:getHorizontalAlignment() .. l:getVerticalAlignment()",
         "cc.Label hi 20 0 00"},
        {"file form, box and alignments",
         "l = cc.Label:createWithTTF('ab cd', 'fonts/round.ttf', 10, {width = 15, height = 30}, 2.7, 1)",
         "l:getDimensions().height .. ' ' .. l:getHorizontalAlignment() .. l:getVerticalAlignment()", "30 21"},
        {"file form, nil box", "l = cc.Label:createWithTTF('x', 'fonts/round.ttf', 10, nil, 1)",
         "l:getDimensions().width .. ' ' .. l:getHorizontalAlignment()", "0 1"},
        {"config form, text only", "l = cc.Label:createWithTTF({fontFilePath = 'fonts/round.ttf'}, 'hey')",
         "l:getString() .. ' ' .. l:getSystemFontSize() .. ' ' .. l:getHorizontalAlignment() .. ' ' .. "
         "l:getMaxLineWidth()",
         "hey 12 1 0"},
        {"config form, alignment and width",
         "l = cc.Label:createWithTTF({fontFilePath = 'fonts/round.ttf', fontSize = 30}, 'a b', 2, 40.9)",
         "l:getSystemFontSize() .. ' ' .. l:getHorizontalAlignment() .. ' ' .. l:getMaxLineWidth()", "30 2 40"},
        {"missing font file, file form", "", "cc.Label:createWithTTF('a', 'fonts/none.ttf', 10)", "nil"},
        {"missing font file, config form", "", "cc.Label:createWithTTF({fontFilePath = 'none.ttf'}, 'a')", "nil"},
        {"config that is not a table", "", "select('#', cc.Label:createWithTTF('fonts/round.ttf', 'a'))", "0"},
        {"text that does not read", "", "select('#', cc.Label:createWithTTF({fontFilePath = 'fonts/round.ttf'}, {}))",
         "0"},
        {"config form count", "", "cc.Label:createWithTTF({})",
         "error: cc.Label:createWithTTF has wrong number of arguments: 1, was expecting 2\n "},
        {"file form types that do not fit go to the config form", "",
         "cc.Label:createWithTTF('a', 'fonts/round.ttf', 10, 5, 1, 1)",
         "error: cc.Label:createWithTTF has wrong number of arguments: 6, was expecting 2\n "},
        {"max line width row", "l = cc.Label:create() l:setMaxLineWidth(25)", "l:getMaxLineWidth()", "25"},
        {"a TTF configuration switches font and size, glyphs copied",
         "l = cc.Label:create() ok = l:setTTFConfig({fontFilePath = 'fonts/round.ttf', fontSize = 18, "
         "customGlyphs = 'xyz'}) collectgarbage()",
         "tostring(ok) .. ' ' .. l:getSystemFontName() .. ' ' .. l:getSystemFontSize()", "true fonts/round.ttf 18"},
        {"a configuration without a size keeps the size",
         "l = cc.Label:createWithSystemFont('a', 'Arial', 22) ok = l:setTTFConfig({fontFilePath = 'fonts/round.ttf'})",
         "tostring(ok) .. ' ' .. l:getSystemFontSize()", "true 22"},
        {"a missing font file changes nothing",
         "l = cc.Label:createWithSystemFont('a', 'Arial', 22) ok = l:setTTFConfig({fontFilePath = 'none.ttf'})",
         "tostring(ok) .. ' ' .. l:getSystemFontName()", "false Arial"},
        {"setTTFConfig count", "", "cc.Label:create():setTTFConfig()",
         "error: cc.Label:setTTFConfig has wrong number of arguments: 0, was expecting 1 \n"},
    });
}

TEST_F(CoreMiscBindingTest, NodeGeometryFormsAndResults) {
    runCases({
        {"anchor from numbers", "n = cc.Node:create() r = n:setAnchorPoint(0.5, 0.25)",
         "tostring(r == n) .. ' ' .. n:getAnchorPoint().x .. ',' .. n:getAnchorPoint().y", "true 0.5,0.25"},
        {"anchor from a table", "n = cc.Node:create() r = n:setAnchorPoint({x = 0.5, y = 0.25})",
         "tostring(r == n) .. ' ' .. n:getAnchorPoint().x .. ',' .. n:getAnchorPoint().y", "true 0.5,0.25"},
        {"content size from numbers", "n = cc.Node:create() r = n:setContentSize(30, 40)",
         "tostring(r == n) .. ' ' .. n:getContentSize().width .. 'x' .. n:getContentSize().height", "true 30x40"},
        {"content size from a table", "n = cc.Node:create() r = n:setContentSize({width = 30, height = 40})",
         "tostring(r == n) .. ' ' .. n:getContentSize().width .. 'x' .. n:getContentSize().height", "true 30x40"},
        {"unreadable anchor changes nothing", "n = cc.Node:create()",
         "select('#', n:setAnchorPoint('a', 'b')) .. ' ' .. n:getAnchorPoint().x", "0 0"},
        {"anchor count", "", "cc.Node:create():setAnchorPoint(1, 2, 3)",
         "error: cc.Node:setAnchorPoint has wrong number of arguments: 3, was expecting 1 \n"},
        {"content size count", "", "cc.Node:create():setContentSize()",
         "error: cc.Node:setContentSize has wrong number of arguments: 0, was expecting 1 \n"},
        {"position as two results", "n = cc.Node:create() n:setPosition(3, -4)",
         "select('#', n:getPosition()) .. ' ' .. table.concat({n:getPosition(1, 2)}, ',')", "2 3,-4"},
        {"position count", "", "cc.Node:create():getPosition(1, 2, 3)",
         "error: cc.Node:getPosition function in Node has wrong number of arguments: 3, was expecting 0\n"},
        {"affine additional transform", "n = cc.Node:create() r = n:setAdditionalTransform({a = 1, b = 0, c = 0, "
         "d = 1, tx = 5, ty = 7})",
         "tostring(r == n) .. ' ' .. n:convertToWorldSpace({x = 0, y = 0}).x .. ',' .. "
         "n:convertToWorldSpace({x = 0, y = 0}).y",
         "true 5,7"},
        {"matrix additional transform",
         "n = cc.Node:create() n:setAdditionalTransform({2,0,0,0, 0,2,0,0, 0,0,1,0, 1,1,0,1})",
         "n:convertToWorldSpace({x = 1, y = 1}).x", "3"},
        {"transform that reads in neither form", "", "cc.Node:create():setAdditionalTransform({1, 2})",
         "error: cc.Node:setAdditionalTransform has wrong number of arguments: 1, was expecting 1 \n"},
        {"rotation quaternion", "n = cc.Node:create() r = n:setRotationQuat({x = 0, y = 0, z = 1, w = 0})",
         "tostring(r == n) .. ' ' .. math.floor(math.abs(n:getRotation()) + 0.5)", "true 180"},
        {"quaternion that does not read", "", "cc.Node:create():setRotationQuat(5)",
         "error: cc.Node:setRotationQuat has wrong number of arguments: 1, was expecting 1 \n"},
        {"reference count", "n = cc.Node:create()", "n:getReferenceCount()", "1"},
    });
}

TEST_F(CoreMiscBindingTest, EnumerateChildrenCallsEveryMatchAndReleasesItsFunctionOnce) {
    ASSERT_EQ(run("root = cc.Node:create()\n"
                  "for _, name in ipairs({'enemy1', 'hero', 'enemy2'}) do\n"
                  "  local n = cc.Node:create() n:setName(name) root:addChild(n)\n"
                  "end\n"
                  "seen = {}"),
              "");
    const int before = heldHandlers();
    const struct {
        const char* chunk;
        const char* seen;
    } cases[] = {
        {"r = root:enumerateChildren('enemy*', function(n) seen[#seen + 1] = n:getName() end)", "enemy1 enemy2"},
        {"r = root:enumerateChildren('enemy*', function(n) seen[#seen + 1] = n:getName() return true end)",
         "enemy1"},
        {"r = root:enumerateChildren('*', function(n) seen[#seen + 1] = n:getName() return #seen == 2 and 1 or 0 end)",
         "enemy1 hero"},
        {"r = root:enumerateChildren('villain', function(n) seen[#seen + 1] = n:getName() end)", ""},
        {"r = root:enumerateChildren('hero', function(n) error('inside') end)", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chunk);
        ASSERT_EQ(run("seen = {} " + std::string(c.chunk)), "");
        EXPECT_EQ(eval("table.concat(seen, ' ')"), c.seen);
        EXPECT_EQ(eval("r == root"), "true");
        EXPECT_EQ(heldHandlers(), before);
    }
    EXPECT_EQ(eval("root:enumerateChildren('hero')"),
              "error: enumerateChildren has wrong number of arguments: 1, was expecting 2 \n");
}

TEST_F(CoreMiscBindingTest, CamerasTouchesDevicesAndFiles) {
    struct NoLaunchApp : engine::Application {
        bool applicationDidFinishLaunching() override { return true; }
    } app;
    runCases({
        {"camera row", "c = cc.Camera:create()", "tolua.type(c)", "cc.Camera"},
        {"unproject through a known camera",
         "c = cc.Camera:createPerspective(90, 2, 1, 3) p = c:unproject({width = 200, height = 100}, "
         "{x = 200, y = 0, z = 1}, {x = 0, y = 0, z = 0})",
         "string.format('%g %g %g', p.x, p.y, p.z)", "6 3 -3"},
        {"unproject of one point over no view", "p = cc.Camera:createOrthographic(200, 100, -1, 1):unproject({x = 1, "
         "y = 2, z = 0})",
         "string.format('%g %g %g', p.x, p.y, p.z)", "0 0 0"},
        {"unproject with an unreadable form", "c = cc.Camera:createOrthographic(200, 100, -1, 1)",
         "select('#', c:unproject(1, 2, 3))", "0"},
        {"unproject of a point that does not read", "", "c:unproject(7)",
         "error: invalid arguments in function 'lua_engine_Camera_project'"},
        {"unproject count", "", "c:unproject({}, {})",
         "error: cc.Camera:unproject has wrong number of arguments: 2, was expecting 3 \n"},
        {"orbit camera on its sphere", "o = cc.OrbitCamera:create(1, 2, 0, 60, 0, 30, 0) o:setEye(0, -3, 0)",
         "string.format('%g %g %g', o:sphericalRadius(1, 2, 3))", "3 90 -90"},
        {"orbit camera count", "", "o:sphericalRadius(1)",
         "error: cc.OrbitCamera:sphericalRadius has wrong number of arguments: 1, was expecting 3 \n"},
        {"64-bit device queries", "a = cc.Application:getInstance()",
         "tostring(a:isIOS64bit()) .. ' ' .. tostring(a:is64BitIOSDevice())", "false false"},
        {"64-bit query count", "", "a:isIOS64bit(1)",
         "error: cc.Application:isIOS64bit has wrong number of arguments: 1, was expecting 0 \n"},
        {"file text, zero bytes kept", "f = cc.FileUtils:getInstance()", "f:getStringFromFile('notes.txt') == 'a\\0b'",
         "true"},
        {"unreadable file gives empty text", "", "'[' .. f:getStringFromFile('none.txt') .. ']'", "[]"},
        {"settings count", "", "cc.UserDefault:getInstance(1)",
         "error: cc.UserDefault:getInstance has wrong number of arguments: 1, was expecting 0\n"},
        {"file name that is no text", "", "f:getStringFromFile({})",
         "error: cc.FileUtils:getStringFromFile has wrong number of arguments: 1, was expecting 1\n"},
    });
}

TEST_F(CoreMiscBindingTest, GetAllTouchesListsTheTouchesDown) {
    engine::GLView* view = startViewOnScene(200, 100);
    ASSERT_EQ(run("v = cc.Director:getInstance():getOpenGLView()"), "");
    EXPECT_EQ(eval("#v:getAllTouches()"), "0");
    view->handleTouchBegin(3, 10, 20);
    view->handleTouchBegin(1, 30, 40);
    EXPECT_EQ(eval("#v:getAllTouches()"), "2");
    EXPECT_EQ(eval("tolua.type(v:getAllTouches()[1]) .. ' ' .. v:getAllTouches()[1]:getId() .. ' ' .. "
                   "v:getAllTouches()[2]:getId()"),
              "cc.Touch 1 3");
    view->handleTouchEnd(1, 30, 40);
    EXPECT_EQ(eval("#v:getAllTouches() .. ' ' .. v:getAllTouches()[1]:getId()"), "1 3");
    EXPECT_EQ(eval("v:getAllTouches(1)"),
              "error: cc.GLView:getAllTouches has wrong number of arguments: 1, was expecting 0 \n");
    view->handleTouchEnd(3, 10, 20);
    view->release();
}

}  // namespace
}  // namespace bindingtest
