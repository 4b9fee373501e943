#pragma once
// A half-line in space: from _origin along _direction (kept unit length by
// the constructors, set and transform; a zero direction stays zero and meets
// nothing). A plain value, copied freely.
#include "engine/3d/AABB.h"
#include "engine/3d/OBB.h"
#include "engine/base/Mat4.h"
#include "engine/base/Types.h"

namespace engine {

class Ray {
public:
    Ray() : _direction(0, 0, 1) {}
    Ray(const Vec3& origin, const Vec3& direction);

    void set(const Vec3& origin, const Vec3& direction);
    // Moves the origin as a point, turns the direction (then unit length again).
    void transform(const Mat4& matrix);
    // Whether the ray meets the box; distance (when given) gets how far along the
    // ray it first does: 0 for an origin inside the box.
    bool intersects(const AABB& box, float* distance = nullptr) const;
    bool intersects(const OBB& box, float* distance = nullptr) const;

    Vec3 _origin;
    Vec3 _direction;
};

}  // namespace engine
