// setBlendFunc of the eight node classes that draw with their own blend
// function: two numbers or one table, and what each refuses.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"

namespace bindingtest {
namespace {

class BlendFuncBindingTest : public BindingStackTest {};

TEST_F(BlendFuncBindingTest, NumbersAndTableFormsOnEveryClass) {
    const char* classes[] = {"AtlasNode", "DrawNode",   "LayerColor",      "MotionStreak",
                             "ParticleBatchNode", "ParticleSystem", "Sprite", "SpriteBatchNode"};
    for (const char* name : classes) {
        SCOPED_TRACE(name);
        const std::string cls = std::string("cc.") + name;
        ASSERT_EQ(run("n = " + cls + ":create() function bf() local b = n:getBlendFunc() return b.src .. ',' .. b.dst end"), "");
        struct Case {
            const char* call;
            const char* result;   // the blend function after it, or the error
        } cases[] = {
            {"n:setBlendFunc(770, 771)", "770,771"},
            {"n:setBlendFunc({src = 1, dst = 771})", "1,771"},
            {"n:setBlendFunc('x', 1)", "1,771"},   // not a number: unchanged, no error
            {"n:setBlendFunc(2, {})", "1,771"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.call);
            EXPECT_EQ(run(c.call), "");
            EXPECT_EQ(eval("bf()"), c.result);
        }
        EXPECT_EQ(eval("n:setBlendFunc()"),
                  "error: " + cls + ":setBlendFunc has wrong number of arguments: 0, was expecting 1 \n");
        EXPECT_EQ(eval("n:setBlendFunc(1, 2, 3)"),
                  "error: " + cls + ":setBlendFunc has wrong number of arguments: 3, was expecting 1 \n");
        EXPECT_EQ(eval("n:setBlendFunc(5)"),
                  std::string("error: invalid arguments in function 'lua_engine_") + name + "_setBlendFunc'");
        EXPECT_EQ(eval(cls + ".setBlendFunc(cc.Node:create(), 1, 2)"),
                  "error: invalid 'self' in function '" + cls + ":setBlendFunc'");
    }
}

TEST_F(BlendFuncBindingTest, BatchNodeDescendantsAreItsSprites) {
    ASSERT_EQ(run(R"(
        b = cc.SpriteBatchNode:create() s1 = cc.Sprite:create() s2 = cc.Sprite:create() holder = cc.Node:create()
        b:addChild(s1) b:addChild(holder) holder:addChild(s2)
        list = b:getDescendants()
    )"), "");
    EXPECT_EQ(eval("#list .. tostring(list[1] == s1) .. tostring(list[2] == s2)"), "2truetrue");
    EXPECT_EQ(eval("b:getDescendants(1)"),
              "error: cc.SpriteBatchNode:getDescendants has wrong number of arguments: 1, was expecting 0 \n");
}

}  // namespace
}  // namespace bindingtest
