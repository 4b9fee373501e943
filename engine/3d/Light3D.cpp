#include "engine/3d/Light3D.h"

#include <cmath>

#include "engine/base/Mat4.h"

namespace engine {

namespace {

Vec3 turnedToWorld(const Node* node, const Vec3& direction) {
    const Mat4 world = node->getNodeToWorldTransform();
    // Column-major: the upper 3 x 3 block turns directions, the translation stays out.
    const float* m = world.m;
    return Vec3(m[0] * direction.x + m[4] * direction.y + m[8] * direction.z,
                m[1] * direction.x + m[5] * direction.y + m[9] * direction.z,
                m[2] * direction.x + m[6] * direction.y + m[10] * direction.z);
}

}  // namespace

DirectionLight* DirectionLight::create(const Vec3& direction, const Color3B& color) {
    auto* light = new DirectionLight;
    light->setDirection(direction);
    light->setColor(color);
    return autoreleased(light, light->init());
}

Vec3 DirectionLight::getDirectionInWorld() const { return turnedToWorld(this, _direction); }

PointLight* PointLight::create(const Vec3& position, const Color3B& color, float range) {
    auto* light = new PointLight;
    light->setPosition(position.x, position.y);
    light->setPositionZ(position.z);
    light->setColor(color);
    light->setRange(range);
    return autoreleased(light, light->init());
}

SpotLight* SpotLight::create(const Vec3& direction, const Vec3& position, const Color3B& color, float innerAngle,
                             float outerAngle, float range) {
    auto* light = new SpotLight;
    light->setDirection(direction);
    light->setPosition(position.x, position.y);
    light->setPositionZ(position.z);
    light->setColor(color);
    light->setInnerAngle(innerAngle);
    light->setOuterAngle(outerAngle);
    light->setRange(range);
    return autoreleased(light, light->init());
}

Vec3 SpotLight::getDirectionInWorld() const { return turnedToWorld(this, _direction); }

void SpotLight::setInnerAngle(float angle) {
    _innerAngle = angle;
    _cosInnerAngle = std::cos(angle);
}

void SpotLight::setOuterAngle(float angle) {
    _outerAngle = angle;
    _cosOuterAngle = std::cos(angle);
}

AmbientLight* AmbientLight::create(const Color3B& color) {
    auto* light = new AmbientLight;
    light->setColor(color);
    return autoreleased(light, light->init());
}

}  // namespace engine
