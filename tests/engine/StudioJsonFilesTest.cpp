// The studio's JSON files read by the engine: timelines with event frames,
// armatures with their movements and frame events (played and loaded on a
// worker), builder node graphs, and layouts naming classes of the object
// factory. Refusals are whole-file with a log line naming why.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/builder/CCBReader.h"
#include "engine/builder/NodeLoaderLibrary.h"
#include "engine/scene/BlendNodes.h"
#include "engine/scene/ParticleSystem.h"
#include "engine/scene/Layer.h"
#include "engine/scene/MenuItemLabel.h"
#include "engine/scene/MenuItemToggle.h"
#include "engine/studio/ArmatureDataManager.h"
#include "engine/studio/GUIReader.h"
#include "engine/studio/ObjectFactory.h"
#include "engine/studio/timeline/ActionTimelineCache.h"
#include "engine/ui/Widget.h"
#include "support/TestSupport.h"

namespace {

using studio::timeline::ActionTimeline;
using studio::timeline::ActionTimelineCache;

struct Refusal {
    const char* text;
    const char* why;   // a part of the log line
};

class StudioJsonFilesTest : public ::testing::Test {
protected:
    void TearDown() override {
        engine::AutoreleasePool::getInstance()->clear();
        engine::Director::destroyInstance();
    }
};

TEST_F(StudioJsonFilesTest, TimelineRefusals) {
    const Refusal cases[] = {
        {"[]", "is not an object"},
        {"{}", "no 'duration'"},
        {R"({"duration": -1})", "'duration' is not a whole number"},
        {R"({"duration": 2.5})", "'duration' is not a whole number"},
        {R"({"duration": 10, "speed": -1})", "'speed' is not from 0"},
        {R"({"duration": 10, "tracks": {}})", "'tracks' is not an array"},
        {R"({"duration": 10, "tracks": [{"property": "Colour"}]})", "unknown property 'Colour'"},
        {R"({"duration": 10, "tracks": [{"property": "Position", "frames": [{"index": 0, "x": 1}]}]})", "no 'y'"},
        {R"({"duration": 10, "tracks": [{"property": "Rotation", "frames": [{"index": 11, "value": 1}]}]})",
         "'index' is not a whole number from 0 to 10"},
        {R"({"duration": 10, "tracks": [{"property": "Opacity",
            "frames": [{"index": 4, "value": 1}, {"index": 4, "value": 2}]}]})", "not in ascending order"},
        {R"({"duration": 10, "events": [{"index": 3}]})", "no 'name'"},
        {R"({"duration": 10, "events": [{"index": 3, "name": 7}]})", "'name' is not a string"},
        {R"({"duration": 10, "events": [{"index": 3, "name": "a", "target": []}]})", "'target' is not a string"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.text);
        testsupport::LogCapture log;
        EXPECT_EQ(ActionTimelineCache::getInstance()->timelineFromJsonText(c.text, "t.json"), nullptr);
        EXPECT_TRUE(log.contains(c.why)) << log.text();
    }
}

// Event frames fire when playing reaches them: at the start, passed by a step,
// and again after the wrap, in index order.
TEST_F(StudioJsonFilesTest, TimelineEventFramesInOrderAcrossTheWrap) {
    ActionTimeline* timeline = ActionTimelineCache::getInstance()->timelineFromJsonText(
        R"({"duration": 20, "events": [{"index": 12, "name": "b"}, {"index": 5, "target": "hand", "name": "a"},
                                        {"index": 12, "name": "c"}, {"index": 0, "name": "start"}],
            "tracks": [{"target": "hand", "property": "Position", "frames": [{"index": 0, "x": 0, "y": 0},
                                                                              {"index": 20, "x": 20, "y": 0}]}]})",
        "t.json");
    ASSERT_NE(timeline, nullptr);
    engine::Node* root = engine::Node::create();
    engine::Node* hand = engine::Node::create();
    hand->setName("hand");
    root->addChild(hand);
    std::vector<std::string> seen;
    timeline->setFrameEventCallFunc([&seen](studio::timeline::Frame* frame) {
        auto* event = dynamic_cast<studio::timeline::EventFrame*>(frame);
        seen.push_back(event->getEvent() + "@" + std::to_string(frame->getFrameIndex()) +
                       (frame->getNode() ? ":" + frame->getNode()->getName() : ""));
    });
    timeline->startWithTarget(root);
    timeline->gotoFrameAndPlay(0);
    const struct {
        float frames;   // advanced by this step
        const char* fired;
    } steps[] = {
        {0.f, "start@0:"},   // gotoFrameAndPlay itself
        {4.f, ""},
        {1.f, "a@5:hand"},
        {10.f, "b@12: c@12:"},
        {10.f, "start@0: a@5:hand"},   // 25 wraps to 5: from the start up to 5
        {0.f, ""},
    };
    bool first = true;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.fired);
        if (!first) {
            seen.clear();
            timeline->step(s.frames / ActionTimeline::kFramesPerSecond);
        }
        first = false;
        std::string text;
        for (const std::string& e : seen) text += (text.empty() ? "" : " ") + e;
        EXPECT_EQ(text, s.fired);
        seen.clear();
    }
    EXPECT_FLOAT_EQ(hand->getPosition().x, 5.f);
    // A clone has event frames of its own, found on its own target.
    ActionTimeline* copy = timeline->clone();
    ASSERT_EQ(copy->getEventFrames().size(), 4u);
    EXPECT_NE(copy->getEventFrames().at(0), timeline->getEventFrames().at(0));
}

TEST_F(StudioJsonFilesTest, ArmatureRefusals) {
    const Refusal cases[] = {
        {"{}", "'armatures' is not an array"},
        {R"({"armatures": [{"bones": []}]})", "no 'name'"},
        {R"({"armatures": [{"name": "a"}, {"name": "a"}]})", "two armatures named 'a'"},
        {R"({"armatures": [{"name": "a", "bones": [{"name": "arm", "parent": "body"}, {"name": "body"}]}]})",
         "names no earlier bone"},
        {R"({"armatures": [{"name": "a", "bones": [{"name": "b"}, {"name": "b"}]}]})", "two bones named 'b'"},
        {R"({"armatures": [{"name": "a", "movements": [{"name": "m", "duration": 0}]}]})",
         "'duration' is not a whole number"},
        {R"({"armatures": [{"name": "a", "movements": [{"name": "m", "duration": 5, "loop": 1}]}]})",
         "'loop' is not a boolean"},
        {R"({"armatures": [{"name": "a", "bones": [{"name": "b"}], "movements": [{"name": "m", "duration": 5,
            "frameEvents": [{"bone": "c", "frame": 1, "name": "e"}]}]}]})", "names no bone: 'c'"},
        {R"({"armatures": [{"name": "a", "bones": [{"name": "b"}], "movements": [{"name": "m", "duration": 5,
            "frameEvents": [{"bone": "b", "frame": 6, "name": "e"}]}]}]})", "'frame' is not a whole number from 0 to 5"},
        {R"({"armatures": [{"name": "a", "bones": [{"name": "b", "position": [1]}]}]})", "not a pair of numbers"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.text);
        testsupport::LogCapture log;
        EXPECT_FALSE(studio::ArmatureDataManager::getInstance()->addArmatureFromJsonText(c.text, "a.json"));
        EXPECT_TRUE(log.contains(c.why)) << log.text();
    }
}

TEST_F(StudioJsonFilesTest, ArmatureMovementEvents) {
    auto* manager = studio::ArmatureDataManager::getInstance();
    ASSERT_TRUE(manager->addArmatureFromJsonText(R"({"armatures": [{"name": "hero", "bones": [{"name": "arm"}],
        "movements": [{"name": "walk", "duration": 10,
                       "frameEvents": [{"bone": "arm", "frame": 10, "name": "end"}, {"bone": "arm", "frame": 2, "name": "two"}]},
                      {"name": "once", "duration": 4, "loop": false}]}]})",
                                                 "hero.json"));
    studio::Armature* armature = studio::Armature::create("hero");
    studio::ArmatureAnimation* animation = armature->getAnimation();
    std::vector<std::string> seen;
    animation->setMovementEventCallFunc([&](studio::Armature* a, studio::MovementEventType type, const std::string& id) {
        EXPECT_EQ(a, armature);
        seen.push_back(id + ":" + std::to_string(static_cast<int>(type)));
    });
    animation->setFrameEventCallFunc([&](studio::Bone* bone, const std::string& name, int origin, int current) {
        seen.push_back(bone->getName() + "." + name + "@" + std::to_string(origin) + "/" + std::to_string(current));
    });
    auto frames = [&](float count) {
        seen.clear();
        animation->update(count / studio::ArmatureDef::kFramesPerSecond);
        std::string text;
        for (const std::string& e : seen) text += (text.empty() ? "" : " ") + e;
        return text;
    };
    animation->play("walk");
    EXPECT_EQ(seen, std::vector<std::string>{"walk:0"});
    const struct {
        float frames;
        const char* events;
    } steps[] = {
        {2.f, "arm.two@2/2"},
        {8.f, "arm.end@10/10 walk:2"},       // the lap ends exactly at the duration
        // Events of a lap passed whole carry the lap's end as the current frame.
        {25.f, "arm.two@2/10 arm.end@10/10 walk:2 arm.two@2/10 arm.end@10/10 walk:2 arm.two@2/5"},
        {990.f, "arm.end@10/10 walk:2 arm.two@2/10 arm.end@10/10 walk:2 arm.two@2/5"},   // two laps at most
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.frames);
        EXPECT_EQ(frames(s.frames), s.events);
    }
    animation->play("once");
    EXPECT_EQ(frames(5.f), "once:1");
    EXPECT_FALSE(animation->isPlaying());
    EXPECT_EQ(frames(5.f), "");
    testsupport::LogCapture log;
    animation->play("run");
    EXPECT_TRUE(log.contains("has no movement 'run'"));
    EXPECT_EQ(animation->getCurrentMovementID(), "once");
}

// The target is held from the request to the last call; the percent comes on
// the main thread after each file.
TEST_F(StudioJsonFilesTest, AsynchronousLoadKeepsItsTarget) {
    testsupport::TempDir dir;
    const std::string config = dir.write("far.json", R"({"armatures": [{"name": "far"}]})");
    const std::string image = dir.write("far.png", "x");
    engine::Node* target = engine::Node::create();
    target->retain();
    engine::AutoreleasePool::getInstance()->clear();
    std::vector<float> percents;
    std::vector<unsigned> counts;
    studio::ArmatureDataManager::getInstance()->addArmatureFileInfoAsync(image, dir.file("none.plist"), config, target,
                                                                         [&](float percent) {
                                                                             percents.push_back(percent);
                                                                             counts.push_back(target->getReferenceCount());
                                                                         });
    EXPECT_EQ(target->getReferenceCount(), 2u);
    ASSERT_TRUE(testsupport::pumpMainThreadUntil(
        [] { return studio::ArmatureDataManager::getInstance()->pendingLoadCount() == 0; }, std::chrono::seconds(10)));
    ASSERT_EQ(percents.size(), 3u);
    EXPECT_NEAR(percents[0], 100.f / 3, 0.01);
    EXPECT_NEAR(percents[1], 200.f / 3, 0.01);
    EXPECT_EQ(percents[2], 100.f);
    EXPECT_EQ(counts, (std::vector<unsigned>{2, 2, 2}));
    EXPECT_EQ(target->getReferenceCount(), 1u);
    EXPECT_NE(studio::ArmatureDataManager::getInstance()->getArmatureDef("far"), nullptr);
    target->release();
}

TEST_F(StudioJsonFilesTest, BuilderGraphRefusals) {
    const Refusal cases[] = {
        {"{}", "no 'root'"},
        {R"({"root": {"type": "Window"}})", "unknown node type 'Window'"},
        {R"({"root": {"type": "Sprite", "callback": "onTap"}})", "a 'Sprite' takes no callback"},
        {R"({"root": {"type": "MenuItemFont", "callback": "onTap", "callbackTarget": "parent"}})",
         "unknown target 'parent'"},
        {R"({"root": {"type": "LayerColor", "color": [0, 0, 256, 0]}})", "not from 0 to 255"},
        {R"({"root": {"type": "MenuItemAtlasFont", "startChar": "ab"}})", "more than one character"},
        {R"({"root": {"type": "Node", "controlEvents": 512}})", "'controlEvents' is not a whole number from 1 to 511"},
        {R"({"root": {"type": "Node", "children": [{"type": "Node", "tag": 1.5}]}})", "'tag' is not a whole number"},
        {R"({"root": {"type": "Node"}, "sequences": [{"name": "s", "duration": 1,
            "callbacks": [{"time": 2, "name": "x"}]}]})", "outside its sequence"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.text);
        testsupport::LogCapture log;
        auto* reader = builder::CCBReader::create(builder::NodeLoaderLibrary::getInstance());
        EXPECT_EQ(reader->readNodeGraphFromText(c.text, "g.json", nullptr, engine::Size(10, 10)), nullptr);
        EXPECT_TRUE(log.contains(c.why)) << log.text();
    }
    // Nesting is bounded.
    std::string deep;
    for (int i = 0; i <= builder::CCBReader::kMaxDepth + 1; ++i) deep += R"({"type": "Node", "children": [)";
    for (int i = 0; i <= builder::CCBReader::kMaxDepth + 1; ++i) deep += "]}";
    testsupport::LogCapture log;
    auto* reader = builder::CCBReader::create(builder::NodeLoaderLibrary::getInstance());
    EXPECT_EQ(reader->readNodeGraphFromText(R"({"root": )" + deep + "}", "g.json", nullptr, engine::Size()), nullptr);
    EXPECT_TRUE(log.contains("nested too deeply"));
}

TEST_F(StudioJsonFilesTest, BuilderNodeTypes) {
    auto* reader = builder::CCBReader::create(builder::NodeLoaderLibrary::getInstance());
    engine::Node* root = reader->readNodeGraphFromText(R"({"root": {"type": "Node", "children": [
        {"type": "MenuItemToggle", "name": "t", "children": [{"type": "MenuItemFont", "text": "on"},
                                                            {"type": "MenuItemFont", "text": "off"}]},
        {"type": "MenuItemAtlasFont", "name": "a", "text": "42", "charMap": "digits.png", "itemWidth": 8,
         "itemHeight": 12, "startChar": "0"},
        {"type": "ParticleSystemQuad", "name": "p", "file": "fire.plist", "totalParticles": 50, "duration": 2},
        {"type": "ControlButton", "name": "c", "text": "OK", "callback": "onOk", "controlEvents": 32},
        {"type": "LayerGradient", "name": "g", "color": [1, 2, 3, 4], "endColor": [5, 6, 7, 8],
         "position": [3, 4], "size": [5, 6], "tag": 9, "visible": false}]}})",
                                                       "g.json", engine::Node::create(), engine::Size(10, 10));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(reader->getOwnerCallbackNames(), std::vector<std::string>{"onOk"});
    EXPECT_EQ(reader->getOwnerCallbackControlEvents(), std::vector<int>{32});
    EXPECT_EQ(root->getContentSize().width, 10.f);
    auto* toggle = dynamic_cast<engine::MenuItemToggle*>(root->getChildByName("t"));
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->getSubItems().size(), 2u);
    auto* atlas = dynamic_cast<engine::MenuItemAtlasFont*>(root->getChildByName("a"));
    ASSERT_NE(atlas, nullptr);
    EXPECT_EQ(atlas->getString(), "42");
    EXPECT_EQ(atlas->getCharMapFile() + std::to_string(atlas->getItemWidth()) + std::to_string(atlas->getItemHeight()) +
                  atlas->getStartChar(),
              "digits.png8120");
    auto* particles = dynamic_cast<engine::ParticleSystemQuad*>(root->getChildByName("p"));
    ASSERT_NE(particles, nullptr);
    EXPECT_EQ(particles->getFile(), "fire.plist");
    EXPECT_EQ(particles->getTotalParticles(), 50);
    EXPECT_EQ(particles->getDuration(), 2.f);
    engine::Node* gradient = root->getChildByName("g");
    ASSERT_NE(dynamic_cast<engine::LayerGradient*>(gradient), nullptr);
    EXPECT_EQ(gradient->getTag(), 9);
    EXPECT_FALSE(gradient->isVisible());
    EXPECT_EQ(gradient->getPosition(), engine::Vec2(3, 4));
    EXPECT_EQ(gradient->getContentSize(), engine::Size(5, 6));
}

// A layout's widget of a class the factory knows: its maker's widget, then the
// class's options callback with the options' JSON text; anything but a widget
// refuses the file.
TEST_F(StudioJsonFilesTest, LayoutClassesFromTheFactory) {
    auto* factory = studio::ObjectFactory::getInstance();
    auto* reader = studio::GUIReader::getInstance();
    std::string options;
    engine::Ref* keeper = engine::Node::create();
    reader->registerTypeAndCallBack("Dial", keeper,
                                    [&](const std::string& type, engine::Ref*, const std::string& text) {
                                        options += type + text + ";";
                                    });
    const struct {
        engine::Ref* (*make)();
        const char* layout;
        bool loads;
        const char* options;
        const char* why;
    } cases[] = {
        {[]() -> engine::Ref* { return engine::ui::Widget::create(); },
         R"({"type": "Dial", "options": {"max": 1e3, "name": "d\u00e9"}})", true, "Dial{\"max\":1000.0,\"name\":\"d\u00e9\"};", ""},
        {[]() -> engine::Ref* { return engine::ui::Widget::create(); }, R"({"type": "Dial"})", true, "Dial{};", ""},
        {[]() -> engine::Ref* { return engine::ui::Widget::create(); }, R"({"type": "Dial", "options": [1]})", false,
         "", "'options' is not an object"},
        {[]() -> engine::Ref* { return engine::Node::create(); }, R"({"type": "Dial"})", false, "",
         "made no widget"},
        {[]() -> engine::Ref* { return nullptr; }, R"({"type": "Dial"})", false, "", "made no widget"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        factory->registerType({"Dial", c.make}, this);
        options.clear();
        testsupport::LogCapture log;
        engine::ui::Widget* widget = reader->widgetFromJsonText(c.layout, "dial.json");
        EXPECT_EQ(widget != nullptr, c.loads);
        EXPECT_EQ(options, c.options);
        if (*c.why) {
            EXPECT_TRUE(log.contains(c.why)) << log.text();
        }
    }
    // Only the registration's own key removes it.
    factory->removeType("Dial", nullptr);
    EXPECT_TRUE(factory->hasType("Dial"));
    factory->removeType("Dial", this);
    EXPECT_FALSE(factory->hasType("Dial"));
    reader->registerTypeAndCallBack("Dial", nullptr, nullptr);
    EXPECT_EQ(reader->getParseObject("Dial"), nullptr);
}

}  // namespace

TEST_F(StudioJsonFilesTest, RemovingAConfigFileRemovesWhatItAdded) {
    auto* manager = studio::ArmatureDataManager::getInstance();
    ASSERT_TRUE(manager->addArmatureFromJsonText(R"({"armatures": [{"name": "a"}, {"name": "b"}]})", "one.json"));
    ASSERT_TRUE(manager->addArmatureFromJsonText(R"({"armatures": [{"name": "c"}]})", "two.json"));
    manager->removeArmatureFileInfo("elsewhere.json");   // never added: nothing goes
    manager->removeArmatureFileInfo("one.json");
    EXPECT_EQ(manager->getArmatureDef("a"), nullptr);
    EXPECT_EQ(manager->getArmatureDef("b"), nullptr);
    EXPECT_EQ(manager->getArmatureData("a"), nullptr);
    EXPECT_NE(manager->getArmatureDef("c"), nullptr);
    manager->removeArmatureFileInfo("two.json");
    EXPECT_EQ(manager->getArmatureDef("c"), nullptr);
}

TEST_F(StudioJsonFilesTest, ArmatureMovementsJumpPauseAndComplete) {
    auto* manager = studio::ArmatureDataManager::getInstance();
    ASSERT_TRUE(manager->addArmatureFromJsonText(R"({"armatures": [{"name": "hero", "bones": [{"name": "arm"}],
        "movements": [{"name": "walk", "duration": 10}, {"name": "once", "duration": 4, "loop": false}]}]})",
                                                 "hero.json"));
    const auto frames = [](float count) { return count / studio::ArmatureDef::kFramesPerSecond; };
    const struct {
        const char* what;
        std::function<void(studio::ArmatureAnimation*)> run;
        const char* movement;
        int frame;
        bool playing, complete;
    } cases[] = {
        {"by index", [&](auto* a) { a->playWithIndex(1); a->update(frames(2)); }, "once", 2, true, false},
        {"index out of range", [&](auto* a) { a->playWithIndex(2); }, "", 0, false, false},
        {"jump and play", [&](auto* a) { a->play("walk"); a->gotoAndPlay(6); a->update(frames(1)); }, "walk", 7, true,
         false},
        {"jump and pause", [&](auto* a) { a->play("walk"); a->gotoAndPause(99); a->update(frames(1)); }, "walk", 10,
         false, false},
        {"once completes", [&](auto* a) { a->play("once"); a->update(frames(5)); }, "once", 4, false, true},
        {"playing again clears it", [&](auto* a) { a->play("once"); a->update(frames(5)); a->play("once"); }, "once",
         0, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        studio::ArmatureAnimation* animation = studio::Armature::create("hero")->getAnimation();
        c.run(animation);
        EXPECT_EQ(animation->getCurrentMovementID(), c.movement);
        EXPECT_EQ(animation->getCurrentFrameIndex(), c.frame);
        EXPECT_EQ(animation->isPlaying(), c.playing);
        EXPECT_EQ(animation->isComplete(), c.complete);
    }
}
