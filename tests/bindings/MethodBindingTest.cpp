// Script methods made by the signature-derived template: counts, reads, results,
// overloads by count, class functions, and the errors of each failure.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaClassTable.h"
#include "engine/scene/Node.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

class MethodBindingTest : public BindingStackTest {};

struct MethodCase {
    const char* name;
    const char* chunk;       // run first (after the shared prelude)
    const char* expression;  // then evaluated and shown with tostring
    const char* expected;
};

constexpr const char* kPrelude =
    "d = cc.Director:getInstance() n = cc.Node:create() c = cc.Node:create() s = cc.Scene:create()\n";

const MethodCase kMethodCases[] = {
    // Results are pushed under the Lua type of the object's own class.
    {"class function result", "", "tolua.type(d) .. ' ' .. tolua.type(n) .. ' ' .. tolua.type(s)",
     "cc.Director cc.Node cc.Scene"},
    {"scene through a Node* result", "s:addChild(c)", "tolua.type(c:getParent())", "cc.Scene"},
    {"same object, same userdata", "s:addChild(c)", "c:getParent() == s", "true"},
    {"base method on a subclass", "s:setTag(4)", "s:getTag()", "4"},
    {"nil result", "", "n:getParent()", "nil"},

    // addChild's three forms.
    {"addChild(child)", "n:addChild(c)", "n:getChildrenCount() .. ' ' .. c:getLocalZOrder() .. ' ' .. c:getTag()", "1 0 -1"},
    {"addChild(child, z, tag)", "n:addChild(c, 2, 7)", "n:getChildByTag(7) == c", "true"},
    {"addChild(child, z)", "n:addChild(c, 2)", "c:getLocalZOrder() .. ' ' .. c:getTag()", "2 -1"},
    {"numeric string argument", "n:addChild(c, 0, '9')", "c:getTag()", "9"},
    {"nil object argument is null", "n:addChild(nil)", "n:getChildrenCount()", "0"},
    {"removeFromParent", "n:addChild(c) c:removeFromParent()", "n:getChildrenCount()", "0"},

    // setPosition by count: a point table, or two numbers.
    {"setPosition(x, y)", "n:setPosition(3, 4)", "n:getPosition().x .. ',' .. n:getPosition().y", "3,4"},
    {"setPosition(point)", "n:setPosition({x = 1.5, y = -2})", "n:getPosition().x .. ',' .. n:getPosition().y",
     "1.5,-2"},
    {"string result", "n:setName('hero')", "n:getName()", "hero"},
    {"boolean argument and result", "n:setVisible(false)", "n:isVisible()", "false"},

    {"void result pushes nothing", "", "select('#', d:runWithScene(s))", "0"},
    {"base class object for a subclass parameter", "", "d:replaceScene(n)",
     "error: invalid arguments in function 'lua_engine_Director_replaceScene'"},
    {"non-Ref singleton", "", "tolua.type(cc.FileUtils:getInstance())", "cc.FileUtils"},

    // Wrong counts name the Lua method and the last form's count.
    {"too few", "", "n:addChild()", "error: cc.Node:addChild has wrong number of arguments: 0, was expecting 3 \n"},
    {"too many", "", "n:addChild(c, 1, 2, 3)",
     "error: cc.Node:addChild has wrong number of arguments: 4, was expecting 3 \n"},
    {"class function counts from argument 2", "", "cc.Node:create(1)",
     "error: cc.Node:create has wrong number of arguments: 1, was expecting 0 \n"},
    {"single form", "", "d:endToLua(1)", "error: cc.Director:endToLua has wrong number of arguments: 1, was expecting 0 \n"},

    // Unreadable arguments name the binding function.
    {"string for an object", "", "n:addChild('x')", "error: invalid arguments in function 'lua_engine_Node_addChild'"},
    {"object of another class", "", "n:addChild(d)", "error: invalid arguments in function 'lua_engine_Node_addChild'"},
    {"later argument unreadable", "", "n:addChild(c, {})", "error: invalid arguments in function 'lua_engine_Node_addChild'"},
    {"number for a point", "", "n:setPosition(5)", "error: invalid arguments in function 'lua_engine_Node_setPosition'"},
    {"self of another class", "", "cc.Node.getTag(d)", "error: invalid arguments in function 'lua_engine_Node_getTag'"},
    {"self not an object", "", "cc.Node.getTag({})", "error: invalid arguments in function 'lua_engine_Node_getTag'"},
};

TEST_F(MethodBindingTest, CasesTable) {
    for (const MethodCase& c : kMethodCases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(run(kPrelude), "");
        ASSERT_EQ(run(c.chunk), "");
        EXPECT_EQ(eval(c.expression), c.expected);
    }
}

TEST_F(MethodBindingTest, FileUtilsReadsFiles) {
    testsupport::TempDir dir;
    const std::string path = dir.write("notes.txt", "line one\nline two");
    lua_pushstring(L, path.c_str());
    lua_setglobal(L, "path");
    ASSERT_EQ(run("f = cc.FileUtils:getInstance()"), "");
    EXPECT_EQ(eval("f:isFileExist(path)"), "true");
    EXPECT_EQ(eval("f:isFileExist(path .. '.missing')"), "false");
    EXPECT_EQ(eval("f:getStringFromFile(path)"), "line one\nline two");
    EXPECT_EQ(eval("f:isFileExist(f)"), "error: invalid arguments in function 'lua_engine_FileUtils_isFileExist'");
}

// A script still holding an object whose script side was cut loose holds a
// dead object: calling it raises instead of touching freed memory.
TEST_F(MethodBindingTest, DeadSelfRaises) {
    engine::Node* node = engine::Node::create();
    node->retain();
    stack->pushObject(node, "cc.Node");
    lua_setglobal(L, "g");
    EXPECT_EQ(eval("g:getTag()"), "-1");
    stack->removeScriptObjectByObject(node);
    EXPECT_EQ(eval("g:getTag()"), "error: invalid 'cobj' in function 'lua_engine_Node_getTag'");
    node->release();
}

// A class registered only here: two forms with the same count, tried in order.
class Gauge : public engine::Ref {
public:
    static Gauge* create() {
        auto* gauge = new Gauge();
        gauge->autorelease();
        return gauge;
    }
    void setFromPoint(const engine::Vec2& point) { _value = point.x + point.y; }
    void setFromNumber(double value) { _value = value * 10; }
    double value() const { return _value; }

private:
    double _value = 0;
};

const bindings::Method kGaugeMethods[] = {
    {"create", {bindings::classFunction<&Gauge::create>()}},
    {"set", {bindings::method<&Gauge::setFromPoint>(), bindings::method<&Gauge::setFromNumber>()}},
    {"value", {bindings::method<&Gauge::value>()}},
};

const bindings::ClassEntry kGaugeTable[] = {
    bindings::classEntry<Gauge>("test.Gauge", "cc.Ref", kGaugeMethods),
};

TEST_F(MethodBindingTest, FormsWithTheSameCountAreTriedInOrder) {
    bindings::registerClassTable(L, kGaugeTable);
    ASSERT_EQ(run("g = test.Gauge:create()"), "");
    struct Case {
        const char* call;
        const char* value;
    } cases[] = {
        {"g:set({x = 1, y = 2})", "3"},
        {"g:set(4)", "40"},
        {"g:set('5')", "50"},  // numeric text is a number
        {"g:set('five')", "error: invalid arguments in function 'lua_engine_Gauge_set'"},
        {"g:set()", "error: test.Gauge:set has wrong number of arguments: 0, was expecting 1 \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        if (std::string(c.value).starts_with("error: ")) {
            EXPECT_EQ(eval(c.call), c.value);
        } else {
            EXPECT_EQ(run(c.call), "");
            EXPECT_EQ(eval("g:value()"), c.value);
        }
    }
}

}  // namespace
}  // namespace bindingtest
