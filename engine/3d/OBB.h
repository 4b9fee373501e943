#pragma once
// An oriented box: a centre, three axes (unit length, at right angles) and the
// half-size along each. The default box sits at the origin with the world's
// axes and no size. Corners come in the order of AABB.h, with "x", "y", "z"
// read along the box's own axes. A plain value, copied freely.
#include "engine/3d/AABB.h"
#include "engine/base/Mat4.h"
#include "engine/base/Types.h"

namespace engine {

class OBB {
public:
    OBB();
    explicit OBB(const AABB& box);   // the same box (an empty one gives the default)
    // The box fitted to the points: its axes are the principal directions of
    // the points' spread, its extents the points' reach along them. One point
    // gives a box of no size there; none gives the default box.
    OBB(const Vec3* points, int count);

    void set(const Vec3& center, const Vec3& xAxis, const Vec3& yAxis, const Vec3& zAxis, const Vec3& extents);
    void reset();
    // Inside or on the surface (with a small tolerance for rounding).
    bool containPoint(const Vec3& point) const;
    // Whether the two boxes overlap or touch (separating axis test).
    bool intersects(const OBB& box) const;
    // Writes the eight corners to dst[0..7].
    void getCorners(Vec3* dst) const;
    // Moves the centre as a point and turns the axes as directions; an axis the
    // matrix stretches stretches the extent along it (the axis stays unit length).
    void transform(const Mat4& matrix);

    Vec3 _center;
    Vec3 _xAxis;
    Vec3 _yAxis;
    Vec3 _zAxis;
    Vec3 _extents;
};

}  // namespace engine
