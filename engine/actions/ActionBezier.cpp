#include "engine/actions/ActionBezier.h"

#include "engine/scene/Node.h"

namespace engine {

float bezierAt(float a, float b, float c, float d, float t) {
    const float u = 1.f - t;
    return u * u * u * a + 3.f * t * u * u * b + 3.f * t * t * u * c + t * t * t * d;
}

BezierBy* BezierBy::create(float duration, const BezierConfig& config) {
    auto* action = new BezierBy;
    action->initWithDuration(duration);
    action->_config = config;
    action->autorelease();
    return action;
}

BezierBy* BezierBy::clone() const { return create(getDuration(), _config); }

BezierBy* BezierBy::reverse() const {
    BezierConfig back;
    back.controlPoint_1 = _config.controlPoint_2 - _config.endPosition;
    back.controlPoint_2 = _config.controlPoint_1 - _config.endPosition;
    back.endPosition = Vec2() - _config.endPosition;
    return create(getDuration(), back);
}

void BezierBy::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _startPosition = _previousPosition = target ? target->getPosition() : Vec2();
}

void BezierBy::update(float t) {
    Node* target = getTarget();
    if (!target) return;
    const Vec2 offset(bezierAt(0.f, _config.controlPoint_1.x, _config.controlPoint_2.x, _config.endPosition.x, t),
                      bezierAt(0.f, _config.controlPoint_1.y, _config.controlPoint_2.y, _config.endPosition.y, t));
    // Another action moved the node since the last step: keep that move.
    _startPosition = _startPosition + (target->getPosition() - _previousPosition);
    const Vec2 position = _startPosition + offset;
    target->setPosition(position.x, position.y);
    _previousPosition = position;
}

BezierTo* BezierTo::create(float duration, const BezierConfig& config) {
    auto* action = new BezierTo;
    action->initWithDuration(duration);
    action->_toConfig = config;
    action->autorelease();
    return action;
}

BezierTo* BezierTo::clone() const { return create(getDuration(), _toConfig); }

void BezierTo::startWithTarget(Node* target) {
    BezierBy::startWithTarget(target);
    _config.controlPoint_1 = _toConfig.controlPoint_1 - _startPosition;
    _config.controlPoint_2 = _toConfig.controlPoint_2 - _startPosition;
    _config.endPosition = _toConfig.endPosition - _startPosition;
}

}  // namespace engine
