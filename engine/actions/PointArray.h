#pragma once
// An ordered list of control points for the spline actions and the spline draw
// calls of DrawNode, and the cardinal spline through four of them.
//
// Indexes run from 0. Reading an index outside the list answers the nearest end
// point (a spline segment at either end repeats the end point); an empty list
// answers (0, 0). Inserting beyond the end appends; replacing or removing an
// index outside the list does nothing. The capacity given to create() is a hint.
#include <sys/types.h>

#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class PointArray : public Ref {
public:
    // An empty list, autoreleased.
    static PointArray* create(ssize_t capacity);
    // A copy, autoreleased.
    PointArray* clone() const;

    void addControlPoint(const Vec2& point) { _points.push_back(point); }
    void insertControlPoint(const Vec2& point, ssize_t index);
    void replaceControlPoint(const Vec2& point, ssize_t index);
    void removeControlPointAtIndex(ssize_t index);
    Vec2 getControlPointAtIndex(ssize_t index) const;
    ssize_t count() const { return static_cast<ssize_t>(_points.size()); }

    // A copy in the opposite order, autoreleased.
    PointArray* reverse() const;
    // Turns this list round.
    void reverseInline();

    const std::vector<Vec2>& getControlPoints() const { return _points; }

    // The point of the path along the whole list at progress t (0: first point,
    // 1: last), each pair of neighbours one equal share of t; (0, 0) when empty.
    Vec2 splineAt(float tension, float t) const;

private:
    PointArray() = default;
    std::vector<Vec2> _points;
};

// The cardinal spline from p1 (t = 0) to p2 (t = 1), p0 and p3 its outer
// neighbours. The tangents are (1 - tension) / 2 times (p2 - p0) at p1 and
// (p3 - p1) at p2: tension 1 gives a straight line.
Vec2 cardinalSplineAt(const Vec2& p0, const Vec2& p1, const Vec2& p2, const Vec2& p3, float tension, float t);

}  // namespace engine
