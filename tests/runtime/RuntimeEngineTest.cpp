#include "runtime/RuntimeEngine.h"

#include <chrono>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Version.h"
#include "engine/files/FileUtils.h"
#include "host/config/DeviceInfo.h"
#include "runtime/FileServer.h"
#include "support/RawHttpServer.h"
#include "support/TestSupport.h"

using runtime::RuntimeEngine;
using testing::ElementsAre;

TEST(ReplaceAll, ReplacesEveryOccurrenceWithoutRescanning) {
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\a\\b\\", "\\", "/", "C:/a/b/"},
        {"aaa", "a", "aa", "aaaaaa"},
        {"abab", "ab", "", ""},
        {"xyz", "q", "r", "xyz"},
        {"xyz", "", "r", "xyz"},
        {"", "a", "b", ""},
        {"//a//", "//", "/", "/a/"},
    };
    for (const Case& tc : cases) {
        std::string text = tc.text;
        runtime::replaceAll(text, tc.from, tc.to);
        EXPECT_EQ(text, tc.expected) << tc.text << " " << tc.from << " -> " << tc.to;
    }
}

TEST(FileServer, WritePathIsInsideTheEngineWritableFolder) {
    engine::FileUtils::getInstance()->setWritablePath("/tmp/vexo w\\x");
    EXPECT_EQ(runtime::FileServer::getShareInstance()->getWritePath(), "/tmp/vexo w/x/debugruntime/");
}

class RuntimeEngineSearchPaths : public testing::Test {
protected:
    void SetUp() override {
        files->setWritablePath("/w");
        files->setSearchPaths({"/old1/", "/old2/", "/old1/"});
    }
    engine::FileUtils* files = engine::FileUtils::getInstance();
};

TEST_F(RuntimeEngineSearchPaths, WritePathAndProjectFolderGoInFront) {
    host::ProjectConfig config;
    config.setProjectDir("/game");
    config.setBindAddress("0.0.0.0");
    RuntimeEngine::getInstance()->setProjectConfig(config);

    EXPECT_THAT(files->getSearchPaths(),
                ElementsAre("/w/debugruntime/", "/game/", "/old1/", "/old2/", "/old1/"));
    EXPECT_EQ(RuntimeEngine::getProjectDirectory(), "/game/");
    EXPECT_EQ(RuntimeEngine::getInstance()->getProjectConfig().getBindAddress(), "0.0.0.0");
}

TEST_F(RuntimeEngineSearchPaths, ProjectFolderIsTakenAsGiven) {
    RuntimeEngine::getInstance()->updateConfigFile("/proj\\dir/");
    EXPECT_EQ(RuntimeEngine::getProjectDirectory(), "/proj\\dir/");
    EXPECT_THAT(files->getSearchPaths(),
                ElementsAre("/w/debugruntime/", "/proj\\dir/", "/old1/", "/old2/", "/old1/"));
}

TEST_F(RuntimeEngineSearchPaths, EmptyProjectFolderFallsBackToTheApplicationFolder) {
    RuntimeEngine::setHostHooks({[] { return std::string("/opt\\app"); }, nullptr});
    RuntimeEngine::getInstance()->updateConfigFile("");
    EXPECT_EQ(RuntimeEngine::getProjectDirectory(), "/opt/app/../../");
    EXPECT_THAT(files->getSearchPaths(),
                ElementsAre("/w/debugruntime/", "/opt/app/../../", "/old1/", "/old2/", "/old1/"));
}

TEST_F(RuntimeEngineSearchPaths, DefaultApplicationFolderIsTheExecutablesFolder) {
    char resolved[PATH_MAX];
    ASSERT_NE(realpath(VEXO_BINARY_DIR "/bin", resolved), nullptr);
    EXPECT_EQ(RuntimeEngine::getAbsoluteApplicationPath(), resolved);
    RuntimeEngine::getInstance()->updateConfigFile("");
    EXPECT_EQ(files->getSearchPaths()[1], std::string(resolved) + "/../../");
}

TEST(RuntimeEngine, HostHooksReachTheHost) {
    int closes = 0;
    RuntimeEngine::shutDownApp();   // no hook: nothing happens
    RuntimeEngine::setHostHooks({nullptr, [&] { ++closes; }});
    RuntimeEngine::shutDownApp();
    EXPECT_EQ(closes, 1);
}

namespace {
struct TrackedRuntime : runtime::RuntimeProtocol {
    explicit TrackedRuntime(bool* alive) : alive(alive) { *alive = true; }
    ~TrackedRuntime() override { *alive = false; }
    bool* alive;
};
}  // namespace

TEST(RuntimeEngine, SecondRuntimeOfATypeIsRefused) {
    testsupport::LogCapture log;
    bool first = false, second = false, studio = false;
    RuntimeEngine* engine = RuntimeEngine::getInstance();   // registers the scene-file runtime as type 4
    engine->addRuntime(std::make_unique<TrackedRuntime>(&first), 1);
    engine->addRuntime(std::make_unique<TrackedRuntime>(&second), 1);
    engine->addRuntime(std::make_unique<TrackedRuntime>(&studio), 4);
    EXPECT_THAT(log.lines(), ElementsAre("RuntimeEngine already has Runtime type 1.",
                                         "RuntimeEngine already has Runtime type 4."));
    EXPECT_TRUE(first);
    EXPECT_FALSE(second);
    EXPECT_FALSE(studio);
    EXPECT_EQ(engine->getRuntime(), nullptr);
}

TEST(RuntimeAnalytics, ClientIdIsTheGuidsHashInHex) {
    struct Case {
        const char* guid;
        const char* id;
    };
    const Case cases[] = {{"", "2cc5d05"}, {"abc", "32d153ff"}};
    for (const Case& c : cases) EXPECT_EQ(RuntimeEngine::analyticsClientId(c.guid), c.id) << c.guid;
}

TEST(RuntimeAnalytics, OnlyAnEnabledTrackerPostsTheEventForm) {
    testsupport::RawHttpServer collector("HTTP/1.1 204 No Content\r\nContent-Length: 0\r\n\r\n");
    ASSERT_TRUE(collector.listening());
    RuntimeEngine* runtime = RuntimeEngine::getInstance();
    runtime->setAnalyticsUrl(collector.url("/collect"));

    runtime->trackEvent("off");   // the program's default: nothing is sent
    testsupport::pumpMainThreadUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_TRUE(collector.requests().empty());

    runtime->setAnalyticsEnabled(true);
    runtime->trackEvent("lua");
    ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return !collector.requests().empty(); },
                                                 std::chrono::seconds(10)));
    testsupport::pumpMainThreadUntil([] { return false; }, std::chrono::milliseconds(300));
    engine::AutoreleasePool::getInstance()->clear();
    runtime->setAnalyticsEnabled(false);

    const std::vector<std::string> requests = collector.requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& raw = requests[0];
    EXPECT_EQ(raw.rfind("POST /collect HTTP/1.1\r\n", 0), 0u) << raw;
    const std::string cid = RuntimeEngine::analyticsClientId(host::DeviceInfo::getInstance()->getUserGUID());
    std::string version = engine::engineVersion();
    runtime::replaceAll(version, " ", "%20");
    const std::string body = "an=simulator&av=" + version + "&cid=" + cid +
                             "&ea=lua&ec=win&t=event&tid=UA-40718365-1&v=1&";
    EXPECT_EQ(raw.substr(raw.find("\r\n\r\n") + 4), body);
}
