// The core classes and list methods added for scripts: objects of the right Lua
// types, values through their methods, lists of objects both ways, and the
// errors of the list methods.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaModules.h"
#include "engine/actions/ActionManager.h"

namespace bindingtest {
namespace {

class CoreAdditionsBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        bindings::register_ui_module(L);
        bindings::register_extension_module(L);
    }
};

const ChunkCase kCases[] = {
    // Actions.
    {"every new ease wraps an action",
     "local names = {'EaseBackInOut', 'EaseBounceInOut', 'EaseCircleActionIn', 'EaseCircleActionInOut',"
     " 'EaseCircleActionOut', 'EaseCubicActionIn', 'EaseCubicActionInOut', 'EaseCubicActionOut',"
     " 'EaseElasticInOut', 'EaseExponentialInOut', 'EaseQuadraticActionIn', 'EaseQuadraticActionInOut',"
     " 'EaseQuadraticActionOut', 'EaseQuarticActionIn', 'EaseQuarticActionInOut', 'EaseQuarticActionOut',"
     " 'EaseQuinticActionIn', 'EaseQuinticActionInOut', 'EaseQuinticActionOut', 'EaseBezierAction'}"
     " bad = {} for _, n in ipairs(names) do local e = cc[n]:create(cc.MoveBy:create(1, {x = 1, y = 0}))"
     " if tolua.type(e) ~= 'cc.' .. n or tolua.type(e:getInnerAction()) ~= 'cc.MoveBy' then bad[#bad + 1] = n end end",
     "#bad", "0"},
    {"elastic in-out period", "e = cc.EaseElasticInOut:create(cc.FadeIn:create(1), 0.5)", "e:getPeriod()", "0.5"},
    {"skew and progress actions",
     "a = cc.SkewBy:create(1, 10, 20) b = cc.ProgressFromTo:create(2, 10, 90)",
     "tolua.type(a) .. ' ' .. tolua.type(b)", "cc.SkewBy cc.ProgressFromTo"},
    {"follow with a boundary", "n = cc.Node:create() f = cc.Follow:create(n, {x = 0, y = 0, width = 10, height = 10})",
     "tostring(f:isBoundarySet()) .. ' ' .. tostring(f:getFollowedNode() == n)", "true true"},
    {"float action calls its function with the value",
     "seen = {} a = cc.ActionFloat:create(1, 2, 6, function(v) seen[#seen + 1] = v end)"
     " n = cc.Node:create() n:runAction(a) m = cc.Director:getInstance():getActionManager()"
     " m:resumeTargets({n}) m:update(0) m:update(0.5)",
     "table.concat(seen, ' ')", "2 4"},
    {"float action without a function", "", "cc.ActionFloat:create(1, 2, 6, 7)",
     "error: invalid arguments in function 'lua_engine_ActionFloat_create'"},
    {"tween key", "t = cc.ActionTween:create(1, 'width', 0, 5)", "t:getKey()", "width"},
    {"node skew", "n = cc.Node:create() n:setSkewX(12)", "n:getSkewX()", "12"},
    // Lists of objects.
    {"children: only registered classes, in order",
     "n = cc.Node:create() n:addChild(cc.Sprite:create()) n:addChild(cc.Node:create(), 1)",
     "tolua.type(n:getChildren()[1]) .. ' ' .. tolua.type(n:getChildren()[2]) .. ' ' .. #n:getChildren()",
     "cc.Sprite cc.Node 2"},
    {"animation frames both ways",
     "f = cc.SpriteFrame:create('none.png', {x = 0, y = 0, width = 1, height = 1})"
     " a = cc.Animation:create() a:setFrames({}) ok = a:initWithAnimationFrames({}, 0.5, 3)",
     "tostring(ok) .. ' ' .. a:getLoops() .. ' ' .. #a:getFrames()", "true 3 0"},
    {"animation frame", "s = cc.Sprite:create() f = cc.AnimationFrame:create(nil, 2)", "tostring(f)", "nil"},
    {"frames of another class",
     "", "cc.Animation:create():setFrames({cc.Node:create()})",
     "error: invalid arguments in function 'lua_engine_Animation_setFrames'"},
    {"set frames count", "", "cc.Animation:create():setFrames()",
     "error: cc.Animation:setFrames has wrong number of arguments: 0, was expecting 1\n"},
    {"menu from a list", "m = cc.Menu:create() ok = m:initWithArray({cc.MenuItemImage:create(), 5, cc.MenuItemImage:create()})",
     "tostring(ok) .. ' ' .. m:getChildrenCount()", "true 2"},
    {"toggle sub-items replaced",
     "t = cc.MenuItemToggle:create(cc.MenuItemImage:create()) t:addSubItem(cc.MenuItemImage:create()) t:setSubItems({cc.MenuItemImage:create(), cc.MenuItemImage:create()})",
     "#t:getSubItems() .. ' ' .. t:getSelectedIndex()", "2 0"},
    {"multiplex from a list", "l = cc.LayerMultiplex:create(cc.Layer:create()) ok = l:initWithArray({cc.Layer:create()}) l:switchTo(1)",
     "tostring(ok) .. ' ' .. l:getEnabledLayer() .. ' ' .. l:getChildrenCount()", "true 1 1"},
    {"action manager pauses and resumes",
     "d = cc.Director:getInstance() m = d:getActionManager() m:removeAllActions() n = cc.Node:create()"
     " a = n:runAction(cc.MoveBy:create(5, {x = 1, y = 0})) m:resumeTargets({n}) p = m:pauseAllRunningActions() m:resumeTargets(p)",
     "#p .. ' ' .. tostring(m:getActionByTag(-1, n) == a)", "1 true"},
    {"components", "n = cc.Node:create() c = cc.Component:create() c:setName('c') n:addComponent(c)",
     "tostring(n:getComponent('c') == c) .. ' ' .. tostring(c:getOwner() == n) .. ' ' .. tostring(n:removeComponent('c'))",
     "true true true"},
    // Transitions.
    {"oriented flip", "t = cc.TransitionFlipY:create(1, cc.Scene:create(), 1)",
     "tolua.type(t) .. ' ' .. t:getOrientation()", "cc.TransitionFlipY 1"},
    {"wipes and zooms",
     "a = cc.TransitionProgressInOut:create(1, cc.Scene:create()) b = cc.TransitionShrinkGrow:create(1, cc.Scene:create())",
     "tolua.type(a) .. ' ' .. tolua.type(b) .. ' ' .. a:getRevealed()", "cc.TransitionProgressInOut cc.TransitionShrinkGrow 0"},
    // Nodes.
    {"particle preset", "p = cc.ParticleFire:create()",
     "tolua.type(p) .. ' ' .. p:getTotalParticles() .. ' ' .. tostring(p:isBlendAdditive()) .. ' ' .. p:getGravity().x",
     "cc.ParticleFire 250 true 0"},
    {"particle settings", "p = cc.ParticleSystemQuad:createWithTotalParticles(9) p:setEmitterMode(1) p:setStartColor({r = 1, g = 0, b = 0, a = 1})",
     "p:getEmitterMode() .. ' ' .. p:getStartColor().r .. ' ' .. p:getParticleCount()", "1 1 0"},
    {"clipping rectangle", "c = cc.ClippingRectangleNode:create({x = 1, y = 2, width = 3, height = 4})",
     "c:getClippingRegion().width .. ' ' .. tostring(c:isClippingEnabled())", "3 true"},
    {"parallax child", "p = cc.ParallaxNode:create() n = cc.Node:create() p:addChild(n, 1, {x = 0, y = 0}, {x = 4, y = 5})",
     "tostring((n:getPosition())) .. ' ' .. p:getChildrenCount()", "4 1"},
    {"protected child", "p = cc.ProtectedNode:create() n = cc.Node:create() p:addProtectedChild(n, 0, 3)",
     "tostring(p:getProtectedChildByTag(3) == n) .. ' ' .. p:getChildrenCount()", "true 0"},
    {"render texture", "r = cc.RenderTexture:create(4, 2) r:clear(1, 1, 1, 1)",
     "tolua.type(r:getSprite()) .. ' ' .. r:getSprite():getContentSize().width", "cc.Sprite 4"},
    {"texture atlas", "t = cc.TextureAtlas:createWithTexture(nil, 3) t:increaseTotalQuadsWith(2)",
     "t:getTotalQuads() .. '/' .. t:getCapacity()", "2/3"},
    {"atlas label without a map", "l = cc.LabelAtlas:create() l:setString('ab')", "l:getString()", "ab"},
    {"font atlas", "f = cc.FontAtlas:create('a.ttf') f:setLineHeight(12)", "f:getFontName() .. ' ' .. f:getLineHeight()",
     "a.ttf 12"},
    {"task pool", "p = cc.AsyncTaskPool:getInstance() p:stopTasks(0)", "tolua.type(p)", "cc.AsyncTaskPool"},
    {"manifest text", "m = cc.Manifest:create() ok = m:parseJSONString('{\"version\": \"2\"}')",
     "tostring(ok) .. ' ' .. m:getVersion() .. ' ' .. tostring(m:isVersionLoaded())", "true 2 true"},
    // Controls.
    {"slider clamps", "s = cc.ControlSlider:create(cc.Sprite:create(), cc.Sprite:create(), cc.Sprite:create())"
     " s:setMaximumValue(10) s:setValue(40)", "s:getValue()", "10"},
    {"stepper steps", "s = cc.ControlStepper:create(cc.Sprite:create(), cc.Sprite:create()) s:setStepValue(5) s:increment()",
     "s:getValue()", "5"},
    {"switch", "s = cc.ControlSwitch:create(cc.Sprite:create(), cc.Sprite:create(), cc.Sprite:create(), cc.Sprite:create())"
     " s:setOn(false)", "tostring(s:isOn())", "false"},
    {"colour picker", "c = cc.ControlColourPicker:create() c:setColor({r = 0, g = 0, b = 255})",
     "c:getHuePicker():getHue()", "240"},
};

TEST_F(CoreAdditionsBindingTest, CasesTable) {
    runCases(kCases);
    engine::Director::getInstance()->getActionManager()->removeAllActions();
}

}  // namespace
}  // namespace bindingtest
