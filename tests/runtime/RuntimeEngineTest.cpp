#include "runtime/RuntimeEngine.h"

#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/files/FileUtils.h"
#include "runtime/FileServer.h"
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
