// The actions, transitions, frame animations, labels, saved settings and
// director switches as scripts reach them: forms picked by their arguments, results under
// their own Lua types, nil for what cannot be made, and the error texts.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "engine/base/UserDefault.h"
#include "engine/files/FileUtils.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

class ActionBindingTest : public BindingStackTest {
protected:
    void SetUp() override {
        BindingStackTest::SetUp();
        engine::FileUtils::getInstance()->setWritablePath(dir.path() + "/");
        // A label needs its font file to be there.
        dir.write("fonts/a.ttf", "font");
        engine::FileUtils::getInstance()->addSearchPath(dir.path());
    }
    void TearDown() override {
        engine::Director::getInstance()->resume();
        engine::UserDefault::destroyInstance();
        engine::FileUtils::destroyInstance();
        BindingStackTest::TearDown();
    }
    testsupport::TempDir dir;
};

const ChunkCase kCases[] = {
    {"move to", "a = cc.MoveTo:create(1, {x = 10, y = 20})", "tolua.type(a)", "cc.MoveTo"},
    {"scale per axis", "a = cc.ScaleTo:create(1, 2, 3)", "tolua.type(a)", "cc.ScaleTo"},
    {"tint from numbers or a colour",
     "a = cc.TintTo:create(1, 1, 2, 3) b = cc.TintTo:create(1, {r = 1, g = 2, b = 3})",
     "tolua.type(a) .. ' ' .. tolua.type(b)", "cc.TintTo cc.TintTo"},
    {"ease around an action", "e = cc.EaseBounceOut:create(cc.MoveBy:create(1, {x = 1, y = 0}))", "tolua.type(e)",
     "cc.EaseBounceOut"},
    {"rate of an ease", "e = cc.EaseIn:create(cc.FadeIn:create(1), 3)", "e:getRate()", "3"},
    {"elastic period by default", "e = cc.EaseElasticOut:create(cc.FadeOut:create(1))",
     "string.format('%.1f', e:getPeriod())", "0.3"},
    {"no ease without an action", "", "cc.EaseSineIn:create(nil)", "nil"},
    {"repeat an instant action", "r = cc.Repeat:create(cc.Show:create(), 3)", "tolua.type(r)", "cc.Repeat"},
    {"remove self with its default", "r = cc.RemoveSelf:create()", "tolua.type(r)", "cc.RemoveSelf"},
    {"speed", "s = cc.Speed:create(cc.RotateBy:create(1, 90), 2) s:setSpeed(4)", "s:getSpeed()", "4"},
    {"targeted", "n = cc.Node:create() t = cc.TargetedAction:create(n, cc.Place:create({x = 1, y = 1}))",
     "t:getForcedTarget() == n", "true"},
    {"action argument of another type",
     "", "cc.Repeat:create(cc.Node:create(), 2)", "error: invalid arguments in function 'lua_engine_Repeat_create'"},
    {"transition", "t = cc.TransitionFade:create(0.5, cc.Scene:create(), {r = 255, g = 0, b = 0})",
     "tolua.type(t) .. ' ' .. t:getDuration()", "cc.TransitionFade 0.5"},
    {"transition to nothing", "", "cc.TransitionSlideInL:create(1, nil)", "nil"},
    {"transition count", "", "cc.TransitionFlipX:create(1)",
     "error: cc.TransitionFlipX:create has wrong number of arguments: 1, was expecting 2 \n"},
    {"animation from a list", "a = cc.Animation:createWithSpriteFrames({}, 0.1, 2)",
     "tolua.type(a) .. ' ' .. a:getLoops() .. ' ' .. a:getDelayPerUnit()", "cc.Animation 2 0.10000000149012"},
    {"animation list with something else", "",
     "cc.Animation:createWithSpriteFrames({cc.Node:create()})",
     "error: invalid arguments in function 'lua_engine_Animation_createWithSpriteFrames'"},
    {"animation count", "", "cc.Animation:createWithSpriteFrames()",
     "error: cc.Animation:createWithSpriteFrames has wrong number of arguments: 0, was expecting 3 \n"},
    {"animate", "a = cc.Animate:create(cc.Animation:create())", "tolua.type(a:getAnimation())", "cc.Animation"},
    {"frame cache without the frame", "", "cc.SpriteFrameCache:getInstance():getSpriteFrame('none')", "nil"},
    {"saved numbers", "u = cc.UserDefault:getInstance() u:setIntegerForKey('best', 42) u:setBoolForKey('on', true)",
     "u:getIntegerForKey('best') .. ' ' .. tostring(u:getBoolForKey('on')) .. ' ' .. u:getFloatForKey('x', 1.5)",
     "42 true 1.5"},
    {"label from a font file in a box",
     "l = cc.Label:createWithTTF('ab cd', 'fonts/a.ttf', 10, {width = 15, height = 0}, 1, 2)",
     "l:getSystemFontName() .. ' ' .. l:getHorizontalAlignment() .. l:getVerticalAlignment() .. ' ' .. "
     "l:getContentSize().height",
     "fonts/a.ttf 12 20"},
    {"label alignment out of range is clamped", "l = cc.Label:create() l:setAlignment(7, -1)",
     "l:getHorizontalAlignment() .. l:getVerticalAlignment()", "20"},
    {"label dimensions", "l = cc.Label:create() l:setDimensions(30, 40)", "l:getDimensions().height", "40"},
    {"progress timer", "p = cc.ProgressTimer:create(cc.Sprite:create()) p:setType(1) p:setPercentage(140)",
     "tolua.type(p) .. ' ' .. p:getType() .. ' ' .. p:getPercentage() .. ' ' .. p:getMidpoint().x",
     "cc.ProgressTimer 1 100 0.5"},
    {"clipping node",
     "s = cc.Node:create() c = cc.ClippingNode:create(s) c:setInverted(true) c:setAlphaThreshold(0.5)",
     "tostring(c:getStencil() == s) .. ' ' .. tostring(c:isInverted()) .. ' ' .. c:getAlphaThreshold()", "true true 0.5"},
    {"director pause", "d = cc.Director:getInstance() d:pause()", "tostring(d:isPaused())", "true"},
    {"director resume", "d = cc.Director:getInstance() d:pause() d:resume()", "tostring(d:isPaused())", "false"},
};

TEST_F(ActionBindingTest, CasesTable) {
    runCases(kCases);
}

}  // namespace
}  // namespace bindingtest
