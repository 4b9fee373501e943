// The actions of the core table: timed actions on a node's values, the actions
// that run other actions, instant actions and ease actions.
#include "bindings/core/CoreClassRows.h"

#include <cstdint>

#include "engine/actions/ActionEase.h"
#include "engine/actions/ActionFollow.h"
#include "engine/actions/ActionInstant.h"
#include "engine/actions/ActionMotion.h"
#include "engine/actions/ActionProgress.h"
#include "engine/actions/ActionTween.h"
#include "engine/scene/Node.h"

namespace bindings {

namespace {

using namespace engine;

uint8_t byteOf(int32_t value) { return static_cast<uint8_t>(value); }

FadeTo* createFadeTo(float duration, int32_t opacity) { return FadeTo::create(duration, byteOf(opacity)); }
TintTo* createTintTo(float duration, int32_t red, int32_t green, int32_t blue) {
    return TintTo::create(duration, byteOf(red), byteOf(green), byteOf(blue));
}
TintTo* createTintToColor(float duration, const Color3B& color) {
    return TintTo::create(duration, color.r, color.g, color.b);
}
TintBy* createTintBy(float duration, int32_t red, int32_t green, int32_t blue) {
    return TintBy::create(duration, static_cast<int16_t>(red), static_cast<int16_t>(green), static_cast<int16_t>(blue));
}
Repeat* createRepeat(FiniteTimeAction* action, uint32_t times) { return Repeat::create(action, times); }

Follow* createFollow(Node* node) { return Follow::create(node); }
Follow* createFollowInRect(Node* node, const Rect& boundary) { return Follow::create(node, boundary); }

const Method kActionTweenMethods[] = {
    {"create", {classFunction<&ActionTween::create>()}},
    {"getKey", {method<&ActionTween::getKey>()}},
};
const Method kFollowMethods[] = {
    {"create", {classFunction<&createFollow>(), classFunction<&createFollowInRect>()}},
    {"isBoundarySet", {method<&Follow::isBoundarySet>()}},
    {"setBoundarySet", {method<&Follow::setBoundarySet>()}},
    {"getFollowedNode", {method<&Follow::getFollowedNode>()}},
};
const Method kFadeToMethods[] = {{"create", {classFunction<&createFadeTo>()}}};
const Method kTintToMethods[] = {{"create", {classFunction<&createTintTo>(), classFunction<&createTintToColor>()}}};
const Method kTintByMethods[] = {{"create", {classFunction<&createTintBy>()}}};
const Method kRepeatMethods[] = {{"create", {classFunction<&createRepeat>()}}};
const Method kSpeedMethods[] = {
    {"create", {classFunction<&Speed::create>()}},
    {"setSpeed", {method<&Speed::setSpeed>()}},
    {"getSpeed", {method<&Speed::getSpeed>()}},
    {"getInnerAction", {method<&Speed::getInnerAction>()}},
};
const Method kTargetedActionMethods[] = {
    {"create", {classFunction<&TargetedAction::create>()}},
    {"getForcedTarget", {method<&TargetedAction::getForcedTarget>()}},
};

const Method kRemoveSelfMethods[] = {{"create", {classFunction<&RemoveSelf::create, true>()}}};

const Method kActionEaseMethods[] = {{"getInnerAction", {method<&ActionEase::getInnerAction>()}}};
const Method kEaseRateActionMethods[] = {
    {"setRate", {method<&EaseRateAction::setRate>()}},
    {"getRate", {method<&EaseRateAction::getRate>()}},
};
const Method kEaseElasticMethods[] = {
    {"setPeriod", {method<&EaseElastic::setPeriod>()}},
    {"getPeriod", {method<&EaseElastic::getPeriod>()}},
};
// The elastic eases' period when a script gives none.
constexpr float kElasticPeriod = 0.3f;
template <class T>
const Method kElasticEaseMethods[] = {{"create", {classFunction<&T::create, &kElasticPeriod>()}}};
const Method kEaseBezierActionMethods[] = {
    {"create", {classFunction<&EaseBezierAction::create>()}},
    {"setBezierParamer", {method<&EaseBezierAction::setBezierParamer>()}},
};

const ClassEntry kRows[] = {
    classEntry<MoveBy>("cc.MoveBy", "cc.ActionInterval", kCreateMethods<MoveBy>),
    classEntry<MoveTo>("cc.MoveTo", "cc.MoveBy", kCreateMethods<MoveTo>),
    classEntry<JumpBy>("cc.JumpBy", "cc.ActionInterval", kCreateMethods<JumpBy>),
    classEntry<JumpTo>("cc.JumpTo", "cc.JumpBy", kCreateMethods<JumpTo>),
    classEntry<RotateTo>("cc.RotateTo", "cc.ActionInterval", kCreateMethods<RotateTo>),
    classEntry<RotateBy>("cc.RotateBy", "cc.ActionInterval", kCreateMethods<RotateBy>),
    classEntry<FadeTo>("cc.FadeTo", "cc.ActionInterval", kFadeToMethods),
    classEntry<FadeIn>("cc.FadeIn", "cc.FadeTo", kCreateMethods<FadeIn>),
    classEntry<FadeOut>("cc.FadeOut", "cc.FadeTo", kCreateMethods<FadeOut>),
    classEntry<TintTo>("cc.TintTo", "cc.ActionInterval", kTintToMethods),
    classEntry<TintBy>("cc.TintBy", "cc.ActionInterval", kTintByMethods),
    classEntry<Blink>("cc.Blink", "cc.ActionInterval", kCreateMethods<Blink>),
    classEntry<Repeat>("cc.Repeat", "cc.ActionInterval", kRepeatMethods),
    classEntry<Speed>("cc.Speed", "cc.Action", kSpeedMethods),
    classEntry<TargetedAction>("cc.TargetedAction", "cc.ActionInterval", kTargetedActionMethods),
    classEntry<ActionInstant>("cc.ActionInstant", "cc.FiniteTimeAction"),
    classEntry<Show>("cc.Show", "cc.ActionInstant", kCreateMethods<Show>),
    classEntry<Hide>("cc.Hide", "cc.ActionInstant", kCreateMethods<Hide>),
    classEntry<ToggleVisibility>("cc.ToggleVisibility", "cc.ActionInstant", kCreateMethods<ToggleVisibility>),
    classEntry<RemoveSelf>("cc.RemoveSelf", "cc.ActionInstant", kRemoveSelfMethods),
    classEntry<Place>("cc.Place", "cc.ActionInstant", kCreateMethods<Place>),
    classEntry<FlipX>("cc.FlipX", "cc.ActionInstant", kCreateMethods<FlipX>),
    classEntry<FlipY>("cc.FlipY", "cc.ActionInstant", kCreateMethods<FlipY>),
    classEntry<ActionEase>("cc.ActionEase", "cc.ActionInterval", kActionEaseMethods),
    classEntry<EaseRateAction>("cc.EaseRateAction", "cc.ActionEase", kEaseRateActionMethods),
    classEntry<EaseIn>("cc.EaseIn", "cc.EaseRateAction", kCreateMethods<EaseIn>),
    classEntry<EaseOut>("cc.EaseOut", "cc.EaseRateAction", kCreateMethods<EaseOut>),
    classEntry<EaseInOut>("cc.EaseInOut", "cc.EaseRateAction", kCreateMethods<EaseInOut>),
    classEntry<EaseSineIn>("cc.EaseSineIn", "cc.ActionEase", kCreateMethods<EaseSineIn>),
    classEntry<EaseSineOut>("cc.EaseSineOut", "cc.ActionEase", kCreateMethods<EaseSineOut>),
    classEntry<EaseSineInOut>("cc.EaseSineInOut", "cc.ActionEase", kCreateMethods<EaseSineInOut>),
    classEntry<EaseExponentialIn>("cc.EaseExponentialIn", "cc.ActionEase", kCreateMethods<EaseExponentialIn>),
    classEntry<EaseExponentialOut>("cc.EaseExponentialOut", "cc.ActionEase", kCreateMethods<EaseExponentialOut>),
    classEntry<EaseBackIn>("cc.EaseBackIn", "cc.ActionEase", kCreateMethods<EaseBackIn>),
    classEntry<EaseBackOut>("cc.EaseBackOut", "cc.ActionEase", kCreateMethods<EaseBackOut>),
    classEntry<EaseElastic>("cc.EaseElastic", "cc.ActionEase", kEaseElasticMethods),
    classEntry<EaseElasticIn>("cc.EaseElasticIn", "cc.EaseElastic", kElasticEaseMethods<EaseElasticIn>),
    classEntry<EaseElasticOut>("cc.EaseElasticOut", "cc.EaseElastic", kElasticEaseMethods<EaseElasticOut>),
    classEntry<EaseBounceIn>("cc.EaseBounceIn", "cc.ActionEase", kCreateMethods<EaseBounceIn>),
    classEntry<EaseBounceOut>("cc.EaseBounceOut", "cc.ActionEase", kCreateMethods<EaseBounceOut>),
    classEntry<EaseElasticInOut>("cc.EaseElasticInOut", "cc.EaseElastic", kElasticEaseMethods<EaseElasticInOut>),
    classEntry<EaseExponentialInOut>("cc.EaseExponentialInOut", "cc.ActionEase", kCreateMethods<EaseExponentialInOut>),
    classEntry<EaseBackInOut>("cc.EaseBackInOut", "cc.ActionEase", kCreateMethods<EaseBackInOut>),
    classEntry<EaseBounceInOut>("cc.EaseBounceInOut", "cc.ActionEase", kCreateMethods<EaseBounceInOut>),
    classEntry<EaseBezierAction>("cc.EaseBezierAction", "cc.ActionEase", kEaseBezierActionMethods),
    classEntry<EaseQuadraticActionIn>("cc.EaseQuadraticActionIn", "cc.ActionEase", kCreateMethods<EaseQuadraticActionIn>),
    classEntry<EaseQuadraticActionOut>("cc.EaseQuadraticActionOut", "cc.ActionEase", kCreateMethods<EaseQuadraticActionOut>),
    classEntry<EaseQuadraticActionInOut>("cc.EaseQuadraticActionInOut", "cc.ActionEase",
                                         kCreateMethods<EaseQuadraticActionInOut>),
    classEntry<EaseCubicActionIn>("cc.EaseCubicActionIn", "cc.ActionEase", kCreateMethods<EaseCubicActionIn>),
    classEntry<EaseCubicActionOut>("cc.EaseCubicActionOut", "cc.ActionEase", kCreateMethods<EaseCubicActionOut>),
    classEntry<EaseCubicActionInOut>("cc.EaseCubicActionInOut", "cc.ActionEase", kCreateMethods<EaseCubicActionInOut>),
    classEntry<EaseQuarticActionIn>("cc.EaseQuarticActionIn", "cc.ActionEase", kCreateMethods<EaseQuarticActionIn>),
    classEntry<EaseQuarticActionOut>("cc.EaseQuarticActionOut", "cc.ActionEase", kCreateMethods<EaseQuarticActionOut>),
    classEntry<EaseQuarticActionInOut>("cc.EaseQuarticActionInOut", "cc.ActionEase", kCreateMethods<EaseQuarticActionInOut>),
    classEntry<EaseQuinticActionIn>("cc.EaseQuinticActionIn", "cc.ActionEase", kCreateMethods<EaseQuinticActionIn>),
    classEntry<EaseQuinticActionOut>("cc.EaseQuinticActionOut", "cc.ActionEase", kCreateMethods<EaseQuinticActionOut>),
    classEntry<EaseQuinticActionInOut>("cc.EaseQuinticActionInOut", "cc.ActionEase", kCreateMethods<EaseQuinticActionInOut>),
    classEntry<EaseCircleActionIn>("cc.EaseCircleActionIn", "cc.ActionEase", kCreateMethods<EaseCircleActionIn>),
    classEntry<EaseCircleActionOut>("cc.EaseCircleActionOut", "cc.ActionEase", kCreateMethods<EaseCircleActionOut>),
    classEntry<EaseCircleActionInOut>("cc.EaseCircleActionInOut", "cc.ActionEase", kCreateMethods<EaseCircleActionInOut>),
    classEntry<SkewTo>("cc.SkewTo", "cc.ActionInterval", kCreateMethods<SkewTo>),
    classEntry<SkewBy>("cc.SkewBy", "cc.SkewTo", kCreateMethods<SkewBy>),
    classEntry<ProgressTo>("cc.ProgressTo", "cc.ActionInterval", kCreateMethods<ProgressTo>),
    classEntry<ProgressFromTo>("cc.ProgressFromTo", "cc.ActionInterval", kCreateMethods<ProgressFromTo>),
    classEntry<ActionFloat>("cc.ActionFloat", "cc.ActionInterval"),
    classEntry<ActionTween>("cc.ActionTween", "cc.ActionInterval", kActionTweenMethods),
    classEntry<Follow>("cc.Follow", "cc.Action", kFollowMethods),
};

}  // namespace

std::span<const ClassEntry> coreActionRows() { return kRows; }

}  // namespace bindings
