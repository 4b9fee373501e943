// The studio's objects beside the files: armature data records made from a read
// armature, a bone's displays, keyframe player and contours, timelines of
// frames, skeletons of bone nodes with skins, the components of scene objects,
// and the older UI actions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "engine/scene/Scene.h"
#include "engine/studio/ActionManagerEx.h"
#include "engine/studio/Armature.h"
#include "engine/studio/ArmatureDataManager.h"
#include "engine/studio/ArmatureParts.h"
#include "engine/studio/DataRecords.h"
#include "engine/studio/StudioComponents.h"
#include "engine/studio/timeline/BoneNode.h"
#include "engine/studio/timeline/TimelineFrames.h"
#include "support/TestSupport.h"

namespace {

using namespace studio;
using namespace studio::timeline;

class StudioObjectsTest : public ::testing::Test {
protected:
    void TearDown() override {
        ActionManagerEx::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
        engine::Director::destroyInstance();
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) engine::Director::getInstance()->getScheduler()->update(0.1f);
    }
};

TEST_F(StudioObjectsTest, ArmatureDataRecordsFollowTheManager) {
    auto* manager = ArmatureDataManager::getInstance();
    ASSERT_TRUE(manager->addArmatureFromJsonText(
        R"({"armatures": [{"name": "robot", "bones": [{"name": "body", "position": [3, 4]},
            {"name": "arm", "parent": "body", "position": [10, 20]}],
            "movements": [{"name": "walk", "duration": 30}, {"name": "jump", "duration": 12, "loop": false}]}]})",
        "robot.json"));
    ArmatureData* armature = manager->getArmatureDatas().at("robot");
    ASSERT_NE(armature, nullptr);
    EXPECT_EQ(armature->getBoneData("arm")->parentName, "body");
    EXPECT_EQ(armature->getBoneData("body")->x, 3);
    EXPECT_EQ(armature->getBoneData("nope"), nullptr);
    AnimationData* animation = manager->getAnimationDatas().at("robot");
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->getMovementCount(), 2);
    EXPECT_EQ(animation->getMovementNames(), (std::vector<std::string>{"walk", "jump"}));
    EXPECT_FALSE(animation->getMovement("jump")->loop);
    EXPECT_EQ(animation->getMovement("walk")->duration, 30);
    manager->removeArmatureData("robot");
    EXPECT_EQ(manager->getArmatureDatas().at("robot"), nullptr);
    EXPECT_EQ(manager->getAnimationDatas().at("robot"), nullptr);

    struct Case {
        const char* display;
        const char* texture;
    };
    const Case names[] = {{"images/hero.png", "hero.png"}, {"hero", "hero.png"}, {"a/b.c/d.jpg", "d.png"}};
    for (const Case& c : names) EXPECT_EQ(DisplayData::changeDisplayToTexture(c.display), c.texture);

    BaseData* from = BaseData::create();
    BaseData* to = BaseData::create();
    to->x = 5;
    to->skewX = 3.f;
    from->skewX = -3.f;   // 6 radians apart: the short way round is 6 - 2 pi
    BaseData* step = BaseData::create();
    step->subtract(from, to, true);
    EXPECT_EQ(step->x, 5);
    EXPECT_NEAR(step->skewX, 6.f - 2.f * 3.14159265f, 1e-4);
    step->setColor(engine::Color4B{1, 2, 3, 4});
    EXPECT_EQ(step->getColor(), (engine::Color4B{1, 2, 3, 4}));
}

TEST_F(StudioObjectsTest, BonePartsShowPlaceAndCarry) {
    Bone* bone = Bone::create("arm");
    DisplayManager* displays = bone->getDisplayManager();
    engine::Node* first = engine::Node::create();
    engine::Node* second = engine::Node::create();
    displays->addDisplay(first, -1);
    displays->addDisplay(second, 7);   // past the end: appended
    ASSERT_EQ(displays->getDecorativeDisplayList().size(), 2u);
    displays->changeDisplayWithIndex(1, false);
    EXPECT_EQ(second->getParent(), bone);
    displays->changeDisplayWithIndex(0, false);
    EXPECT_EQ(first->getParent(), bone);
    EXPECT_EQ(second->getParent(), nullptr);
    displays->changeDisplayWithIndex(5, false);   // no such display: unchanged
    EXPECT_EQ(displays->getCurrentDisplayIndex(), 0);
    displays->removeDisplay(0);
    EXPECT_EQ(first->getParent(), nullptr);
    EXPECT_EQ(displays->getCurrentDisplayIndex(), -1);

    MovementBoneData* keys = MovementBoneData::create();
    keys->duration = 10;
    FrameData* start = FrameData::create();
    start->displayIndex = -1;
    FrameData* end = FrameData::create();
    end->frameID = 10;
    end->x = 20;
    end->scaleX = 3;
    end->displayIndex = -1;
    keys->addFrameData(start);
    keys->addFrameData(end);
    Tween* tween = bone->getTween();
    tween->play(keys, 0, 0, 0, 0);
    tween->gotoAndPause(5);
    EXPECT_FLOAT_EQ(bone->getPositionX(), 10);
    EXPECT_FLOAT_EQ(bone->getScaleX(), 2);
    tween->gotoAndPlay(0);
    tween->update(1.f);   // 60 frames: past the end of a tween that does not loop
    EXPECT_FALSE(tween->isPlaying());
    EXPECT_FLOAT_EQ(bone->getPositionX(), 20);

    ColliderDetector* contours = bone->getColliderDetector();
    ContourData* square = ContourData::create();
    square->addVertex(engine::Vec2(0, 0));
    square->addVertex(engine::Vec2(1, 2));
    contours->addContourData(square);
    engine::Mat4 moved;
    engine::Mat4::createTranslation(engine::Vec3(5, 6, 0), &moved);
    contours->updateTransform(moved);
    ASSERT_EQ(contours->getWorldContours().size(), 1u);
    EXPECT_EQ(contours->getWorldContours()[0][1], engine::Vec2(6, 8));
    contours->setActive(false);
    contours->updateTransform(moved);
    EXPECT_TRUE(contours->getWorldContours().empty());
}

TEST_F(StudioObjectsTest, TimelinesOfFramesSetTheirNode) {
    engine::Node* node = engine::Node::create();
    Timeline* timeline = Timeline::create();
    timeline->setNode(node);
    PositionFrame* late = PositionFrame::create();
    late->setFrameIndex(10);
    late->setPosition(engine::Vec2(7, 8));
    PositionFrame* early = PositionFrame::create();
    early->setFrameIndex(2);
    early->setPosition(engine::Vec2(1, 2));
    timeline->addFrame(late);
    timeline->addFrame(early);   // kept in index order
    EXPECT_EQ(timeline->getFrames().at(0), early);

    struct Case {
        int frame;
        engine::Vec2 position;
    };
    const Case cases[] = {{0, {0, 0}}, {2, {1, 2}}, {9, {1, 2}}, {10, {7, 8}}, {99, {7, 8}}};
    for (const Case& c : cases) {
        timeline->gotoFrame(c.frame);
        EXPECT_EQ(node->getPosition(), c.position) << c.frame;
    }

    AlphaFrame* alpha = AlphaFrame::create();
    alpha->setAlpha(300);   // clamped
    alpha->apply(node);
    EXPECT_EQ(node->getOpacity(), 255);
    VisibleFrame* hidden = VisibleFrame::create();
    hidden->setVisible(false);
    hidden->apply(node);
    EXPECT_FALSE(node->isVisible());
    SkewFrame* shear = SkewFrame::create();
    shear->setSkewX(10);
    shear->setSkewY(20);
    shear->apply(node);
    EXPECT_EQ(node->getSkewX(), 10);
    EXPECT_EQ(node->getSkewY(), 20);
    RotationSkewFrame* turn = RotationSkewFrame::create();
    turn->setSkewX(10);
    turn->setSkewY(20);
    turn->apply(node);   // two angles: our nodes turn about one axis, nothing turns
    EXPECT_EQ(node->getRotation(), 0);
    turn->setSkewY(10);
    turn->apply(node);
    EXPECT_EQ(node->getRotation(), 10);
}

TEST_F(StudioObjectsTest, SkeletonsOfBonesAndSkins) {
    SkeletonNode* skeleton = SkeletonNode::create();
    BoneNode* body = BoneNode::create();
    body->setName("body");
    BoneNode* hand = BoneNode::create(30);
    hand->setName("hand");
    skeleton->addChildBone(body);
    body->addChildBone(hand);
    body->addChildBone(skeleton);   // a cycle is refused
    EXPECT_EQ(skeleton->getAllSubBones().size(), 2u);
    EXPECT_EQ(skeleton->getBoneNode("hand"), hand);
    EXPECT_EQ(skeleton->getAllSubBonesMap().at("body"), body);
    EXPECT_EQ(hand->getRootSkeletonNode(), skeleton);

    engine::Node* sword = engine::Node::create();
    sword->setName("sword");
    engine::Node* axe = engine::Node::create();
    axe->setName("axe");
    hand->addSkin(sword, true);
    hand->addSkin(axe, false);
    EXPECT_EQ(hand->getVisibleSkins().size(), 1u);
    skeleton->addSkinGroup("heavy", {{"hand", "axe"}});
    skeleton->changeSkins("heavy");
    EXPECT_TRUE(axe->isVisible());
    EXPECT_FALSE(sword->isVisible());
    skeleton->changeSkins("unknown");
    EXPECT_TRUE(axe->isVisible());
    EXPECT_EQ(skeleton->getAllSubSkins().size(), 2u);
    hand->removeFromSkinList(axe);
    EXPECT_EQ(axe->getParent(), nullptr);
}

TEST_F(StudioObjectsTest, ComponentsOfSceneObjects) {
    testsupport::TempDir dir;
    dir.write("attributes.json", R"({"hp": 12, "speed": 1.5, "boss": true, "name": "ogre", "list": [1]})");
    engine::FileUtils::getInstance()->setSearchPaths({dir.path() + "/"});
    ComAttribute* attributes = ComAttribute::create();
    ASSERT_TRUE(attributes->parse("attributes.json"));
    EXPECT_EQ(attributes->getInt("hp"), 12);
    EXPECT_FLOAT_EQ(attributes->getFloat("speed"), 1.5f);
    EXPECT_TRUE(attributes->getBool("boss"));
    EXPECT_EQ(attributes->getString("name"), "ogre");
    EXPECT_EQ(attributes->getInt("list", -1), -1);   // not a plain value: skipped
    EXPECT_FALSE(attributes->parse("missing.json"));
    engine::FileUtils::destroyInstance();

    engine::Node* owner = engine::Node::create();
    engine::Node* picture = engine::Node::create();
    ComRender* render = ComRender::create(picture, "");
    EXPECT_EQ(render->getName(), "CCComRender");
    ASSERT_TRUE(owner->addComponent(render));
    EXPECT_EQ(picture->getParent(), owner);
    owner->removeComponent(render);
    EXPECT_EQ(picture->getParent(), nullptr);
}

TEST_F(StudioObjectsTest, OlderUIActionsPlayTheirFrames) {
    engine::Scene* scene = engine::Scene::create();
    scene->retain();
    engine::Node* panel = engine::Node::create();
    panel->setTag(42);
    scene->addChild(panel);
    scene->onEnter();

    ActionNode* track = ActionNode::create();
    track->setActionTag(42);
    track->initWithRoot(scene);
    ASSERT_EQ(track->getObject(), panel);
    ActionFrame* there = ActionFrame::create();
    there->setFrameIndex(5);
    there->setPosition(engine::Vec2(50, 0));
    track->addFrame(there);
    ActionObject* action = ActionObject::create();
    action->setName("open");
    action->setUnitTime(0.1f);
    action->addActionNode(track);
    EXPECT_FLOAT_EQ(action->getTotalTime(), 0.5f);

    int done = 0;
    ActionManagerEx::getInstance()->addActionObject("menu.json", action);
    ASSERT_EQ(ActionManagerEx::getInstance()->playActionByName(
                  "menu.json", "open", engine::CallFunc::create([&done] { ++done; })),
              action);
    EXPECT_EQ(ActionManagerEx::getInstance()->playActionByName("menu.json", "close"), nullptr);
    auto* director = engine::Director::getInstance();
    for (int i = 0; i < 3; ++i) director->mainLoop(0.1f);
    EXPECT_GT(panel->getPositionX(), 0);
    EXPECT_LT(panel->getPositionX(), 50);
    for (int i = 0; i < 4; ++i) director->mainLoop(0.1f);
    EXPECT_FLOAT_EQ(panel->getPositionX(), 50);
    EXPECT_EQ(done, 1);
    EXPECT_FALSE(action->isPlaying());
    scene->onExit();
    scene->cleanup();
    scene->release();
}

}  // namespace
