#pragma once
// Conversions between the engine's vectors, rotations and matrices and Bullet's.
// A matrix crosses as its rigid part: Bullet keeps rotation and translation
// only (a scale left in the basis is not a rotation and is not supported).
#include <LinearMath/btQuaternion.h>
#include <LinearMath/btTransform.h>
#include <LinearMath/btVector3.h>

#include "engine/base/Geometry.h"
#include "engine/base/Mat4.h"
#include "engine/base/Types.h"

namespace engine {

inline btVector3 toBullet(const Vec3& v) { return btVector3(v.x, v.y, v.z); }
inline Vec3 fromBullet(const btVector3& v) { return Vec3(v.x(), v.y(), v.z()); }
inline btQuaternion toBullet(const Quaternion& q) { return btQuaternion(q.x, q.y, q.z, q.w); }
inline Quaternion fromBullet(const btQuaternion& q) { return Quaternion(q.x(), q.y(), q.z(), q.w()); }

// Both store the matrix column by column.
inline btTransform toBullet(const Mat4& m) {
    btTransform transform;
    transform.setFromOpenGLMatrix(m.m);
    return transform;
}
inline Mat4 fromBullet(const btTransform& transform) {
    Mat4 m;
    transform.getOpenGLMatrix(m.m);
    return m;
}

}  // namespace engine
