#include "engine/actions/ActionCamera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace engine {

namespace {

constexpr float kRadiansPerDegree = 3.14159265358979f / 180.f;

}  // namespace

ActionCamera* ActionCamera::create(float duration) {
    auto* action = new ActionCamera;
    action->initWithDuration(duration);
    action->autorelease();
    return action;
}

void ActionCamera::copyCameraTo(ActionCamera* copy) const {
    copy->_eye = _eye;
    copy->_center = _center;
    copy->_up = _up;
    copy->_backwards = _backwards;
}

ActionCamera* ActionCamera::clone() const {
    ActionCamera* copy = create(getDuration());
    copyCameraTo(copy);
    return copy;
}

ActionCamera* ActionCamera::reverse() const {
    ActionCamera* copy = clone();
    if (copy) copy->_backwards = !_backwards;
    return copy;
}

OrbitCamera* OrbitCamera::create(float duration, float radius, float deltaRadius, float angleZ, float deltaAngleZ,
                                 float angleX, float deltaAngleX) {
    auto* action = new OrbitCamera;
    action->initWithDuration(duration);
    action->_radius = radius;
    action->_deltaRadius = deltaRadius;
    action->_angleZ = angleZ;
    action->_deltaAngleZ = deltaAngleZ;
    action->_angleX = angleX;
    action->_deltaAngleX = deltaAngleX;
    action->autorelease();
    return action;
}

OrbitCamera* OrbitCamera::clone() const {
    OrbitCamera* copy = create(getDuration(), _radius, _deltaRadius, _angleZ, _deltaAngleZ, _angleX, _deltaAngleX);
    copyCameraTo(copy);
    return copy;
}

void OrbitCamera::update(float t) {
    const float p = directed(t);
    const float r = _radius + _deltaRadius * p;
    const float zenith = (_angleZ + _deltaAngleZ * p) * kRadiansPerDegree;
    const float azimuth = (_angleX + _deltaAngleX * p) * kRadiansPerDegree;
    _eye = _center + Vec3(r * std::sin(zenith) * std::cos(azimuth), r * std::sin(zenith) * std::sin(azimuth),
                          r * std::cos(zenith));
}

void OrbitCamera::sphericalRadius(float* radius, float* zenith, float* azimuth) const {
    const Vec3 d = _eye - _center;
    const double x = d.x, y = d.y, z = d.z;
    const double r = std::sqrt(x * x + y * y + z * z);
    double zenithAngle = 0, azimuthAngle = 0;
    if (r > 0) {
        zenithAngle = std::acos(std::clamp(z / r, -1.0, 1.0));
        if (x != 0 || y != 0) azimuthAngle = std::atan2(y, x);
    }
    constexpr double kDegrees = 180.0 / std::numbers::pi;
    if (radius) *radius = static_cast<float>(r);
    if (zenith) *zenith = static_cast<float>(zenithAngle * kDegrees);
    if (azimuth) *azimuth = static_cast<float>(azimuthAngle * kDegrees);
}

}  // namespace engine
