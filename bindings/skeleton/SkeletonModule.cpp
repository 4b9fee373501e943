// The skeleton module: the skeletal animation classes (table "sp").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

#include "bindings/skeleton/LuaSkeletonAnimation.h"
#include "skeleton/SkeletonAnimation.h"
#include "skeleton/SkeletonRenderer.h"

namespace bindings {

namespace {

using skeleton::SkeletonAnimation;
using skeleton::SkeletonRenderer;

SkeletonRenderer* createRenderer2(const std::string& dataFile, const std::string& atlasFile) {
    return SkeletonRenderer::createWithFile(dataFile, atlasFile);
}
SkeletonAnimation* createAnimation2(const std::string& dataFile, const std::string& atlasFile) {
    return SkeletonAnimation::createWithFile(dataFile, atlasFile);
}
bool setAttachment(SkeletonRenderer* self, const std::string& slot, const std::string& attachment) {
    return self->setAttachment(slot, attachment);
}
bool setSkin(SkeletonRenderer* self, const std::string& skin) { return self->setSkin(skin); }
void clearTrack0(SkeletonAnimation* self) { self->clearTrack(); }

const Method kRendererMethods[] = {
    {"createWithFile", {classFunction<&createRenderer2>(), classFunction<&SkeletonRenderer::createWithFile>()}},
    {"setTimeScale", {method<&SkeletonRenderer::setTimeScale>()}},
    {"getTimeScale", {method<&SkeletonRenderer::getTimeScale>()}},
    {"setDebugSlotsEnabled", {method<&SkeletonRenderer::setDebugSlotsEnabled>()}},
    {"getDebugSlotsEnabled", {method<&SkeletonRenderer::getDebugSlotsEnabled>()}},
    {"setDebugBonesEnabled", {method<&SkeletonRenderer::setDebugBonesEnabled>()}},
    {"getDebugBonesEnabled", {method<&SkeletonRenderer::getDebugBonesEnabled>()}},
    {"setToSetupPose", {method<&SkeletonRenderer::setToSetupPose>()}},
    {"setBonesToSetupPose", {method<&SkeletonRenderer::setBonesToSetupPose>()}},
    {"setSlotsToSetupPose", {method<&SkeletonRenderer::setSlotsToSetupPose>()}},
    {"setAttachment", {method<&setAttachment>()}},
    {"setSkin", {method<&setSkin>()}},
    {"setBlendFunc", {method<&SkeletonRenderer::setBlendFunc>()}},
    {"getBlendFunc", {method<&SkeletonRenderer::getBlendFunc>()}},
    {"setOpacityModifyRGB", {method<&SkeletonRenderer::setOpacityModifyRGB>()}},
    {"isOpacityModifyRGB", {method<&SkeletonRenderer::isOpacityModifyRGB>()}},
};

const Method kAnimationMethods[] = {
    {"createWithFile", {classFunction<&createAnimation2>(), classFunction<&SkeletonAnimation::createWithFile>()}},
    {"setMix", {method<&SkeletonAnimation::setMix>()}},
    {"clearTracks", {method<&SkeletonAnimation::clearTracks>()}},
    {"clearTrack", {method<&clearTrack0>(), method<&SkeletonAnimation::clearTrack>()}},
};

// Rows in registration order, bases first.
const std::vector<ClassEntry> kSkeletonClasses = {
    classEntry<SkeletonRenderer>("sp.SkeletonRenderer", "cc.Node", kRendererMethods),
    classEntry<SkeletonAnimation>("sp.SkeletonAnimation", "sp.SkeletonRenderer", kAnimationMethods),
};

}  // namespace

std::span<const ClassEntry> skeletonClassTable() { return kSkeletonClasses; }

int register_skeleton_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kSkeletonClasses);
    register_skeleton_manual(L);
    register_skeleton_members(L);
    return 1;
}

}  // namespace bindings
