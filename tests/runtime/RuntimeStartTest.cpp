// The runtime engine's choice of runtime, the entry hand-over, the design
// resolution, and both roads of start() with end().
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RuntimeTestSupport.h"
#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/console/Console.h"
#include "engine/files/FileUtils.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/GLRecorder.h"
#include "engine/scene/Scene.h"
#include "host/config/ConfigFileReader.h"
#include "platform/Socket.h"
#include "runtime/ConnectWaitLayer.h"
#include <iterator>
#include <cmath>
#include "runtime/VisibleRect.h"
#include "engine/scene/Sprite.h"
#include "engine/renderer/TextureCache.h"
#include "engine/label/Label.h"
#include "engine/base/Version.h"
#include "runtime/FileServer.h"
#include "runtime/RuntimeCCSImpl.h"
#include "runtime/RuntimeEngine.h"
#include "support/TestSupport.h"

using host::ConfigFileReader;
using runtime::RuntimeEngine;
using testing::ElementsAre;
using namespace std::chrono_literals;

namespace {

host::ProjectConfig project(const std::string& dir, const std::string& script) {
    host::ProjectConfig config;
    config.setProjectDir(dir);
    config.setScriptFile(script);
    return config;
}

}  // namespace

TEST(RuntimeSetup, ChoosesTheRuntimeByTheEntrysExtension) {
    RuntimeEngine* engine = RuntimeEngine::getInstance();
    runtime::RuntimeProtocol* studio = nullptr;
    struct Case {
        const char* entry;
        const char* launchEvent;
        bool studioRuntime;   // otherwise no runtime
    };
    const Case cases[] = {
        {"a.csd.bak", "ccs", true},
        {"notes.txt", "ccs", true},      // no known extension: nothing changes
        {"main.luac", "lua", false},     // type 1 is not registered
        {"scene.csb", "ccs", true},
        {"app.js.lua", "lua", false},    // ".lua" is tested first
        {"app.jsc", "js", false},
        {"readme", "js", false},
    };
    EXPECT_EQ(engine->getLaunchEvent(), "empty");
    for (const Case& tc : cases) {
        engine->setProjectConfig(project("/p/", std::string("/p/") + tc.entry));
        engine->setupRuntime();
        EXPECT_EQ(ConfigFileReader::getInstance()->getEntryFile(), tc.entry);
        EXPECT_EQ(engine->getLaunchEvent(), tc.launchEvent) << tc.entry;
        if (tc.studioRuntime) {
            ASSERT_NE(engine->getRuntime(), nullptr) << tc.entry;
            if (!studio) studio = engine->getRuntime();
            EXPECT_EQ(engine->getRuntime(), studio);
        } else {
            EXPECT_EQ(engine->getRuntime(), nullptr) << tc.entry;
        }
    }
}

TEST(RuntimeSetup, HandsTheProjectRelativeEntryAndTheBindAddressToTheReader) {
    struct Case {
        const char* projectDir;
        const char* script;
        const char* entry;
    };
    const Case cases[] = {
        {"/proj/", "/proj/src/main.lua", "src/main.lua"},
        {"/proj/", "/proj/src\\ui\\a.csb", "src/ui/a.csb"},
        // The project folder is cut only where the entry begins with it.
        {"/proj/", "/other/proj/x.lua", "/other/proj/x.lua"},
        {"/proj/", "", ""},
    };
    for (const Case& tc : cases) {
        host::ProjectConfig config = project(tc.projectDir, tc.script);
        config.setBindAddress("10.1.2.3");
        RuntimeEngine::getInstance()->setProjectConfig(config);
        RuntimeEngine::getInstance()->setupRuntime();
        EXPECT_EQ(ConfigFileReader::getInstance()->getEntryFile(), tc.entry) << tc.script;
        EXPECT_EQ(ConfigFileReader::getInstance()->getBindAddress(), "10.1.2.3");
    }
}

TEST(RuntimeSetup, DesignResolutionFollowsTheOrientation) {
    testsupport::TempDir dir;
    engine::Director* director = engine::Director::getInstance();
    director->setOpenGLView(engine::GLViewImpl::createWithRect("t", engine::Rect(0, 0, 960, 640)));
    struct Case {
        const char* landscape;
        engine::Size initial;
        engine::Size design;
    };
    const Case cases[] = {
        {"true", {960, 640}, {960, 640}},
        {"false", {960, 640}, {640, 960}},
        {"false", {640, 960}, {960, 640}},   // swapped whatever the ratio
    };
    for (const Case& tc : cases) {
        ConfigFileReader::purge();
        ConfigFileReader* reader = ConfigFileReader::getInstance();
        reader->readConfig(dir.write("config.json", std::string(R"({"init_cfg":{"isLandscape":)") + tc.landscape + "}}"));
        reader->setInitViewSize(tc.initial);
        RuntimeEngine::getInstance()->resetDesignResolution();
        engine::GLView* view = director->getOpenGLView();
        EXPECT_EQ(view->getDesignResolutionSize(), tc.design) << tc.landscape << " " << tc.initial.width;
        EXPECT_EQ(view->getResolutionPolicy(), engine::ResolutionPolicy::EXACT_FIT);
    }
    engine::Director::destroyInstance();
}

namespace {

// A project in a temporary folder whose config.json names free console and upload ports.
class RuntimeStart : public testing::Test {
protected:
    void SetUp() override {
        files->setWritablePath(dir.file("w"));
        consolePort = runtimetest::freePort();
        uploadPort = runtimetest::freePort();
        dir.write("proj/config.json", R"({"init_cfg":{"consolePort":)" + std::to_string(consolePort) +
                                          R"(,"uploadPort":)" + std::to_string(uploadPort) + "}}");
        dir.write("proj/src/scene.csb", "csb");
        files->setSearchPaths({dir.file("proj")});
        engine::Director::getInstance()->setOpenGLView(
            engine::GLViewImpl::createWithRect("t", engine::Rect(0, 0, 960, 640)));
        runtime::RuntimeCCSImpl::setLoaders({[this](const std::string& file) {
                                                 loaded.push_back(file);
                                                 return engine::Node::create();
                                             },
                                             nullptr, nullptr, nullptr});
    }
    void TearDown() override {
        runtime::RuntimeCCSImpl::setLoaders({});
        engine::Director::destroyInstance();
    }

    testsupport::TempDir dir;
    engine::FileUtils* files = engine::FileUtils::getInstance();
    int consolePort = 0, uploadPort = 0;
    std::vector<std::string> loaded;
};

}  // namespace

TEST_F(RuntimeStart, WithoutDebuggerTheEntryStartsAtOnce) {
    host::ProjectConfig config = project(dir.file("proj"), dir.file("proj/src/scene.csb"));
    config.parseCommandLine({"vexo", "-search-path", dir.file("extra1") + ";" + dir.file("extra2")});
    RuntimeEngine* engine = RuntimeEngine::getInstance();
    engine->setProjectConfig(config);
    const std::string w = files->getWritablePath() + "debugruntime/";
    const std::string proj = dir.file("proj") + "/";
    EXPECT_THAT(files->getSearchPaths(), ElementsAre(w, proj, proj));

    engine->start();
    EXPECT_THAT(files->getSearchPaths(),
                ElementsAre(w, proj, proj, proj + "src/", proj, dir.file("extra1/"), dir.file("extra2/")));
    EXPECT_THAT(loaded, ElementsAre("src/scene.csb"));
    EXPECT_EQ(engine->getLaunchEvent(), "ccs");
    EXPECT_FALSE(engine::Director::getInstance()->getConsole()->isListening());
    EXPECT_EQ(runtime::FileServer::getShareInstance()->getListenPort(), 0);
}

TEST_F(RuntimeStart, WithADebuggerTheNetworkOpensOnLoopbackAndEndClosesIt) {
    host::ProjectConfig config = project(dir.file("proj"), dir.file("proj/src/scene.csb"));
    config.setDebuggerType(host::ProjectConfig::kDebuggerCodeIde);
    RuntimeEngine* engine = RuntimeEngine::getInstance();
    engine->setProjectConfig(config);
    engine->setupRuntime();
    ASSERT_NE(engine->getRuntime(), nullptr);
    engine->start();

    EXPECT_TRUE(loaded.empty());   // the entry waits for the debugger
    engine::Console* console = engine::Director::getInstance()->getConsole();
    EXPECT_EQ(console->getListenPort(), consolePort);
    EXPECT_EQ(runtime::FileServer::getShareInstance()->getListenPort(), uploadPort);
    engine::Director* director = engine::Director::getInstance();
    director->mainLoop(1.f / 60);
    ASSERT_NE(director->getRunningScene(), nullptr);
    ASSERT_EQ(director->getRunningScene()->getChildrenCount(), 1u);
    auto* wait = dynamic_cast<runtime::ConnectWaitLayer*>(director->getRunningScene()->getChildren()[0]);
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(wait->getStatusText(), "waiting for debugger to connect ...");
    EXPECT_EQ(runtime::ConnectWaitLayer::addressText(), "IP: 127.0.0.1");

    // The status line follows the file being received.
    int client = platform::connectTcp("127.0.0.1", uploadPort);
    ASSERT_GE(client, 0);
    std::string frame = runtimetest::partFrame(runtimetest::partMessage("res/a.png", 1, 3), "png");
    ASSERT_TRUE(platform::sendAll(client, frame.data(), frame.size()));
    EXPECT_TRUE(testsupport::pumpMainThreadUntil([&] { return wait->getStatusText() == "res/a.png"; }, 5s));
    platform::closeSocket(client);

    // Play starts the entry, which replaces the wait screen: only a touch pressed
    // and released over the button does (the 960x640 view shows 1280x800 design
    // points, so the button at (902, 400) is at view point (676.5, 320)).
    engine::GLView* view = director->getOpenGLView();
    view->handleTouchBegin(0, 5, 5);
    view->handleTouchEnd(0, 676.5f, 320);
    view->handleTouchBegin(0, 676.5f, 320);
    view->handleTouchEnd(0, 5, 5);
    director->mainLoop(1.f / 60);
    EXPECT_TRUE(loaded.empty());
    EXPECT_EQ(wait->getPlaySprite()->getNumberOfRunningActions(), 1u);   // the press shrank it
    view->handleTouchBegin(0, 676.5f, 320);
    view->handleTouchEnd(0, 680, 322);
    director->mainLoop(1.f / 60);
    EXPECT_THAT(loaded, ElementsAre("src/scene.csb"));
    ASSERT_EQ(director->getRunningScene()->getChildrenCount(), 1u);
    EXPECT_EQ(dynamic_cast<runtime::ConnectWaitLayer*>(director->getRunningScene()->getChildren()[0]), nullptr);

    engine->end();
    EXPECT_EQ(engine->getRuntime(), nullptr);
    EXPECT_FALSE(console->isListening());
    EXPECT_EQ(runtime::FileServer::getShareInstance()->getListenPort(), 0);
    EXPECT_EQ(platform::connectTcp("127.0.0.1", uploadPort), -1);
    // The reader was forgotten: a fresh one no longer has the handed-over entry.
    EXPECT_NE(ConfigFileReader::getInstance()->getEntryFile(), "src/scene.csb");
    engine->setupRuntime();
    EXPECT_EQ(engine->getRuntime(), nullptr);   // the runtimes are gone
}

TEST(ConnectWaitLayer, LaysOutItsPicturesAndLabelsAndPulsesTheShine) {
    testsupport::TempDir dir;
    engine::Director* director = engine::Director::getInstance();
    director->setOpenGLView(engine::GLViewImpl::createWithRect("t", engine::Rect(0, 0, 960, 640)));
    struct Case {
        const char* landscape;
        engine::Size background;
        engine::Vec2 button;
    };
    const Case cases[] = {
        {"true", {1280, 800}, {902, 400}},
        {"false", {800, 1280}, {400, 500}},
    };
    for (const Case& tc : cases) {
        ConfigFileReader::purge();
        engine::TextureCache::getInstance()->removeAllTextures();
        ConfigFileReader::getInstance()->readConfig(
            dir.write("config.json", std::string(R"({"init_cfg":{"isLandscape":)") + tc.landscape + "}}"));
        auto* layer = runtime::ConnectWaitLayer::create();
        auto* scene = engine::Scene::create();
        scene->addChild(layer);
        director->runWithScene(scene);
        director->mainLoop(0.f);
        const engine::Rect visible = runtime::VisibleRect::getVisibleRect();

        EXPECT_EQ(layer->getBackgroundSprite()->getContentSize(), tc.background) << tc.landscape;
        EXPECT_EQ(layer->getBackgroundSprite()->getPosition(), runtime::VisibleRect::center());
        EXPECT_EQ(layer->getBackgroundSprite()->getLocalZOrder(), 9000);
        EXPECT_EQ(layer->getPlaySprite()->getContentSize(), engine::Size(452, 544));
        EXPECT_EQ(layer->getPlaySprite()->getPosition(), tc.button);
        EXPECT_EQ(layer->getShineSprite()->getPosition(), tc.button);
        EXPECT_EQ(layer->getPlaySprite()->getLocalZOrder(), 9999);
        EXPECT_EQ(layer->getShineSprite()->getLocalZOrder(), 9998);

        engine::Label* address = layer->getAddressLabel();
        EXPECT_EQ(address->getString(), runtime::ConnectWaitLayer::addressText());
        EXPECT_EQ(address->getSystemFontSize(), 72.f);
        EXPECT_EQ(address->getPosition(), engine::Vec2(visible.origin.x + 72, visible.origin.y + visible.size.height - 200));
        engine::Label* version = layer->getVersionLabel();
        EXPECT_EQ(version->getString(), std::string("runtimeVersion:2.0 \nengineVersion:") + engine::engineVersion());
        EXPECT_EQ(version->getSystemFontSize(), 24.f);
        EXPECT_FLOAT_EQ(version->getPosition().x + std::trunc(version->getBoundingBox().size.width),
                        visible.origin.x + visible.size.width);
        engine::Label* status = layer->getStatusLabel();
        EXPECT_EQ(status->getString(), "waiting for debugger to connect ...");
        EXPECT_EQ(status->getPosition(), engine::Vec2(address->getPosition().x, address->getPosition().y - 72));
        EXPECT_EQ(status->getLocalZOrder(), 9003);

        // The shine: hidden, then 0.4 s wait, 0.8 s each to 200, 255, 200 and 0, 0.4 s
        // wait, and again. Frames of 0.2 s from here; the action's clock starts at the
        // first of them.
        engine::Sprite* shine = layer->getShineSprite();
        const int expected[] = {0,   0,   0,   0,   50,  100, 150, 200, 214, 228, 241, 255, 241,
                                228, 214, 200, 150, 100, 50,  0,   0,   0,   0,   0,   50};
        for (size_t i = 0; i < std::size(expected); ++i) {
            EXPECT_NEAR(shine->getOpacity(), expected[i], 1) << tc.landscape << " at " << 0.2 * static_cast<double>(i) << " s";
            director->mainLoop(0.2f);
        }
        director->replaceScene(engine::Scene::create());
        director->mainLoop(0.f);
    }
    engine::Director::destroyInstance();
}

TEST(ConnectWaitLayer, DesignResolutionFollowsTheOrientation) {
    testsupport::TempDir dir;
    engine::Director* director = engine::Director::getInstance();
    director->setOpenGLView(engine::GLViewImpl::createWithRect("t", engine::Rect(0, 0, 960, 640)));
    struct Case {
        const char* landscape;
        engine::Size design;
        engine::ResolutionPolicy policy;
    };
    const Case cases[] = {
        {"true", {1280, 800}, engine::ResolutionPolicy::EXACT_FIT},
        {"false", {800, 1280}, engine::ResolutionPolicy::FIXED_HEIGHT},
    };
    for (const Case& tc : cases) {
        ConfigFileReader::purge();
        ConfigFileReader::getInstance()->readConfig(
            dir.write("config.json", std::string(R"({"init_cfg":{"isLandscape":)") + tc.landscape + "}}"));
        runtime::ConnectWaitLayer::create();
        EXPECT_EQ(director->getOpenGLView()->getResolutionPolicy(), tc.policy) << tc.landscape;
        if (tc.policy == engine::ResolutionPolicy::EXACT_FIT) {
            EXPECT_EQ(director->getOpenGLView()->getDesignResolutionSize(), tc.design);
        } else {
            // Fixed height keeps the height; the width follows the frame's ratio.
            EXPECT_EQ(director->getOpenGLView()->getDesignResolutionSize().height, tc.design.height);
        }
    }
    engine::Director::destroyInstance();
}

// Drawn, the screen is its nodes in z order, each its own texture: the
// background over the whole 1280 x 800 design area, the three labels, the shine
// and the play button.
TEST(ConnectWaitLayer, DrawsItsPicturesAndLabelsInZOrder) {
    testsupport::TempDir dir;
    engine::GLRecorder gl;
    engine::Director* director = engine::Director::getInstance();
    director->setOpenGLView(engine::GLViewImpl::createWithRect("t", engine::Rect(0, 0, 960, 640)));
    ConfigFileReader::purge();
    engine::TextureCache::getInstance()->removeAllTextures();
    ConfigFileReader::getInstance()->readConfig(dir.write("config.json", R"({"init_cfg":{"isLandscape":true}})"));
    auto* layer = runtime::ConnectWaitLayer::create();
    auto* scene = engine::Scene::create();
    scene->addChild(layer);
    director->runWithScene(scene);
    gl.clear();
    engine::GL::invalidateStateCache();
    director->mainLoop(0.f);

    std::vector<GLuint> bound;   // the texture of each draw
    GLuint texture = 0;
    const engine::GLRecordedCall* background = nullptr;
    for (const engine::GLRecordedCall& call : gl.calls()) {
        if (call.name == "glBindTexture") texture = static_cast<GLuint>(call.args[1]);
        if (call.name != "glDrawElements") continue;
        bound.push_back(texture);
        if (!background) background = &call;
    }
    auto nameOf = [](engine::Texture2D* t) { return t ? t->getName() : GLuint{0}; };
    EXPECT_THAT(bound, ElementsAre(nameOf(layer->getBackgroundSprite()->getTexture()),
                                   nameOf(layer->getAddressLabel()->getTexture()),
                                   nameOf(layer->getVersionLabel()->getTexture()),
                                   nameOf(layer->getStatusLabel()->getTexture()),
                                   nameOf(layer->getShineSprite()->getTexture()),
                                   nameOf(layer->getPlaySprite()->getTexture())));
    EXPECT_EQ(std::set<GLuint>(bound.begin(), bound.end()).size(), 6u);
    EXPECT_EQ(std::count(bound.begin(), bound.end(), GLuint{0}), 0);
    ASSERT_NE(background, nullptr);
    const engine::GLRecordedArray* positions = background->array(0);
    ASSERT_EQ(positions->vertexCount(), 4u);
    EXPECT_EQ(positions->floatAt(0, 0), 0.f);
    EXPECT_EQ(positions->floatAt(0, 1), 0.f);
    EXPECT_EQ(positions->floatAt(3, 0), 1280.f);
    EXPECT_EQ(positions->floatAt(3, 1), 800.f);
    director->replaceScene(engine::Scene::create());
    director->mainLoop(0.f);
    engine::Director::destroyInstance();
    engine::GLProgramCache::destroyInstance();
}
