#include "engine/actions/ActionProgress.h"

#include <algorithm>

#include "engine/scene/ProgressTimer.h"

namespace engine {

ProgressTo* ProgressTo::create(float duration, float percent) {
    auto* action = new ProgressTo;
    action->setDuration(std::max(duration, 0.f));
    action->_to = percent;
    action->autorelease();
    return action;
}

ProgressTo* ProgressTo::clone() const { return create(getDuration(), _to); }

void ProgressTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    auto* timer = dynamic_cast<ProgressTimer*>(target);
    _from = timer ? timer->getPercentage() : 0.f;
}

void ProgressTo::update(float t) {
    if (auto* timer = dynamic_cast<ProgressTimer*>(getTarget())) timer->setPercentage(_from + (_to - _from) * t);
}

ProgressFromTo* ProgressFromTo::create(float duration, float fromPercentage, float toPercentage) {
    auto* action = new ProgressFromTo;
    action->setDuration(std::max(duration, 0.f));
    action->_from = fromPercentage;
    action->_to = toPercentage;
    action->autorelease();
    return action;
}

ProgressFromTo* ProgressFromTo::clone() const { return create(getDuration(), _from, _to); }

void ProgressFromTo::update(float t) {
    if (auto* timer = dynamic_cast<ProgressTimer*>(getTarget())) timer->setPercentage(_from + (_to - _from) * t);
}

}  // namespace engine
