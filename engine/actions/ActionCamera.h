#pragma once
// Camera actions: a timed action that keeps a camera's eye, centre and up
// vector for its target. Nodes carry no camera transform of their own, so the
// values live on the action; scripts set and read them.
//
// OrbitCamera moves the eye round the centre over its duration, on a sphere
// whose radius, zenith angle (from the z axis) and azimuth (from the x axis,
// in the xy plane) go from their start values by their deltas; angles in
// degrees. reverse() of either gives the same action run backwards (a copy;
// nullptr when the action cannot be copied).
#include "engine/actions/ActionInterval.h"
#include "engine/base/Types.h"

namespace engine {

class ActionCamera : public ActionInterval {
public:
    // A camera action lasting duration, eye at (0, 0, 1) looking at the origin, up y.
    static ActionCamera* create(float duration);
    ActionCamera* clone() const override;
    ActionCamera* reverse() const override;

    void setEye(const Vec3& eye) { _eye = eye; }
    void setEye(float x, float y, float z) { _eye = Vec3(x, y, z); }
    const Vec3& getEye() const { return _eye; }
    void setCenter(const Vec3& center) { _center = center; }
    const Vec3& getCenter() const { return _center; }
    void setUp(const Vec3& up) { _up = up; }
    const Vec3& getUp() const { return _up; }
    bool isBackwards() const { return _backwards; }

protected:
    ActionCamera() = default;
    // The progress this action shows at time t (1 - t when run backwards).
    float directed(float t) const { return _backwards ? 1.f - t : t; }
    // Copies the camera values and direction onto a clone.
    void copyCameraTo(ActionCamera* copy) const;

    Vec3 _eye{0.f, 0.f, 1.f};
    Vec3 _center;
    Vec3 _up{0.f, 1.f, 0.f};
    bool _backwards = false;
};

class OrbitCamera : public ActionCamera {
public:
    static OrbitCamera* create(float duration, float radius, float deltaRadius, float angleZ, float deltaAngleZ,
                               float angleX, float deltaAngleX);
    OrbitCamera* clone() const override;
    void update(float t) override;
    // Where the eye now stands round the centre, on the same sphere update()
    // uses: the distance, the zenith angle from +z (0 to 180) and the azimuth
    // from +x in the xy plane (-180 to 180), in degrees. An eye on the centre
    // gives 0, 0, 0; on the z axis the azimuth is 0.
    void sphericalRadius(float* radius, float* zenith, float* azimuth) const;

private:
    OrbitCamera() = default;
    float _radius = 0.f, _deltaRadius = 0.f;
    float _angleZ = 0.f, _deltaAngleZ = 0.f;
    float _angleX = 0.f, _deltaAngleX = 0.f;
};

}  // namespace engine
