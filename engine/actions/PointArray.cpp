#include "engine/actions/PointArray.h"

#include <algorithm>
#include <cmath>

namespace engine {

namespace {

// Reserved at most, whatever capacity a script asks for.
constexpr ssize_t kMaxReserved = 4096;

}  // namespace

PointArray* PointArray::create(ssize_t capacity) {
    auto* points = new PointArray;
    points->_points.reserve(static_cast<size_t>(std::clamp<ssize_t>(capacity, 0, kMaxReserved)));
    points->autorelease();
    return points;
}

PointArray* PointArray::clone() const {
    auto* copy = create(0);
    copy->_points = _points;
    return copy;
}

void PointArray::insertControlPoint(const Vec2& point, ssize_t index) {
    const ssize_t at = std::clamp<ssize_t>(index, 0, count());
    _points.insert(_points.begin() + at, point);
}

void PointArray::replaceControlPoint(const Vec2& point, ssize_t index) {
    if (index >= 0 && index < count()) _points[static_cast<size_t>(index)] = point;
}

void PointArray::removeControlPointAtIndex(ssize_t index) {
    if (index >= 0 && index < count()) _points.erase(_points.begin() + index);
}

Vec2 PointArray::getControlPointAtIndex(ssize_t index) const {
    if (_points.empty()) return Vec2();
    return _points[static_cast<size_t>(std::clamp<ssize_t>(index, 0, count() - 1))];
}

PointArray* PointArray::reverse() const {
    auto* copy = clone();
    copy->reverseInline();
    return copy;
}

void PointArray::reverseInline() { std::reverse(_points.begin(), _points.end()); }

Vec2 PointArray::splineAt(float tension, float t) const {
    const ssize_t segments = count() - 1;
    if (segments < 1) return getControlPointAtIndex(0);
    const float scaled = t * static_cast<float>(segments);
    // The segment t falls in; progress beyond either end extends the end segment.
    const float first = std::floor(scaled);
    const ssize_t p = first < 0.f ? 0 : std::min(static_cast<ssize_t>(first), segments - 1);
    const float local = scaled - static_cast<float>(p);
    return cardinalSplineAt(getControlPointAtIndex(p - 1), getControlPointAtIndex(p), getControlPointAtIndex(p + 1),
                            getControlPointAtIndex(p + 2), tension, local);
}

Vec2 cardinalSplineAt(const Vec2& p0, const Vec2& p1, const Vec2& p2, const Vec2& p3, float tension, float t) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    // Tangents s * (p2 - p0) at p1 and s * (p3 - p1) at p2, in Hermite form.
    const float s = (1.f - tension) / 2.f;
    const float b0 = s * (-t3 + 2.f * t2 - t);
    const float b1 = s * (-t3 + t2) + (2.f * t3 - 3.f * t2 + 1.f);
    const float b2 = s * (t3 - 2.f * t2 + t) + (-2.f * t3 + 3.f * t2);
    const float b3 = s * (t3 - t2);
    return Vec2(p0.x * b0 + p1.x * b1 + p2.x * b2 + p3.x * b3, p0.y * b0 + p1.y * b1 + p2.y * b2 + p3.y * b3);
}

}  // namespace engine
