// The studio classes of armature data, bone parts, timeline frames and bones,
// components, the older UI actions and the scene reader.
#include "bindings/studio/StudioRecordRows.h"

#include <string>

#include "engine/actions/Action.h"
#include "engine/studio/ActionManagerEx.h"
#include "engine/studio/ArmatureDataManager.h"
#include "engine/studio/ArmatureParts.h"
#include "engine/studio/DataRecords.h"
#include "engine/studio/SceneReader.h"
#include "engine/studio/StudioComponents.h"
#include "engine/studio/timeline/BoneNode.h"
#include "engine/studio/timeline/TimelineFrames.h"

namespace bindings {

namespace {

using namespace studio;
using namespace studio::timeline;

// ---- data records

const Method kBaseDataMethods[] = {
    {"create", {classFunction<&BaseData::create>()}},
    {"copy", {method<&BaseData::copy>()}},
    {"subtract", {method<&BaseData::subtract>()}},
    {"setColor", {method<&BaseData::setColor>()}},
    {"getColor", {method<&BaseData::getColor>()}},
};
const Method kDisplayDataMethods[] = {
    {"create", {classFunction<&DisplayData::create>()}},
    {"changeDisplayToTexture", {classFunction<&DisplayData::changeDisplayToTexture>()}},
    {"copy", {method<&DisplayData::copy>()}},
};
const Method kSpriteDisplayDataMethods[] = {
    {"create", {classFunction<&SpriteDisplayData::create>()}},
    {"copy", {method<&SpriteDisplayData::copy>()}},
};
const Method kBoneDataMethods[] = {
    {"create", {classFunction<&BoneData::create>()}},
    {"addDisplayData", {method<&BoneData::addDisplayData>()}},
    {"getDisplayData", {method<&BoneData::getDisplayData>()}},
};
ArmatureData* newArmatureData() { return ArmatureData::create(); }
const Method kArmatureDataMethods[] = {
    {"create", {classFunction<&newArmatureData>()}},
    {"addBoneData", {method<&ArmatureData::addBoneData>()}},
    {"getBoneData", {method<&ArmatureData::getBoneData>()}},
};
const Method kFrameDataMethods[] = {
    {"create", {classFunction<&FrameData::create>()}},
    {"copy", {method<&FrameData::copy>()}},
};
const Method kMovementBoneDataMethods[] = {
    {"create", {classFunction<&MovementBoneData::create>()}},
    {"addFrameData", {method<&MovementBoneData::addFrameData>()}},
    {"getFrameData", {method<&MovementBoneData::getFrameData>()}},
};
const Method kMovementDataMethods[] = {
    {"create", {classFunction<&MovementData::create>()}},
    {"addMovementBoneData", {method<&MovementData::addMovementBoneData>()}},
    {"getMovementBoneData", {method<&MovementData::getMovementBoneData>()}},
};
AnimationData* newAnimationData() { return AnimationData::create(); }
const Method kAnimationDataMethods[] = {
    {"create", {classFunction<&newAnimationData>()}},
    {"addMovement", {method<&AnimationData::addMovement>()}},
    {"getMovement", {method<&AnimationData::getMovement>()}},
    {"getMovementCount", {method<&AnimationData::getMovementCount>()}},
};
const Method kContourDataMethods[] = {
    {"create", {classFunction<&ContourData::create>()}},
    {"addVertex", {method<&ContourData::addVertex>()}},
};
const Method kTextureDataMethods[] = {
    {"create", {classFunction<&TextureData::create>()}},
    {"addContourData", {method<&TextureData::addContourData>()}},
    {"getContourData", {method<&TextureData::getContourData>()}},
};

// ---- a bone's parts

void addDisplayData(DisplayManager* self, DisplayData* data, int index) { self->addDisplay(data, index); }
void addDisplayNode(DisplayManager* self, engine::Node* node, int index) { self->addDisplay(node, index); }
const Method kDisplayManagerMethods[] = {
    {"create", {classFunction<&DisplayManager::create>()}},
    {"addDisplay", {method<&addDisplayData>(), method<&addDisplayNode>()}},
    {"removeDisplay", {method<&DisplayManager::removeDisplay>()}},
    {"getDecorativeDisplayList", {method<&DisplayManager::getDecorativeDisplayList>()}},
    {"changeDisplayWithIndex", {method<&DisplayManager::changeDisplayWithIndex>()}},
    {"changeDisplayWithName", {method<&DisplayManager::changeDisplayWithName>()}},
    {"getCurrentDisplayIndex", {method<&DisplayManager::getCurrentDisplayIndex>()}},
    {"getDisplayRenderNode", {method<&DisplayManager::getDisplayRenderNode>()}},
    {"setVisible", {method<&DisplayManager::setVisible>()}},
    {"isVisible", {method<&DisplayManager::isVisible>()}},
    {"getBone", {method<&DisplayManager::getBone>()}},
};
const Method kDecorativeDisplayMethods[] = {
    {"create", {classFunction<&DecorativeDisplay::create>()}},
    {"getDisplay", {method<&DecorativeDisplay::getDisplay>()}},
    {"setDisplay", {method<&DecorativeDisplay::setDisplay>()}},
    {"getDisplayData", {method<&DecorativeDisplay::getDisplayData>()}},
    {"setDisplayData", {method<&DecorativeDisplay::setDisplayData>()}},
};
const Method kTweenMethods[] = {
    {"create", {classFunction<&Tween::create>()}},
    {"play", {method<&Tween::play>()}},
    {"gotoAndPlay", {method<&Tween::gotoAndPlay>()}},
    {"gotoAndPause", {method<&Tween::gotoAndPause>()}},
    {"isPlaying", {method<&Tween::isPlaying>()}},
    {"getMovementBoneData", {method<&Tween::getMovementBoneData>()}},
    {"setMovementBoneData", {method<&Tween::setMovementBoneData>()}},
};
ColliderDetector* newColliderDetector() { return ColliderDetector::create(); }
ColliderDetector* newBoneColliderDetector(Bone* bone) { return ColliderDetector::create(bone); }
const Method kColliderDetectorMethods[] = {
    {"create", {classFunction<&newColliderDetector>(), classFunction<&newBoneColliderDetector>()}},
    {"addContourData", {method<&ColliderDetector::addContourData>()}},
    {"removeContourData", {method<&ColliderDetector::removeContourData>()}},
    {"removeAll", {method<&ColliderDetector::removeAll>()}},
    {"setActive", {method<&ColliderDetector::setActive>()}},
    {"getActive", {method<&ColliderDetector::getActive>()}},
    {"getBone", {method<&ColliderDetector::getBone>()}},
    {"setBone", {method<&ColliderDetector::setBone>()}},
};
Skin* newSkin() { return Skin::create(); }
Skin* newSkinFromFile(const std::string& file) { return Skin::create(file); }
const Method kSkinMethods[] = {
    {"create", {classFunction<&newSkin>(), classFunction<&newSkinFromFile>()}},
    {"createWithSpriteFrameName", {classFunction<&Skin::createWithSpriteFrameName>()}},
    {"setSkinData", {method<&Skin::setSkinData>()}},
    {"getSkinData", {method<&Skin::getSkinData>()}},
    {"getBone", {method<&Skin::getBone>()}},
    {"setBone", {method<&Skin::setBone>()}},
    {"getDisplayName", {method<&Skin::getDisplayName>()}},
};

// ---- timeline frames, data and nodes

const Method kVisibleFrameMethods[] = {
    {"create", {classFunction<&VisibleFrame::create>()}},
    {"setVisible", {method<&VisibleFrame::setVisible>()}},
    {"isVisible", {method<&VisibleFrame::isVisible>()}},
};
const Method kTextureFrameMethods[] = {
    {"create", {classFunction<&TextureFrame::create>()}},
    {"setTextureName", {method<&TextureFrame::setTextureName>()}},
    {"getTextureName", {method<&TextureFrame::getTextureName>()}},
};
const Method kRotationFrameMethods[] = {
    {"create", {classFunction<&RotationFrame::create>()}},
    {"setRotation", {method<&RotationFrame::setRotation>()}},
    {"getRotation", {method<&RotationFrame::getRotation>()}},
};
const Method kSkewFrameMethods[] = {
    {"create", {classFunction<&SkewFrame::create>()}},
    {"setSkewX", {method<&SkewFrame::setSkewX>()}},
    {"getSkewX", {method<&SkewFrame::getSkewX>()}},
    {"setSkewY", {method<&SkewFrame::setSkewY>()}},
    {"getSkewY", {method<&SkewFrame::getSkewY>()}},
};
const Method kPositionFrameMethods[] = {
    {"create", {classFunction<&PositionFrame::create>()}},
    {"setPosition", {method<&PositionFrame::setPosition>()}},
    {"getPosition", {method<&PositionFrame::getPosition>()}},
    {"setX", {method<&PositionFrame::setX>()}},
    {"setY", {method<&PositionFrame::setY>()}},
    {"getX", {method<&PositionFrame::getX>()}},
    {"getY", {method<&PositionFrame::getY>()}},
};
const Method kScaleFrameMethods[] = {
    {"create", {classFunction<&ScaleFrame::create>()}},
    {"setScale", {method<&ScaleFrame::setScale>()}},
    {"setScaleX", {method<&ScaleFrame::setScaleX>()}},
    {"getScaleX", {method<&ScaleFrame::getScaleX>()}},
    {"setScaleY", {method<&ScaleFrame::setScaleY>()}},
    {"getScaleY", {method<&ScaleFrame::getScaleY>()}},
};
const Method kAnchorPointFrameMethods[] = {
    {"create", {classFunction<&AnchorPointFrame::create>()}},
    {"setAnchorPoint", {method<&AnchorPointFrame::setAnchorPoint>()}},
    {"getAnchorPoint", {method<&AnchorPointFrame::getAnchorPoint>()}},
};
const Method kInnerActionFrameMethods[] = {
    {"create", {classFunction<&InnerActionFrame::create>()}},
    {"setInnerActionType", {method<&InnerActionFrame::setInnerActionType>()}},
    {"getInnerActionType", {method<&InnerActionFrame::getInnerActionType>()}},
    {"setStartFrameIndex", {method<&InnerActionFrame::setStartFrameIndex>()}},
    {"getStartFrameIndex", {method<&InnerActionFrame::getStartFrameIndex>()}},
    {"setEndFrameIndex", {method<&InnerActionFrame::setEndFrameIndex>()}},
    {"getEndFrameIndex", {method<&InnerActionFrame::getEndFrameIndex>()}},
    {"setAnimationName", {method<&InnerActionFrame::setAnimationName>()}},
    {"setSingleFrameIndex", {method<&InnerActionFrame::setSingleFrameIndex>()}},
    {"getSingleFrameIndex", {method<&InnerActionFrame::getSingleFrameIndex>()}},
};
const Method kColorFrameMethods[] = {
    {"create", {classFunction<&ColorFrame::create>()}},
    {"setColor", {method<&ColorFrame::setColor>()}},
    {"getColor", {method<&ColorFrame::getColor>()}},
};
const Method kAlphaFrameMethods[] = {
    {"create", {classFunction<&AlphaFrame::create>()}},
    {"setAlpha", {method<&AlphaFrame::setAlpha>()}},
    {"getAlpha", {method<&AlphaFrame::getAlpha>()}},
};
const Method kZOrderFrameMethods[] = {
    {"create", {classFunction<&ZOrderFrame::create>()}},
    {"setZOrder", {method<&ZOrderFrame::setZOrder>()}},
    {"getZOrder", {method<&ZOrderFrame::getZOrder>()}},
};
const Method kBlendFuncFrameMethods[] = {
    {"create", {classFunction<&BlendFuncFrame::create>()}},
    {"setBlendFunc", {method<&BlendFuncFrame::setBlendFunc>()}},
    {"getBlendFunc", {method<&BlendFuncFrame::getBlendFunc>()}},
};
void gotoTimelineFrame(Timeline* self, int frameIndex) { self->gotoFrame(frameIndex); }
const Method kTimelineMethods[] = {
    {"create", {classFunction<&Timeline::create>()}},
    {"addFrame", {method<&Timeline::addFrame>()}},
    {"removeFrame", {method<&Timeline::removeFrame>()}},
    {"getFrames", {method<&Timeline::getFrames>()}},
    {"setActionTag", {method<&Timeline::setActionTag>()}},
    {"getActionTag", {method<&Timeline::getActionTag>()}},
    {"setNode", {method<&Timeline::setNode>()}},
    {"getNode", {method<&Timeline::getNode>()}},
    {"gotoFrame", {method<&gotoTimelineFrame>()}},
};
const Method kActionTimelineDataMethods[] = {
    {"create", {classFunction<&ActionTimelineData::create>()}},
    {"setActionTag", {method<&ActionTimelineData::setActionTag>()}},
    {"getActionTag", {method<&ActionTimelineData::getActionTag>()}},
};
const Method kActionTimelineNodeMethods[] = {
    {"create", {classFunction<&ActionTimelineNode::create>()}},
    {"setRoot", {method<&ActionTimelineNode::setRoot>()}},
    {"getRoot", {method<&ActionTimelineNode::getRoot>()}},
    {"setActionTimeline", {method<&ActionTimelineNode::setActionTimeline>()}},
    {"getActionTimeline", {method<&ActionTimelineNode::getActionTimeline>()}},
};
BoneNode* newBoneNode() { return BoneNode::create(); }
BoneNode* newBoneNodeOfLength(int length) { return BoneNode::create(length); }
void addSkin2(BoneNode* self, engine::Node* skin, bool display) { self->addSkin(skin, display); }
void addSkin3(BoneNode* self, engine::Node* skin, bool display, bool hideOthers) {
    self->addSkin(skin, display, hideOthers);
}
void displaySkinNode(BoneNode* self, engine::Node* skin, bool hideOthers) { self->displaySkin(skin, hideOthers); }
void displaySkinName(BoneNode* self, const std::string& name, bool hideOthers) { self->displaySkin(name, hideOthers); }
const Method kBoneNodeMethods[] = {
    {"create", {classFunction<&newBoneNode>(), classFunction<&newBoneNodeOfLength>()}},
    {"addChildBone", {method<&BoneNode::addChildBone>()}},
    {"removeChildBone", {method<&BoneNode::removeChildBone>()}},
    {"getChildBones", {method<&BoneNode::getChildBones>()}},
    {"getAllSubBones", {method<&BoneNode::getAllSubBones>()}},
    {"getRootSkeletonNode", {method<&BoneNode::getRootSkeletonNode>()}},
    {"addSkin", {method<&addSkin2>(), method<&addSkin3>()}},
    {"removeFromSkinList", {method<&BoneNode::removeFromSkinList>()}},
    {"displaySkin", {method<&displaySkinNode>(), method<&displaySkinName>()}},
    {"getSkins", {method<&BoneNode::getSkins>()}},
    {"getVisibleSkins", {method<&BoneNode::getVisibleSkins>()}},
    {"getAllSubSkins", {method<&BoneNode::getAllSubSkins>()}},
    {"setDebugDrawEnabled", {method<&BoneNode::setDebugDrawEnabled>()}},
    {"isDebugDrawEnabled", {method<&BoneNode::isDebugDrawEnabled>()}},
    {"setDebugDrawLength", {method<&BoneNode::setDebugDrawLength>()}},
    {"getDebugDrawLength", {method<&BoneNode::getDebugDrawLength>()}},
    {"setDebugDrawWidth", {method<&BoneNode::setDebugDrawWidth>()}},
    {"getDebugDrawWidth", {method<&BoneNode::getDebugDrawWidth>()}},
    {"setDebugDrawColor", {method<&BoneNode::setDebugDrawColor>()}},
    {"getDebugDrawColor", {method<&BoneNode::getDebugDrawColor>()}},
};
void changeSkinGroup(SkeletonNode* self, const std::string& group) { self->changeSkins(group); }
const Method kSkeletonNodeMethods[] = {
    {"create", {classFunction<&SkeletonNode::create>()}},
    {"getBoneNode", {method<&SkeletonNode::getBoneNode>()}},
    {"getAllSubBonesMap", {method<&SkeletonNode::getAllSubBonesMap>()}},
    {"changeSkins", {method<&changeSkinGroup>()}},
};

// ---- components

float attributeFloat(ComAttribute* self, const std::string& key) { return self->getFloat(key); }
std::string attributeString(ComAttribute* self, const std::string& key) { return self->getString(key); }
const Method kComAttributeMethods[] = {
    {"create", {classFunction<&ComAttribute::create>()}},
    {"setInt", {method<&ComAttribute::setInt>()}},
    {"setFloat", {method<&ComAttribute::setFloat>()}},
    {"setBool", {method<&ComAttribute::setBool>()}},
    {"setString", {method<&ComAttribute::setString>()}},
    {"getInt", {method<&ComAttribute::getInt, 0>()}},
    {"getFloat", {method<&attributeFloat>()}},
    {"getBool", {method<&ComAttribute::getBool, false>()}},
    {"getString", {method<&attributeString>()}},
    {"parse", {method<&ComAttribute::parse>()}},
};
const Method kComExtensionDataMethods[] = {
    {"create", {classFunction<&ComExtensionData::create>()}},
    {"setCustomProperty", {method<&ComExtensionData::setCustomProperty>()}},
    {"getCustomProperty", {method<&ComExtensionData::getCustomProperty>()}},
    {"setActionTag", {method<&ComExtensionData::setActionTag>()}},
    {"getActionTag", {method<&ComExtensionData::getActionTag>()}},
};
ComRender* newComRender() { return ComRender::create(); }
ComRender* newNamedComRender(engine::Node* node, const std::string& name) { return ComRender::create(node, name); }
const Method kComRenderMethods[] = {
    {"create", {classFunction<&newComRender>(), classFunction<&newNamedComRender>()}},
    {"getNode", {method<&ComRender::getNode>()}},
    {"setNode", {method<&ComRender::setNode>()}},
};

// ---- older UI actions

const Method kActionFrameMethods[] = {
    {"create", {classFunction<&ActionFrame::create>()}},
    {"setFrameIndex", {method<&ActionFrame::setFrameIndex>()}},
    {"getFrameIndex", {method<&ActionFrame::getFrameIndex>()}},
    {"setFrameTweenType", {method<&ActionFrame::setFrameTweenType>()}},
    {"getFrameTweenType", {method<&ActionFrame::getFrameTweenType>()}},
    {"setPosition", {method<&ActionFrame::setPosition>()}},
    {"setScale", {method<&ActionFrame::setScale>()}},
    {"setRotation", {method<&ActionFrame::setRotation>()}},
    {"setOpacity", {method<&ActionFrame::setOpacity>()}},
    {"setColor", {method<&ActionFrame::setColor>()}},
    {"getAction", {method<&ActionFrame::getAction>()}},
};
const Method kActionNodeMethods[] = {
    {"create", {classFunction<&ActionNode::create>()}},
    {"setActionTag", {method<&ActionNode::setActionTag>()}},
    {"getActionTag", {method<&ActionNode::getActionTag>()}},
    {"setUnitTime", {method<&ActionNode::setUnitTime>()}},
    {"getUnitTime", {method<&ActionNode::getUnitTime>()}},
    {"setObject", {method<&ActionNode::setObject>()}},
    {"getObject", {method<&ActionNode::getObject>()}},
    {"initWithRoot", {method<&ActionNode::initWithRoot>()}},
    {"addFrame", {method<&ActionNode::addFrame>()}},
    {"deleteFrame", {method<&ActionNode::deleteFrame>()}},
    {"clearAllFrame", {method<&ActionNode::clearAllFrame>()}},
    {"getFirstFrameIndex", {method<&ActionNode::getFirstFrameIndex>()}},
    {"getLastFrameIndex", {method<&ActionNode::getLastFrameIndex>()}},
    {"playAction", {method<&ActionNode::playAction>()}},
    {"stopAction", {method<&ActionNode::stopAction>()}},
    {"isActionDoneOnce", {method<&ActionNode::isActionDoneOnce>()}},
};
void playObject(ActionObject* self) { self->play(); }
void playObjectThen(ActionObject* self, engine::CallFunc* done) { self->play(done); }
const Method kActionObjectMethods[] = {
    {"create", {classFunction<&ActionObject::create>()}},
    {"setName", {method<&ActionObject::setName>()}},
    {"getName", {method<&ActionObject::getName>()}},
    {"setLoop", {method<&ActionObject::setLoop>()}},
    {"getLoop", {method<&ActionObject::getLoop>()}},
    {"setUnitTime", {method<&ActionObject::setUnitTime>()}},
    {"getUnitTime", {method<&ActionObject::getUnitTime>()}},
    {"getTotalTime", {method<&ActionObject::getTotalTime>()}},
    {"getCurrentTime", {method<&ActionObject::getCurrentTime>()}},
    {"addActionNode", {method<&ActionObject::addActionNode>()}},
    {"removeActionNode", {method<&ActionObject::removeActionNode>()}},
    {"play", {method<&playObject>(), method<&playObjectThen>()}},
    {"pause", {method<&ActionObject::pause>()}},
    {"resume", {method<&ActionObject::resume>()}},
    {"stop", {method<&ActionObject::stop>()}},
    {"isPlaying", {method<&ActionObject::isPlaying>()}},
};
ActionObject* playByName(ActionManagerEx* self, const std::string& json, const std::string& name) {
    return self->playActionByName(json, name);
}
ActionObject* playByNameThen(ActionManagerEx* self, const std::string& json, const std::string& name,
                             engine::CallFunc* done) {
    return self->playActionByName(json, name, done);
}
const Method kActionManagerExMethods[] = {
    {"getInstance", {classFunction<&ActionManagerEx::getInstance>()}},
    {"destroyInstance", {classFunction<&ActionManagerEx::destroyInstance>()}},
    {"addActionObject", {method<&ActionManagerEx::addActionObject>()}},
    {"getActionByName", {method<&ActionManagerEx::getActionByName>()}},
    {"playActionByName", {method<&playByName>(), method<&playByNameThen>()}},
    {"stopActionByName", {method<&ActionManagerEx::stopActionByName>()}},
    {"releaseActions", {method<&ActionManagerEx::releaseActions>()}},
};
engine::Node* readScene(SceneReader* self, const std::string& file) { return self->createNodeWithSceneFile(file); }
const Method kSceneReaderMethods[] = {
    {"getInstance", {classFunction<&SceneReader::getInstance>()}},
    {"destroyInstance", {classFunction<&SceneReader::destroyInstance>()}},
    {"sceneReaderVersion", {classFunction<&SceneReader::sceneReaderVersion>()}},
    {"createNodeWithSceneFile", {method<&readScene>()}},
    {"getNodeByTag", {method<&SceneReader::getNodeByTag>()}},
};

// Rows in registration order, bases first.
const ClassEntry kRows[] = {
    classEntry<BaseData>("ccs.BaseData", "cc.Ref", kBaseDataMethods),
    classEntry<DisplayData>("ccs.DisplayData", "cc.Ref", kDisplayDataMethods),
    classEntry<SpriteDisplayData>("ccs.SpriteDisplayData", "ccs.DisplayData", kSpriteDisplayDataMethods),
    classEntry<ArmatureDisplayData>("ccs.ArmatureDisplayData", "ccs.DisplayData", kCreateMethods<ArmatureDisplayData>),
    classEntry<ParticleDisplayData>("ccs.ParticleDisplayData", "ccs.DisplayData", kCreateMethods<ParticleDisplayData>),
    classEntry<BoneData>("ccs.BoneData", "ccs.BaseData", kBoneDataMethods),
    classEntry<ArmatureData>("ccs.ArmatureData", "cc.Ref", kArmatureDataMethods),
    classEntry<FrameData>("ccs.FrameData", "ccs.BaseData", kFrameDataMethods),
    classEntry<MovementBoneData>("ccs.MovementBoneData", "cc.Ref", kMovementBoneDataMethods),
    classEntry<MovementData>("ccs.MovementData", "cc.Ref", kMovementDataMethods),
    classEntry<AnimationData>("ccs.AnimationData", "cc.Ref", kAnimationDataMethods),
    classEntry<ContourData>("ccs.ContourData", "cc.Ref", kContourDataMethods),
    classEntry<TextureData>("ccs.TextureData", "cc.Ref", kTextureDataMethods),
    classEntry<DecorativeDisplay>("ccs.DecorativeDisplay", "cc.Ref", kDecorativeDisplayMethods),
    classEntry<DisplayManager>("ccs.DisplayManager", "cc.Ref", kDisplayManagerMethods),
    classEntry<Tween>("ccs.Tween", "cc.Ref", kTweenMethods),
    classEntry<ColliderDetector>("ccs.ColliderDetector", "cc.Ref", kColliderDetectorMethods),
    classEntry<Skin>("ccs.Skin", "cc.Sprite", kSkinMethods),
    classEntry<BatchNode>("ccs.BatchNode", "cc.Node", kCreateMethods<BatchNode>),
    classEntry<VisibleFrame>("ccs.VisibleFrame", "ccs.Frame", kVisibleFrameMethods),
    classEntry<TextureFrame>("ccs.TextureFrame", "ccs.Frame", kTextureFrameMethods),
    classEntry<RotationFrame>("ccs.RotationFrame", "ccs.Frame", kRotationFrameMethods),
    classEntry<SkewFrame>("ccs.SkewFrame", "ccs.Frame", kSkewFrameMethods),
    classEntry<RotationSkewFrame>("ccs.RotationSkewFrame", "ccs.SkewFrame", kCreateMethods<RotationSkewFrame>),
    classEntry<PositionFrame>("ccs.PositionFrame", "ccs.Frame", kPositionFrameMethods),
    classEntry<ScaleFrame>("ccs.ScaleFrame", "ccs.Frame", kScaleFrameMethods),
    classEntry<AnchorPointFrame>("ccs.AnchorPointFrame", "ccs.Frame", kAnchorPointFrameMethods),
    classEntry<InnerActionFrame>("ccs.InnerActionFrame", "ccs.Frame", kInnerActionFrameMethods),
    classEntry<ColorFrame>("ccs.ColorFrame", "ccs.Frame", kColorFrameMethods),
    classEntry<AlphaFrame>("ccs.AlphaFrame", "ccs.Frame", kAlphaFrameMethods),
    classEntry<ZOrderFrame>("ccs.ZOrderFrame", "ccs.Frame", kZOrderFrameMethods),
    classEntry<BlendFuncFrame>("ccs.BlendFuncFrame", "ccs.Frame", kBlendFuncFrameMethods),
    classEntry<Timeline>("ccs.Timeline", "cc.Ref", kTimelineMethods),
    classEntry<ActionTimelineData>("ccs.ActionTimelineData", "cc.Ref", kActionTimelineDataMethods),
    classEntry<ActionTimelineNode>("ccs.ActionTimelineNode", "cc.Node", kActionTimelineNodeMethods),
    classEntry<BoneNode>("ccs.BoneNode", "cc.Node", kBoneNodeMethods),
    classEntry<SkeletonNode>("ccs.SkeletonNode", "ccs.BoneNode", kSkeletonNodeMethods),
    classEntry<ComAttribute>("ccs.ComAttribute", "cc.Component", kComAttributeMethods),
    classEntry<ComController>("ccs.ComController", "cc.Component", kCreateMethods<ComController>),
    classEntry<ComExtensionData>("ccs.ComExtensionData", "cc.Component", kComExtensionDataMethods),
    classEntry<ComRender>("ccs.ComRender", "cc.Component", kComRenderMethods),
    classEntry<ActionFrame>("ccs.ActionFrame", "cc.Ref", kActionFrameMethods),
    classEntry<ActionNode>("ccs.ActionNode", "cc.Ref", kActionNodeMethods),
    classEntry<ActionObject>("ccs.ActionObject", "cc.Ref", kActionObjectMethods),
    classEntry<ActionManagerEx>("ccs.ActionManagerEx", "cc.Ref", kActionManagerExMethods),
    classEntry<SceneReader>("ccs.SceneReader", nullptr, kSceneReaderMethods),
};

}  // namespace

std::span<const ClassEntry> studioRecordRows() { return kRows; }

}  // namespace bindings
