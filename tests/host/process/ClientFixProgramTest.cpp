// The whole program on the fixture project of the game's stand-in modules: the
// client fixes are installed before the game's entry script, and its support
// request reaches the portal (the local patch host on the build's portal address).
#include <chrono>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "ConfiguredPatchHost.h"
#include "engine/base/UserDefaultFile.h"
#include "support/ClientProcess.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"

using namespace std::chrono_literals;
using testsupport::PatchHost;

namespace {

TEST(ClientFixProgram, InstallsTheFixesAndPostsSupportToThePortal) {
    const std::string primary = VEXO_TEST_PATCH_PRIMARY;
    const int primaryPort = processtest::loopbackPort(primary);
    const int secondaryPort = processtest::loopbackPort(VEXO_TEST_PATCH_SECONDARY);
    if (!primaryPort || !secondaryPort || primary != "localhost:18443") {
        GTEST_SKIP() << "the portal of this build is not the loopback default";
    }
    std::unique_ptr<PatchHost> host = processtest::startOnPorts(primaryPort, secondaryPort);
    ASSERT_TRUE(host) << "the configured patch host ports stay taken";
    host->setFault("*", "/account/gamepay_url.php",
                   R"({"status": 200, "body": "{\"status\":0,\"url\":\"https://localhost:18443/sso/login.php?data=q\"}"})");

    testsupport::TempDir data;
    testsupport::EnvOverride dataHome{"XDG_DATA_HOME", data.file("home")};
    testsupport::ClientProcess client({"-workdir", VEXO_SOURCE_DIR "/tests/host/fixtures/game", "-writable-path",
                                       data.file("writable")},
                                      data.file("run.txt"));
    ASSERT_TRUE(client.waitForOutput("CLIENT_FIX support link received", 90s)) << client.output();
    const std::string out = client.output();
    const size_t installed = out.find("[VEXOClientFix] support UI and guarded Store1011 updater installed");
    ASSERT_NE(installed, std::string::npos) << out;
    EXPECT_LT(installed, out.find("fixture BanerView.ctor")) << "installed before the game's scripts run";
    EXPECT_NE(out.find("fixture showWaiting false"), std::string::npos) << out;
    EXPECT_EQ(out.find(" failed: "), std::string::npos) << "every patch and button applied: " << out;
    EXPECT_EQ(client.terminate(), 0) << client.output();
    const std::string settings = testsupport::readFile(data.file("writable/UserDefault.xml"));
    engine::UserDefaultValues saved;
    EXPECT_TRUE(engine::readUserDefaultXml(settings, &saved).ok) << settings;
    EXPECT_EQ(saved.count("vexo_native_support_role_p 1_4"), 1u) << settings;

    int posts = 0;
    for (const PatchHost::Request& request : host->requests()) {
        if (request.path != "/account/gamepay_url.php") continue;
        ++posts;
        EXPECT_EQ(request.method, "POST");
        EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded");
        EXPECT_EQ(request.body, "uid=p%201&sign=sig&server=4&roleId=77&roleName=Mai&roleLevel=9");
    }
    EXPECT_EQ(posts, 1);
}

}  // namespace
