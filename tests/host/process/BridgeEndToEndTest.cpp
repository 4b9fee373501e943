// The whole program with the portal bridge: the project's own Platform and YornTools
// modules are patched by the bridge bootstrap; the clipboard answers through the
// bridge; the silent re-login trades the token of a plain legacy login file at the
// API host (here the local patch host) and the file is protected afterwards; the
// gateway reply fetched ahead reaches the scripts once, the next request goes to the
// scripts' own network code.
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ConfiguredPatchHost.h"
#include "support/ClientProcess.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"

using namespace std::chrono_literals;
using testsupport::PatchHost;

namespace {

const char* const kPlatform = R"(
local Platform = {}
function Platform:callNativeFunc(cls, mth) release_print('old platform ' .. tostring(mth)) return nil end
return Platform
)";

const char* const kYornTools = R"(
local YornTools = {}
function YornTools.httpGetJson(url, func) release_print('network: ' .. url) end
return YornTools
)";

const char* const kMain = R"(
package.path = 'src/?.lua;' .. package.path
local cjson = require('cjson')
json = { decode = cjson.decode }
local P = require('Platform')
P:callNativeFunc('AppController', 'setClipText', { content = 'clip-xyz' }, '')
release_print('clipboard: ' .. tostring(P:callNativeFunc('AppUtils', 'getClipText', {}, '')))
P:callNativeFunc('com/game/PlatformPavrel', 'loginTelegramSilent',
                 { function(answer) release_print('silent: ' .. answer) end }, '')
local Y = require('YornTools')
Y.httpGetJson(GATEWAY, function(data)
    release_print('gateway prefetched: ' .. tostring(data.Res))
    Y.httpGetJson(GATEWAY, function() release_print('gateway twice?') end)
end)
)";

class BridgeEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        const std::string primary = VEXO_TEST_PATCH_PRIMARY;
        const int primaryPort = processtest::loopbackPort(primary);
        const int secondaryPort = processtest::loopbackPort(VEXO_TEST_PATCH_SECONDARY);
        if (!primaryPort || !secondaryPort || primary != "localhost:18443") {
            GTEST_SKIP() << "the patch and API hosts of this build are not the loopback defaults";
        }
        _host = processtest::startOnPorts(primaryPort, secondaryPort);
        ASSERT_TRUE(_host) << "the configured patch host ports stay taken";

        _gateway = "https://" + primary + "/g/gateway.json";
        _host->writeFile("g/gateway.json", R"({"Res": "https://)" + primary + R"(/r/list.json"})");
        _host->writeFile("r/list.json", R"({"sign":"pt1","xlist":[]})");
        _host->setFault("*", "/app_relogin.php",
                        R"({"status": 200, "body": "{\"code\":\"1000\",\"userid\":\"7\",\"sign\":\"s9\",)"
                        R"(\"timestamp\":\"99\",\"rt\":\"fresh\"}"})");
        _project.write("config.json", R"({"init_cfg": {"width": 640, "height": 360, "entry": "src/main.lua"}})");
        _project.write("fenk/gateway", _gateway + "\n");
        _project.write("fenk/ResSignSn", "pt1 100");
        _project.write("src/Platform.lua", kPlatform);
        _project.write("src/YornTools.lua", kYornTools);
        _project.write("src/main.lua", "GATEWAY = '" + _gateway + "'\n" + kMain);
        _data.write("writable/vexo_login.txt", "method=telegram\r\ntg_rt=tok+en/1\r\n");
    }

    std::unique_ptr<PatchHost> _host;
    std::string _gateway;
    testsupport::TempDir _project;
    testsupport::TempDir _data;
    testsupport::EnvOverride _dataHome{"XDG_DATA_HOME", _data.file("home")};
};

TEST_F(BridgeEndToEnd, ClipboardSilentReloginAndPrefetchedGateway) {
    testsupport::ClientProcess client({"-workdir", _project.path(), "-writable-path", _data.file("writable")},
                                      _data.file("run.txt"));
    ASSERT_TRUE(client.waitForOutput("[LUA-print] network: " + _gateway, 90s)) << client.output();
    // The silent re-login answers from its worker, beside the frames.
    EXPECT_TRUE(client.waitForOutput("[LUA-print] silent: ", 30s)) << client.output();
    const std::string out = client.output();
    const size_t clip = out.find("[LUA-print] clipboard: clip-xyz");
    const size_t silent = out.find("[LUA-print] silent: success|7|s9|99|7");
    const size_t prefetched = out.find("[LUA-print] gateway prefetched: https://localhost:18443/r/list.json");
    const size_t network = out.find("[LUA-print] network: " + _gateway);
    EXPECT_NE(clip, std::string::npos) << out;
    EXPECT_NE(silent, std::string::npos) << out;
    ASSERT_NE(prefetched, std::string::npos) << out;
    EXPECT_LT(prefetched, network);
    EXPECT_EQ(out.find("old platform"), std::string::npos) << out;
    EXPECT_EQ(out.find("gateway twice?"), std::string::npos) << out;
    EXPECT_EQ(out.find("gateway prefetched", out.find("gateway prefetched") + 1), std::string::npos) << "delivered once";
    EXPECT_EQ(client.terminate(), 0) << client.output();

    int relogins = 0;
    for (const auto& request : _host->requests()) {
        if (request.path != "/app_relogin.php") continue;
        ++relogins;
        EXPECT_EQ(request.method, "POST");
        EXPECT_EQ(request.body, "rt=tok%2Ben%2F1");
    }
    EXPECT_EQ(relogins, 1);
    const std::string file = testsupport::readFile(_data.file("writable/vexo_login.txt"));
    EXPECT_EQ(file.rfind("VEXODP1:", 0), 0u) << file;
    EXPECT_EQ(file.find("telegram"), std::string::npos);
    EXPECT_EQ(file.find("fresh"), std::string::npos);
}

}  // namespace
