// JSON text from outside the program, through the one entry point and through every
// reader that takes such text. This file is also built with NDEBUG (see
// CMakeLists.txt): without the parser's own assertions an unsafe number would read
// out of bounds instead of aborting, and only the sanitizers would tell.
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/base/Json.h"
#include "host/config/ConfigFileReader.h"
#include "support/TestSupport.h"
#include "updater/PatchRoute.h"
#include "updater/ResProtocol.h"
#include "updater/ResUpdater.h"

namespace {

// An exponent that overflows the parser's exponent arithmetic.
const std::string kHugeExponent = "1.0000000000e-2147483639";

std::string nested(size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

}  // namespace

TEST(ParseJson, NumbersOnlyWithinWhatTheParserRepresents) {
    struct Case {
        std::string text;
        bool ok;
    };
    const Case cases[] = {
        {kHugeExponent, false},
        {"[" + kHugeExponent + "]", false},
        {"{\"a\":" + kHugeExponent + "}", false},
        {"1e+2147483647", false},
        {"-1E-10000", false},
        {"1e-9999", true},                    // four digits: becomes 0
        {"1e0000000000000000000005", true},   // leading zeros do not count
        {"1e308", true},
        {"9e308", false},                     // would read as infinity
        {"-1e309", false},
        {"[0." + std::string(5000, '0') + "1]", false},
        {"[0." + std::string(4000, '0') + "1]", true},
        // Inside strings the same text is only text, escaped quotes included.
        {"[\"" + kHugeExponent + "\"]", true},
        {"[\"\\\"" + kHugeExponent + "\"]", true},
        {"[\"\\\\\"," + kHugeExponent + "]", false},
        // A run of number characters after a syntax error is refused either way.
        {"[tru" + kHugeExponent + "]", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        rapidjson::Document doc;
        std::string error;
        rapidjson::ParseErrorCode code = rapidjson::kParseErrorNone;
        EXPECT_EQ(engine::parseJson(c.text, doc, &error, &code), c.ok) << error;
        EXPECT_EQ(code == rapidjson::kParseErrorNone, c.ok);
        EXPECT_EQ(error.empty(), c.ok);
    }
}

TEST(ParseJson, DeepNestingIsParsedWithoutRecursion) {
    rapidjson::Document doc;
    EXPECT_TRUE(engine::parseJson(nested(200000), doc));
    EXPECT_FALSE(engine::parseJson(std::string(200000, '['), doc));
    EXPECT_FALSE(engine::parseJson(std::string(200000, '[') + kHugeExponent, doc));
}

TEST(ParseJson, MembersAreFoundOnlyInObjects) {
    rapidjson::Document doc;
    ASSERT_TRUE(engine::parseJson(R"({"a":1,"b":{"a":2},"a":3})", doc));
    ASSERT_NE(engine::jsonMember(doc, "a"), nullptr);
    EXPECT_EQ(engine::jsonMember(doc, "a")->GetInt(), 1);   // the first of duplicates
    EXPECT_EQ(engine::jsonMember(doc, "c"), nullptr);
    EXPECT_EQ(engine::jsonMember(doc["b"]["a"], "a"), nullptr);
}

TEST(UntrustedJson, GatewayReplyWithAnUnsafeNumberIsRefused) {
    updater::setPatchHostNames("patch.vexo.test", "cdn.vexo.test", "patch.vexo-mirror.test");
    const std::string url = R"("Res":"https://patch.vexo.test/r/list.json")";
    EXPECT_TRUE(updater::gatewayReplyValid("{" + url + ",\"n\":1.5}"));
    EXPECT_FALSE(updater::gatewayReplyValid("{" + url + ",\"n\":" + kHugeExponent + "}"));
    EXPECT_FALSE(updater::gatewayReplyValid(kHugeExponent));
}

TEST(UntrustedJson, ResourceListWithAnUnsafeNumberIsRefused) {
    const std::string item = R"([11,"p11.zip","0123456789abcdef0123456789abcdef",9])";
    EXPECT_TRUE(updater::ResUpdater::resListValid(R"({"sign":"abc","xlist":[)" + item + "]}", "abc"));
    EXPECT_FALSE(updater::ResUpdater::resListValid(
        R"({"sign":"abc","x":)" + kHugeExponent + R"(,"xlist":[)" + item + "]}", "abc"));
    EXPECT_FALSE(updater::ResUpdater::resListValid(
        R"({"sign":"abc","xlist":[[)" + kHugeExponent + R"(,"p.zip","0123456789abcdef0123456789abcdef",9]]})",
        "abc"));
}

class ConfigJson : public testing::Test {
protected:
    void SetUp() override { host::ConfigFileReader::purge(); }
    void TearDown() override { host::ConfigFileReader::purge(); }
    testsupport::TempDir dir;
};

TEST_F(ConfigJson, UnsafeNumberOrDeepNestingIsAParseFailureThatChangesNothing) {
    const std::string cases[] = {
        R"({"init_cfg":{"width":)" + kHugeExponent + R"(,"height":480,"entry":"x.lua"}})",
        R"({"init_cfg":{"entry":"x.lua"},"x":)" + std::string(200000, '[') + "}",
    };
    for (const std::string& text : cases) {
        host::ConfigFileReader::purge();
        testsupport::LogCapture log;
        host::ConfigFileReader* reader = host::ConfigFileReader::getInstance();
        const std::string path = dir.write("config.json", text);
        reader->readConfig(path);
        EXPECT_THAT(log.lines(), testing::Contains(testing::StartsWith("read json file " + path + " failed because of ")));
        EXPECT_EQ(reader->getInitViewSize(), engine::Size(960, 640));
        EXPECT_EQ(reader->getEntryFile(), "");
    }
}

TEST_F(ConfigJson, DeeplyNestedValueBesideTheSettingsIsRead) {
    host::ConfigFileReader* reader = host::ConfigFileReader::getInstance();
    reader->readConfig(dir.write("config.json", R"({"x":)" + nested(200000) + R"(,"init_cfg":{"entry":"x.lua"}})"));
    EXPECT_EQ(reader->getEntryFile(), "x.lua");
}
