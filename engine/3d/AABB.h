#pragma once
// An axis-aligned box in space, from _min to _max (both corners included).
//
// The empty box has _min above _max on every axis (FLT_MAX and -FLT_MAX): it
// contains nothing, and growing it by points starts from the first point.
// Corners come in one order everywhere (getCorners, OBB::getCorners): the near
// face (z = max) counter-clockwise from its top-left corner seen from +z, then
// the far face (z = min) starting behind the near face's last corner:
//   0 (min.x, max.y, max.z)  1 (min.x, min.y, max.z)  2 (max.x, min.y, max.z)
//   3 (max.x, max.y, max.z)  4 (max.x, max.y, min.z)  5 (max.x, min.y, min.z)
//   6 (min.x, min.y, min.z)  7 (min.x, max.y, min.z)
// A plain value: not reference counted, copied freely.
#include <cstddef>

#include "engine/base/Mat4.h"
#include "engine/base/Types.h"

namespace engine {

class AABB {
public:
    static constexpr int kCornerCount = 8;

    AABB();   // empty
    AABB(const Vec3& min, const Vec3& max) : _min(min), _max(max) {}

    void set(const Vec3& min, const Vec3& max) {
        _min = min;
        _max = max;
    }
    // Back to the empty box.
    void reset();
    // True when _min exceeds _max on some axis.
    bool isEmpty() const;
    // The middle of the box (meaningless for an empty one).
    Vec3 getCenter() const;
    // Writes the eight corners, in the order above, to dst[0..7].
    void getCorners(Vec3* dst) const;
    // Grows the box to take in points[0..count-1]; nothing for a count of 0 or less.
    void updateMinMax(const Vec3* points, ptrdiff_t count);
    // Grows the box to take in another (an empty one changes nothing).
    void merge(const AABB& box);
    bool containPoint(const Vec3& point) const;
    // Whether the two boxes share a point; empty boxes share none.
    bool intersects(const AABB& box) const;
    // Becomes the axis-aligned box around the eight transformed corners; an empty
    // box stays empty.
    void transform(const Mat4& matrix);

    Vec3 _min;
    Vec3 _max;
};

}  // namespace engine
