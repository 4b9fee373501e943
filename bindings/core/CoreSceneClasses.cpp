// The transition scenes, the progress timer and the clipping node of the core table.
#include "bindings/core/CoreClassRows.h"

#include "engine/scene/ClippingNode.h"
#include "engine/scene/ProgressTimer.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/TransitionOriented.h"
#include "engine/scene/TransitionProgress.h"
#include "engine/scene/TransitionScene.h"
#include "engine/scene/TransitionZooms.h"

namespace bindings {

namespace {

using namespace engine;

TransitionFade* createFade(float duration, Scene* scene) { return TransitionFade::create(duration, scene); }
TransitionFade* createFadeWithColor(float duration, Scene* scene, const Color3B& color) {
    return TransitionFade::create(duration, scene, color);
}

const Method kTransitionSceneMethods[] = {
    {"create", {classFunction<&TransitionScene::create>()}},
    {"finish", {method<&TransitionScene::finish>()}},
    {"getInScene", {method<&TransitionScene::getInScene>()}},
    {"getDuration", {method<&TransitionScene::getDuration>()}},
};
const Method kTransitionFadeMethods[] = {
    {"create", {classFunction<&createFade>(), classFunction<&createFadeWithColor>()}}};

using Orientation = TransitionSceneOriented::Orientation;
Orientation orientationOf(int32_t value) { return value == 1 ? Orientation::RIGHT_OVER : Orientation::LEFT_OVER; }
int32_t getOrientation(TransitionSceneOriented* self) { return static_cast<int32_t>(self->getOrientation()); }
TransitionSceneOriented* createOriented(float duration, Scene* scene, int32_t orientation) {
    return TransitionSceneOriented::create(duration, scene, orientationOf(orientation));
}
const Method kTransitionSceneOrientedMethods[] = {
    {"create", {classFunction<&createOriented>()}},
    {"getOrientation", {method<&getOrientation>()}},
};
// create(duration, scene[, orientation]) for each flip.
template <class T>
T* createFlip(float duration, Scene* scene) {
    return T::create(duration, scene);
}
template <class T>
T* createFlipOriented(float duration, Scene* scene, int32_t orientation) {
    return T::create(duration, scene, orientationOf(orientation));
}
template <class T>
const Method kFlipMethods[] = {{"create", {classFunction<&createFlipOriented<T>>(), classFunction<&createFlip<T>>()}}};

const Method kTransitionProgressMethods[] = {
    {"create", {classFunction<&TransitionProgress::create>()}},
    {"getRevealed", {method<&TransitionProgress::getRevealed>()}},
};

// Kinds come as their numbers (radial 0, bar 1); others are clamped.
void setProgressType(ProgressTimer* self, int32_t type) {
    self->setType(type <= 0 ? ProgressTimer::Type::RADIAL : ProgressTimer::Type::BAR);
}
int32_t getProgressType(ProgressTimer* self) { return static_cast<int32_t>(self->getType()); }
ClippingNode* createClippingNode() { return ClippingNode::create(); }
ClippingNode* createClippingNodeWithStencil(Node* stencil) { return ClippingNode::create(stencil); }

const Method kProgressTimerMethods[] = {
    {"create", {classFunction<&ProgressTimer::create>()}},
    {"setSprite", {method<&ProgressTimer::setSprite>()}},
    {"getSprite", {method<&ProgressTimer::getSprite>()}},
    {"setType", {method<&setProgressType>()}},
    {"getType", {method<&getProgressType>()}},
    {"setPercentage", {method<&ProgressTimer::setPercentage>()}},
    {"getPercentage", {method<&ProgressTimer::getPercentage>()}},
    {"setReverseDirection", {method<&ProgressTimer::setReverseDirection>()}},
    {"isReverseDirection", {method<&ProgressTimer::isReverseDirection>()}},
    {"setMidpoint", {method<&ProgressTimer::setMidpoint>()}},
    {"getMidpoint", {method<&ProgressTimer::getMidpoint>()}},
    {"setBarChangeRate", {method<&ProgressTimer::setBarChangeRate>()}},
    {"getBarChangeRate", {method<&ProgressTimer::getBarChangeRate>()}},
};

const Method kClippingNodeMethods[] = {
    {"create", {classFunction<&createClippingNode>(), classFunction<&createClippingNodeWithStencil>()}},
    {"setStencil", {method<&ClippingNode::setStencil>()}},
    {"getStencil", {method<&ClippingNode::getStencil>()}},
    {"setAlphaThreshold", {method<&ClippingNode::setAlphaThreshold>()}},
    {"getAlphaThreshold", {method<&ClippingNode::getAlphaThreshold>()}},
    {"setInverted", {method<&ClippingNode::setInverted>()}},
    {"isInverted", {method<&ClippingNode::isInverted>()}},
};

const ClassEntry kRows[] = {
    classEntry<ProgressTimer>("cc.ProgressTimer", "cc.Node", kProgressTimerMethods),
    classEntry<ClippingNode>("cc.ClippingNode", "cc.Node", kClippingNodeMethods),
    classEntry<TransitionScene>("cc.TransitionScene", "cc.Scene", kTransitionSceneMethods),
    classEntry<TransitionFade>("cc.TransitionFade", "cc.TransitionScene", kTransitionFadeMethods),
    classEntry<TransitionCrossFade>("cc.TransitionCrossFade", "cc.TransitionScene", kCreateMethods<TransitionCrossFade>),
    classEntry<TransitionSlideIn>("cc.TransitionSlideIn", "cc.TransitionScene"),
    classEntry<TransitionSlideInL>("cc.TransitionSlideInL", "cc.TransitionSlideIn", kCreateMethods<TransitionSlideInL>),
    classEntry<TransitionSlideInR>("cc.TransitionSlideInR", "cc.TransitionSlideIn", kCreateMethods<TransitionSlideInR>),
    classEntry<TransitionSlideInT>("cc.TransitionSlideInT", "cc.TransitionSlideIn", kCreateMethods<TransitionSlideInT>),
    classEntry<TransitionSlideInB>("cc.TransitionSlideInB", "cc.TransitionSlideIn", kCreateMethods<TransitionSlideInB>),
    classEntry<TransitionMoveInL>("cc.TransitionMoveInL", "cc.TransitionSlideIn", kCreateMethods<TransitionMoveInL>),
    classEntry<TransitionMoveInR>("cc.TransitionMoveInR", "cc.TransitionSlideIn", kCreateMethods<TransitionMoveInR>),
    classEntry<TransitionMoveInT>("cc.TransitionMoveInT", "cc.TransitionSlideIn", kCreateMethods<TransitionMoveInT>),
    classEntry<TransitionMoveInB>("cc.TransitionMoveInB", "cc.TransitionSlideIn", kCreateMethods<TransitionMoveInB>),
    classEntry<TransitionSceneOriented>("cc.TransitionSceneOriented", "cc.TransitionScene",
                                        kTransitionSceneOrientedMethods),
    classEntry<TransitionFlipX>("cc.TransitionFlipX", "cc.TransitionSceneOriented", kFlipMethods<TransitionFlipX>),
    classEntry<TransitionFlipY>("cc.TransitionFlipY", "cc.TransitionSceneOriented", kFlipMethods<TransitionFlipY>),
    classEntry<TransitionFlipAngular>("cc.TransitionFlipAngular", "cc.TransitionSceneOriented",
                                      kFlipMethods<TransitionFlipAngular>),
    classEntry<TransitionZoomFlipX>("cc.TransitionZoomFlipX", "cc.TransitionSceneOriented",
                                    kFlipMethods<TransitionZoomFlipX>),
    classEntry<TransitionZoomFlipY>("cc.TransitionZoomFlipY", "cc.TransitionSceneOriented",
                                    kFlipMethods<TransitionZoomFlipY>),
    classEntry<TransitionZoomFlipAngular>("cc.TransitionZoomFlipAngular", "cc.TransitionSceneOriented",
                                          kFlipMethods<TransitionZoomFlipAngular>),
    classEntry<TransitionProgress>("cc.TransitionProgress", "cc.TransitionScene", kTransitionProgressMethods),
    classEntry<TransitionProgressRadialCCW>("cc.TransitionProgressRadialCCW", "cc.TransitionProgress",
                                            kCreateMethods<TransitionProgressRadialCCW>),
    classEntry<TransitionProgressRadialCW>("cc.TransitionProgressRadialCW", "cc.TransitionProgressRadialCCW",
                                           kCreateMethods<TransitionProgressRadialCW>),
    classEntry<TransitionProgressHorizontal>("cc.TransitionProgressHorizontal", "cc.TransitionProgress",
                                             kCreateMethods<TransitionProgressHorizontal>),
    classEntry<TransitionProgressVertical>("cc.TransitionProgressVertical", "cc.TransitionProgress",
                                           kCreateMethods<TransitionProgressVertical>),
    classEntry<TransitionProgressInOut>("cc.TransitionProgressInOut", "cc.TransitionProgress",
                                        kCreateMethods<TransitionProgressInOut>),
    classEntry<TransitionProgressOutIn>("cc.TransitionProgressOutIn", "cc.TransitionProgress",
                                        kCreateMethods<TransitionProgressOutIn>),
    classEntry<TransitionRotoZoom>("cc.TransitionRotoZoom", "cc.TransitionScene", kCreateMethods<TransitionRotoZoom>),
    classEntry<TransitionJumpZoom>("cc.TransitionJumpZoom", "cc.TransitionScene", kCreateMethods<TransitionJumpZoom>),
    classEntry<TransitionShrinkGrow>("cc.TransitionShrinkGrow", "cc.TransitionScene",
                                     kCreateMethods<TransitionShrinkGrow>),
};

}  // namespace

std::span<const ClassEntry> coreSceneRows() { return kRows; }

}  // namespace bindings
