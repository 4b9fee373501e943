// Matrix and vector globals against known matrices, and the cc.utils table.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"

namespace bindingtest {
namespace {

class MathGlobalsTest : public LuaEngineBindingTest {};

TEST_F(MathGlobalsTest, KnownMatrices) {
    ASSERT_EQ(run(R"(
        I = {1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1}
        function m(t) if t == nil then return 'none' end local s = {} for i = 1, #t do s[i] = string.format('%g', t[i]) end return table.concat(s, ' ') end
        function v(t) if t == nil then return 'none' end return string.format('%g %g %g', t.x, t.y, t.z) .. (t.w and string.format(' %g', t.w) or '') end
        T = mat4_createTranslation({x = 1, y = 2, z = 3}, I)
    )"), "");
    struct Case {
        const char* expression;
        const char* expected;
    } cases[] = {
        {"m(T)", "1 0 0 0 0 1 0 0 0 0 1 0 1 2 3 1"},
        {"m(mat4_createTranslation(1, 2, 3, I))", "1 0 0 0 0 1 0 0 0 0 1 0 1 2 3 1"},
        {"m(mat4_getInversed(T))", "1 0 0 0 0 1 0 0 0 0 1 0 -1 -2 -3 1"},
        {"m(mat4_multiply(T, T))", "1 0 0 0 0 1 0 0 0 0 1 0 2 4 6 1"},
        {"m(mat4_translate(T, {x = 1, y = 1, z = 1}))", "1 0 0 0 0 1 0 0 0 0 1 0 2 3 4 1"},
        {"m(mat4_setIdentity(T))", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1"},
        {"m(mat4_createRotationZ(T, math.pi / 2))", "-4.37114e-08 1 0 0 -1 -4.37114e-08 0 0 0 0 1 0 0 0 0 1"},
        {"m(mat4_createRotation({x = 0, y = 0, z = 1, w = 0}, I))", "-1 0 0 0 0 -1 0 0 0 0 1 0 0 0 0 1"},
        {"m(mat4_createRotation({x = 0, y = 0, z = 1}, 0, I))", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1"},
        {"v(mat4_transformVector(T, {x = 1, y = 1, z = 1, w = 1}, {x = 0, y = 0, z = 0, w = 0}))", "2 3 4 1"},
        {"v(mat4_transformVector(T, 1, 1, 1, 0, {x = 0, y = 0, z = 0}))", "1 1 1"},
        {"v(vec3_cross({x = 1, y = 0, z = 0}, {x = 0, y = 1, z = 0}))", "0 0 1"},
        {"v(mat4_decompose(T, nil, nil, {x = 0, y = 0, z = 0}).translation)", "1 2 3"},
        {"tostring(mat4_decompose(T, nil, nil, {x = 0, y = 0, z = 0}).scale)", "nil"},
        {"v(mat4_decompose(mat4_createRotationZ(I, 0), {x = 0, y = 0, z = 0}, {x = 0, y = 0, z = 0, w = 1}, nil).rotation)",
         "0 0 0 1"},
        {"select('#', mat4_decompose(T, nil, nil, nil))", "0"},
        {"select('#', mat4_multiply({1,2,3,4,5,6,7,8,9,10,11,12,13,14,15}, I))", "0"},
        {"select('#', mat4_setIdentity(I, I))", "0"},
        {"select('#', mat4_createTranslation(I))", "0"},
        {"select('#', vec3_cross({x = 1, y = 0, z = 0}))", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(eval(c.expression), c.expected);
    }
}

TEST_F(MathGlobalsTest, UtilsFindChildrenAndCaptureScreen) {
    ASSERT_EQ(run(R"(
        root = cc.Node:create() a = cc.Node:create() b = cc.Node:create() c = cc.Node:create()
        a:setName('x') c:setName('x') root:addChild(a) root:addChild(b) b:addChild(c)
        found = cc.utils:findChildren(root, '//x')
        none = cc.utils:findChildren(root, 'y')
        direct = cc.utils:findChildren(root, 'x')
        calls = {}
        cc.utils:captureScreen(function(ok, path) calls[#calls + 1] = tostring(ok) .. ' ' .. path end, 'shot.png')
    )"), "");
    EXPECT_EQ(eval("#found .. ' ' .. tostring(found[1] == a) .. ' ' .. tostring(found[2] == c) .. ' ' .. #none"),
              "2 true true 0");
    EXPECT_EQ(eval("#direct .. ' ' .. tostring(direct[1] == a)"), "1 true");
    EXPECT_EQ(eval("#calls"), "0");   // not before the next frame
    engine::Director::getInstance()->getScheduler()->update(0.f);
    engine::Director::getInstance()->getScheduler()->update(0.f);
    EXPECT_EQ(eval("#calls .. ' ' .. calls[1]:sub(1, 6) .. tostring(calls[1]:find('/shot.png', 1, true) ~= nil)"),
              "1 false true");
}

}  // namespace
}  // namespace bindingtest
