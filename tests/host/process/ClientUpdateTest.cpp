// The whole program against the local patch host: the update runs before the
// scripts, delivers its package into the resource cache, and the scripts find it
// there; a second start finds nothing to update. A gateway reply that is not usable
// JSON leaves the program waiting on its alert, scripts not started, nothing fetched.
#include <chrono>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ConfiguredPatchHost.h"
#include "support/ClientProcess.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"
#include "support/ZipMaker.h"
#include "updater/Md5.h"

using namespace std::chrono_literals;
using testsupport::PatchHost;

namespace {

class ClientUpdate : public testing::Test {
protected:
    void SetUp() override {
        _primary = VEXO_TEST_PATCH_PRIMARY;
        const int primaryPort = processtest::loopbackPort(_primary);
        const int secondaryPort = processtest::loopbackPort(VEXO_TEST_PATCH_SECONDARY);
        if (!primaryPort || !secondaryPort) GTEST_SKIP() << "the patch hosts of this build are not on loopback";
        // The program knows its patch hosts by their configured ports; the demo may
        // hold them for a moment.
        _host = processtest::startOnPorts(primaryPort, secondaryPort);
        ASSERT_TRUE(_host) << "the configured patch host ports stay taken";

        _project.write("config.json", R"({"init_cfg": {"width": 640, "height": 360, "entry": "src/main.lua"}})");
        _project.write("fenk/gateway", "https://" + _primary + "/g/gateway.json\n");
        _project.write("fenk/ResSignSn", "pt1 100");
        _project.write("src/main.lua",
                       "package.path = 'src/?.lua;' .. package.path\n"
                       "local ok, news = pcall(require, 'news')\n"
                       "release_print('news: ' .. (ok and news or 'none'))\n");
    }

    void publishUpdate(const std::string& gatewayReply) {
        const std::string zip = testsupport::zipBytes({{"src/news.lua", "return 'fresh news 101'"}});
        _host->writeFile("r/p101.zip", zip);
        _host->writeFile("r/list.json", R"({"sign":"pt1","xlist":[[101,"p101.zip",")" +
                                            updater::md5Hex(zip.data(), zip.size(), true) + "\"," +
                                            std::to_string(zip.size()) + "]]}");
        _host->writeFile("g/gateway.json", gatewayReply);
    }

    std::vector<std::string> args() const {
        return {"-workdir", _project.path(), "-writable-path", _data.file("writable")};
    }
    std::string cache(const std::string& name) const { return _data.file("writable/auc/Resources/" + name); }
    int requestsFor(const std::string& path) const {
        int n = 0;
        for (const auto& r : _host->requests()) n += r.path == path;
        return n;
    }

    std::string _primary;
    std::unique_ptr<PatchHost> _host;
    testsupport::TempDir _project;
    testsupport::TempDir _data;
};

TEST_F(ClientUpdate, UpdatesThenRunsTheScriptsOnWhatItDelivered) {
    publishUpdate(R"({"Res": "https://)" + _primary + R"(/r/list.json"})");
    {
        testsupport::ClientProcess client(args(), _data.file("run1.txt"));
        ASSERT_TRUE(client.waitForOutput("[LUA-print] news: fresh news 101", 90s)) << client.output();
        const std::string out = client.output();
        EXPECT_LT(out.find("update ok"), out.find("[LUA-print] news:")) << out;
        EXPECT_EQ(client.terminate(), 0) << client.output();
    }
    EXPECT_EQ(testsupport::readFile(cache("src/news.lua")), "return 'fresh news 101'");
    EXPECT_EQ(testsupport::readFile(cache("LocalResSignSn")), "pt1 101");
    EXPECT_EQ(requestsFor("/r/p101.zip"), 1);

    // Second start: nothing to fetch, the scripts still see the delivered module.
    testsupport::ClientProcess again(args(), _data.file("run2.txt"));
    ASSERT_TRUE(again.waitForOutput("[LUA-print] news: fresh news 101", 90s)) << again.output();
    EXPECT_NE(again.output().find("no update"), std::string::npos) << again.output();
    EXPECT_EQ(again.terminate(), 0) << again.output();
    EXPECT_EQ(requestsFor("/r/p101.zip"), 1);
}

TEST_F(ClientUpdate, GatewayReplyWithAnUnreadableNumberStartsNothing) {
    publishUpdate(R"({"Res": "https://)" + _primary + R"(/r/list.json", "n": 1e999999})");
    testsupport::ClientProcess client(args(), _data.file("run.txt"));
    // Both patch hosts are asked, both answers refused.
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (requestsFor("/g/gateway.json") < 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(100ms);
    }
    ASSERT_EQ(requestsFor("/g/gateway.json"), 2) << client.output();
    std::this_thread::sleep_for(1500ms);

    int status = 0;
    EXPECT_EQ(client.terminate(&status), 0) << "status " << status << "\n" << client.output();
    const std::string out = client.output();
    EXPECT_EQ(out.find("[LUA-print]"), std::string::npos) << out;
    EXPECT_EQ(requestsFor("/r/list.json"), 0);
    EXPECT_FALSE(testsupport::readFile(cache("src/news.lua")).size());
}

// The program has no web-view runtime: the pay window's script entry answers
// false at once, and the program still ends cleanly.
TEST_F(ClientUpdate, PayWindowFromTheScriptsAnswersFalse) {
    _project.write("src/main.lua",
                   "release_print('pay window: ' .. tostring(vexo_openPayWebView('https://localhost:18443/', "
                   "'__support')))\n");
    publishUpdate(R"({"Res": "https://)" + _primary + R"(/r/list.json"})");
    testsupport::ClientProcess client(args(), _data.file("run.txt"));
    ASSERT_TRUE(client.waitForOutput("[LUA-print] pay window: false", 90s)) << client.output();
    EXPECT_EQ(client.terminate(), 0) << client.output();
}

TEST_F(ClientUpdate, ScriptsAnimateASkeletonAndReceiveItsTables) {
    publishUpdate(R"({"Res": "https://)" + _primary + R"(/r/list.json"})");
    for (const char* name : {"demo.json", "demo.atlas", "demo.png"}) {
        _project.write(std::string("res/skeleton/") + name,
                       testsupport::readFile(std::string(VEXO_SOURCE_DIR) + "/examples/demo/res/skeleton/" + name));
    }
    _project.write("src/main.lua",
                   "local director = cc.Director:getInstance()\n"
                   "local scene = cc.Scene:create()\n"
                   "local node = sp.SkeletonAnimation:create('res/skeleton/demo.json', 'res/skeleton/demo.atlas')\n"
                   "scene:addChild(node)\n"
                   "director:replaceScene(scene)\n"
                   "local function show(t)\n"
                   "  local s = t.type .. ' ' .. t.animation .. ' ' .. t.loopCount\n"
                   "  if t.eventData then s = s .. ' ' .. t.eventData.name .. ' ' .. t.eventData.stringValue end\n"
                   "  release_print('skeleton ' .. s)\n"
                   "end\n"
                   "for type = 0, 3 do node:registerSkeletonEventHandler(show, type) end\n"
                   "node:setAnimation(0, 'wave', false)\n");
    testsupport::ClientProcess client(args(), _data.file("run.txt"));
    ASSERT_TRUE(client.waitForOutput("[LUA-print] skeleton end wave 0", 90s)) << client.output();
    const std::string out = client.output();
    size_t at = 0;
    for (const char* line : {"skeleton start wave 0", "skeleton event wave 0 wave xin chao", "skeleton complete wave 1",
                             "skeleton end wave 0"}) {
        at = out.find(std::string("[LUA-print] ") + line, at);
        EXPECT_NE(at, std::string::npos) << line << "\n" << out;
    }
    EXPECT_EQ(client.terminate(), 0) << client.output();
}

}  // namespace
