#include "runtime/RuntimeCCSImpl.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/files/FileUtils.h"
#include "engine/scene/Scene.h"
#include "host/config/ConfigFileReader.h"
#include "support/TestSupport.h"

using runtime::RuntimeCCSImpl;
using testing::ElementsAre;

namespace {
const std::string kScenes = std::string(VEXO_BINARY_DIR) + "/tests/scenes/";
}  // namespace

namespace {

const std::string kDashes(48, '-');

// A director with a 960x640 view, and scene-file loaders that make a plain node
// for files whose name does not contain "broken".
class SceneFileRuntime : public testing::Test {
protected:
    void SetUp() override {
        director = engine::Director::getInstance();
        view = engine::GLViewImpl::createWithRect("t", engine::Rect(0, 0, 960, 640));
        director->setOpenGLView(view);
        view->setDesignResolutionSize(960, 640, engine::ResolutionPolicy::SHOW_ALL);
        auto make = [this](const std::string& file) -> engine::Node* {
            loaded.push_back(file);
            if (file.find("broken") != std::string::npos) return nullptr;
            engine::Node* node = engine::Node::create();
            node->setPosition(3, 4);
            return node;
        };
        RuntimeCCSImpl::setLoaders({make, make,
                                    [this](engine::Node*, const std::string& file) { timelines.push_back(file); },
                                    [this](engine::Node* node) { laidOut.push_back(node); }});
        engine::FileUtils::getInstance()->setSearchPaths({dir.path()});
        engine::FileUtils::getInstance()->setPopupNotify(false);
    }
    void TearDown() override {
        RuntimeCCSImpl::setLoaders({});
        engine::Director::destroyInstance();
    }
    // The node the running scene shows after the next frame; nullptr without one.
    engine::Node* shown() {
        director->mainLoop(1.f / 60);
        engine::Scene* scene = director->getRunningScene();
        return scene && scene->getChildrenCount() == 1 ? scene->getChildren()[0] : nullptr;
    }

    testsupport::TempDir dir;
    engine::Director* director = nullptr;
    engine::GLViewImpl* view = nullptr;
    std::vector<std::string> loaded, timelines;
    std::vector<engine::Node*> laidOut;
    RuntimeCCSImpl runtime;
};

}  // namespace

TEST(RuntimeProtocol, DefaultsLogThatTheyAreNotSupported) {
    testsupport::LogCapture log;
    runtime::RuntimeProtocol protocol;
    rapidjson::Document request, reply;
    protocol.end();
    protocol.startScript("x");
    protocol.onStartDebuger(request, reply);
    protocol.onClearCompile(request, reply);
    protocol.onPrecompile(request, reply);
    protocol.onReload(request, reply);
    protocol.onRemove("x");
    EXPECT_THAT(log.lines(), ElementsAre("RuntimeProtocol::startScript: NOT SUPPRT",
                                         "RuntimeProtocol::onStartDebuger: NOT SUPPRT",
                                         "RuntimeProtocol::onClearCompile: NOT SUPPRT",
                                         "RuntimeProtocol::onPrecompile: NOT SUPPRT",
                                         "RuntimeProtocol::onReload: NOT SUPPRT"));
}

TEST_F(SceneFileRuntime, EntryChoiceAndLoadLines) {
    const std::vector<std::string> csd = {kDashes, "LOAD Studio FILE (.csd): x.csd.csb", kDashes};
    const std::vector<std::string> csb = {"\n" + kDashes + "\n", "[WARNING]: using **SUITABLE** Studio generate csb file!!",
                                          "LOAD Studio FILE (.csb): a.csb", "\n" + kDashes + "\n"};
    struct Case {
        const char* argument;
        const char* entryFile;
        std::vector<std::string> lines;
        std::vector<std::string> loaded;
    };
    const Case cases[] = {
        {"x.csd.csb", "", csd, {"x.csd.csb"}},
        {"a.csb", "", csb, {"a.csb"}},
        {"", "a.csb", csb, {"a.csb"}},
        {"main.lua", "", {}, {}},
        {"", "", {}, {}},
    };
    for (const Case& tc : cases) {
        host::ConfigFileReader::getInstance()->setEntryFile(tc.entryFile);
        loaded.clear();
        testsupport::LogCapture log;
        runtime.startScript(tc.argument);
        EXPECT_EQ(log.lines(), tc.lines) << tc.argument;
        EXPECT_EQ(loaded, tc.loaded) << tc.argument;
    }
}

TEST_F(SceneFileRuntime, LoadedNodeFillsTheVisibleAreaAndBecomesTheScene) {
    runtime.startScript("ui/main.csb");
    engine::Node* node = shown();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->getContentSize(), engine::Size(960, 640));
    EXPECT_THAT(laidOut, ElementsAre(node));
    EXPECT_TRUE(timelines.empty());   // only ".csd" files run their timeline

    // A second start replaces the running scene; a file that gives no node keeps it.
    engine::Scene* first = director->getRunningScene();
    dir.write("next.csd", "<GameFile/>");
    runtime.startScript("next.csd");
    EXPECT_NE(shown(), node);
    EXPECT_NE(director->getRunningScene(), first);
    EXPECT_THAT(timelines, ElementsAre("next.csd"));
    engine::Scene* second = director->getRunningScene();
    runtime.startScript("broken.csd");
    runtime.startScript("broken.csb");
    shown();
    EXPECT_EQ(director->getRunningScene(), second);
}

TEST_F(SceneFileRuntime, CsdWithANodeOrSkeletonPropertyGroupIsCentred) {
    struct Case {
        const char* xml;
        bool centred;
    };
    const Case cases[] = {
        {R"(<GameFile><PropertyGroup Type="Node" Name="a"/><Content/></GameFile>)", true},
        {R"(<GameFile><PropertyGroup Type="Skeleton"/></GameFile>)", true},
        {R"(<GameFile><PropertyGroup Type="Layer"/></GameFile>)", false},
        {R"(<GameFile><PropertyGroup Name="a" Type="Node"/></GameFile>)", false},
        {R"(<GameFile><PropertyGroup/></GameFile>)", false},
        {R"(<GameFile><Content/><PropertyGroup Type="Node"/></GameFile>)", false},
        {R"(<GameFile><propertygroup Type="Node"/></GameFile>)", false},
        {R"(<PropertyGroup Type="Node"/>)", false},
        {"not xml at all <", false},
        {"", false},
    };
    for (const Case& tc : cases) {
        dir.write("scene.csd", tc.xml);
        runtime.startScript("scene.csd");
        engine::Node* node = shown();
        ASSERT_NE(node, nullptr) << tc.xml;
        EXPECT_EQ(node->getPosition(), tc.centred ? engine::Vec2(480, 320) : engine::Vec2(3, 4)) << tc.xml;
    }
}

namespace {

// The same director, with the engine's own scene-file readers.
class EngineSceneFiles : public SceneFileRuntime {
protected:
    void SetUp() override {
        SceneFileRuntime::SetUp();
        RuntimeCCSImpl::setLoaders({});
    }
};

}  // namespace

TEST_F(EngineSceneFiles, GoodFilesBecomeTheSceneAndBadOnesKeepIt) {
    const std::string tree = R"(<Node Type="Node" Name="root" X="3" Y="4"><Node Type="Text" Text="hi"/></Node>)";
    auto csd = [&](const std::string& group) { return "<SceneFile>" + group + tree + "</SceneFile>"; };
    struct Case {
        const char* file;
        std::string content;
        bool shown;
        engine::Vec2 position;
    };
    const Case cases[] = {
        {"node.csd", csd(R"(<PropertyGroup Type="Node" Name="main"/>)"), true, {480, 320}},
        {"skeleton.csd", csd(R"(<PropertyGroup Type="Skeleton"/>)"), true, {480, 320}},
        {"layer.csd", csd(R"(<PropertyGroup Type="Layer"/>)"), true, {3, 4}},
        {"second.csd", csd(R"(<PropertyGroup Name="main" Type="Node"/>)"), true, {3, 4}},
        {"plain.csd", csd(""), true, {3, 4}},
        {"later.csd", "<SceneFile>" + tree + R"(<PropertyGroup Type="Node"/></SceneFile>)", true, {3, 4}},
        {"scene.csb", testsupport::readFile(kScenes + "scene.csb"), true, {5, 6}},
        {"type.csd", R"(<SceneFile><PropertyGroup Type="Node"/><Node Type="Sprite"/></SceneFile>)", false, {}},
        {"cut.csd", csd(R"(<PropertyGroup Type="Node"/>)").substr(0, 60), false, {}},
        {"text.csb", "not a scene", false, {}},
        {"no_type.csb", testsupport::readFile(kScenes + "missing_type.csb"), false, {}},
        {"an_xml.csb", csd(""), false, {}},
        {"absent.csd", "", false, {}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.file);
        if (std::string(tc.file) != "absent.csd") dir.write(tc.file, tc.content);
        engine::Scene* before = director->getRunningScene();
        runtime.startScript(tc.file);
        engine::Node* node = shown();
        if (!tc.shown) {
            EXPECT_EQ(director->getRunningScene(), before);
            continue;
        }
        ASSERT_NE(node, nullptr);
        EXPECT_NE(director->getRunningScene(), before);
        EXPECT_EQ(node->getName(), "root");
        EXPECT_EQ(node->getPosition(), tc.position);
        EXPECT_EQ(node->getContentSize(), engine::Size(960, 640));
    }
}

TEST_F(EngineSceneFiles, CsdIsLaidOutForTheVisibleSizeAndPlaysItsTimeline) {
    dir.write("scene.csd", testsupport::readFile(std::string(VEXO_SOURCE_DIR) + "/tests/engine/scenes/scene.csd"));
    runtime.startScript("scene.csd");
    engine::Node* root = shown();
    ASSERT_NE(root, nullptr);
    engine::Node* panel = root->getChildByName("panel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getPosition(), engine::Vec2(480, 320));
    EXPECT_EQ(panel->getContentSize(), engine::Size(480, 160));
    EXPECT_EQ(panel->getChildByName("title")->getPosition(), engine::Vec2(240, 160));

    // The bar moves from (0, 0) at frame 0 to (120, 60) at frame 60, then starts again.
    engine::Node* bar = root->getChildByName("bar");
    const float start = bar->getPositionX();
    EXPECT_LT(start, 4.f);
    for (int i = 0; i < 30; ++i) director->mainLoop(1.f / 60);
    EXPECT_NEAR(bar->getPositionX() - start, 60.f, 0.5f);
    EXPECT_NEAR(bar->getPositionY() * 2, bar->getPositionX(), 0.5f);
    for (int i = 0; i < 40; ++i) director->mainLoop(1.f / 60);
    EXPECT_LT(bar->getPositionX(), 60.f);
}

TEST_F(EngineSceneFiles, UploadedFilesComeBeforeTheProjectsOwn) {
    const std::string upload = dir.file("upload"), project = dir.file("project");
    engine::FileUtils::getInstance()->setSearchPaths({upload, project});
    const std::string good = testsupport::readFile(kScenes + "scene.csb");
    struct Case {
        const char* file;
        std::string uploaded, projects;
        const char* name;
    };
    const Case cases[] = {
        {"a.csd", R"(<SceneFile><Node Type="Node" Name="uploaded"/></SceneFile>)",
         R"(<SceneFile><Node Type="Node" Name="project"/></SceneFile>)", "uploaded"},
        {"b.csb", good, "not a scene", "root"},
        {"c.csd", "", R"(<SceneFile><Node Type="Node" Name="project"/></SceneFile>)", "project"},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.file);
        if (!tc.uploaded.empty()) dir.write(std::string("upload/") + tc.file, tc.uploaded);
        dir.write(std::string("project/") + tc.file, tc.projects);
        runtime.startScript(tc.file);
        engine::Node* node = shown();
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->getName(), tc.name);
    }
}
