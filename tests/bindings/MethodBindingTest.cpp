// Script methods made by the signature-derived template: counts, reads, results,
// overloads by count, class functions, and the errors of each failure.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaChecks.h"
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
    {"setPosition(x, y)", "n:setPosition(3, 4)", "table.concat({n:getPosition()}, ',')", "3,4"},
    {"setPosition(point)", "n:setPosition({x = 1.5, y = -2})", "table.concat({n:getPosition()}, ',')",
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
    std::string pickNumber(double) const { return "number"; }
    std::string pickText(const std::string&) const { return "text"; }
    std::string pickGauge(Gauge*) const { return "gauge"; }
    std::string range(int from, int to, int step) const {
        return std::to_string(from) + "," + std::to_string(to) + "," + std::to_string(step);
    }
    void setLabel(const std::string& text, const engine::Vec2& at) { _label = text + "@" + std::to_string(int(at.x)); }
    const std::string& label() const { return _label; }

private:
    double _value = 0;
    std::string _label;
};

const bindings::Method kGaugeMethods[] = {
    {"create", {bindings::classFunction<&Gauge::create>()}},
    {"set", {bindings::method<&Gauge::setFromPoint>(), bindings::method<&Gauge::setFromNumber>()}},
    {"value", {bindings::method<&Gauge::value>()}},
    {"setLabel", {bindings::method<&Gauge::setLabel>()}},
    {"label", {bindings::method<&Gauge::label>()}},
    {"pick", {bindings::method<&Gauge::pickGauge>(), bindings::method<&Gauge::pickNumber>(),
              bindings::method<&Gauge::pickText>()}},
    {"range", {bindings::method<&Gauge::range, 10, 1>()}},
};

// Ref is not this class's first base: self must come back through Ref.
struct Padding {
    virtual ~Padding() = default;
    int padding() const { return _padding; }
    int _padding = 77;
};
class Twin : public Padding, public engine::Ref {
public:
    static Twin* create() {
        auto* twin = new Twin();
        twin->autorelease();
        return twin;
    }
    int weight() const { return _weight; }
    int _weight = 5;
};

const bindings::Method kTwinMethods[] = {
    {"create", {bindings::classFunction<&Twin::create>()}},
    {"weight", {bindings::method<&Twin::weight>()}},
    {"padding", {bindings::methodOf<Twin, &Padding::padding>()}},
};

const bindings::ClassEntry kGaugeTable[] = {
    bindings::classEntry<Gauge>("test.Gauge", "cc.Ref", kGaugeMethods),
    bindings::classEntry<Twin>("test.Twin", "cc.Ref", kTwinMethods),
};

// Forms are first tried with exact Lua types, then with conversions; a dead
// object never reads; defaults fill the last parameters; self of a class with
// two bases is read through the right base.
TEST_F(MethodBindingTest, ExactFormsDefaultsAndTwoBases) {
    bindings::registerClassTable(L, kGaugeTable);
    Gauge* dead = Gauge::create();
    dead->retain();
    stack->pushObject(dead, "test.Gauge");
    lua_setglobal(L, "dead");
    stack->removeScriptObjectByObject(dead);
    dead->release();
    ASSERT_EQ(run("g = test.Gauge:create() t = test.Twin:create()"), "");
    struct Case {
        const char* expression;
        const char* expected;
    } cases[] = {
        {"g:pick(5)", "number"},
        {"g:pick('5')", "text"},            // exact text before the number conversion
        {"g:pick(g)", "gauge"},
        {"g:pick(nil)", "gauge"},           // no exact form: nil converts to a null object
        {"g:pick(true)", "error: invalid arguments in function 'lua_engine_Gauge_pick'"},
        {"g:pick(dead)", "error: invalid arguments in function 'lua_engine_Gauge_pick'"},
        {"g:range(1)", "1,10,1"},
        {"g:range(1, 4)", "1,4,1"},
        {"g:range(1, 4, 2)", "1,4,2"},
        {"g:range(0/0, 2^40, -2^40)", "0,0,0"},   // NaN and huge numbers through the checked conversion
        {"g:range()", "error: test.Gauge:range has wrong number of arguments: 0, was expecting 3 \n"},
        {"g:range(1, 2, 3, 4)", "error: test.Gauge:range has wrong number of arguments: 4, was expecting 3 \n"},
        {"t:weight() .. ' ' .. t:padding()", "5 77"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(eval(c.expression), c.expected);
    }
}

// The shared list readers give back the object itself for a class whose Ref is
// not its first base, and refuse a dead object rather than reading it as null.
TEST_F(MethodBindingTest, ListReadersComeBackThroughRef) {
    bindings::registerClassTable(L, kGaugeTable);
    Twin* dead = Twin::create();
    dead->retain();
    stack->pushObject(dead, "test.Twin");
    lua_setglobal(L, "dead");
    stack->removeScriptObjectByObject(dead);
    dead->release();
    ASSERT_EQ(run("t = test.Twin:create()"), "");
    struct Case {
        const char* values;   // the class table, then the call's arguments
        bool table;           // read as one table (else as the arguments)
        bool ok;
        int weights;          // sum of the weights read (5 each)
    } cases[] = {
        {"{}, {t, t}", true, true, 10},
        {"{}, {t, dead, t}", true, true, 10},
        {"{}, t, 3, t", false, true, 10},
        {"{}, t, dead", false, false, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        lua_settop(L, 0);   // the readers take the call's stack: the class table at 1
        ASSERT_EQ(luaL_dostring(L, (std::string("return ") + c.values).c_str()), 0);
        engine::Vector<Twin*> out;
        const bool ok = c.table ? luaconv_read_object_vector(L, 2, &out)
                                : luaconv_read_varargs_vector(L, lua_gettop(L) - 1, &out);
        EXPECT_EQ(ok, c.ok);
        int weights = 0;
        for (Twin* twin : out) weights += twin->weight();
        EXPECT_EQ(weights, c.weights);
    }
    lua_settop(L, 0);
}

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

// Text arguments reach the engine as Lua writes them; a read that raises (an
// erroring metamethod) after a long text was read leaks nothing (the leak
// checker of the sanitizer build watches this).
TEST_F(MethodBindingTest, TextArgumentsAndRaisingReads) {
    bindings::registerClassTable(L, kGaugeTable);
    ASSERT_EQ(run("g = test.Gauge:create() long = string.rep('x', 64)"), "");
    struct Case {
        const char* call;
        const char* label;
    } cases[] = {
        {"g:setLabel('short', {x = 1, y = 0})", "short@1"},
        {"g:setLabel(0.1 + 0.2, {x = 2, y = 0})", "0.3@2"},
        {"g:setLabel(nil, {x = 3, y = 0})", "@3"},
        {"g:setLabel(long, {x = 4, y = 0})", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx@4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(run(c.call), "");
        EXPECT_EQ(eval("g:label()"), c.label);
    }
    EXPECT_EQ(run("g:setLabel(long, setmetatable({}, {__index = function() error('no point here', 0) end}))"),
              "no point here");
    EXPECT_EQ(eval("g:label()"), cases[3].label);
}

// The shared kit's object read takes the object's place on the stack as given,
// relative to the top or not: a subclass object passes either way, and another
// object is refused without harm.
TEST_F(MethodBindingTest, KitReadsObjectsAtAnyIndex) {
    ASSERT_EQ(run("scene = cc.Scene:create() d = cc.Director:getInstance()"), "");
    struct Case {
        const char* value;   // global pushed as the one value above the base
        int index;           // relative (-1) or absolute (0: the top's number)
        bool read;
    } cases[] = {
        {"scene", -1, true}, {"scene", 0, true}, {"d", -1, false}, {"d", 0, false}, {"nil", -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " at " + std::to_string(c.index));
        const int top = lua_gettop(L);
        lua_getglobal(L, c.value);
        const int index = c.index != 0 ? c.index : lua_gettop(L);
        EXPECT_EQ(bindings::objectAt<engine::Node>(L, index, "cc.Node") != nullptr, c.read);
        EXPECT_EQ(lua_gettop(L), top + 1);
        lua_settop(L, top);
    }
    // A script function reading table entries from the top: other objects are skipped.
    EXPECT_EQ(eval("(function() local e = cc.EventTouch:new()"
                   " e:setTouches({scene, cc.Touch:new(), d}) return #e:getTouches() end)()"),
              "1");
}

}  // namespace
}  // namespace bindingtest
