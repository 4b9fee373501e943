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

#define VEXO_EASE_RATE_DEFS(Name, curve)                                   \
    Name* Name::create(ActionInterval* action, float rate) {               \
        if (!action) return nullptr;                                       \
        auto* ease = new Name;                                             \
        ease->initWithAction(action);                                      \
        ease->_rate = rate;                                                \
        ease->autorelease();                                               \
        return ease;                                                       \
    }                                                                      \
    Name* Name::clone() const {                                            \
        ActionInterval* inner = innerClone();                              \
        return inner ? create(inner, _rate) : nullptr;                     \
    }                                                                      \
    float Name::ease(float t) const { return easing::curve(t, _rate); }

VEXO_EASE_RATE_DEFS(EaseIn, rateIn)
VEXO_EASE_RATE_DEFS(EaseOut, rateOut)
VEXO_EASE_RATE_DEFS(EaseInOut, rateInOut)

#define VEXO_EASE_ELASTIC_DEFS(Name, curve)                                \
    Name* Name::create(ActionInterval* action, float period) {             \
        if (!action) return nullptr;                                       \
        auto* ease = new Name;                                             \
        ease->initWithAction(action);                                      \
        ease->_period = period;                                            \
        ease->autorelease();                                               \
        return ease;                                                       \
    }                                                                      \
    Name* Name::clone() const {                                            \
        ActionInterval* inner = innerClone();                              \
        return inner ? create(inner, _period) : nullptr;                   \
    }                                                                      \
    float Name::ease(float t) const { return easing::curve(t, _period); }

VEXO_EASE_ELASTIC_DEFS(EaseElasticIn, elasticIn)
VEXO_EASE_ELASTIC_DEFS(EaseElasticOut, elasticOut)

#define VEXO_EASE_DEFS(Name, curve)                                        \
    Name* Name::create(ActionInterval* action) {                           \
        if (!action) return nullptr;                                       \
        auto* ease = new Name;                                             \
        ease->initWithAction(action);                                      \
        ease->autorelease();                                               \
        return ease;                                                       \
    }                                                                      \
    Name* Name::clone() const {                                            \
        ActionInterval* inner = innerClone();                              \
        return inner ? create(inner) : nullptr;                            \
    }                                                                      \
    float Name::ease(float t) const { return easing::curve(t); }

VEXO_EASE_DEFS(EaseSineIn, sineIn)
VEXO_EASE_DEFS(EaseSineOut, sineOut)
VEXO_EASE_DEFS(EaseSineInOut, sineInOut)
VEXO_EASE_DEFS(EaseExponentialIn, exponentialIn)
VEXO_EASE_DEFS(EaseExponentialOut, exponentialOut)
VEXO_EASE_DEFS(EaseBackIn, backIn)
VEXO_EASE_DEFS(EaseBackOut, backOut)
VEXO_EASE_DEFS(EaseBounceIn, bounceIn)
VEXO_EASE_DEFS(EaseBounceOut, bounceOut)

}  // namespace engine
