// Rows the generator writes from the engine headers, called as scripts call
// them: default arguments as shorter forms, and the errors of every row.
#include <gtest/gtest.h>

#include "BindingTestSupport.h"

namespace {

using bindingtest::BindingStackTest;
using bindingtest::ChunkCase;

class GeneratedRowTest : public BindingStackTest {};

TEST_F(GeneratedRowTest, CallsAsDeclared) {
    runCases({
        {"prelude", "n = cc.Node:create() c = cc.Node:create()", "tolua.type(n)", "cc.Node"},
        // A default argument: the shorter form lets the engine fill it in.
        {"removeChild(child)", "n:addChild(c) n:removeChild(c)", "n:getChildrenCount()", "0"},
        {"removeChild(child, cleanup)", "n:addChild(c) n:removeChild(c, false)", "n:getChildrenCount()", "0"},
        {"number setter and getter", "n:setScaleX(2.5) n:setScaleY(-1)", "n:getScaleX() .. ' ' .. n:getScaleY()",
         "2.5 -1"},
        // Errors name the Lua method (count) or the binding function (argument).
        {"wrong count", "", "n:setScaleX()",
         "error: cc.Node:setScaleX has wrong number of arguments: 0, was expecting 1 \n"},
        {"unreadable argument", "", "n:setScaleX({})",
         "error: invalid arguments in function 'lua_engine_Node_setScaleX'"},
        {"self of another class", "", "cc.Node.setScaleX(cc.Director:getInstance(), 1)",
         "error: invalid arguments in function 'lua_engine_Node_setScaleX'"},
    });
}

}  // namespace
