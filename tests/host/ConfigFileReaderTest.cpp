#include "host/config/ConfigFileReader.h"

#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/files/FileUtils.h"
#include "support/TestSupport.h"

using host::ConfigFileReader;

namespace {

struct Expected {
    engine::Size size{960, 640};
    bool landscape = true;
    std::string entry;
    int consolePort = 6010;
    int uploadPort = 6020;
    int debugPort = 1024;
    std::string name = "simulator";
    bool windowTop = false;
};

class ConfigFileReaderTest : public testing::Test {
protected:
    void SetUp() override { ConfigFileReader::purge(); }
    void TearDown() override { ConfigFileReader::purge(); }

    ConfigFileReader* readText(const std::string& json) {
        ConfigFileReader* reader = ConfigFileReader::getInstance();
        reader->readConfig(dir.write("config.json", json));
        return reader;
    }

    testsupport::TempDir dir;
};

void expectValues(const ConfigFileReader* reader, const Expected& e) {
    EXPECT_EQ(reader->getInitViewSize(), e.size);
    EXPECT_EQ(reader->isLandscape(), e.landscape);
    EXPECT_EQ(reader->getEntryFile(), e.entry);
    EXPECT_EQ(reader->getConsolePort(), e.consolePort);
    EXPECT_EQ(reader->getUploadPort(), e.uploadPort);
    EXPECT_EQ(reader->getDebugPort(), e.debugPort);
    EXPECT_EQ(reader->getInitName(), e.name);
    EXPECT_EQ(reader->isWindowTop(), e.windowTop);
}

}  // namespace

TEST_F(ConfigFileReaderTest, AppliesKnownKeysOfTheRightType) {
    struct Case {
        const char* json;
        Expected expected;
    };
    auto with = [](auto change) {
        Expected e;
        change(e);
        return e;
    };
    const Case cases[] = {
        {R"({"init_cfg":{"width":640,"height":960,"isLandscape":false}})",
         with([](Expected& e) { e.landscape = false; })},
        {R"({"init_cfg":{"width":1280,"height":720}})",
         with([](Expected& e) { e.size = {1280, 720}; })},
        {R"({"init_cfg":{"width":1280}})", Expected{}},
        {R"({"init_cfg":{"width":"1280","height":720}})", Expected{}},
        {R"({"init_cfg":{"width":-1280,"height":720}})", Expected{}},
        {R"({"init_cfg":{"width":1280.5,"height":720}})", Expected{}},
        {R"({"init_cfg":{"consolePort":0,"uploadPort":0,"debugPort":0}})", Expected{}},
        {R"({"init_cfg":{"consolePort":-5,"uploadPort":"7","debugPort":3.5}})", Expected{}},
        {R"({"init_cfg":{"consolePort":4294967295}})", Expected{}},
        {R"({"init_cfg":{"consolePort":7001,"uploadPort":7002,"debugPort":7003}})",
         with([](Expected& e) {
             e.consolePort = 7001;
             e.uploadPort = 7002;
             e.debugPort = 7003;
         })},
        {R"({"init_cfg":{"name":"Mộc Hà Lục","entry":"src/main.lua","isWindowTop":true}})",
         with([](Expected& e) {
             e.name = "Mộc Hà Lục";
             e.entry = "src/main.lua";
             e.windowTop = true;
         })},
        {R"({"init_cfg":{"name":1,"entry":false,"isWindowTop":"yes","isLandscape":0}})",
         Expected{}},
        {R"({"init_cfg":[{"width":1280,"height":720}]})", Expected{}},
        {R"([{"init_cfg":{"width":1280,"height":720}}])", Expected{}},
        {R"("text")", Expected{}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.json);
        ConfigFileReader::purge();
        expectValues(readText(tc.json), tc.expected);
    }
}

TEST_F(ConfigFileReaderTest, ReadingAgainKeepsWhatTheSecondFileLacks) {
    ConfigFileReader* reader = readText(
        R"({"init_cfg":{"width":1280,"height":720,"entry":"a.lua","consolePort":7001},
            "simulator_screen_size":[{"title":"A","width":1,"height":2}]})");
    reader->readConfig(dir.write("second.json",
                                 R"({"init_cfg":{"entry":"b.lua"},
                                     "simulator_screen_size":[{"title":"B","width":3,"height":4}]})"));
    EXPECT_EQ(reader->getInitViewSize(), engine::Size(1280, 720));
    EXPECT_EQ(reader->getEntryFile(), "b.lua");
    EXPECT_EQ(reader->getConsolePort(), 7001);
    ASSERT_EQ(reader->getScreenSizes().size(), 2u);
    EXPECT_EQ(reader->getScreenSizes()[0].title, "A");
    EXPECT_EQ(reader->getScreenSizes()[1].title, "B");
    EXPECT_EQ(reader->getScreenSizes()[1].width, 3);
    EXPECT_EQ(reader->getScreenSizes()[1].height, 4);
}

TEST_F(ConfigFileReaderTest, ScreenSizeRowsNeedAllThreeFields) {
    ConfigFileReader* reader = readText(R"({"simulator_screen_size":[
        {"title":"ok","width":800,"height":600},
        {"width":800,"height":600},
        {"title":"no height","width":800},
        {"title":"bad width","width":"800","height":600},
        {"title":"negative","width":-1,"height":600},
        7,
        {"title":"last","width":1,"height":1}]})");
    std::vector<std::string> titles;
    for (const auto& row : reader->getScreenSizes()) titles.push_back(row.title);
    EXPECT_THAT(titles, testing::ElementsAre("ok", "last"));
}

TEST_F(ConfigFileReaderTest, FailuresLeaveValuesAndLogOnlyBadJson) {
    ConfigFileReader* reader = readText(R"({"init_cfg":{"width":1280,"height":720}})");
    testsupport::LogCapture log;

    reader->readConfig(dir.file("missing.json"));
    reader->readConfig(dir.write("empty.json", ""));
    EXPECT_TRUE(log.lines().empty()) << log.text();

    std::string bad = dir.write("bad.json", "{\"init_cfg\": ");
    reader->readConfig(bad);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_THAT(log.lines()[0], testing::StartsWith("read json file " + bad + " failed because of "));
    EXPECT_EQ(reader->getInitViewSize(), engine::Size(1280, 720));
}

TEST_F(ConfigFileReaderTest, FirstUseReadsConfigAlongTheSearchPaths) {
    dir.write("res/config.json", R"({"init_cfg":{"entry":"found.lua"}})");
    engine::FileUtils::getInstance()->setSearchPaths({dir.file("res")});
    EXPECT_EQ(ConfigFileReader::getInstance()->getEntryFile(), "found.lua");
}
