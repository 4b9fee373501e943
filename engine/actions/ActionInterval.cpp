#include "engine/actions/ActionInterval.h"

#include <algorithm>
#include <cfloat>

#include "engine/scene/Node.h"

namespace engine {

void ActionInterval::initWithDuration(float duration) {
    setDuration(std::max(duration, 0.f));
}

void ActionInterval::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    _elapsed = 0.f;
    _firstTick = true;
}

void ActionInterval::step(float dt) {
    if (_firstTick) {
        _firstTick = false;
        _elapsed = 0.f;
    } else {
        _elapsed += dt;
    }
    const float duration = getDuration();
    const float progress = duration > 0.f ? _elapsed / duration : 1.f;
    update(std::clamp(progress, 0.f, 1.f));
    // A zero duration is complete after its first step.
    if (duration <= 0.f) _elapsed = std::max(_elapsed, FLT_EPSILON);
}

DelayTime* DelayTime::create(float duration) {
    auto* action = new DelayTime;
    action->initWithDuration(duration);
    action->autorelease();
    return action;
}

DelayTime* DelayTime::clone() const { return create(getDuration()); }

// ---- Spawn ----

Spawn* Spawn::create(const std::vector<FiniteTimeAction*>& actions) {
    if (actions.empty()) return nullptr;
    float duration = 0.f;
    for (FiniteTimeAction* action : actions) {
        if (!action) return nullptr;
        duration = std::max(duration, action->getDuration());
    }
    auto* spawn = new Spawn;
    spawn->initWithDuration(duration);
    spawn->_actions = actions;
    for (FiniteTimeAction* action : actions) action->retain();
    spawn->autorelease();
    return spawn;
}

Spawn::~Spawn() {
    for (FiniteTimeAction* action : _actions) action->release();
}

Spawn* Spawn::createWithTwoActions(FiniteTimeAction* first, FiniteTimeAction* second) {
    return create({first, second});
}

Spawn* Spawn::reverse() const {
    const float duration = getDuration();
    std::vector<FiniteTimeAction*> reverses;
    for (FiniteTimeAction* action : _actions) {
        FiniteTimeAction* back = action->reverse();
        if (!back) return nullptr;
        const float wait = duration - action->getDuration();
        if (wait > 0.f) back = Sequence::createWithTwoActions(DelayTime::create(wait), back);
        reverses.push_back(back);
    }
    return create(reverses);
}

Spawn* Spawn::clone() const {
    std::vector<FiniteTimeAction*> copies;
    for (FiniteTimeAction* action : _actions) {
        FiniteTimeAction* copy = action->clone();
        if (!copy) return nullptr;
        copies.push_back(copy);
    }
    return create(copies);
}

void Spawn::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _finished.assign(_actions.size(), false);
    for (FiniteTimeAction* action : _actions) action->startWithTarget(target);
}

void Spawn::stop() {
    for (size_t i = 0; i < _actions.size(); ++i) {
        if (i < _finished.size() && !_finished[i]) _actions[i]->stop();
    }
    _finished.assign(_actions.size(), true);
    ActionInterval::stop();
}

void Spawn::update(float t) {
    const float elapsed = t * getDuration();
    for (size_t i = 0; i < _actions.size(); ++i) {
        if (_finished[i]) continue;
        const float own = _actions[i]->getDuration();
        const float local = own > 0.f ? std::min(1.f, elapsed / own) : 1.f;
        _actions[i]->update(local);
        if (local >= 1.f) {
            _actions[i]->stop();
            _finished[i] = true;
        }
    }
}

// ---- Sequence ----

Sequence* Sequence::create(const std::vector<FiniteTimeAction*>& actions) {
    if (actions.empty()) return nullptr;
    for (FiniteTimeAction* action : actions) {
        if (!action) return nullptr;
    }
    // Longer lists nest from the front: ((a, b), c) ...
    FiniteTimeAction* chain = actions[0];
    if (actions.size() == 1) {
        auto* single = new Sequence;
        single->initWithTwo(chain, DelayTime::create(0.f));
        single->autorelease();
        return single;
    }
    for (size_t i = 1; i < actions.size(); ++i) {
        auto* pair = new Sequence;
        pair->initWithTwo(chain, actions[i]);
        pair->autorelease();
        chain = pair;
    }
    return static_cast<Sequence*>(chain);
}

bool Sequence::initWithTwo(FiniteTimeAction* first, FiniteTimeAction* second) {
    initWithDuration(first->getDuration() + second->getDuration());
    _actions[0] = first;
    _actions[1] = second;
    first->retain();
    second->retain();
    return true;
}

Sequence::~Sequence() {
    for (FiniteTimeAction* action : _actions) {
        if (action) action->release();
    }
}

Sequence* Sequence::createWithTwoActions(FiniteTimeAction* first, FiniteTimeAction* second) {
    if (!first || !second) return nullptr;
    auto* pair = new Sequence;
    pair->initWithTwo(first, second);
    pair->autorelease();
    return pair;
}

Sequence* Sequence::reverse() const {
    FiniteTimeAction* second = _actions[1]->reverse();
    FiniteTimeAction* first = _actions[0]->reverse();
    return second && first ? createWithTwoActions(second, first) : nullptr;
}

Sequence* Sequence::clone() const {
    FiniteTimeAction* first = _actions[0]->clone();
    FiniteTimeAction* second = _actions[1]->clone();
    if (!first || !second) return nullptr;
    auto* copy = new Sequence;
    copy->initWithTwo(first, second);
    copy->autorelease();
    return copy;
}

void Sequence::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    const float duration = getDuration();
    _split = duration > 0.f ? _actions[0]->getDuration() / duration : 0.f;
    _last = -1;
}

void Sequence::stop() {
    if (_last >= 0 && _last <= 1) _actions[_last]->stop();
    ActionInterval::stop();
}

void Sequence::update(float t) {
    int found;
    float local;
    if (t < _split) {
        found = 0;
        local = _split > 0.f ? t / _split : 1.f;
    } else {
        found = 1;
        local = _split >= 1.f ? 1.f : (t - _split) / (1.f - _split);
    }
    Node* target = getTarget();
    if (found == 1) {
        if (_last == -1) {
            // The first action was jumped over entirely: it still runs, whole.
            _actions[0]->startWithTarget(target);
            _actions[0]->update(1.f);
            _actions[0]->stop();
        } else if (_last == 0) {
            _actions[0]->update(1.f);
            _actions[0]->stop();
        }
    } else if (_last == 1) {
        // Going back in time (a restarted repeat): rewind the second action.
        _actions[1]->update(0.f);
        _actions[1]->stop();
    }
    // An instant action (no duration) runs once, however often its part is reached.
    if (found == _last && _actions[found]->getDuration() <= 0.f) return;
    if (found != _last) _actions[found]->startWithTarget(target);
    _actions[found]->update(std::clamp(local, 0.f, 1.f));
    _last = found;
}

// ---- RepeatForever ----

RepeatForever* RepeatForever::create(ActionInterval* action) {
    if (!action) return nullptr;
    auto* repeat = new RepeatForever;
    repeat->_inner = action;
    action->retain();
    repeat->autorelease();
    return repeat;
}

RepeatForever::~RepeatForever() {
    if (_inner) _inner->release();
}

RepeatForever* RepeatForever::clone() const {
    ActionInterval* inner = _inner->clone();
    return inner ? create(inner) : nullptr;
}

RepeatForever* RepeatForever::reverse() const {
    ActionInterval* inner = _inner->reverse();
    return inner ? create(inner) : nullptr;
}

void RepeatForever::setInnerAction(ActionInterval* action) {
    if (action) assignRetained(_inner, action);
}

void RepeatForever::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _inner->startWithTarget(target);
}

void RepeatForever::stop() {
    _inner->stop();
    ActionInterval::stop();
}

void RepeatForever::step(float dt) {
    _inner->step(dt);
    // An inner action without duration would restart forever within one frame.
    if (_inner->isDone() && _inner->getDuration() > 0.f) {
        const float overshoot = _inner->getElapsed() - _inner->getDuration();
        _inner->startWithTarget(getTarget());
        _inner->step(0.f);
        _inner->step(std::min(overshoot, _inner->getDuration()));
    } else if (_inner->isDone()) {
        _inner->startWithTarget(getTarget());
    }
}

// ---- Scaling ----

ScaleTo* ScaleTo::create(float duration, float scale) { return create(duration, scale, scale); }

ScaleTo* ScaleTo::create(float duration, float scaleX, float scaleY) {
    auto* action = new ScaleTo;
    action->initWithDuration(duration);
    action->_endX = scaleX;
    action->_endY = scaleY;
    action->autorelease();
    return action;
}

ScaleTo* ScaleTo::clone() const { return create(getDuration(), _endX, _endY); }

void ScaleTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _startX = target ? target->getScaleX() : 1.f;
    _startY = target ? target->getScaleY() : 1.f;
}

void ScaleTo::update(float t) {
    Node* target = getTarget();
    if (!target) return;
    const float x = _startX + (_endX - _startX) * t;
    const float y = _startY + (_endY - _startY) * t;
    // Through the one-value setter where the axes agree: nodes may override it.
    if (x == y) {
        target->setScale(x);
    } else {
        target->setScale(x, y);
    }
}

ScaleBy* ScaleBy::create(float duration, float factor) { return create(duration, factor, factor); }

ScaleBy* ScaleBy::create(float duration, float factorX, float factorY) {
    auto* action = new ScaleBy;
    action->initWithDuration(duration);
    action->_factorX = factorX;
    action->_factorY = factorY;
    action->autorelease();
    return action;
}

ScaleBy* ScaleBy::clone() const { return create(getDuration(), _factorX, _factorY); }

ScaleBy* ScaleBy::reverse() const {
    if (_factorX == 0.f || _factorY == 0.f) return nullptr;
    return create(getDuration(), 1.f / _factorX, 1.f / _factorY);
}

void ScaleBy::startWithTarget(Node* target) {
    ScaleTo::startWithTarget(target);
    _endX = _startX * _factorX;
    _endY = _startY * _factorY;
}

// ---- Fading ----

FadeTo* FadeTo::create(float duration, uint8_t opacity) {
    auto* action = new FadeTo;
    action->initWithDuration(duration);
    action->_toOpacity = opacity;
    action->autorelease();
    return action;
}

FadeTo* FadeTo::clone() const { return create(getDuration(), _toOpacity); }

void FadeTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _fromOpacity = target ? target->getOpacity() : 255;
}

void FadeTo::update(float t) {
    if (Node* target = getTarget()) {
        const float value = _fromOpacity + (static_cast<float>(_toOpacity) - _fromOpacity) * t;
        target->setOpacity(static_cast<uint8_t>(std::clamp(value + 0.5f, 0.f, 255.f)));
    }
}

}  // namespace engine
