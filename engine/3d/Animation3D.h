#pragma once
// A skeletal animation: per bone, key frames of translation, rotation and scale
// at key times from 0 to 1 of the animation's duration, read from the
// "animations" of a JSON model file:
//     {"animations": [{"id": "walk", "length": 1.5, "bones": [
//         {"boneId": "arm", "keyframes": [
//             {"keytime": 0, "translation": [x, y, z], "rotation": [x, y, z, w],
//              "scale": [x, y, z]}, ...]}]}]}
// (each key frame may carry any of the three). An empty animation name takes the
// first animation. Values between key times interpolate linearly (rotations
// along the shorter arc, renormalised); before the first and after the last
// key the end value holds. The file is untrusted: what is malformed is refused
// as a whole. Main thread only.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/Geometry.h"
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class Animation3D : public Ref {
public:
    template <class T>
    struct Key {
        float time;   // 0 to 1 of the duration
        T value;
    };
    struct Curve {
        std::vector<Key<Vec3>> translation;
        std::vector<Key<Quaternion>> rotation;
        std::vector<Key<Vec3>> scale;
    };

    // Autoreleased; nullptr (logged) when the file does not read or has no such animation.
    static Animation3D* create(const std::string& file, const std::string& animationName = "");
    // The same from the file's text; false (the animation untouched) when refused.
    bool initWithJson(std::string_view text, const std::string& animationName);

    float getDuration() const { return _duration; }
    const std::string& getName() const { return _name; }
    // Null when the animation does not move that bone.
    const Curve* getBoneCurveByName(const std::string& name) const;
    const std::map<std::string, Curve>& getBoneCurves() const { return _curves; }

    // A curve's value at time t (0 to 1); the fallback when it has no keys.
    static Vec3 sample(const std::vector<Key<Vec3>>& keys, float t, const Vec3& fallback);
    static Quaternion sample(const std::vector<Key<Quaternion>>& keys, float t, const Quaternion& fallback);

    Animation3D() = default;

private:
    std::string _name;
    float _duration = 0;
    std::map<std::string, Curve> _curves;
};

}  // namespace engine
