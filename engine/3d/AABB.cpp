#include "engine/3d/AABB.h"

#include <algorithm>
#include <cfloat>

namespace engine {

AABB::AABB() { reset(); }

void AABB::reset() {
    _min = Vec3(FLT_MAX, FLT_MAX, FLT_MAX);
    _max = Vec3(-FLT_MAX, -FLT_MAX, -FLT_MAX);
}

bool AABB::isEmpty() const { return _min.x > _max.x || _min.y > _max.y || _min.z > _max.z; }

Vec3 AABB::getCenter() const { return (_min + _max) * 0.5f; }

void AABB::getCorners(Vec3* dst) const {
    dst[0] = Vec3(_min.x, _max.y, _max.z);
    dst[1] = Vec3(_min.x, _min.y, _max.z);
    dst[2] = Vec3(_max.x, _min.y, _max.z);
    dst[3] = Vec3(_max.x, _max.y, _max.z);
    dst[4] = Vec3(_max.x, _max.y, _min.z);
    dst[5] = Vec3(_max.x, _min.y, _min.z);
    dst[6] = Vec3(_min.x, _min.y, _min.z);
    dst[7] = Vec3(_min.x, _max.y, _min.z);
}

void AABB::updateMinMax(const Vec3* points, ptrdiff_t count) {
    for (ptrdiff_t i = 0; i < count; ++i) {
        const Vec3& p = points[i];
        _min = Vec3(std::min(_min.x, p.x), std::min(_min.y, p.y), std::min(_min.z, p.z));
        _max = Vec3(std::max(_max.x, p.x), std::max(_max.y, p.y), std::max(_max.z, p.z));
    }
}

void AABB::merge(const AABB& box) {
    if (box.isEmpty()) return;
    updateMinMax(&box._min, 1);
    updateMinMax(&box._max, 1);
}

bool AABB::containPoint(const Vec3& p) const {
    return p.x >= _min.x && p.x <= _max.x && p.y >= _min.y && p.y <= _max.y && p.z >= _min.z && p.z <= _max.z;
}

bool AABB::intersects(const AABB& box) const {
    if (isEmpty() || box.isEmpty()) return false;
    return _min.x <= box._max.x && _max.x >= box._min.x && _min.y <= box._max.y && _max.y >= box._min.y &&
           _min.z <= box._max.z && _max.z >= box._min.z;
}

void AABB::transform(const Mat4& matrix) {
    if (isEmpty()) return;
    Vec3 corners[kCornerCount];
    getCorners(corners);
    reset();
    for (Vec3& corner : corners) matrix.transformPoint(&corner);
    updateMinMax(corners, kCornerCount);
}

}  // namespace engine
