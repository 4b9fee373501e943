#include "engine/actions/ActionEase.h"

#include "engine/actions/Easing.h"

namespace engine {

ActionEase::~ActionEase() {
    if (_inner) _inner->release();
}

bool ActionEase::initWithAction(ActionInterval* action) {
    if (!action) return false;
    initWithDuration(action->getDuration());
    _inner = action;
    action->retain();
    return true;
}

void ActionEase::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _inner->startWithTarget(target);
}

void ActionEase::stop() {
    _inner->stop();
    ActionInterval::stop();
}

void ActionEase::update(float t) { _inner->update(ease(t)); }

// Another ease's curve turned end for end, over the reverse of its inner action.
class MirroredEase : public ActionEase {
public:
    static MirroredEase* create(const ActionEase* source, ActionInterval* action) {
        auto* mirror = new MirroredEase;
        mirror->_source = source->clone();
        if (mirror->_source) mirror->_source->retain();
        return autoreleased(mirror, mirror->_source && mirror->initWithAction(action));
    }
    ~MirroredEase() override {
        if (_source) _source->release();
    }
    MirroredEase* clone() const override {
        ActionInterval* inner = innerClone();
        return inner ? create(_source, inner) : nullptr;
    }
    // reverse() mirrors the mirror: the source's own curve again.

protected:
    float ease(float t) const override { return 1.f - _source->ease(1.f - t); }

private:
    ActionEase* _source = nullptr;
};

ActionEase* ActionEase::reverse() const {
    ActionInterval* inner = _inner->reverse();
    return inner ? MirroredEase::create(this, inner) : nullptr;
}

// create(), clone() and the curve of an ease with one setting of its own, the
// member _param given to create() after the action.
#define VEXO_EASE_SETTING_DEFS(Name, param, curve)                         \
    Name* Name::create(ActionInterval* action, float param) {              \
        if (!action) return nullptr;                                       \
        auto* ease = new Name;                                             \
        ease->_##param = param;                                            \
        return autoreleased(ease, ease->initWithAction(action));           \
    }                                                                      \
    Name* Name::clone() const {                                            \
        ActionInterval* inner = innerClone();                              \
        return inner ? create(inner, _##param) : nullptr;                  \
    }                                                                      \
    float Name::ease(float t) const { return easing::curve(t, _##param); }

#define VEXO_EASE_RATE_DEFS(Name, curve) VEXO_EASE_SETTING_DEFS(Name, rate, curve)
VEXO_EASE_RATE_DEFS(EaseIn, rateIn)
VEXO_EASE_RATE_DEFS(EaseOut, rateOut)
VEXO_EASE_RATE_DEFS(EaseInOut, rateInOut)
#undef VEXO_EASE_RATE_DEFS

#define VEXO_EASE_ELASTIC_DEFS(Name, curve) VEXO_EASE_SETTING_DEFS(Name, period, curve)
VEXO_EASE_ELASTIC_DEFS(EaseElasticIn, elasticIn)
VEXO_EASE_ELASTIC_DEFS(EaseElasticOut, elasticOut)
VEXO_EASE_ELASTIC_DEFS(EaseElasticInOut, elasticInOut)
#undef VEXO_EASE_ELASTIC_DEFS
#undef VEXO_EASE_SETTING_DEFS

// create(), clone() and the curve (an expression in t) of an ease without
// settings of its own.
#define VEXO_EASE_CURVE_DEFS(Name, ...)                                    \
    Name* Name::create(ActionInterval* action) {                           \
        if (!action) return nullptr;                                       \
        auto* ease = new Name;                                             \
        return autoreleased(ease, ease->initWithAction(action));           \
    }                                                                      \
    Name* Name::clone() const {                                            \
        ActionInterval* inner = innerClone();                              \
        return inner ? create(inner) : nullptr;                            \
    }                                                                      \
    float Name::ease(float t) const { return __VA_ARGS__; }

#define VEXO_EASE_DEFS(Name, curve) VEXO_EASE_CURVE_DEFS(Name, easing::curve(t))
VEXO_EASE_DEFS(EaseSineIn, sineIn)
VEXO_EASE_DEFS(EaseSineOut, sineOut)
VEXO_EASE_DEFS(EaseSineInOut, sineInOut)
VEXO_EASE_DEFS(EaseExponentialIn, exponentialIn)
VEXO_EASE_DEFS(EaseExponentialOut, exponentialOut)
VEXO_EASE_DEFS(EaseBackIn, backIn)
VEXO_EASE_DEFS(EaseBackOut, backOut)
VEXO_EASE_DEFS(EaseBounceIn, bounceIn)
VEXO_EASE_DEFS(EaseBounceOut, bounceOut)
VEXO_EASE_DEFS(EaseExponentialInOut, exponentialInOut)
VEXO_EASE_DEFS(EaseBackInOut, backInOut)
VEXO_EASE_DEFS(EaseBounceInOut, bounceInOut)
VEXO_EASE_DEFS(EaseCircleActionIn, circleIn)
VEXO_EASE_DEFS(EaseCircleActionOut, circleOut)
VEXO_EASE_DEFS(EaseCircleActionInOut, circleInOut)
#undef VEXO_EASE_DEFS

#define VEXO_EASE_POWER_DEFS(Name, curve, power) VEXO_EASE_CURVE_DEFS(Name, easing::curve(t, power))
VEXO_EASE_POWER_DEFS(EaseQuadraticActionIn, powerIn, 2)
VEXO_EASE_POWER_DEFS(EaseQuadraticActionOut, powerOut, 2)
VEXO_EASE_POWER_DEFS(EaseQuadraticActionInOut, powerInOut, 2)
VEXO_EASE_POWER_DEFS(EaseCubicActionIn, powerIn, 3)
VEXO_EASE_POWER_DEFS(EaseCubicActionOut, powerOut, 3)
VEXO_EASE_POWER_DEFS(EaseCubicActionInOut, powerInOut, 3)
VEXO_EASE_POWER_DEFS(EaseQuarticActionIn, powerIn, 4)
VEXO_EASE_POWER_DEFS(EaseQuarticActionOut, powerOut, 4)
VEXO_EASE_POWER_DEFS(EaseQuarticActionInOut, powerInOut, 4)
VEXO_EASE_POWER_DEFS(EaseQuinticActionIn, powerIn, 5)
VEXO_EASE_POWER_DEFS(EaseQuinticActionOut, powerOut, 5)
VEXO_EASE_POWER_DEFS(EaseQuinticActionInOut, powerInOut, 5)
#undef VEXO_EASE_POWER_DEFS
#undef VEXO_EASE_CURVE_DEFS

EaseBezierAction* EaseBezierAction::create(ActionInterval* action) {
    if (!action) return nullptr;
    auto* ease = new EaseBezierAction;
    return autoreleased(ease, ease->initWithAction(action));
}

EaseBezierAction* EaseBezierAction::clone() const {
    ActionInterval* inner = innerClone();
    if (!inner) return nullptr;
    EaseBezierAction* copy = create(inner);
    copy->setBezierParamer(_p0, _p1, _p2, _p3);
    return copy;
}

void EaseBezierAction::setBezierParamer(float p0, float p1, float p2, float p3) {
    _p0 = p0;
    _p1 = p1;
    _p2 = p2;
    _p3 = p3;
}

float EaseBezierAction::ease(float t) const { return easing::bezier(t, _p0, _p1, _p2, _p3); }

}  // namespace engine
