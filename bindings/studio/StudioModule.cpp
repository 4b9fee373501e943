// The studio module: the editor's armature and timeline classes (table "ccs").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

#include "bindings/studio/CustomGUIReader.h"
#include "bindings/studio/LuaComAudio.h"
#include "bindings/studio/LuaStudioManual.h"
#include "bindings/studio/StudioRecordRows.h"
#include "engine/studio/Armature.h"
#include "engine/studio/ArmatureDataManager.h"
#include "engine/studio/ArmatureParts.h"
#include "engine/studio/timeline/ActionTimelineCache.h"
#include "engine/studio/CSLoader.h"
#include "engine/studio/ComAudio.h"
#include "engine/studio/GUIReader.h"

namespace bindings {

namespace {

const Method kGUIReaderMethods[] = {
    {"getInstance", {classFunction<&studio::GUIReader::getInstance>()}},
    {"widgetFromJsonFile", {method<&studio::GUIReader::widgetFromJsonFile>()}},
};

using studio::timeline::ActionTimeline;
using studio::timeline::ActionTimelineCache;

studio::Bone* createBone() { return studio::Bone::create(); }
studio::Bone* createNamedBone(const std::string& name) { return studio::Bone::create(name); }
studio::Armature* createArmature() { return studio::Armature::create(); }
studio::Armature* createNamedArmature(const std::string& name) { return studio::Armature::create(name); }

const Method kBoneMethods[] = {
    {"create", {classFunction<&createBone>(), classFunction<&createNamedBone>()}},
    {"getArmature", {method<&studio::Bone::getArmature>()}},
    {"getDisplayManager", {method<&studio::Bone::getDisplayManager>()}},
    {"getTween", {method<&studio::Bone::getTween>()}},
    {"getColliderDetector", {method<&studio::Bone::getColliderDetector>()}},
};

const Method kArmatureMethods[] = {
    {"create", {classFunction<&createArmature>(), classFunction<&createNamedArmature>()}},
    {"getAnimation", {method<&studio::Armature::getAnimation>()}},
    {"getBone", {method<&studio::Armature::getBone>()}},
    {"getBoneDic", {method<&studio::Armature::getBoneDic>()}},
};

const Method kAnimationMethods[] = {
    {"play", {method<&studio::ArmatureAnimation::play, -1, -1>()}},
    {"stop", {method<&studio::ArmatureAnimation::stop>()}},
    {"pause", {method<&studio::ArmatureAnimation::pause>()}},
    {"resume", {method<&studio::ArmatureAnimation::resume>()}},
    {"isPlaying", {method<&studio::ArmatureAnimation::isPlaying>()}},
    {"getCurrentMovementID", {method<&studio::ArmatureAnimation::getCurrentMovementID>()}},
    {"getCurrentFrameIndex", {method<&studio::ArmatureAnimation::getCurrentFrameIndex>()}},
    {"setSpeedScale", {method<&studio::ArmatureAnimation::setSpeedScale>()}},
    {"getSpeedScale", {method<&studio::ArmatureAnimation::getSpeedScale>()}},
};

const Method kDataManagerMethods[] = {
    {"getInstance", {classFunction<&studio::ArmatureDataManager::getInstance>()}},
    {"addArmatureFileInfo", {method<&studio::ArmatureDataManager::addArmatureFileInfo>()}},
    {"removeArmatureData", {method<&studio::ArmatureDataManager::removeArmatureData>()}},
    {"getArmatureDatas", {method<&studio::ArmatureDataManager::getArmatureDatas>()}},
    {"getAnimationDatas", {method<&studio::ArmatureDataManager::getAnimationDatas>()}},
    {"getTextureDatas", {method<&studio::ArmatureDataManager::getTextureDatas>()}},
    {"getArmatureData", {method<&studio::ArmatureDataManager::getArmatureData>()}},
    {"getAnimationData", {method<&studio::ArmatureDataManager::getAnimationData>()}},
    {"addTextureData", {method<&studio::ArmatureDataManager::addTextureData>()}},
    {"getTextureData", {method<&studio::ArmatureDataManager::getTextureData>()}},
    {"removeTextureData", {method<&studio::ArmatureDataManager::removeTextureData>()}},
};

const Method kTimelineCacheMethods[] = {
    {"createActionFromJson", {method<&ActionTimelineCache::createActionFromJson>()}},
};

const Method kTimelineMethods[] = {
    {"gotoFrameAndPlay", {method<static_cast<void (ActionTimeline::*)(int)>(&ActionTimeline::gotoFrameAndPlay)>()}},
    {"isPlaying", {method<&ActionTimeline::isPlaying>()}},
    {"getCurrentFrame", {method<&ActionTimeline::getCurrentFrame>()}},
    {"getDuration", {method<&ActionTimeline::getDuration>()}},
    {"getSpeed", {method<&ActionTimeline::getSpeed>()}},
    {"addTimeline", {method<&ActionTimeline::addTimeline>()}},
    {"removeTimeline", {method<&ActionTimeline::removeTimeline>()}},
    {"getTimelines", {method<&ActionTimeline::getTimelines>()}},
};

const Method kFrameMethods[] = {
    {"getFrameIndex", {method<&studio::timeline::Frame::getFrameIndex>()}},
    {"setFrameIndex", {method<&studio::timeline::Frame::setFrameIndex>()}},
    {"getNode", {method<&studio::timeline::Frame::getNode>()}},
};

const Method kEventFrameMethods[] = {
    {"getEvent", {method<&studio::timeline::EventFrame::getEvent>()}},
};

const Method kCSLoaderMethods[] = {
    {"getInstance", {classFunction<&engine::CSLoader::getInstance>()}},
};

// Rows in registration order, bases first; the record rows follow.
const std::vector<ClassEntry> kStudioOwnClasses = {
    classEntry<studio::Armature>("ccs.Armature", "cc.Node", kArmatureMethods),
    classEntry<studio::Bone>("ccs.Bone", "cc.Node", kBoneMethods),
    classEntry<studio::ArmatureAnimation>("ccs.ArmatureAnimation", "cc.Ref", kAnimationMethods),
    classEntry<studio::ArmatureDataManager>("ccs.ArmatureDataManager", nullptr, kDataManagerMethods),
    classEntry<ActionTimelineCache>("ccs.ActionTimelineCache", nullptr, kTimelineCacheMethods),
    classEntry<ActionTimeline>("ccs.ActionTimeline", "cc.Action", kTimelineMethods),
    classEntry<studio::timeline::Frame>("ccs.Frame", "cc.Ref", kFrameMethods),
    classEntry<studio::timeline::EventFrame>("ccs.EventFrame", "ccs.Frame", kEventFrameMethods),
    classEntry<studio::GUIReader>("ccs.GUIReader", nullptr, kGUIReaderMethods),
    classEntry<engine::CSLoader>("cc.CSLoader", nullptr, kCSLoaderMethods),
    classEntry<studio::CustomGUIReader>("ccs.CustomGUIReader", "cc.Ref"),
    classEntry<studio::ComAudio>("ccs.ComAudio", "cc.Component", comAudioMethods()),
};

const std::vector<ClassEntry> kStudioClasses = [] {
    std::vector<ClassEntry> rows = kStudioOwnClasses;
    const std::span<const ClassEntry> records = studioRecordRows();
    rows.insert(rows.end(), records.begin(), records.end());
    return rows;
}();

}  // namespace

std::span<const ClassEntry> studioClassTable() { return kStudioClasses; }

int register_studio_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kStudioClasses);
    register_studio_manual(L);
    register_csloader_manual(L);
    register_custom_gui_reader_class(L);
    return 1;
}

}  // namespace bindings
