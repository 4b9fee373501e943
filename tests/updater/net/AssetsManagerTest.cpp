// The assets manager against the local patch host: the version check, the
// package download and its unpacking into the storage folder, and each error.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine/base/Director.h"
#include "engine/files/FileUtils.h"
#include "engine/network/HttpClient.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"
#include "support/ZipMaker.h"
#include "updater/AssetsManager.h"

namespace {

using engine::extension::AssetsManager;
using testsupport::PatchHost;
using namespace std::chrono_literals;

struct Recorder : engine::extension::AssetsManagerDelegateProtocol {
    std::vector<std::string> heard;
    bool done = false;
    void onError(int code) override {
        heard.push_back("error" + std::to_string(code));
        done = true;
    }
    void onProgress(int percent) override { heard.push_back(std::to_string(percent)); }
    void onSuccess() override {
        heard.push_back("success");
        done = true;
    }
};

class AssetsManagerTest : public ::testing::Test {
protected:
    void SetUp() override { engine::Director::getInstance(); }
    void TearDown() override {
        engine::network::HttpClient::destroyInstance();
        engine::Director::destroyInstance();
    }
    // Runs update (or checkUpdate) and waits for its last report.
    static std::vector<std::string> run(AssetsManager* manager, bool update) {
        Recorder recorder;
        manager->setDelegate(&recorder);
        update ? manager->update() : manager->checkUpdate();
        testsupport::pumpMainThreadUntil([&] { return recorder.done || (!update && !manager->isBusy()); }, 10000ms);
        manager->setDelegate(nullptr);
        return recorder.heard;
    }
};

TEST_F(AssetsManagerTest, UpdatesTheStorageFolderOrReportsWhyNot) {
    PatchHost host;
    ASSERT_TRUE(host.ready()) << host.error();
    host.writeFile("v/version", "2");
    host.writeFile("v/good.zip", testsupport::zipBytes({{"a.txt", "A"}, {"sub/b.txt", "B"}}));
    host.writeFile("v/broken.zip", "not a zip");
    host.writeFile("v/escape.zip", testsupport::zipBytes({{"../outside.txt", "x"}}));
    const int port = host.primaryPort();
    const std::string version = PatchHost::url(port, "/v/version");
    testsupport::TempDir dir;
    engine::FileUtils* files = engine::FileUtils::getInstance();
    files->writeStringToFile("a file", dir.path() + "/plain");
    struct Case {
        const char* name;
        std::string versionUrl;
        std::string package;     // path on the host
        std::string storage;     // below the temporary folder
        std::vector<std::string> heard;
        const char* recorded;    // the version afterwards
    } cases[] = {
        {"no version file", PatchHost::url(port, "/v/none"), "/v/good.zip", "/s1", {"error1"}, ""},
        {"refused", PatchHost::url(PatchHost::closedPort(), "/v/version"), "/v/good.zip", "/s1", {"error1"}, ""},
        {"no package", version, "/v/none.zip", "/s1", {"0", "error1"}, ""},
        {"broken package", version, "/v/broken.zip", "/s1", {"0", "100", "error3"}, ""},
        {"package leaving the folder", version, "/v/escape.zip", "/s2/in", {"0", "100", "error3"}, ""},
        {"storage under a file", version, "/v/good.zip", "/plain/s", {"0", "error0"}, ""},
        {"update", version, "/v/good.zip", "/s1", {"0", "100", "success"}, "2"},
        {"no new version", version, "/v/good.zip", "/s1", {"error2"}, "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* manager = AssetsManager::create(PatchHost::url(port, c.package), c.versionUrl, dir.path() + c.storage);
        manager->retain();
        EXPECT_EQ(run(manager, true), c.heard);
        EXPECT_EQ(manager->getVersion(), c.recorded);
        EXPECT_FALSE(manager->isBusy());
        EXPECT_FALSE(files->isFileExist(dir.path() + c.storage + "/" + AssetsManager::kPackageFile));
        manager->release();
    }
    EXPECT_EQ(files->getStringFromFile(dir.path() + "/s1/sub/b.txt"), "B");
    EXPECT_FALSE(files->isFileExist(dir.path() + "/s2/outside.txt"));
    // checkUpdate only looks: a new version is noted, nothing is fetched.
    auto* manager = AssetsManager::create(PatchHost::url(port, "/v/good.zip"), version, dir.path() + "/s3");
    manager->retain();
    EXPECT_EQ(run(manager, false), std::vector<std::string>{});
    EXPECT_TRUE(manager->isNewVersionFound());
    EXPECT_FALSE(files->isFileExist(dir.path() + "/s3/a.txt"));
    manager->release();
}

}  // namespace
