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

const Method kSkewToMethods[] = {{"create", {classFunction<&SkewTo::create>()}}};
const Method kSkewByMethods[] = {{"create", {classFunction<&SkewBy::create>()}}};
const Method kProgressToMethods[] = {{"create", {classFunction<&ProgressTo::create>()}}};
const Method kProgressFromToMethods[] = {{"create", {classFunction<&ProgressFromTo::create>()}}};
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
const Method kMoveToMethods[] = {{"create", {classFunction<&MoveTo::create>()}}};
const Method kMoveByMethods[] = {{"create", {classFunction<&MoveBy::create>()}}};
const Method kJumpToMethods[] = {{"create", {classFunction<&JumpTo::create>()}}};
const Method kJumpByMethods[] = {{"create", {classFunction<&JumpBy::create>()}}};
const Method kRotateToMethods[] = {{"create", {classFunction<&RotateTo::create>()}}};
const Method kRotateByMethods[] = {{"create", {classFunction<&RotateBy::create>()}}};
const Method kFadeToMethods[] = {{"create", {classFunction<&createFadeTo>()}}};
const Method kFadeInMethods[] = {{"create", {classFunction<&FadeIn::create>()}}};
const Method kFadeOutMethods[] = {{"create", {classFunction<&FadeOut::create>()}}};
const Method kTintToMethods[] = {{"create", {classFunction<&createTintTo>(), classFunction<&createTintToColor>()}}};
const Method kTintByMethods[] = {{"create", {classFunction<&createTintBy>()}}};
const Method kBlinkMethods[] = {{"create", {classFunction<&Blink::create>()}}};
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

const Method kShowMethods[] = {{"create", {classFunction<&Show::create>()}}};
const Method kHideMethods[] = {{"create", {classFunction<&Hide::create>()}}};
const Method kToggleVisibilityMethods[] = {{"create", {classFunction<&ToggleVisibility::create>()}}};
const Method kRemoveSelfMethods[] = {{"create", {classFunction<&RemoveSelf::create, true>()}}};
const Method kPlaceMethods[] = {{"create", {classFunction<&Place::create>()}}};
const Method kFlipXMethods[] = {{"create", {classFunction<&FlipX::create>()}}};
const Method kFlipYMethods[] = {{"create", {classFunction<&FlipY::create>()}}};

const Method kActionEaseMethods[] = {{"getInnerAction", {method<&ActionEase::getInnerAction>()}}};
const Method kEaseRateActionMethods[] = {
    {"setRate", {method<&EaseRateAction::setRate>()}},
    {"getRate", {method<&EaseRateAction::getRate>()}},
};
const Method kEaseElasticMethods[] = {
    {"setPeriod", {method<&EaseElastic::setPeriod>()}},
    {"getPeriod", {method<&EaseElastic::getPeriod>()}},
};
const Method kEaseInMethods[] = {{"create", {classFunction<&EaseIn::create>()}}};
const Method kEaseOutMethods[] = {{"create", {classFunction<&EaseOut::create>()}}};
const Method kEaseInOutMethods[] = {{"create", {classFunction<&EaseInOut::create>()}}};
const Method kEaseSineInMethods[] = {{"create", {classFunction<&EaseSineIn::create>()}}};
const Method kEaseSineOutMethods[] = {{"create", {classFunction<&EaseSineOut::create>()}}};
const Method kEaseSineInOutMethods[] = {{"create", {classFunction<&EaseSineInOut::create>()}}};
const Method kEaseExponentialInMethods[] = {{"create", {classFunction<&EaseExponentialIn::create>()}}};
const Method kEaseExponentialOutMethods[] = {{"create", {classFunction<&EaseExponentialOut::create>()}}};
const Method kEaseBackInMethods[] = {{"create", {classFunction<&EaseBackIn::create>()}}};
const Method kEaseBackOutMethods[] = {{"create", {classFunction<&EaseBackOut::create>()}}};
// The elastic eases' period when a script gives none.
constexpr float kElasticPeriod = 0.3f;
const Method kEaseElasticInMethods[] = {{"create", {classFunction<&EaseElasticIn::create, &kElasticPeriod>()}}};
const Method kEaseElasticOutMethods[] = {{"create", {classFunction<&EaseElasticOut::create, &kElasticPeriod>()}}};
const Method kEaseElasticInOutMethods[] = {
    {"create", {classFunction<&EaseElasticInOut::create, &kElasticPeriod>()}}};
const Method kEaseBezierActionMethods[] = {
    {"create", {classFunction<&EaseBezierAction::create>()}},
    {"setBezierParamer", {method<&EaseBezierAction::setBezierParamer>()}},
};
#define VEXO_EASE_METHODS(Name) const Method k##Name##Methods[] = {{"create", {classFunction<&Name::create>()}}};
VEXO_EASE_METHODS(EaseExponentialInOut)
VEXO_EASE_METHODS(EaseBackInOut)
VEXO_EASE_METHODS(EaseBounceInOut)
VEXO_EASE_METHODS(EaseQuadraticActionIn)
VEXO_EASE_METHODS(EaseQuadraticActionOut)
VEXO_EASE_METHODS(EaseQuadraticActionInOut)
VEXO_EASE_METHODS(EaseCubicActionIn)
VEXO_EASE_METHODS(EaseCubicActionOut)
VEXO_EASE_METHODS(EaseCubicActionInOut)
VEXO_EASE_METHODS(EaseQuarticActionIn)
VEXO_EASE_METHODS(EaseQuarticActionOut)
VEXO_EASE_METHODS(EaseQuarticActionInOut)
VEXO_EASE_METHODS(EaseQuinticActionIn)
VEXO_EASE_METHODS(EaseQuinticActionOut)
VEXO_EASE_METHODS(EaseQuinticActionInOut)
VEXO_EASE_METHODS(EaseCircleActionIn)
VEXO_EASE_METHODS(EaseCircleActionOut)
VEXO_EASE_METHODS(EaseCircleActionInOut)
#undef VEXO_EASE_METHODS
const Method kEaseBounceInMethods[] = {{"create", {classFunction<&EaseBounceIn::create>()}}};
const Method kEaseBounceOutMethods[] = {{"create", {classFunction<&EaseBounceOut::create>()}}};

const ClassEntry kRows[] = {
    classEntry<MoveBy>("cc.MoveBy", "cc.ActionInterval", kMoveByMethods),
    classEntry<MoveTo>("cc.MoveTo", "cc.MoveBy", kMoveToMethods),
    classEntry<JumpBy>("cc.JumpBy", "cc.ActionInterval", kJumpByMethods),
    classEntry<JumpTo>("cc.JumpTo", "cc.JumpBy", kJumpToMethods),
    classEntry<RotateTo>("cc.RotateTo", "cc.ActionInterval", kRotateToMethods),
    classEntry<RotateBy>("cc.RotateBy", "cc.ActionInterval", kRotateByMethods),
    classEntry<FadeTo>("cc.FadeTo", "cc.ActionInterval", kFadeToMethods),
    classEntry<FadeIn>("cc.FadeIn", "cc.FadeTo", kFadeInMethods),
    classEntry<FadeOut>("cc.FadeOut", "cc.FadeTo", kFadeOutMethods),
    classEntry<TintTo>("cc.TintTo", "cc.ActionInterval", kTintToMethods),
    classEntry<TintBy>("cc.TintBy", "cc.ActionInterval", kTintByMethods),
    classEntry<Blink>("cc.Blink", "cc.ActionInterval", kBlinkMethods),
    classEntry<Repeat>("cc.Repeat", "cc.ActionInterval", kRepeatMethods),
    classEntry<Speed>("cc.Speed", "cc.Action", kSpeedMethods),
    classEntry<TargetedAction>("cc.TargetedAction", "cc.ActionInterval", kTargetedActionMethods),
    classEntry<ActionInstant>("cc.ActionInstant", "cc.FiniteTimeAction"),
    classEntry<Show>("cc.Show", "cc.ActionInstant", kShowMethods),
    classEntry<Hide>("cc.Hide", "cc.ActionInstant", kHideMethods),
    classEntry<ToggleVisibility>("cc.ToggleVisibility", "cc.ActionInstant", kToggleVisibilityMethods),
    classEntry<RemoveSelf>("cc.RemoveSelf", "cc.ActionInstant", kRemoveSelfMethods),
    classEntry<Place>("cc.Place", "cc.ActionInstant", kPlaceMethods),
    classEntry<FlipX>("cc.FlipX", "cc.ActionInstant", kFlipXMethods),
    classEntry<FlipY>("cc.FlipY", "cc.ActionInstant", kFlipYMethods),
    classEntry<ActionEase>("cc.ActionEase", "cc.ActionInterval", kActionEaseMethods),
    classEntry<EaseRateAction>("cc.EaseRateAction", "cc.ActionEase", kEaseRateActionMethods),
    classEntry<EaseIn>("cc.EaseIn", "cc.EaseRateAction", kEaseInMethods),
    classEntry<EaseOut>("cc.EaseOut", "cc.EaseRateAction", kEaseOutMethods),
    classEntry<EaseInOut>("cc.EaseInOut", "cc.EaseRateAction", kEaseInOutMethods),
    classEntry<EaseSineIn>("cc.EaseSineIn", "cc.ActionEase", kEaseSineInMethods),
    classEntry<EaseSineOut>("cc.EaseSineOut", "cc.ActionEase", kEaseSineOutMethods),
    classEntry<EaseSineInOut>("cc.EaseSineInOut", "cc.ActionEase", kEaseSineInOutMethods),
    classEntry<EaseExponentialIn>("cc.EaseExponentialIn", "cc.ActionEase", kEaseExponentialInMethods),
    classEntry<EaseExponentialOut>("cc.EaseExponentialOut", "cc.ActionEase", kEaseExponentialOutMethods),
    classEntry<EaseBackIn>("cc.EaseBackIn", "cc.ActionEase", kEaseBackInMethods),
    classEntry<EaseBackOut>("cc.EaseBackOut", "cc.ActionEase", kEaseBackOutMethods),
    classEntry<EaseElastic>("cc.EaseElastic", "cc.ActionEase", kEaseElasticMethods),
    classEntry<EaseElasticIn>("cc.EaseElasticIn", "cc.EaseElastic", kEaseElasticInMethods),
    classEntry<EaseElasticOut>("cc.EaseElasticOut", "cc.EaseElastic", kEaseElasticOutMethods),
    classEntry<EaseBounceIn>("cc.EaseBounceIn", "cc.ActionEase", kEaseBounceInMethods),
    classEntry<EaseBounceOut>("cc.EaseBounceOut", "cc.ActionEase", kEaseBounceOutMethods),
    classEntry<EaseElasticInOut>("cc.EaseElasticInOut", "cc.EaseElastic", kEaseElasticInOutMethods),
    classEntry<EaseExponentialInOut>("cc.EaseExponentialInOut", "cc.ActionEase", kEaseExponentialInOutMethods),
    classEntry<EaseBackInOut>("cc.EaseBackInOut", "cc.ActionEase", kEaseBackInOutMethods),
    classEntry<EaseBounceInOut>("cc.EaseBounceInOut", "cc.ActionEase", kEaseBounceInOutMethods),
    classEntry<EaseBezierAction>("cc.EaseBezierAction", "cc.ActionEase", kEaseBezierActionMethods),
    classEntry<EaseQuadraticActionIn>("cc.EaseQuadraticActionIn", "cc.ActionEase", kEaseQuadraticActionInMethods),
    classEntry<EaseQuadraticActionOut>("cc.EaseQuadraticActionOut", "cc.ActionEase", kEaseQuadraticActionOutMethods),
    classEntry<EaseQuadraticActionInOut>("cc.EaseQuadraticActionInOut", "cc.ActionEase",
                                         kEaseQuadraticActionInOutMethods),
    classEntry<EaseCubicActionIn>("cc.EaseCubicActionIn", "cc.ActionEase", kEaseCubicActionInMethods),
    classEntry<EaseCubicActionOut>("cc.EaseCubicActionOut", "cc.ActionEase", kEaseCubicActionOutMethods),
    classEntry<EaseCubicActionInOut>("cc.EaseCubicActionInOut", "cc.ActionEase", kEaseCubicActionInOutMethods),
    classEntry<EaseQuarticActionIn>("cc.EaseQuarticActionIn", "cc.ActionEase", kEaseQuarticActionInMethods),
    classEntry<EaseQuarticActionOut>("cc.EaseQuarticActionOut", "cc.ActionEase", kEaseQuarticActionOutMethods),
    classEntry<EaseQuarticActionInOut>("cc.EaseQuarticActionInOut", "cc.ActionEase", kEaseQuarticActionInOutMethods),
    classEntry<EaseQuinticActionIn>("cc.EaseQuinticActionIn", "cc.ActionEase", kEaseQuinticActionInMethods),
    classEntry<EaseQuinticActionOut>("cc.EaseQuinticActionOut", "cc.ActionEase", kEaseQuinticActionOutMethods),
    classEntry<EaseQuinticActionInOut>("cc.EaseQuinticActionInOut", "cc.ActionEase", kEaseQuinticActionInOutMethods),
    classEntry<EaseCircleActionIn>("cc.EaseCircleActionIn", "cc.ActionEase", kEaseCircleActionInMethods),
    classEntry<EaseCircleActionOut>("cc.EaseCircleActionOut", "cc.ActionEase", kEaseCircleActionOutMethods),
    classEntry<EaseCircleActionInOut>("cc.EaseCircleActionInOut", "cc.ActionEase", kEaseCircleActionInOutMethods),
    classEntry<SkewTo>("cc.SkewTo", "cc.ActionInterval", kSkewToMethods),
    classEntry<SkewBy>("cc.SkewBy", "cc.SkewTo", kSkewByMethods),
    classEntry<ProgressTo>("cc.ProgressTo", "cc.ActionInterval", kProgressToMethods),
    classEntry<ProgressFromTo>("cc.ProgressFromTo", "cc.ActionInterval", kProgressFromToMethods),
    classEntry<ActionFloat>("cc.ActionFloat", "cc.ActionInterval"),
    classEntry<ActionTween>("cc.ActionTween", "cc.ActionInterval", kActionTweenMethods),
    classEntry<Follow>("cc.Follow", "cc.Action", kFollowMethods),
};

}  // namespace

std::span<const ClassEntry> coreActionRows() { return kRows; }

}  // namespace bindings
