// Studio scene files: the XML and binary readers, the timeline and the layout pass.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/files/FileUtils.h"
#include "engine/studio/CSLoader.h"
#include "engine/studio/SceneFile.pb.h"
#include "engine/studio/timeline/ActionTimelineCache.h"
#include "engine/ui/Button.h"
#include "engine/ui/Helper.h"
#include "engine/ui/LoadingBar.h"
#include "engine/ui/Text.h"
#include "support/TestSupport.h"

using engine::CSLoader;
using engine::Node;
using engine::Size;
using engine::Vec2;
using studio::timeline::ActionTimeline;

namespace {

const std::string kScenes = std::string(VEXO_BINARY_DIR) + "/tests/scenes/";
const std::string kSceneXml = std::string(VEXO_SOURCE_DIR) + "/tests/engine/scenes/scene.csd";

// One line per node, depth-first: kind, name, position, size, visibility, and what
// the kind carries (text, percent, layout rule).
void describe(const Node* node, int depth, std::ostringstream& out) {
    out << std::string(static_cast<size_t>(depth) * 2, ' ');
    if (auto* text = dynamic_cast<const engine::ui::Text*>(node)) {
        out << "Text '" << text->getString() << "' " << text->getFontSize();
    } else if (auto* button = dynamic_cast<const engine::ui::Button*>(node)) {
        out << "Button '" << button->getTitleText() << "'";
    } else if (auto* bar = dynamic_cast<const engine::ui::LoadingBar*>(node)) {
        out << "LoadingBar " << bar->getPercent();
    } else if (dynamic_cast<const engine::ui::Widget*>(node)) {
        out << "Widget anchor " << node->getAnchorPoint().x << "," << node->getAnchorPoint().y;
    } else {
        out << "Node";
    }
    out << " " << node->getName() << " at " << node->getPosition().x << "," << node->getPosition().y << " size "
        << node->getContentSize().width << "x" << node->getContentSize().height << (node->isVisible() ? "" : " hidden");
    if (auto* widget = dynamic_cast<const engine::ui::Widget*>(node)) {
        const engine::ui::LayoutRule& rule = widget->getLayoutRule();
        if (rule.percentPosition) out << " at% " << rule.percentPosition->x << "," << rule.percentPosition->y;
        if (rule.percentSize) out << " size% " << rule.percentSize->width << "x" << rule.percentSize->height;
    }
    out << "\n";
    for (const Node* child : node->getChildren()) describe(child, depth + 1, out);
}

std::string describe(const Node* node) {
    if (!node) return "(none)";
    std::ostringstream out;
    describe(node, 0, out);
    return out.str();
}

struct SceneFileTest : ::testing::Test {
    testsupport::TempDir dir;
    std::vector<std::string> savedPaths = engine::FileUtils::getInstance()->getSearchPaths();
    SceneFileTest() { engine::FileUtils::getInstance()->setSearchPaths({dir.path()}); }
    ~SceneFileTest() override {
        engine::AutoreleasePool::getInstance()->clear();
        engine::FileUtils::getInstance()->setSearchPaths(savedPaths);
    }
};

// `levels` nodes, each the only child of the one before.
std::string nestedXml(int levels) {
    std::string xml = R"(<Node Type="Node"/>)";
    for (int i = 1; i < levels; ++i) xml = R"(<Node Type="Node">)" + xml + "</Node>";
    return "<SceneFile>" + xml + "</SceneFile>";
}

std::string nestedBinary(int levels) {
    studio::csb::SceneFile file;
    studio::csb::Node* node = file.mutable_root();
    node->set_type("Node");
    for (int i = 1; i < levels; ++i) {
        node = node->add_children();
        node->set_type("Node");
    }
    return file.SerializeAsString();
}

struct ReadCase {
    std::string what, input;
    bool read;
};

// Each input gives a tree or not as the case says; a refusal logs a line naming the file.
void expectReadWhole(const std::vector<ReadCase>& cases, Node* (CSLoader::*read)(std::string_view, const std::string&),
                     const std::string& source) {
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::LogCapture log;
        Node* node = (CSLoader::getInstance()->*read)(c.input, source);
        EXPECT_EQ(node != nullptr, c.read);
        if (!c.read) {
            EXPECT_TRUE(log.contains("CSLoader: " + source + ": ")) << log.text();
        }
    }
}

}  // namespace

TEST_F(SceneFileTest, BothFormsOfAFileGiveTheSameTree) {
    const std::string expected =
        "Node root at 5,6 size 0x0\n"
        "  Widget anchor 0,0 panel at 0,0 size 100x50 at% 0.5,0.5 size% 0.5x0.25\n"
        "    Text 'Hello' 24 title at 0,0 size 60x24 at% 0.5,1\n"
        "    Button 'Play' play at 0,0 size 0x0 hidden\n"
        "  LoadingBar 40 bar at 1,2 size 0x0\n";
    CSLoader* loader = CSLoader::getInstance();
    const std::string xml = testsupport::readFile(kSceneXml);
    ASSERT_FALSE(xml.empty());
    dir.write("ui/scene.csd", xml);
    EXPECT_EQ(describe(loader->createNodeWithFlatBuffersForSimulator("ui/scene.csd")), expected);

    const std::string binary = testsupport::readFile(kScenes + "scene.csb");
    ASSERT_FALSE(binary.empty());
    dir.write("ui/scene.csb", binary);
    EXPECT_EQ(describe(loader->createNode("ui/scene.csb")), expected);
}

TEST_F(SceneFileTest, XmlFileThatCannotBeReadWholeGivesNoNode) {
    const std::string good = R"(<Node Type="Node"/>)";
    const std::vector<ReadCase> cases = {
        {"smallest file", "<SceneFile>" + good + "</SceneFile>", true},
        {"property group and comments", "<SceneFile><PropertyGroup Type=\"Layer\" Any=\"x\"/><!-- c -->" + good + "</SceneFile>", true},
        {"nesting at the limit", nestedXml(CSLoader::kMaxDepth + 1), true},
        {"nesting past the limit", nestedXml(CSLoader::kMaxDepth + 2), false},
        {"nesting past the XML parser's limit", nestedXml(200), false},
        {"empty", "", false},
        {"not XML", "scene <", false},
        {"cut short", "<SceneFile><Node Type=\"Node\">", false},
        {"other root", "<GameFile>" + good + "</GameFile>", false},
        {"no tree", "<SceneFile><PropertyGroup Type=\"Node\"/></SceneFile>", false},
        {"two trees", "<SceneFile>" + good + good + "</SceneFile>", false},
        {"unknown element", "<SceneFile>" + good + "<Sprite/></SceneFile>", false},
        {"unknown child element", R"(<SceneFile><Node Type="Node"><Child/></Node></SceneFile>)", false},
        {"unknown attribute", R"(<SceneFile><Node Type="Node" Colour="red"/></SceneFile>)", false},
        {"no type", R"(<SceneFile><Node Name="a"/></SceneFile>)", false},
        {"unknown type", R"(<SceneFile><Node Type="Sprite"/></SceneFile>)", false},
        {"half a pair", R"(<SceneFile><Node Type="Node" X="1"/></SceneFile>)", false},
        {"half a layout pair", R"(<SceneFile><Node Type="Widget" PercentWidth="1"/></SceneFile>)", false},
        {"trailing text in a number", R"(<SceneFile><Node Type="Node" X="1px" Y="2"/></SceneFile>)", false},
        {"blank number", R"(<SceneFile><Node Type="Text" FontSize=""/></SceneFile>)", false},
        {"not a number", R"(<SceneFile><Node Type="Node" X="nan" Y="2"/></SceneFile>)", false},
        {"infinite number", R"(<SceneFile><Node Type="Node" X="inf" Y="2"/></SceneFile>)", false},
        {"number beyond float", R"(<SceneFile><Node Type="LoadingBar" Percent="1e39"/></SceneFile>)", false},
        {"visibility not a boolean", R"(<SceneFile><Node Type="Node" Visible="yes"/></SceneFile>)", false},
    };
    expectReadWhole(cases, &CSLoader::nodeFromXml, "a.csd");
    EXPECT_EQ(CSLoader::getInstance()->createNodeWithFlatBuffersForSimulator("missing.csd"), nullptr);
}

TEST_F(SceneFileTest, BinaryFileThatCannotBeReadWholeGivesNoNode) {
    std::vector<ReadCase> cases = {
        {"nesting at the limit", nestedBinary(CSLoader::kMaxDepth + 1), true},
        {"nesting past the limit", nestedBinary(CSLoader::kMaxDepth + 2), false},
        {"nesting past the decoder's limit", nestedBinary(150), false},
        {"empty", "", false},
        {"not a message", "\xff\xff\xff\xff", false},
        {"an XML file", testsupport::readFile(kSceneXml), false},
    };
    for (const char* name : {"missing_type", "unknown_type", "half_pair", "infinite_number", "nan_position"}) {
        cases.push_back({name, testsupport::readFile(kScenes + name + ".csb"), false});
        ASSERT_FALSE(cases.back().input.empty()) << name;
    }
    // Every proper prefix of a good file is refused.
    const std::string good = testsupport::readFile(kScenes + "scene.csb");
    for (size_t size = 0; size < good.size(); ++size) {
        cases.push_back({"prefix of " + std::to_string(size) + " bytes", good.substr(0, size), false});
    }
    expectReadWhole(cases, &CSLoader::nodeFromBinary, "a.csb");
    EXPECT_EQ(CSLoader::getInstance()->createNode("missing.csb"), nullptr);
}

TEST_F(SceneFileTest, TimelineComesOnlyFromAFileReadWhole) {
    const std::string tree = R"(<Node Type="Node"/>)";
    auto file = [&](const std::string& timeline) { return "<SceneFile>" + tree + timeline + "</SceneFile>"; };
    struct Case {
        std::string what, xml;
        bool timeline;
    };
    const Case cases[] = {
        {"good", file(R"(<Timeline Duration="10"><Track Property="Opacity"><Frame Index="0" Value="0"/>)"
                      R"(<Frame Index="10" Value="255"/></Track></Timeline>)"),
         true},
        {"without a timeline", file(""), false},
        {"a bad tree", R"(<SceneFile><Node/><Timeline Duration="10"/></SceneFile>)", false},
        {"two timelines", file(R"(<Timeline Duration="1"/><Timeline Duration="1"/>)"), false},
        {"no duration", file("<Timeline/>"), false},
        {"negative duration", file(R"(<Timeline Duration="-1"/>)"), false},
        {"negative speed", file(R"(<Timeline Duration="1" Speed="-1"/>)"), false},
        {"unknown property", file(R"(<Timeline Duration="1"><Track Property="Colour"/></Timeline>)"), false},
        {"no property", file(R"(<Timeline Duration="1"><Track Target="a"/></Timeline>)"), false},
        {"frame past the end", file(R"(<Timeline Duration="5"><Track Property="Rotation"><Frame Index="6" Value="1"/></Track></Timeline>)"), false},
        {"frames out of order", file(R"(<Timeline Duration="5"><Track Property="Rotation"><Frame Index="2" Value="1"/>)"
                                     R"(<Frame Index="2" Value="2"/></Track></Timeline>)"),
         false},
        {"frame without its value", file(R"(<Timeline Duration="5"><Track Property="Position"><Frame Index="1" X="1"/></Track></Timeline>)"), false},
        {"opacity out of range", file(R"(<Timeline Duration="5"><Track Property="Opacity"><Frame Index="1" Value="256"/></Track></Timeline>)"), false},
        {"visibility not a boolean", file(R"(<Timeline Duration="5"><Track Property="Visible"><Frame Index="1" Value="1"/></Track></Timeline>)"), false},
        {"unknown element", file(R"(<Timeline Duration="5"><Key/></Timeline>)"), false},
    };
    auto* cache = studio::timeline::ActionTimelineCache::getInstance();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("t.csd", c.xml);
        ActionTimeline* timeline = cache->createActionWithFlatBuffersForSimulator("t.csd");
        EXPECT_EQ(timeline != nullptr, c.timeline);
        if (timeline) {
            EXPECT_FALSE(timeline->isPlaying());
        }
    }
    EXPECT_EQ(cache->createActionWithFlatBuffersForSimulator("missing.csd"), nullptr);
}

TEST_F(SceneFileTest, TimelinePlaysItsTracksFromTheStartFrameAndLoops) {
    const std::string xml = R"(<SceneFile><Node Type="Node" Name="root"><Node Type="Node" Name="ship"/></Node>
        <Timeline Duration="60" Speed="2">
          <Track Target="ship" Property="Position"><Frame Index="10" X="0" Y="0"/><Frame Index="50" X="100" Y="-40"/></Track>
          <Track Property="Visible"><Frame Index="0" Value="true"/><Frame Index="30" Value="false"/></Track>
          <Track Target="gone" Property="Rotation"><Frame Index="0" Value="90"/></Track>
        </Timeline></SceneFile>)";
    dir.write("t.csd", xml);
    Node* root = CSLoader::getInstance()->createNodeWithFlatBuffersForSimulator("t.csd");
    ASSERT_NE(root, nullptr);
    Node* ship = root->getChildByName("ship");
    ActionTimeline* timeline = studio::timeline::ActionTimelineCache::getInstance()->createActionWithFlatBuffersForSimulator("t.csd");
    ASSERT_NE(timeline, nullptr);
    timeline->retain();
    timeline->startWithTarget(root);
    timeline->step(0.5f);   // not playing yet: nothing moves
    EXPECT_EQ(ship->getPosition(), Vec2(0, 0));
    EXPECT_EQ(timeline->getCurrentFrame(), 0.f);

    ship->setPosition(7, 7);
    timeline->gotoFrameAndPlay(0);   // frame 0 shows at once: before the first keyframe
    EXPECT_EQ(ship->getPosition(), Vec2(0, 0));
    EXPECT_TRUE(root->isVisible());

    // Speed 2: 120 frames a second. Each step is 1/12 s = 10 frames.
    struct Step {
        float frame;
        Vec2 position;
        bool visible;
    };
    const Step steps[] = {
        {10, {0, 0}, true},      {20, {25, -10}, true},  {30, {50, -20}, false}, {40, {75, -30}, false},
        {50, {100, -40}, false}, {60, {100, -40}, false},   // after the last keyframe: held
        {10, {0, 0}, true},                                 // past the end: back to the start frame
    };
    for (const Step& s : steps) {
        timeline->step(1.f / 12);
        EXPECT_NEAR(timeline->getCurrentFrame(), s.frame, 1e-3);
        EXPECT_NEAR(ship->getPositionX(), s.position.x, 1e-3) << s.frame;
        EXPECT_NEAR(ship->getPositionY(), s.position.y, 1e-3) << s.frame;
        EXPECT_EQ(root->isVisible(), s.visible) << s.frame;
    }

    // Started later in the file, the loop goes back to that frame; a node taken
    // out of the tree is no longer moved.
    timeline->gotoFrameAndPlay(40);
    EXPECT_NEAR(ship->getPositionX(), 75, 1e-3);
    timeline->step(25.f / 120);
    EXPECT_NEAR(timeline->getCurrentFrame(), 45, 1e-3);
    ship->retain();
    root->removeChild(ship);
    timeline->step(1.f / 12);
    EXPECT_NEAR(ship->getPositionX(), 87.5, 1e-3);
    ship->release();
    EXPECT_FALSE(timeline->isDone());
    timeline->gotoFrameAndPlay(1000);   // clamped to the last frame
    EXPECT_EQ(timeline->getCurrentFrame(), 60.f);
    timeline->stop();
    timeline->release();
}

TEST_F(SceneFileTest, DoLayoutPlacesWidgetsByTheirRulesParentsFirst) {
    const std::string xml = R"(<SceneFile><Node Type="Node" Name="root" X="3" Y="4" Width="1" Height="1">
        <Node Type="Layout" Name="panel" PercentX="0.25" PercentY="0.5" PercentWidth="0.5" PercentHeight="0.5">
          <Node Type="Widget" Name="corner" X="9" Y="9" PercentX="1" PercentY="1"/>
          <Node Type="Widget" Name="fixed" X="9" Y="9" Width="2" Height="2"/>
          <Node Type="Node" Name="plain">
            <Node Type="Widget" Name="inner" PercentWidth="0.1" PercentHeight="2"/>
          </Node>
        </Node>
      </Node></SceneFile>)";
    Node* root = CSLoader::getInstance()->nodeFromXml(xml, "layout.csd");
    ASSERT_NE(root, nullptr);
    root->setContentSize(Size(960, 640));
    engine::ui::Helper::doLayout(root);
    Node* panel = root->getChildByName("panel");
    Node* plain = panel->getChildByName("plain");
    plain->setContentSize(Size(50, 10));
    engine::ui::Helper::doLayout(root);

    struct Expect {
        Node* node;
        Vec2 position;
        Size size;
    };
    const Expect expected[] = {
        {root, {3, 4}, {960, 640}},                          // the root keeps its place
        {panel, {240, 320}, {480, 320}},                     // from the root's size
        {panel->getChildByName("corner"), {480, 320}, {0, 0}},   // from the panel's new size
        {panel->getChildByName("fixed"), {9, 9}, {2, 2}},        // no rule
        {plain->getChildByName("inner"), {0, 0}, {5, 20}},       // through a plain node
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.node->getName());
        EXPECT_EQ(e.node->getPosition(), e.position);
        EXPECT_EQ(e.node->getContentSize(), e.size);
    }
    engine::ui::Helper::doLayout(nullptr);
}
