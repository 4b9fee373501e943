// engine::Value: conversions between its types, containers, equality, description.
#include <gtest/gtest.h>

#include <climits>
#include <cfloat>
#include <cmath>
#include <limits>

#include "engine/base/Value.h"

using engine::Value;
using engine::ValueMap;
using engine::ValueMapIntKey;
using engine::ValueVector;

namespace {

struct ConversionCase {
    const char* name;
    Value value;
    unsigned char asByte;
    int asInt;
    unsigned int asUnsigned;
    double asDouble;
    bool asBool;
    std::string asString;
};

TEST(ValueTest, ScalarConversions) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const ConversionCase cases[] = {
        {"none", Value(), 0, 0, 0u, 0.0, false, ""},
        {"byte", Value(static_cast<unsigned char>(200)), 200, 200, 200u, 200.0, true, "200"},
        {"negative int", Value(-1), 255, -1, UINT_MAX, -1.0, true, "-1"},
        {"int over a byte", Value(300), 44, 300, 300u, 300.0, true, "300"},
        {"unsigned above INT_MAX", Value(3000000000u), 0, -1294967296, 3000000000u, 3e9, true, "3000000000"},
        {"float truncates", Value(2.75f), 2, 2, 2u, 2.75, true, "2.75"},
        {"negative float", Value(-2.5f), 254, -2, static_cast<unsigned>(-2), -2.5, true, "-2.5"},
        {"huge double saturates", Value(1e30), 255, INT_MAX, UINT_MAX, 1e30, true, "1e+30"},
        {"NaN gives 0", Value(nan), 0, 0, 0u, std::nan(""), true, "nan"},
        {"zero double", Value(0.0), 0, 0, 0u, 0.0, false, "0"},
        {"true", Value(true), 1, 1, 1u, 1.0, true, "true"},
        {"false", Value(false), 0, 0, 0u, 0.0, false, "false"},
        {"numeric string", Value("42"), 42, 42, 42u, 42.0, true, "42"},
        {"blanks and plus", Value("  +7.5"), 7, 7, 7u, 7.5, true, "  +7.5"},
        {"numeric prefix", Value("12abc"), 12, 12, 12u, 12.0, true, "12abc"},
        {"negative string", Value("-3"), 253, -3, static_cast<unsigned>(-3), -3.0, true, "-3"},
        {"not a number", Value("abc"), 0, 0, 0u, 0.0, false, "abc"},
        {"string true", Value("true"), 0, 0, 0u, 0.0, true, "true"},
        {"string false", Value("false"), 0, 0, 0u, 0.0, false, "false"},
        {"string zero", Value("0.0"), 0, 0, 0u, 0.0, false, "0.0"},
        {"empty string", Value(""), 0, 0, 0u, 0.0, false, ""},
        {"string beyond int64", Value("99999999999999999999"), 255, INT_MAX, UINT_MAX, 1e20, true,
         "99999999999999999999"},
        {"exponent", Value("1e3"), 1, 1, 1u, 1000.0, true, "1e3"},
        {"vector", Value(ValueVector{Value(1)}), 0, 0, 0u, 0.0, false, ""},
        {"map", Value(ValueMap{{"a", Value(1)}}), 0, 0, 0u, 0.0, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.value.asByte(), c.asByte);
        EXPECT_EQ(c.value.asInt(), c.asInt);
        EXPECT_EQ(c.value.asUnsignedInt(), c.asUnsigned);
        if (std::isnan(c.asDouble)) {
            EXPECT_TRUE(std::isnan(c.value.asDouble()));
        } else {
            EXPECT_DOUBLE_EQ(c.value.asDouble(), c.asDouble);
            EXPECT_FLOAT_EQ(c.value.asFloat(), static_cast<float>(c.asDouble));
        }
        EXPECT_EQ(c.value.asBool(), c.asBool);
        EXPECT_EQ(c.value.asString(), c.asString);
    }
}

TEST(ValueTest, FloatingValuesPrintTheirShortestExactForm) {
    EXPECT_EQ(Value(0.1f).asString(), "0.1");
    EXPECT_EQ(Value(0.1).asString(), "0.1");
    EXPECT_EQ(Value(1.0f / 3).asString(), "0.33333334");
    EXPECT_FLOAT_EQ(Value(Value(1.0f / 3).asString()).asFloat(), 1.0f / 3);
}

TEST(ValueTest, FloatFromAnOutOfRangeStringIsInfinite) {
    EXPECT_TRUE(std::isinf(Value("1e300").asFloat()));
    EXPECT_TRUE(std::isinf(Value("1e999").asDouble()));
}

// Beyond FLT_MAX a value rounds to FLT_MAX up to the midpoint between FLT_MAX and
// 2^128, and to infinity from the midpoint on.
TEST(ValueTest, FloatNearTheTopOfTheRange) {
    const double midpoint = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
    struct Case {
        const char* name;
        Value value;
        float expected;
    };
    const Case cases[] = {
        {"text of FLT_MAX", Value("3.4028235e+38"), FLT_MAX},
        {"its own text", Value(Value(FLT_MAX).asString()), FLT_MAX},
        {"negative text", Value("-3.4028235e+38"), -FLT_MAX},
        {"FLT_MAX as a double", Value(static_cast<double>(FLT_MAX)), FLT_MAX},
        {"just below the midpoint", Value(std::nextafter(midpoint, 0.0)), FLT_MAX},
        {"just below the negative midpoint", Value(-std::nextafter(midpoint, 0.0)), -FLT_MAX},
        {"the midpoint", Value(midpoint), HUGE_VALF},
        {"3.5e38 text", Value("3.5e38"), HUGE_VALF},
        {"-3.5e38", Value(-3.5e38), -HUGE_VALF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.value.asFloat(), c.expected);
    }
}

TEST(ValueTest, TypesFollowTheConstructors) {
    EXPECT_EQ(Value().getType(), Value::Type::NONE);
    EXPECT_TRUE(Value().isNull());
    EXPECT_EQ(Value(static_cast<unsigned char>(1)).getType(), Value::Type::BYTE);
    EXPECT_EQ(Value(1).getType(), Value::Type::INTEGER);
    EXPECT_EQ(Value(1u).getType(), Value::Type::UNSIGNED);
    EXPECT_EQ(Value(1.f).getType(), Value::Type::FLOAT);
    EXPECT_EQ(Value(1.0).getType(), Value::Type::DOUBLE);
    EXPECT_EQ(Value(true).getType(), Value::Type::BOOLEAN);
    EXPECT_EQ(Value("x").getType(), Value::Type::STRING);
    EXPECT_EQ(Value(static_cast<const char*>(nullptr)).asString(), "");
    EXPECT_EQ(Value(ValueVector{}).getType(), Value::Type::VECTOR);
    EXPECT_EQ(Value(ValueMap{}).getType(), Value::Type::MAP);
    EXPECT_EQ(Value(ValueMapIntKey{}).getType(), Value::Type::INT_KEY_MAP);
}

TEST(ValueTest, CopiesOfContainersAreDeep) {
    Value original(ValueMap{{"list", Value(ValueVector{Value(1), Value("two")})}});
    Value copy = original;
    copy.asValueMap()["list"].asValueVector().push_back(Value(3.0));
    EXPECT_EQ(original.asValueMap().at("list").asValueVector().size(), 2u);
    EXPECT_EQ(copy.asValueMap().at("list").asValueVector().size(), 3u);
    EXPECT_NE(original, copy);

    Value moved = std::move(copy);
    EXPECT_TRUE(copy.isNull());   // NOLINT(bugprone-use-after-move): moved-from state is defined
    EXPECT_EQ(moved.asValueMap().at("list").asValueVector().size(), 3u);
}

TEST(ValueTest, AValueCanTakeOverAnElementOfItsOwnContainer) {
    Value copied(ValueVector{Value(ValueMap{{"k", Value(1)}}), Value("x")});
    copied = copied.asValueVector()[0];
    EXPECT_EQ(copied, Value(ValueMap{{"k", Value(1)}}));

    Value moved(ValueMap{{"inner", Value(ValueVector{Value("a"), Value(2)})}});
    moved = std::move(moved.asValueMap()["inner"]);
    EXPECT_EQ(moved, Value(ValueVector{Value("a"), Value(2)}));
}

TEST(ValueTest, ContainerAccessOnOtherTypes) {
    const Value constScalar(5);
    EXPECT_TRUE(constScalar.asValueVector().empty());
    EXPECT_TRUE(constScalar.asValueMap().empty());
    EXPECT_TRUE(constScalar.asIntKeyMap().empty());
    EXPECT_EQ(constScalar.getType(), Value::Type::INTEGER);

    Value scalar(5);
    scalar.asIntKeyMap()[3] = Value("three");
    EXPECT_EQ(scalar.getType(), Value::Type::INT_KEY_MAP);
    EXPECT_EQ(scalar.asIntKeyMap().at(3).asString(), "three");
}

TEST(ValueTest, EqualityNeedsTheSameTypeAndContent) {
    EXPECT_EQ(Value(1), Value(1));
    EXPECT_NE(Value(1), Value(1u));
    EXPECT_NE(Value(1), Value(1.0f));
    EXPECT_NE(Value(1), Value("1"));
    EXPECT_EQ(Value(), Value::Null);
    EXPECT_EQ(Value(ValueVector{Value(1), Value("a")}), Value(ValueVector{Value(1), Value("a")}));
    EXPECT_NE(Value(ValueVector{Value(1), Value("a")}), Value(ValueVector{Value("a"), Value(1)}));
    EXPECT_EQ(Value(ValueMap{{"k", Value(true)}}), Value(ValueMap{{"k", Value(true)}}));
    EXPECT_NE(Value(ValueMap{{"k", Value(true)}}), Value(ValueMap{{"k", Value(false)}}));
    EXPECT_NE(Value(ValueMap{}), Value(ValueMapIntKey{}));
}

TEST(ValueTest, Description) {
    Value v(ValueMap{{"b", Value(ValueVector{Value(1), Value("x"), Value()})},
                     {"a", Value(ValueMapIntKey{{2, Value(false)}, {1, Value(0.5f)}})}});
    EXPECT_EQ(v.getDescription(), "{a: {1: 0.5, 2: false}, b: [1, \"x\", null]}");
}

}  // namespace
