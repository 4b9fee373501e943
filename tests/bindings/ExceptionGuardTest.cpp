// No C++ exception crosses a Lua frame: absurd counts and capacities are refused
// before anything is allocated, and an exception a binding throws becomes a Lua
// error.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "BindingTestSupport.h"
#include "bindings/LuaClassTable.h"

namespace bindingtest {
namespace {

class ExceptionGuardTest : public LuaEngineBindingTest {};

int throwsBadAlloc(lua_State*) { throw std::bad_alloc(); }
int throwsLogicError(lua_State*) { throw std::length_error("vector too long"); }

TEST_F(ExceptionGuardTest, CountsAndCapacitiesFromScripts) {
    const char* const arrayError =
        "error: error in function 'createWithCapacity'.\n     argument #2 is 'number'; 'number from 0 to 4194304' "
        "expected.\n";
    struct Case {
        const char* what;
        const char* expression;
        std::string expected;
    };
    const Case cases[] = {
        // An array's capacity: a whole number up to 4,194,304.
        {"negative", "CCArray:createWithCapacity(-1)", arrayError},
        {"past 32 bits", "CCArray:createWithCapacity(4000000000)", arrayError},
        {"one past the limit", "CCArray:createWithCapacity(4194305)", arrayError},
        {"at the limit", "CCArray:createWithCapacity(4194304):capacity()", "4194304"},
        {"not a number", "CCArray:createWithCapacity(0/0)", arrayError},
        // A texture atlas holds at most 2,097,152 quads.
        {"atlas past the limit", "tostring(cc.TextureAtlas:createWithTexture(nil, 2097153))", "nil"},
        {"atlas grown past the limit", "cc.TextureAtlas:createWithTexture(nil, 3):resizeCapacity(2147483647)",
         "false"},
        {"atlas grown to the limit",
         "cc.TextureAtlas:createWithTexture(nil, 3):resizeCapacity(2097152)", "true"},
        // Exceptions thrown inside bindings.
        {"allocation failure", "cc.Node.throwsBadAlloc()", "error: not enough memory"},
        {"other exception", "cc.Node.throwsLogicError()", "error: vector too long"},
    };
    const bindings::ClassFunction throwing[] = {{"throwsBadAlloc", &throwsBadAlloc},
                                                {"throwsLogicError", &throwsLogicError}};
    bindings::addClassFunctions(L, "cc.Node", throwing);
    for (const Case& c : cases) EXPECT_EQ(eval(c.expression), c.expected) << c.what;
}

}  // namespace
}  // namespace bindingtest
