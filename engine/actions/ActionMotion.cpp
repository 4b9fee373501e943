#include "engine/actions/ActionMotion.h"

#include <algorithm>
#include <cmath>

#include "engine/scene/Node.h"

namespace engine {

namespace {

template <class T>
T* timed(T* action, float duration) {
    action->setDuration(std::max(duration, 0.f));
    action->autorelease();
    return action;
}

uint8_t channel(float value) { return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

}  // namespace

// ---- Moving ----

MoveBy* MoveBy::create(float duration, const Vec2& delta) {
    auto* action = new MoveBy;
    action->_delta = delta;
    return timed(action, duration);
}

MoveBy* MoveBy::clone() const { return create(getDuration(), _delta); }

MoveBy* MoveBy::reverse() const { return create(getDuration(), Vec2(-_delta.x, -_delta.y)); }

void MoveBy::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _start = target ? target->getPosition() : Vec2();
}

void MoveBy::update(float t) {
    if (Node* target = getTarget()) target->setPosition(_start.x + _delta.x * t, _start.y + _delta.y * t);
}

MoveTo* MoveTo::create(float duration, const Vec2& position) {
    auto* action = new MoveTo;
    action->_end = position;
    return timed(action, duration);
}

MoveTo* MoveTo::clone() const { return create(getDuration(), _end); }

void MoveTo::startWithTarget(Node* target) {
    MoveBy::startWithTarget(target);
    _delta = Vec2(_end.x - _start.x, _end.y - _start.y);
}

JumpBy* JumpBy::create(float duration, const Vec2& delta, float height, int jumps) {
    auto* action = new JumpBy;
    action->_delta = delta;
    action->_height = height;
    action->_jumps = jumps;
    return timed(action, duration);
}

JumpBy* JumpBy::clone() const { return create(getDuration(), _delta, _height, _jumps); }

JumpBy* JumpBy::reverse() const { return create(getDuration(), Vec2(-_delta.x, -_delta.y), _height, _jumps); }

void JumpBy::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _start = target ? target->getPosition() : Vec2();
}

void JumpBy::update(float t) {
    Node* target = getTarget();
    if (!target) return;
    const float hop = std::fmod(t * static_cast<float>(_jumps), 1.f);
    const float lift = t >= 1.f ? 0.f : _height * 4.f * hop * (1.f - hop);
    target->setPosition(_start.x + _delta.x * t, _start.y + _delta.y * t + lift);
}

JumpTo* JumpTo::create(float duration, const Vec2& position, float height, int jumps) {
    auto* action = new JumpTo;
    action->_end = position;
    action->_height = height;
    action->_jumps = jumps;
    return timed(action, duration);
}

JumpTo* JumpTo::clone() const { return create(getDuration(), _end, _height, _jumps); }

void JumpTo::startWithTarget(Node* target) {
    JumpBy::startWithTarget(target);
    _delta = Vec2(_end.x - _start.x, _end.y - _start.y);
}

// ---- Rotating ----

RotateTo* RotateTo::create(float duration, float degrees) {
    auto* action = new RotateTo;
    action->_end = degrees;
    return timed(action, duration);
}

RotateTo* RotateTo::clone() const { return create(getDuration(), _end); }

void RotateTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _start = std::fmod(target ? target->getRotation() : 0.f, 360.f);
    _diff = _end - _start;
    if (_diff > 180.f) _diff -= 360.f;
    if (_diff < -180.f) _diff += 360.f;
}

void RotateTo::update(float t) {
    if (Node* target = getTarget()) target->setRotation(_start + _diff * t);
}

RotateBy* RotateBy::create(float duration, float degrees) {
    auto* action = new RotateBy;
    action->_delta = degrees;
    return timed(action, duration);
}

RotateBy* RotateBy::clone() const { return create(getDuration(), _delta); }

RotateBy* RotateBy::reverse() const { return create(getDuration(), -_delta); }

void RotateBy::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _start = target ? target->getRotation() : 0.f;
}

void RotateBy::update(float t) {
    if (Node* target = getTarget()) target->setRotation(_start + _delta * t);
}

// ---- Fading and tinting ----

FadeIn* FadeIn::create(float duration) {
    auto* action = new FadeIn;
    action->_toOpacity = 255;
    return timed(action, duration);
}

FadeIn* FadeIn::clone() const { return create(getDuration()); }

FadeTo* FadeIn::reverse() const { return FadeOut::create(getDuration()); }

FadeOut* FadeOut::create(float duration) {
    auto* action = new FadeOut;
    action->_toOpacity = 0;
    return timed(action, duration);
}

FadeOut* FadeOut::clone() const { return create(getDuration()); }

FadeIn* FadeOut::reverse() const { return FadeIn::create(getDuration()); }

TintTo* TintTo::create(float duration, uint8_t red, uint8_t green, uint8_t blue) {
    auto* action = new TintTo;
    action->_to = Color3B{red, green, blue};
    return timed(action, duration);
}

TintTo* TintTo::clone() const { return create(getDuration(), _to.r, _to.g, _to.b); }

void TintTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _from = target ? target->getColor() : Color3B::WHITE;
}

void TintTo::update(float t) {
    Node* target = getTarget();
    if (!target) return;
    auto mix = [t](uint8_t from, uint8_t to) { return channel(from + (static_cast<float>(to) - from) * t); };
    target->setColor(Color3B{mix(_from.r, _to.r), mix(_from.g, _to.g), mix(_from.b, _to.b)});
}

TintBy* TintBy::create(float duration, int16_t red, int16_t green, int16_t blue) {
    auto* action = new TintBy;
    action->_delta[0] = red;
    action->_delta[1] = green;
    action->_delta[2] = blue;
    return timed(action, duration);
}

TintBy* TintBy::clone() const { return create(getDuration(), _delta[0], _delta[1], _delta[2]); }

TintBy* TintBy::reverse() const {
    return create(getDuration(), static_cast<int16_t>(-_delta[0]), static_cast<int16_t>(-_delta[1]),
                  static_cast<int16_t>(-_delta[2]));
}

void TintBy::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _from = target ? target->getColor() : Color3B::WHITE;
}

void TintBy::update(float t) {
    Node* target = getTarget();
    if (!target) return;
    target->setColor(Color3B{channel(_from.r + _delta[0] * t), channel(_from.g + _delta[1] * t),
                             channel(_from.b + _delta[2] * t)});
}

// ---- Blinking ----

Blink* Blink::create(float duration, int blinks) {
    auto* action = new Blink;
    action->_blinks = std::max(blinks, 1);
    return timed(action, duration);
}

Blink* Blink::clone() const { return create(getDuration(), _blinks); }

void Blink::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _originalVisible = target ? target->isVisible() : true;
}

void Blink::stop() {
    if (Node* target = getTarget()) target->setVisible(_originalVisible);
    ActionInterval::stop();
}

void Blink::update(float t) {
    Node* target = getTarget();
    if (!target || isDone()) return;
    const float slice = 1.f / static_cast<float>(_blinks);
    target->setVisible(std::fmod(t, slice) > slice / 2.f);
}

// ---- Repeat ----

Repeat* Repeat::create(FiniteTimeAction* action, unsigned int times) {
    if (!action) return nullptr;
    auto* repeat = new Repeat;
    repeat->_inner = action;
    repeat->_times = times;
    action->retain();
    return timed(repeat, action->getDuration() * static_cast<float>(times));
}

Repeat::~Repeat() {
    if (_inner) _inner->release();
}

Repeat* Repeat::clone() const {
    FiniteTimeAction* inner = static_cast<FiniteTimeAction*>(_inner->clone());
    return inner ? create(inner, _times) : nullptr;
}

Repeat* Repeat::reverse() const {
    FiniteTimeAction* inner = _inner->reverse();
    return inner ? create(inner, _times) : nullptr;
}

void Repeat::setInnerAction(FiniteTimeAction* action) {
    if (!action) return;
    assignRetained(_inner, action);
    setDuration(action->getDuration() * static_cast<float>(_times));
}

void Repeat::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _run = 0;
    _instantDone = false;
    _innerRunning = _times > 0;
    if (_innerRunning) _inner->startWithTarget(target);
}

void Repeat::stop() {
    if (_innerRunning) _inner->stop();
    _innerRunning = false;
    ActionInterval::stop();
}

void Repeat::update(float t) {
    if (_times == 0 || _run >= _times) return;
    const bool instant = _inner->getDuration() <= 0.f;
    // The run t falls in; t = 1 ends the last one.
    const float scaled = t * static_cast<float>(_times);
    const unsigned int run = t >= 1.f ? _times : std::min(static_cast<unsigned int>(scaled), _times - 1);
    while (_run < run) {
        if (!instant || !_instantDone) _inner->update(1.f);
        _inner->stop();
        _innerRunning = false;
        if (++_run < _times) {
            _inner->startWithTarget(getTarget());
            _innerRunning = true;
            _instantDone = false;
        }
    }
    if (_run >= _times) return;
    if (instant) {
        if (!_instantDone) _inner->update(1.f);
        _instantDone = true;
        return;
    }
    _inner->update(scaled - static_cast<float>(_run));
}

// ---- Speed ----

Speed* Speed::create(ActionInterval* action, float speed) {
    if (!action) return nullptr;
    auto* wrapper = new Speed;
    wrapper->_inner = action;
    wrapper->_speed = speed;
    action->retain();
    wrapper->autorelease();
    return wrapper;
}

Speed::~Speed() {
    if (_inner) _inner->release();
}

Speed* Speed::clone() const {
    ActionInterval* inner = _inner->clone();
    return inner ? create(inner, _speed) : nullptr;
}

Speed* Speed::reverse() const {
    ActionInterval* inner = _inner->reverse();
    return inner ? create(inner, _speed) : nullptr;
}

void Speed::setInnerAction(ActionInterval* action) {
    if (action) assignRetained(_inner, action);
}

void Speed::startWithTarget(Node* target) {
    Action::startWithTarget(target);
    _inner->startWithTarget(target);
}

void Speed::stop() {
    _inner->stop();
    Action::stop();
}

void Speed::step(float dt) { _inner->step(dt * _speed); }

// ---- TargetedAction ----

TargetedAction* TargetedAction::create(Node* target, FiniteTimeAction* action) {
    if (!target || !action) return nullptr;
    auto* targeted = new TargetedAction;
    targeted->_forcedTarget = target;
    targeted->_inner = action;
    target->retain();
    action->retain();
    return timed(targeted, action->getDuration());
}

TargetedAction::~TargetedAction() {
    if (_inner) _inner->release();
    if (_forcedTarget) _forcedTarget->release();
}

TargetedAction* TargetedAction::clone() const {
    FiniteTimeAction* inner = static_cast<FiniteTimeAction*>(_inner->clone());
    return inner ? create(_forcedTarget, inner) : nullptr;
}

void TargetedAction::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _inner->startWithTarget(_forcedTarget);
}

void TargetedAction::stop() {
    _inner->stop();
    ActionInterval::stop();
}

void TargetedAction::update(float t) { _inner->update(t); }

// ---- Skewing ----

SkewTo* SkewTo::create(float duration, float skewX, float skewY) {
    auto* action = new SkewTo;
    action->_endX = skewX;
    action->_endY = skewY;
    return timed(action, duration);
}

SkewTo* SkewTo::clone() const { return create(getDuration(), _endX, _endY); }

void SkewTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _startX = target ? target->getSkewX() : 0.f;
    _startY = target ? target->getSkewY() : 0.f;
    _deltaX = _endX - _startX;
    _deltaY = _endY - _startY;
}

void SkewTo::update(float t) {
    if (Node* target = getTarget()) {
        target->setSkewX(_startX + _deltaX * t);
        target->setSkewY(_startY + _deltaY * t);
    }
}

SkewBy* SkewBy::create(float duration, float deltaSkewX, float deltaSkewY) {
    auto* action = new SkewBy;
    action->_deltaX = deltaSkewX;
    action->_deltaY = deltaSkewY;
    return timed(action, duration);
}

SkewBy* SkewBy::clone() const { return create(getDuration(), _deltaX, _deltaY); }

SkewBy* SkewBy::reverse() const { return create(getDuration(), -_deltaX, -_deltaY); }

void SkewBy::startWithTarget(Node* target) {
    const float deltaX = _deltaX, deltaY = _deltaY;
    ActionInterval::startWithTarget(target);
    _startX = target ? target->getSkewX() : 0.f;
    _startY = target ? target->getSkewY() : 0.f;
    _deltaX = deltaX;
    _deltaY = deltaY;
    _endX = _startX + deltaX;
    _endY = _startY + deltaY;
}

}  // namespace engine
