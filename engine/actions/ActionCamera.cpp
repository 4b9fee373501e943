#include "engine/actions/ActionCamera.h"

#include <cmath>

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

}  // namespace engine
