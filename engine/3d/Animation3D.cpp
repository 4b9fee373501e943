#include "engine/3d/Animation3D.h"

#include <algorithm>
#include <cmath>

#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"

namespace engine {

namespace {

bool readFloats(const rapidjson::Value* value, float* out, rapidjson::SizeType count) {
    if (!value || !value->IsArray() || value->Size() != count) return false;
    for (rapidjson::SizeType i = 0; i < count; ++i) {
        if (!(*value)[i].IsNumber()) return false;
        out[i] = static_cast<float>((*value)[i].GetDouble());
        if (!std::isfinite(out[i])) return false;
    }
    return true;
}

// Reads one bone's key frames; false when any is malformed.
bool readKeys(const rapidjson::Value& frames, Animation3D::Curve* curve) {
    if (!frames.IsArray()) return false;
    for (const rapidjson::Value& frame : frames.GetArray()) {
        const rapidjson::Value* time = jsonMember(frame, "keytime");
        if (!time || !time->IsNumber()) return false;
        const float t = static_cast<float>(time->GetDouble());
        if (!(t >= 0.f && t <= 1.f)) return false;
        float v[4];
        if (const rapidjson::Value* value = jsonMember(frame, "translation")) {
            if (!readFloats(value, v, 3)) return false;
            curve->translation.push_back({t, Vec3(v[0], v[1], v[2])});
        }
        if (const rapidjson::Value* value = jsonMember(frame, "rotation")) {
            if (!readFloats(value, v, 4)) return false;
            curve->rotation.push_back({t, Quaternion(v[0], v[1], v[2], v[3])});
        }
        if (const rapidjson::Value* value = jsonMember(frame, "scale")) {
            if (!readFloats(value, v, 3)) return false;
            curve->scale.push_back({t, Vec3(v[0], v[1], v[2])});
        }
    }
    auto byTime = [](const auto& a, const auto& b) { return a.time < b.time; };
    std::stable_sort(curve->translation.begin(), curve->translation.end(), byTime);
    std::stable_sort(curve->rotation.begin(), curve->rotation.end(), byTime);
    std::stable_sort(curve->scale.begin(), curve->scale.end(), byTime);
    return true;
}

// The index of the last key at or before t (keys not empty, t inside them).
template <class K>
size_t keyBefore(const std::vector<K>& keys, float t) {
    auto it = std::upper_bound(keys.begin(), keys.end(), t, [](float time, const K& key) { return time < key.time; });
    return static_cast<size_t>(it - keys.begin()) - 1;
}

}  // namespace

Animation3D* Animation3D::create(const std::string& file, const std::string& animationName) {
    FileUtils* files = FileUtils::getInstance();
    const std::string text = files->getStringFromFile(files->fullPathForFilename(file));
    auto* animation = new Animation3D;
    if (text.empty() || !animation->initWithJson(text, animationName)) {
        log("Animation3D: no animation '%s' in %s", animationName.c_str(), file.c_str());
        delete animation;
        return nullptr;
    }
    animation->autorelease();
    return animation;
}

bool Animation3D::initWithJson(std::string_view text, const std::string& animationName) {
    rapidjson::Document document;
    if (!parseJson(text, document)) return false;
    const rapidjson::Value* animations = jsonMember(document, "animations");
    if (!animations || !animations->IsArray()) return false;
    for (const rapidjson::Value& animation : animations->GetArray()) {
        const rapidjson::Value* id = jsonMember(animation, "id");
        const std::string name = id && id->IsString() ? id->GetString() : "";
        if (!animationName.empty() && name != animationName) continue;
        const rapidjson::Value* length = jsonMember(animation, "length");
        const rapidjson::Value* bones = jsonMember(animation, "bones");
        if (!length || !length->IsNumber() || !bones || !bones->IsArray()) return false;
        const float duration = static_cast<float>(length->GetDouble());
        if (!(duration >= 0.f) || !std::isfinite(duration)) return false;
        std::map<std::string, Curve> curves;
        for (const rapidjson::Value& bone : bones->GetArray()) {
            const rapidjson::Value* boneId = jsonMember(bone, "boneId");
            const rapidjson::Value* frames = jsonMember(bone, "keyframes");
            if (!boneId || !boneId->IsString() || !frames) return false;
            if (!readKeys(*frames, &curves[boneId->GetString()])) return false;
        }
        _name = name;
        _duration = duration;
        _curves = std::move(curves);
        return true;
    }
    return false;
}

const Animation3D::Curve* Animation3D::getBoneCurveByName(const std::string& name) const {
    auto it = _curves.find(name);
    return it == _curves.end() ? nullptr : &it->second;
}

Vec3 Animation3D::sample(const std::vector<Key<Vec3>>& keys, float t, const Vec3& fallback) {
    if (keys.empty()) return fallback;
    if (t <= keys.front().time) return keys.front().value;
    if (t >= keys.back().time) return keys.back().value;
    const size_t i = keyBefore(keys, t);
    const Key<Vec3>& a = keys[i];
    const Key<Vec3>& b = keys[i + 1];
    const float span = b.time - a.time;
    const float f = span > 0 ? (t - a.time) / span : 0.f;
    return a.value + (b.value - a.value) * f;
}

Quaternion Animation3D::sample(const std::vector<Key<Quaternion>>& keys, float t, const Quaternion& fallback) {
    if (keys.empty()) return fallback;
    if (t <= keys.front().time) return keys.front().value;
    if (t >= keys.back().time) return keys.back().value;
    const size_t i = keyBefore(keys, t);
    const Quaternion& a = keys[i].value;
    Quaternion b = keys[i + 1].value;
    const float span = keys[i + 1].time - keys[i].time;
    const float f = span > 0 ? (t - keys[i].time) / span : 0.f;
    // The shorter arc: q and -q are the same rotation.
    if (a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w < 0) b = Quaternion(-b.x, -b.y, -b.z, -b.w);
    Quaternion q(a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f, a.z + (b.z - a.z) * f, a.w + (b.w - a.w) * f);
    const float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (length <= 0) return a;
    return Quaternion(q.x / length, q.y / length, q.z / length, q.w / length);
}

}  // namespace engine
