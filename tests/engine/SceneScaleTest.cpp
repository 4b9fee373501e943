// Scene files at the sizes hostile or careless files reach: wide trees load, and
// timelines over big trees play, in about linear time; a timeline's tracks follow
// the tree as it changes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/scene/Node.h"
#include "engine/studio/CSLoader.h"
#include "engine/studio/GUIReader.h"
#include "engine/studio/SceneFile.pb.h"
#include "support/CpuTime.h"
#include "engine/studio/timeline/ActionTimeline.h"

using engine::Node;
using engine::Vec2;
using studio::timeline::ActionTimeline;
using studio::timeline::Keyframe;
using studio::timeline::TimelineProperty;
using studio::timeline::TimelineTrack;

namespace {

// Processor time of this thread, generous for a sanitizer build; the quadratic
// readers and the per-frame tree walks took tens of seconds (far more under the
// sanitizers).
constexpr double kBoundSeconds = 5.0;

double secondsFor(const std::function<void()>& work) { return testsupport::cpuSecondsFor(work); }

struct SceneScaleTest : ::testing::Test {
    ~SceneScaleTest() override { engine::AutoreleasePool::getInstance()->clear(); }
};

TEST_F(SceneScaleTest, WideFilesLoadInAboutLinearTime) {
    constexpr size_t kNodes = 100000;    // the binary form: about 800 KB
    constexpr size_t kTexts = 60000;     // the layout form: about 1 MB
    studio::csb::SceneFile binary;
    binary.mutable_root()->set_type("Node");
    for (size_t i = 0; i < kNodes; ++i) binary.mutable_root()->add_children()->set_type("Node");
    std::string xml = R"(<SceneFile><Node Type="Node">)";
    for (size_t i = 0; i < kNodes; ++i) xml += R"(<Node Type="Node"/>)";
    xml += "</Node></SceneFile>";
    std::string json = R"({"type": "Layout", "children": [)";
    for (size_t i = 0; i < kTexts; ++i) json += std::string(i ? "," : "") + R"({"type": "Text"})";
    json += "]}";

    struct Case {
        const char* what;
        size_t children;
        std::function<Node*()> read;
    };
    const std::string bytes = binary.SerializeAsString();
    const Case cases[] = {
        {"binary scene file", kNodes, [&] { return engine::CSLoader::getInstance()->nodeFromBinary(bytes, "wide.csb"); }},
        {"XML scene file", kNodes, [&] { return engine::CSLoader::getInstance()->nodeFromXml(xml, "wide.csd"); }},
        {"widget tree", kTexts, [&] { return studio::GUIReader::getInstance()->widgetFromJsonText(json, "wide.json"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Node* tree = nullptr;
        const double seconds = secondsFor([&] { tree = c.read(); });
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(tree->getChildrenCount(), c.children);
        EXPECT_LT(seconds, kBoundSeconds);
        engine::AutoreleasePool::getInstance()->clear();
    }
}

TEST_F(SceneScaleTest, TimelineOverABigTreeFindsItsNodesOnce) {
    // 26,000 nodes: 26 groups of 999 leaves; 6,000 tracks on the last leaves of the
    // walk, each moving its node to (its number, frame).
    constexpr int kGroups = 26, kLeaves = 999, kTracks = 6000;
    Node* root = Node::create();
    std::vector<Node*> leaves;
    for (int g = 0; g < kGroups; ++g) {
        Node* group = Node::create();
        root->addChild(group);
        for (int l = 0; l < kLeaves; ++l) {
            Node* leaf = Node::create();
            leaf->setName("n" + std::to_string(leaves.size()));
            group->addChild(leaf);
            leaves.push_back(leaf);
        }
    }
    std::vector<TimelineTrack> tracks;
    for (size_t i = leaves.size() - kTracks; i < leaves.size(); ++i) {
        const float x = static_cast<float>(i);
        tracks.push_back({"n" + std::to_string(i), TimelineProperty::Position, {{0, x, 0.f}, {600, x, 600.f}}});
    }
    ActionTimeline* timeline = ActionTimeline::create(600, 1.f, std::move(tracks));
    timeline->retain();
    timeline->startWithTarget(root);
    const double seconds = secondsFor([&] {
        timeline->gotoFrameAndPlay(0);
        for (int frame = 0; frame < 120; ++frame) timeline->step(1.f / 60);
    });
    EXPECT_LT(seconds, kBoundSeconds);
    EXPECT_EQ(leaves.back()->getPosition(), Vec2(static_cast<float>(leaves.size() - 1), 120.f));
    EXPECT_EQ(leaves[leaves.size() - kTracks]->getPositionX(), static_cast<float>(leaves.size() - kTracks));
    EXPECT_EQ(leaves.front()->getPosition(), Vec2(0, 0));
    timeline->stop();
    timeline->release();
}

TEST_F(SceneScaleTest, TimelineTracksFollowTheTreeAsItChanges) {
    // A track moves the first node named "ship" in a depth-first walk to (5, 5).
    struct Tree {
        Node* root = Node::create();
        Node* ship = Node::create();
        Node* box = Node::create();
        Node* inBox = Node::create();
        Tree() {
            ship->setName("ship");
            inBox->setName("cargo");
            root->addChild(ship);
            root->addChild(box, 1);
            box->addChild(inBox);
        }
    };
    struct Case {
        const char* what;
        std::function<Node*(Tree&)> change;   // answers the node that moves now (nullptr: none)
    };
    const Case cases[] = {
        {"nothing changed", [](Tree& t) { return t.ship; }},
        {"the node is renamed", [](Tree& t) { t.ship->setName("boat"); return static_cast<Node*>(nullptr); }},
        {"a later node takes the name", [](Tree& t) { t.ship->setName("boat"); t.inBox->setName("ship"); return t.inBox; }},
        {"a node joins before it",
         [](Tree& t) {
             Node* first = Node::create();
             first->setName("ship");
             t.root->addChild(first, -1);
             return first;
         }},
        {"siblings are reordered", [](Tree& t) { t.inBox->setName("ship"); t.ship->setLocalZOrder(2); return t.inBox; }},
        {"the node leaves", [](Tree& t) { t.root->removeChild(t.ship, false); return static_cast<Node*>(nullptr); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Tree tree;
        tree.ship->retain();
        ActionTimeline* timeline =
            ActionTimeline::create(10, 1.f, {{"ship", TimelineProperty::Position, {Keyframe{0, 5.f, 5.f}}}});
        timeline->retain();
        timeline->startWithTarget(tree.root);
        timeline->gotoFrameAndPlay(0);
        ASSERT_EQ(tree.ship->getPosition(), Vec2(5, 5));
        tree.ship->setPosition(0, 0);
        Node* moves = c.change(tree);
        timeline->step(1.f / 60);
        for (Node* node : {tree.ship, tree.box, tree.inBox}) {
            EXPECT_EQ(node->getPosition(), node == moves ? Vec2(5, 5) : Vec2(0, 0));
        }
        if (moves) {
            EXPECT_EQ(moves->getPosition(), Vec2(5, 5));
        }
        timeline->stop();
        timeline->release();
        tree.ship->release();
        engine::AutoreleasePool::getInstance()->clear();
    }
}

}  // namespace
