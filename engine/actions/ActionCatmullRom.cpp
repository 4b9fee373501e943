#include "engine/actions/ActionCatmullRom.h"

#include "engine/scene/Node.h"

namespace engine {

namespace {

constexpr float kCatmullRomTension = 0.5f;

}  // namespace

// ---- CardinalSplineTo ----

CardinalSplineTo* CardinalSplineTo::create(float duration, PointArray* points, float tension) {
    auto* action = new CardinalSplineTo;
    return autoreleased(action, action->initWithPoints(duration, points, tension));
}

bool CardinalSplineTo::initWithPoints(float duration, PointArray* points, float tension) {
    if (!points || points->count() == 0) return false;
    initWithDuration(duration);
    points->retain();
    _points = points;
    _tension = tension;
    return true;
}

CardinalSplineTo::~CardinalSplineTo() {
    if (_points) _points->release();
}

CardinalSplineTo* CardinalSplineTo::clone() const { return create(getDuration(), _points->clone(), _tension); }

CardinalSplineTo* CardinalSplineTo::reverse() const { return create(getDuration(), _points->reverse(), _tension); }

void CardinalSplineTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _accumulatedDiff = Vec2();
    _previousPosition = target ? target->getPosition() : Vec2();
}

void CardinalSplineTo::update(float t) {
    Node* target = getTarget();
    if (!target) return;
    Vec2 position = _points->splineAt(_tension, t);
    // Another action moved the node since the last step: keep that move.
    const Vec2 moved = target->getPosition() - _previousPosition;
    if (moved.x != 0.f || moved.y != 0.f) _accumulatedDiff = _accumulatedDiff + moved;
    position = position + _accumulatedDiff;
    updatePosition(position);
}

void CardinalSplineTo::updatePosition(const Vec2& position) {
    getTarget()->setPosition(position.x, position.y);
    _previousPosition = position;
}

// ---- CardinalSplineBy ----

CardinalSplineBy* CardinalSplineBy::create(float duration, PointArray* points, float tension) {
    auto* action = new CardinalSplineBy;
    return autoreleased(action, action->initWithPoints(duration, points, tension));
}

CardinalSplineBy* CardinalSplineBy::clone() const { return create(getDuration(), _points->clone(), _tension); }

PointArray* CardinalSplineBy::reversedOffsets() const {
    // Point i of the way back is where point n-1-i lies, seen from the last point
    // (where the way back starts).
    PointArray* reversed = _points->reverse();
    const Vec2 last = _points->getControlPointAtIndex(_points->count() - 1);
    for (ssize_t i = 0; i < reversed->count(); ++i) {
        reversed->replaceControlPoint(reversed->getControlPointAtIndex(i) - last, i);
    }
    return reversed;
}

CardinalSplineBy* CardinalSplineBy::reverse() const { return create(getDuration(), reversedOffsets(), _tension); }

void CardinalSplineBy::startWithTarget(Node* target) {
    CardinalSplineTo::startWithTarget(target);
    _startPosition = target ? target->getPosition() : Vec2();
}

void CardinalSplineBy::updatePosition(const Vec2& position) {
    CardinalSplineTo::updatePosition(position + _startPosition);
}

// ---- Catmull-Rom ----

CatmullRomTo* CatmullRomTo::create(float duration, PointArray* points) {
    auto* action = new CatmullRomTo;
    return autoreleased(action, action->initWithPoints(duration, points, kCatmullRomTension));
}

CatmullRomTo* CatmullRomTo::clone() const { return create(getDuration(), _points->clone()); }

CatmullRomTo* CatmullRomTo::reverse() const { return create(getDuration(), _points->reverse()); }

CatmullRomBy* CatmullRomBy::create(float duration, PointArray* points) {
    auto* action = new CatmullRomBy;
    return autoreleased(action, action->initWithPoints(duration, points, kCatmullRomTension));
}

CatmullRomBy* CatmullRomBy::clone() const { return create(getDuration(), _points->clone()); }

CatmullRomBy* CatmullRomBy::reverse() const { return create(getDuration(), reversedOffsets()); }

}  // namespace engine
