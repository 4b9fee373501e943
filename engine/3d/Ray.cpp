#include "engine/3d/Ray.h"

#include <cmath>
#include <limits>
#include <utility>

namespace engine {

namespace {

Vec3 normalised(const Vec3& v) {
    const float length = v.length();
    return length > 0.f ? v * (1.f / length) : v;
}

// The slab test in a box's own frame: origin and direction given along its
// axes, the box from low to high.
bool slabs(const float origin[3], const float direction[3], const float low[3], const float high[3],
           float* distance) {
    if (direction[0] == 0 && direction[1] == 0 && direction[2] == 0) return false;
    float near = 0.f;
    float far = std::numeric_limits<float>::infinity();
    for (int a = 0; a < 3; ++a) {
        if (direction[a] == 0.f) {
            if (origin[a] < low[a] || origin[a] > high[a]) return false;
            continue;
        }
        float t0 = (low[a] - origin[a]) / direction[a];
        float t1 = (high[a] - origin[a]) / direction[a];
        if (t0 > t1) std::swap(t0, t1);
        if (t0 > near) near = t0;
        if (t1 < far) far = t1;
        if (near > far) return false;
    }
    if (distance) *distance = near;
    return true;
}

}  // namespace

Ray::Ray(const Vec3& origin, const Vec3& direction) { set(origin, direction); }

void Ray::set(const Vec3& origin, const Vec3& direction) {
    _origin = origin;
    _direction = normalised(direction);
}

void Ray::transform(const Mat4& matrix) {
    matrix.transformPoint(&_origin);
    Vec3 turned;
    matrix.transformVector(_direction.x, _direction.y, _direction.z, 0.f, &turned);
    _direction = normalised(turned);
}

bool Ray::intersects(const AABB& box, float* distance) const {
    if (box.isEmpty()) return false;
    const float origin[3] = {_origin.x, _origin.y, _origin.z};
    const float direction[3] = {_direction.x, _direction.y, _direction.z};
    const float low[3] = {box._min.x, box._min.y, box._min.z};
    const float high[3] = {box._max.x, box._max.y, box._max.z};
    return slabs(origin, direction, low, high, distance);
}

bool Ray::intersects(const OBB& box, float* distance) const {
    const Vec3 d = _origin - box._center;
    const float origin[3] = {d.dot(box._xAxis), d.dot(box._yAxis), d.dot(box._zAxis)};
    const float direction[3] = {_direction.dot(box._xAxis), _direction.dot(box._yAxis), _direction.dot(box._zAxis)};
    const float high[3] = {box._extents.x, box._extents.y, box._extents.z};
    const float low[3] = {-high[0], -high[1], -high[2]};
    return slabs(origin, direction, low, high, distance);
}

}  // namespace engine
