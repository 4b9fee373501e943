#include "engine/actions/ActionTween.h"

#include <algorithm>

#include "engine/scene/Node.h"

namespace engine {

ActionFloat* ActionFloat::create(float duration, float from, float to, Callback callback) {
    auto* action = new ActionFloat;
    action->setDuration(std::max(duration, 0.f));
    action->_from = from;
    action->_to = to;
    action->_callback = std::move(callback);
    action->autorelease();
    return action;
}

ActionFloat* ActionFloat::clone() const { return create(getDuration(), _from, _to, _callback); }

void ActionFloat::update(float t) {
    const float value = t >= 1.f ? _to : _from + (_to - _from) * t;
    if (_callback) _callback(value);
}

ActionTween* ActionTween::create(float duration, const std::string& key, float from, float to) {
    auto* action = new ActionTween;
    action->setDuration(std::max(duration, 0.f));
    action->_key = key;
    action->_from = from;
    action->_to = to;
    action->autorelease();
    return action;
}

ActionTween* ActionTween::clone() const { return create(getDuration(), _key, _from, _to); }

void ActionTween::update(float t) {
    auto* delegate = dynamic_cast<ActionTweenDelegate*>(getTarget());
    if (!delegate) return;
    delegate->updateTweenAction(t >= 1.f ? _to : _from + (_to - _from) * t, _key);
}

}  // namespace engine
