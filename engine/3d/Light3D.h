#pragma once
// Lights of a 3D scene: nodes whose colour is the light's colour, with an
// intensity, a light flag (which cameras' objects they light, one bit each) and
// an on/off switch. A directional light shines along its direction, a point light
// from its position up to its range, a spot light from its position along its
// direction inside a cone (inner and outer half-angles in radians, whose cosines
// the shading uses) up to its range; an ambient light lights everything evenly.
// Headless scenes keep the settings; no shading reads them here. Main thread only.
#include <cstdint>

#include "engine/base/Types.h"
#include "engine/scene/Node.h"

namespace engine {

// Light types as scripts number them.
enum class LightType { DIRECTIONAL = 0, POINT = 1, SPOT = 2, AMBIENT = 3 };

class BaseLight : public Node {
public:
    virtual LightType getLightType() const = 0;

    // Negative intensities are kept as given (a light that darkens).
    void setIntensity(float intensity) { _intensity = intensity; }
    float getIntensity() const { return _intensity; }
    // Bits LIGHT0 (1) to LIGHT15 (1 << 15).
    void setLightFlag(uint32_t flag) { _lightFlag = flag; }
    uint32_t getLightFlag() const { return _lightFlag; }
    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }

protected:
    BaseLight() = default;

private:
    float _intensity = 1.f;
    uint32_t _lightFlag = 1;
    bool _enabled = true;
};

class DirectionLight : public BaseLight {
public:
    // Autoreleased.
    static DirectionLight* create(const Vec3& direction, const Color3B& color);
    LightType getLightType() const override { return LightType::DIRECTIONAL; }
    void setDirection(const Vec3& direction) { _direction = direction; }
    const Vec3& getDirection() const { return _direction; }
    // The direction turned by the node's and its parents' transforms (not moved).
    Vec3 getDirectionInWorld() const;

private:
    DirectionLight() = default;
    Vec3 _direction{0, 0, -1};
};

class PointLight : public BaseLight {
public:
    // At (position.x, position.y) of its parent; position.z is kept beside.
    static PointLight* create(const Vec3& position, const Color3B& color, float range);
    LightType getLightType() const override { return LightType::POINT; }
    void setRange(float range) { _range = range; }
    float getRange() const { return _range; }
    void setPositionZ(float z) { _positionZ = z; }
    float getPositionZ() const { return _positionZ; }

private:
    PointLight() = default;
    float _range = 0;
    float _positionZ = 0;
};

class SpotLight : public BaseLight {
public:
    static SpotLight* create(const Vec3& direction, const Vec3& position, const Color3B& color, float innerAngle,
                             float outerAngle, float range);
    LightType getLightType() const override { return LightType::SPOT; }
    void setDirection(const Vec3& direction) { _direction = direction; }
    const Vec3& getDirection() const { return _direction; }
    Vec3 getDirectionInWorld() const;
    void setRange(float range) { _range = range; }
    float getRange() const { return _range; }
    void setInnerAngle(float angle);
    float getInnerAngle() const { return _innerAngle; }
    float getCosInnerAngle() const { return _cosInnerAngle; }
    void setOuterAngle(float angle);
    float getOuterAngle() const { return _outerAngle; }
    float getCosOuterAngle() const { return _cosOuterAngle; }
    void setPositionZ(float z) { _positionZ = z; }
    float getPositionZ() const { return _positionZ; }

private:
    SpotLight() = default;
    Vec3 _direction{0, 0, -1};
    float _range = 0;
    float _innerAngle = 0, _cosInnerAngle = 1;
    float _outerAngle = 0, _cosOuterAngle = 1;
    float _positionZ = 0;
};

class AmbientLight : public BaseLight {
public:
    static AmbientLight* create(const Color3B& color);
    LightType getLightType() const override { return LightType::AMBIENT; }

private:
    AmbientLight() = default;
};

}  // namespace engine
