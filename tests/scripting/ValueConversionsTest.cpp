// Scalar, string, array and value-tree conversions between Lua and C++.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>

#include "LuaTestState.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/deprecated/BoxedValues.h"
#include "engine/scene/Node.h"
#include "scripting/LuaDeprecatedConversions.h"
#include "scripting/LuaValueConversions.h"

using engine::Value;
using engine::ValueMap;
using engine::ValueMapIntKey;
using engine::ValueVector;

namespace {

constexpr const char* kAbsent = "<absent>";

// Pushes the case's value (or nothing for an absent argument) and answers its index.
int pushCase(LuaTestState& lua, const char* expression) {
    if (expression == kAbsent) return lua.top() + 1;
    return lua.push(expression);
}

// Reads with a sentinel in the output, checking it is untouched on failure.
template <class T, bool (*Read)(lua_State*, int, T*, const char*)>
std::optional<double> readScalar(lua_State* L, int index) {
    T value = static_cast<T>(77);
    if (!Read(L, index, &value, "test")) {
        EXPECT_EQ(value, static_cast<T>(77)) << "output changed by a failed read";
        return std::nullopt;
    }
    return static_cast<double>(value);
}

struct ScalarCase {
    const char* reader;
    const char* expression;
    std::optional<double> expected;
};

TEST(ValueConversionsTest, ScalarReaders) {
    const std::map<std::string, std::function<std::optional<double>(lua_State*, int)>> readers = {
        {"bool", readScalar<bool, luaconv_read_bool>},
        {"number", readScalar<double, luaconv_read_number>},
        {"int32", readScalar<int32_t, luaconv_read_int32>},
        {"uint32", readScalar<uint32_t, luaconv_read_uint32>},
        {"index", readScalar<ssize_t, luaconv_read_index>},
        {"uint16", readScalar<uint16_t, luaconv_read_uint16>},
        {"ushort", readScalar<unsigned short, luaconv_read_ushort>},
        {"long", readScalar<long, luaconv_read_long>},
        {"ulong", readScalar<unsigned long, luaconv_read_ulong>},
    };
    const ScalarCase cases[] = {
        {"bool", "nil", 0},
        {"bool", "true", 1},
        {"bool", "false", 0},
        {"bool", "1", std::nullopt},
        {"bool", "'true'", std::nullopt},
        {"bool", kAbsent, std::nullopt},
        {"number", "1.5", 1.5},
        {"number", "'2.25'", 2.25},
        {"number", "'x'", std::nullopt},
        {"number", "nil", std::nullopt},
        {"number", "{}", std::nullopt},
        {"number", kAbsent, std::nullopt},
        {"int32", "2147483648", -2147483648.0},
        {"int32", "4294967295", -1},
        {"int32", "-7.9", -7},
        {"int32", "'42'", 42},
        {"int32", "0/0", 0},
        {"int32", "true", std::nullopt},
        {"uint32", "-1", 4294967295.0},
        {"uint32", "3000000000.7", 3000000000.0},
        {"index", "-1", -1},
        {"index", "12", 12},
        {"uint16", "300", 300},
        {"uint16", "65537", 1},
        {"uint16", "-1", 65535},
        {"uint16", "'x'", std::nullopt},
        {"ushort", "70000", 4464},
        {"long", "3000000000", 3000000000.0},
        {"long", "-1", -1},
        {"long", "4294967301", 5},
        {"ulong", "3000000000", 3000000000.0},
        {"ulong", "-1", 4294967295.0},
    };
    for (const ScalarCase& c : cases) {
        LuaTestState lua;
        int index = pushCase(lua, c.expression);
        int height = lua.top();
        std::optional<double> got = readers.at(c.reader)(lua.L, index);
        EXPECT_EQ(got, c.expected) << c.reader << " of " << c.expression;
        EXPECT_EQ(lua.top(), height) << c.reader << " of " << c.expression;
    }
}

TEST(ValueConversionsTest, StringReaderTakesTextWithoutChangingTheArgument) {
    struct Case {
        const char* expression;
        std::optional<std::string> expected;
    } cases[] = {
        {"nil", std::string()},  {"12", std::string("12")},  {"1.5", std::string("1.5")},
        {"'a\\0b'", std::string("a\0b", 3)}, {"{}", std::nullopt}, {"true", std::nullopt},
        {kAbsent, std::nullopt},
    };
    for (const Case& c : cases) {
        LuaTestState lua;
        int index = pushCase(lua, c.expression);
        int typeBefore = lua_type(lua.L, index);
        std::string out = "untouched";
        bool ok = luaconv_read_std_string(lua.L, index, &out);
        EXPECT_EQ(ok, c.expected.has_value()) << c.expression;
        EXPECT_EQ(out, c.expected.value_or("untouched")) << c.expression;
        EXPECT_EQ(lua_type(lua.L, index), typeBefore) << "argument converted in place: " << c.expression;
    }
}

TEST(ValueConversionsTest, CStringFallsBackToDefaultOnlyBeyondTheTop) {
    LuaTestState lua;
    int index = lua.push("'text'");
    EXPECT_STREQ(luaconv_to_cstring(lua.L, index, "d"), "text");
    EXPECT_STREQ(luaconv_to_cstring(lua.L, index + 1, "d"), "d");
    EXPECT_STREQ(luaconv_to_cstring(lua.L, index + 1, nullptr), "");
    int nilIndex = lua.push("nil");
    EXPECT_STREQ(luaconv_to_cstring(lua.L, nilIndex, "d"), "");
}

// Registers cc.Node, cc.Sprite (derived from cc.Node) and cc.Other with tolua++.
void registerTypes(lua_State* L) {
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_usertype(L, "cc.Node");
    tolua_usertype(L, "cc.Sprite");
    tolua_usertype(L, "cc.Other");
    tolua_cclass(L, "Node", "cc.Node", "", nullptr);
    tolua_cclass(L, "Sprite", "cc.Sprite", "cc.Node", nullptr);
    tolua_cclass(L, "Other", "cc.Other", "", nullptr);
    tolua_endmodule(L);
}

TEST(ValueConversionsTest, UsertypeOrNilFollowsTheClassHierarchy) {
    LuaTestState lua;
    registerTypes(lua.L);
    int object = 0;
    tolua_pushusertype(lua.L, &object, "cc.Sprite");
    lua_setglobal(lua.L, "sprite");
    tolua_pushusertype(lua.L, &object, "cc.Other");
    lua_setglobal(lua.L, "other");
    struct Case {
        const char* expression;
        const char* type;
        bool optional;
        bool expected;
    } cases[] = {
        {"sprite", "cc.Sprite", false, true},
        {"sprite", "cc.Node", false, true},
        {"other", "cc.Node", false, false},
        {"nil", "cc.Node", false, true},
        {"5", "cc.Node", false, false},
        {"{}", "cc.Node", false, false},
        {"{['.c_instance'] = sprite}", "cc.Node", false, true},
        {kAbsent, "cc.Node", true, true},
        {kAbsent, "cc.Node", false, false},
    };
    for (const Case& c : cases) {
        int index = pushCase(lua, c.expression);
        EXPECT_EQ(luaconv_is_usertype_or_nil(lua.L, index, c.type, c.optional), c.expected)
            << c.expression << " as " << c.type;
        lua_settop(lua.L, 0);
    }
}

// ---- Arrays

TEST(ValueConversionsTest, ArrayReadersSkipEntriesOfOtherKinds) {
    LuaTestState lua;
    std::vector<float> floats = {9};
    ASSERT_TRUE(luaconv_read_float_vector(lua.L, lua.push("{1, '2', 'a', {}, nil, 3.5}"), &floats));
    EXPECT_EQ(floats, (std::vector<float>{9, 1, 2, 3.5f}));   // appended

    std::vector<int32_t> ints;
    ASSERT_TRUE(luaconv_read_int_vector(lua.L, lua.push("{1.9, -1.9, '3', false}"), &ints));
    EXPECT_EQ(ints, (std::vector<int32_t>{1, -1, 3}));

    std::vector<std::string> strings;
    ASSERT_TRUE(luaconv_read_string_vector(lua.L, lua.push("{'a', 2, true, 'b'}"), &strings));
    EXPECT_EQ(strings, (std::vector<std::string>{"a", "2", "b"}));

    std::vector<engine::Vec3> points;
    ASSERT_TRUE(luaconv_read_vec3_vector(lua.L, lua.push("{{x = 1}, 5, {x = 1, y = 2, z = 3}}"), &points));
    EXPECT_EQ(points, (std::vector<engine::Vec3>{{1, 0, 0}, {1, 2, 3}}));

    std::map<std::string, std::string> map = {{"kept", "k"}, {"a", "old"}};
    int mapIndex = lua.push("{a = 'x', [1] = 'one', [2.5] = 3, b = true, [true] = 't'}");
    ASSERT_TRUE(luaconv_read_string_map(lua.L, mapIndex, &map));
    EXPECT_EQ(map, (std::map<std::string, std::string>{{"kept", "k"}, {"a", "x"}, {"1", "one"}, {"2.5", "3"}}));
    // The walk converted copies: the table's number keys are still numbers.
    EXPECT_EQ(lua.describe(mapIndex), "{[true]=\"t\",[1]=\"one\",[2.5]=3,a=\"x\",b=true}");
}

TEST(ValueConversionsTest, ArrayReadersFailOnNonTablesWithoutSideEffects) {
    using Reader = std::function<bool(lua_State*, int)>;
    const std::pair<const char*, Reader> readers[] = {
        {"float", [](lua_State* L, int i) { std::vector<float> v{1}; bool ok = luaconv_read_float_vector(L, i, &v); EXPECT_EQ(v.size(), 1u); return ok; }},
        {"int", [](lua_State* L, int i) { std::vector<int32_t> v{1}; bool ok = luaconv_read_int_vector(L, i, &v); EXPECT_EQ(v.size(), 1u); return ok; }},
        {"string", [](lua_State* L, int i) { std::vector<std::string> v{"x"}; bool ok = luaconv_read_string_vector(L, i, &v); EXPECT_EQ(v.size(), 1u); return ok; }},
        {"vec3", [](lua_State* L, int i) { std::vector<engine::Vec3> v(1); bool ok = luaconv_read_vec3_vector(L, i, &v); EXPECT_EQ(v.size(), 1u); return ok; }},
        {"string map", [](lua_State* L, int i) { std::map<std::string, std::string> m{{"k", "v"}}; bool ok = luaconv_read_string_map(L, i, &m); EXPECT_EQ(m.size(), 1u); return ok; }},
        {"value vector", [](lua_State* L, int i) { ValueVector v(1); bool ok = luaconv_read_value_vector(L, i, &v); EXPECT_EQ(v.size(), 1u); return ok; }},
        {"value map", [](lua_State* L, int i) { ValueMap m{{"k", Value(1)}}; bool ok = luaconv_read_value_map(L, i, &m); EXPECT_EQ(m.size(), 1u); return ok; }},
        {"int key map", [](lua_State* L, int i) { ValueMapIntKey m{{1, Value(1)}}; bool ok = luaconv_read_value_int_key_map(L, i, &m); EXPECT_EQ(m.size(), 1u); return ok; }},
        {"vec2 array", [](lua_State* L, int i) { engine::Vec2* p = nullptr; int n = 7; bool ok = luaconv_read_vec2_array(L, i, &p, &n); EXPECT_EQ(p, nullptr); EXPECT_EQ(n, 7); return ok; }},
    };
    for (const auto& [name, read] : readers) {
        for (const char* expression : {"5", "'abc'", "nil", "true", kAbsent}) {
            LuaTestState lua;
            int index = pushCase(lua, expression);
            int height = lua.top();
            EXPECT_FALSE(read(lua.L, index)) << name << " of " << expression;
            EXPECT_EQ(lua.top(), height) << name << " of " << expression;
        }
    }
}

TEST(ValueConversionsTest, Vec2ArrayAllocatesOnlyOnSuccess) {
    struct Case {
        const char* expression;
        bool ok;
        int count;   // 7: left untouched
    } cases[] = {
        {"{{x = 1}, 5}", false, 7},
        {"{}", true, 7},
        {"{{x = 1, y = 2}, {y = 3}}", true, 2},
    };
    for (const Case& c : cases) {
        LuaTestState lua;
        engine::Vec2* points = nullptr;
        int count = 7;
        EXPECT_EQ(luaconv_read_vec2_array(lua.L, lua.push(c.expression), &points, &count), c.ok) << c.expression;
        EXPECT_EQ(count, c.count) << c.expression;
        EXPECT_EQ(points != nullptr, c.count != 7) << c.expression;
        if (points) {
            EXPECT_EQ(points[0], engine::Vec2(1, 2));
            EXPECT_EQ(points[1], engine::Vec2(0, 3));
        }
        delete[] points;
    }
}

TEST(ValueConversionsTest, ArrayWritersPushOneArrayTable) {
    LuaTestState lua;
    const engine::Vec2 points[] = {{1, 2}, {3, 4}};
    struct Case {
        const char* name;
        std::function<void()> push;
        const char* expected;
    } cases[] = {
        {"floats", [&] { luaconv_push_float_vector(lua.L, {1.5f, -2}); }, "{[1]=1.5,[2]=-2}"},
        {"strings", [&] { luaconv_push_string_vector(lua.L, {"a", std::string("b\0c", 3)}); }, "{[1]=\"a\",[2]=\"b\\000c\"}"},
        {"vec3s", [&] { luaconv_push_vec3_vector(lua.L, {{1, 2, 3}}); }, "{[1]={x=1,y=2,z=3}}"},
        {"vec2 array", [&] { luaconv_push_vec2_array(lua.L, points, 2); }, "{[1]={x=1,y=2},[2]={x=3,y=4}}"},
        {"vec2 array of 0", [&] { luaconv_push_vec2_array(lua.L, points, 0); }, "{}"},
        {"vec2 array of -1", [&] { luaconv_push_vec2_array(lua.L, points, -1); }, "{}"},
        {"empty floats", [&] { luaconv_push_float_vector(lua.L, {}); }, "{}"},
    };
    for (const Case& c : cases) {
        int height = lua.top();
        c.push();
        ASSERT_EQ(lua.top(), height + 1) << c.name;
        EXPECT_EQ(lua.describe(-1), c.expected) << c.name;
        lua_pop(lua.L, 1);
    }
}

// ---- Value trees

TEST(ValueConversionsTest, ReadValueShapes) {
    struct Case {
        const char* expression;
        const char* expected;   // description of the value read; "untouched" keeps the sentinel
    } cases[] = {
        {"{1, 2, 3}", "[1, 2, 3]"},
        {"{a = 1}", "{a: 1}"},
        {"{}", "{}"},
        {"{1, nil, 3}", "[1, 3]"},
        {"{[2] = 'b', c = true}", "{2: \"b\", c: true}"},
        {"{[1.5] = 'x', [3] = 'y', z = 1}", "{1.5: \"x\", 3: \"y\", z: 1}"},
        {"{{1, {a = {}}}, 'end'}", "[[1, {a: {}}], \"end\"]"},
        {"{[true] = 1, x = print, y = 's'}", "{y: \"s\"}"},
        {"{print, 4}", "[4]"},
        {"'str'", "\"str\""},
        {"false", "false"},
        {"12", "12"},
        {"print", "untouched"},
        {"nil", "untouched"},
    };
    for (const Case& c : cases) {
        LuaTestState lua;
        int index = lua.push(c.expression);
        Value out("untouched");
        ASSERT_TRUE(luaconv_read_value(lua.L, index, &out)) << c.expression;
        std::string described = out.getType() == Value::Type::STRING && out.asString() == "untouched"
                                    ? "untouched"
                                    : out.getDescription();
        EXPECT_EQ(described, c.expected) << c.expression;
        EXPECT_EQ(lua.top(), index) << c.expression;
    }
}

TEST(ValueConversionsTest, NumbersReadAsDoubles) {
    LuaTestState lua;
    Value out;
    ASSERT_TRUE(luaconv_read_value(lua.L, lua.push("{5, {n = 7}}"), &out));
    ASSERT_EQ(out.getType(), Value::Type::VECTOR);
    EXPECT_EQ(out.asValueVector()[0].getType(), Value::Type::DOUBLE);
    EXPECT_EQ(out.asValueVector()[1].asValueMap().at("n").getType(), Value::Type::DOUBLE);
}

TEST(ValueConversionsTest, CyclicTablesEndAtTheDepthLimit) {
    LuaTestState lua;
    int index = lua.push("(function() local t = {} t[1] = t t.self = t return t end)()");
    Value out;
    ASSERT_TRUE(luaconv_read_value(lua.L, index, &out));
    int depth = 0;
    for (const Value* v = &out; v->getType() == Value::Type::VECTOR && !v->asValueVector().empty();
         v = &v->asValueVector()[0])
        ++depth;
    EXPECT_GT(depth, 10);
    EXPECT_LT(depth, 1000);
    ValueMap map;
    EXPECT_TRUE(luaconv_read_value_map(lua.L, lua.push("(function() local t = {} t.self = t return t end)()"), &map));
    EXPECT_EQ(lua.top(), index + 1);
}

// Tables are read raw: an __index that raises (and would escape through the C++
// frames building the result) never runs, for holes, absent fields or [1].
TEST(ValueConversionsTest, ContainerReadersRunNoMetamethods) {
    using Read = std::function<std::string(lua_State*, int)>;
    auto joined = [](const auto& items, auto text) {
        std::string out;
        for (const auto& item : items) out += (out.empty() ? "" : " ") + text(item);
        return out;
    };
    auto number = [](double v) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", v);
        return std::string(text);
    };
    const struct {
        const char* name;
        const char* expression;
        Read read;
        const char* expected;
    } cases[] = {
        {"float vector", "R(gap{1, 2, 3})",
         [&](lua_State* L, int i) { std::vector<float> v; return luaconv_read_float_vector(L, i, &v) ? joined(v, number) : "failed"; },
         "1 3"},
        {"int vector", "R(gap{1, 2, 3})",
         [&](lua_State* L, int i) { std::vector<int32_t> v; return luaconv_read_int_vector(L, i, &v) ? joined(v, number) : "failed"; },
         "1 3"},
        {"string vector", "R(gap{'a', 'b', 'c'})",
         [&](lua_State* L, int i) { std::vector<std::string> v; return luaconv_read_string_vector(L, i, &v) ? joined(v, [](const std::string& t) { return t; }) : "failed"; },
         "a c"},
        {"vec3 vector", "{R{x = 1}, R{y = 2, z = 3}}",
         [&](lua_State* L, int i) {
             std::vector<engine::Vec3> v;
             return luaconv_read_vec3_vector(L, i, &v) ? joined(v, [&](const engine::Vec3& p) { return number(p.x) + "," + number(p.y) + "," + number(p.z); }) : "failed";
         },
         "1,0,0 0,2,3"},
        {"vec2 array", "{R{x = 1}, R{y = 2}}",
         [&](lua_State* L, int i) {
             engine::Vec2* p = nullptr;
             int n = 0;
             if (!luaconv_read_vec2_array(L, i, &p, &n)) return std::string("failed");
             std::string text = number(p[0].x) + "," + number(p[0].y) + " " + number(p[1].x) + "," + number(p[1].y);
             delete[] p;
             return text;
         },
         "1,0 0,2"},
        {"value", "R{a = R(gap{1, 2, 3}), b = R{}}",
         [](lua_State* L, int i) { Value v; return luaconv_read_value(L, i, &v) ? v.getDescription() : "failed"; },
         "{a: [1, 3], b: {}}"},
        {"value vector", "R(gap{1, 2, R{}})",
         [](lua_State* L, int i) { ValueVector v; return luaconv_read_value_vector(L, i, &v) ? Value(v).getDescription() : "failed"; },
         "[1, {}]"},
        {"value map", "R{k = R{}}",
         [](lua_State* L, int i) { ValueMap m; return luaconv_read_value_map(L, i, &m) ? Value(m).getDescription() : "failed"; },
         "{k: {}}"},
        {"int key map", "R{[5] = R{}}",
         [](lua_State* L, int i) { ValueMapIntKey m; return luaconv_read_value_int_key_map(L, i, &m) ? Value(m).getDescription() : "failed"; },
         "{5: {}}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LuaTestState lua;
        ASSERT_EQ(lua.run("function R(t) return setmetatable(t, {__index = function() error('index ran') end}) end "
                          "function gap(t) t[2] = nil return t end"),
                  "");
        const int index = lua.push(c.expression);
        EXPECT_EQ(c.read(lua.L, index), c.expected);
        EXPECT_EQ(lua.top(), index);
    }
}

// A table met at several places is read at each, so tables shared down a chain
// double the tree at each level: a read over the bound on values built fails,
// quickly and leaving its output as it was; a few shared tables read in full.
TEST(ValueConversionsTest, SharedTablesCountAgainstABoundOnValuesBuilt) {
    LuaTestState lua;
    ASSERT_EQ(lua.run("p = {1, 2}; few = {p, p, {q = p}} "
                      "chain = {} for i = 1, 60 do chain = {chain, chain} end "
                      "ring = {} ring.a = ring ring.b = ring "
                      "wide = {} for i = 1, 3000 do wide[i] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10} end"),
              "");
    const struct {
        const char* expression;
        const char* expected;   // "failed": false with the output untouched
    } cases[] = {
        {"few", "[[1, 2], [1, 2], {q: [1, 2]}]"},
        {"chain", "failed"},
        {"ring", "failed"},
        {"{wide, wide, wide, wide, wide, wide, wide, wide, wide, wide}", "failed"},
        {"{wide}", "ok"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        Value value("untouched");
        ValueVector vector = {Value("kept")};
        const bool read = luaconv_read_value(lua.L, lua.push(c.expression), &value);
        EXPECT_EQ(luaconv_read_value_vector(lua.L, lua.push(std::string("{") + c.expression + "}"), &vector), read);
        if (std::string(c.expected) == "failed") {
            EXPECT_FALSE(read);
            EXPECT_EQ(value.asString(), "untouched");
            EXPECT_EQ(Value(vector).getDescription(), "[\"kept\"]");
        } else {
            EXPECT_TRUE(read);
            if (std::string(c.expected) != "ok") {
                EXPECT_EQ(value.getDescription(), c.expected);
            }
        }
        lua_settop(lua.L, 0);
    }
}

TEST(ValueConversionsTest, ValueMapReplacesKeysAndKeepsOthers) {
    LuaTestState lua;
    ValueMap map = {{"kept", Value(1)}, {"a", Value("old")}};
    ASSERT_TRUE(luaconv_read_value_map(lua.L, lua.push("{a = 'new', [4] = true, n = {x = 1}}"), &map));
    EXPECT_EQ(Value(map).getDescription(), "{4: true, a: \"new\", kept: 1, n: {x: 1}}");
}

TEST(ValueConversionsTest, IntKeyMapTakesIntegerKeysOnly) {
    LuaTestState lua;
    ValueMapIntKey map;
    int index = lua.push("{[5] = 'a', ['-3'] = 'b', x = 'c', [' 7'] = 'd', [2.9] = 'e', n = 1, [8] = {y = 1}}");
    ASSERT_TRUE(luaconv_read_value_int_key_map(lua.L, index, &map));
    EXPECT_EQ(Value(map).getDescription(), "{-3: \"b\", 2: \"e\", 5: \"a\", 7: \"d\", 8: {y: 1}}");
    EXPECT_EQ(map.at(8).getType(), Value::Type::MAP);   // a nested table stays string-keyed
}

TEST(ValueConversionsTest, ValueVectorClosesUpOverHoles) {
    LuaTestState lua;
    ValueVector values = {Value("first")};
    ASSERT_TRUE(luaconv_read_value_vector(lua.L, lua.push("{1, nil, 3, print, {2}}"), &values));
    EXPECT_EQ(Value(values).getDescription(), "[\"first\", 1, 3, [2]]");
}

TEST(ValueConversionsTest, VarargsReadTheArgumentsAfterSelf) {
    LuaTestState lua;
    lua.push("'self'");
    for (const char* argument : {"1", "'a'", "nil", "{2}", "print"}) lua.push(argument);
    struct Case {
        int argc;
        bool ok;
        const char* expected;
    } cases[] = {
        {0, false, "[]"}, {-1, true, "[]"}, {5, true, "[1, \"a\", [2]]"}, {2, true, "[1, \"a\"]"},
        {40, true, "[1, \"a\", [2]]"},   // arguments beyond the top are absent
    };
    for (const Case& c : cases) {
        ValueVector values;
        EXPECT_EQ(luaconv_read_varargs_value_vector(lua.L, c.argc, &values), c.ok) << c.argc;
        EXPECT_EQ(Value(values).getDescription(), c.expected) << c.argc;
        EXPECT_EQ(lua.top(), 6);
    }
}

TEST(ValueConversionsTest, PushValueGivesOneLuaValue) {
    ValueVector withHoles = {Value(5), Value(), Value("s"), Value(static_cast<unsigned char>(1))};
    ValueMap map = {{"a", Value(1.5)}, {"none", Value()}, {"v", Value(withHoles)}};
    ValueMapIntKey intKeys = {{-5, Value("x")}, {3, Value()}};
    struct Case {
        const char* name;
        Value value;
        const char* expected;
    } cases[] = {
        {"integer", Value(5), "5"},
        {"unsigned", Value(4000000000u), "4000000000"},
        {"float", Value(2.5f), "2.5"},
        {"double", Value(-0.25), "-0.25"},
        {"boolean", Value(true), "true"},
        {"string", Value(std::string("a\0b", 3)), "\"a\\000b\""},
        {"none", Value(), "nil"},
        {"byte", Value(static_cast<unsigned char>(7)), "nil"},
        {"vector with holes", Value(withHoles), "{[1]=5,[2]=\"s\"}"},
        {"map", Value(map), "{a=1.5,v={[1]=5,[2]=\"s\"}}"},
        {"int key map", Value(intKeys), "{[\"-5\"]=\"x\"}"},
        {"empty map", Value(ValueMap()), "{}"},
    };
    for (const Case& c : cases) {
        LuaTestState lua;
        luaconv_push_value(lua.L, c.value);
        ASSERT_EQ(lua.top(), 1) << c.name;
        EXPECT_EQ(lua.describe(1), c.expected) << c.name;
    }
}

TEST(ValueConversionsTest, DeepTreesPushWithinTheLuaStack) {
    Value deep(ValueVector{Value(1)});
    for (int i = 0; i < 5000; ++i) {
        ValueVector wrapper;   // not a braced list: that would copy the whole tree each time
        wrapper.push_back(std::move(deep));
        deep = Value(std::move(wrapper));
    }
    LuaTestState lua;
    luaconv_push_value(lua.L, deep);
    EXPECT_EQ(lua.top(), 1);
    EXPECT_EQ(lua_type(lua.L, 1), LUA_TTABLE);
}

TEST(ValueConversionsTest, ValueTreesRoundTrip) {
    ValueMap map = {{"name", Value("hero")},
                    {"alive", Value(true)},
                    {"pos", Value(ValueVector{Value(1.5), Value(-2.0)})},
                    {"bag", Value(ValueMap{{"gold", Value(12.0)}})}};
    LuaTestState lua;
    luaconv_push_value_map(lua.L, map);
    ValueMap back;
    ASSERT_TRUE(luaconv_read_value_map(lua.L, 1, &back));
    EXPECT_EQ(Value(back), Value(map));

    ValueMapIntKey intKeys = {{-5, Value("a")}, {7, Value(2.0)}};
    luaconv_push_value_int_key_map(lua.L, intKeys);
    ValueMapIntKey intBack;
    ASSERT_TRUE(luaconv_read_value_int_key_map(lua.L, 2, &intBack));
    EXPECT_EQ(Value(intBack), Value(intKeys));
}

// ---- Deprecated containers

struct LabelNode : engine::Node {
    static LabelNode* create() {
        auto* node = new LabelNode();
        node->autorelease();
        return node;
    }
};

TEST(ValueConversionsTest, ArrayToValueVectorTakesBoxedValues) {
    ValueVector out = {Value("old")};
    auto* empty = engine::__Array::create();
    EXPECT_FALSE(luaconv_array_to_value_vector(empty, &out));
    EXPECT_FALSE(luaconv_array_to_value_vector(nullptr, &out));
    EXPECT_EQ(Value(out).getDescription(), "[\"old\"]");

    auto* array = engine::__Array::create();
    array->addObject(engine::__String::create("a"));
    array->addObject(engine::Node::create());
    array->addObject(engine::__Double::create(1.5));
    array->addObject(engine::__Float::create(2.5f));
    array->addObject(engine::__Integer::create(3));
    array->addObject(engine::__Bool::create(true));
    ASSERT_TRUE(luaconv_array_to_value_vector(array, &out));
    ASSERT_EQ(out.size(), 5u);
    const Value::Type types[] = {Value::Type::STRING, Value::Type::DOUBLE, Value::Type::FLOAT,
                                 Value::Type::INTEGER, Value::Type::BOOLEAN};
    for (size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i].getType(), types[i]) << i;
    EXPECT_EQ(Value(out).getDescription(), "[\"a\", 1.5, 2.5, 3, true]");
    engine::AutoreleasePool::getInstance()->clear();
}

TEST(ValueConversionsTest, ArrayToVectorKeepsElementsOfTheType) {
    engine::Vector<engine::Node*> nodes;
    auto* held = engine::Node::create();
    nodes.pushBack(held);
    EXPECT_FALSE(luaconv_array_to_vector(engine::__Array::create(), &nodes));
    EXPECT_EQ(nodes.size(), 1u);

    auto* array = engine::__Array::create();
    auto* node = engine::Node::create();
    auto* label = LabelNode::create();
    array->addObject(node);
    array->addObject(engine::__String::create("skip"));
    array->addObject(label);
    unsigned heldCount = held->getReferenceCount();
    ASSERT_TRUE(luaconv_array_to_vector(array, &nodes));
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes.at(0), node);
    EXPECT_EQ(nodes.at(1), label);
    EXPECT_EQ(held->getReferenceCount(), heldCount - 1);   // cleared out of the vector
    EXPECT_EQ(node->getReferenceCount(), 3u);   // pool, array, vector

    engine::Vector<LabelNode*> labels;
    ASSERT_TRUE(luaconv_array_to_vector(array, &labels));
    EXPECT_EQ(labels.size(), 1u);
    nodes.clear();
    labels.clear();
    engine::AutoreleasePool::getInstance()->clear();
}

}  // namespace
