#include "engine/studio/Armature.h"

#include <algorithm>
#include <cmath>

#include "engine/base/Log.h"
#include "engine/studio/ArmatureDataManager.h"
#include "engine/studio/ArmatureParts.h"

namespace studio {

Bone* Bone::create(const std::string& name) {
    auto* bone = new Bone;
    bone->init();
    bone->setName(name);
    bone->_displayManager = DisplayManager::create(bone);
    bone->_displayManager->retain();
    bone->_tween = Tween::create(bone);
    bone->_tween->retain();
    bone->_colliderDetector = ColliderDetector::create(bone);
    bone->_colliderDetector->retain();
    bone->autorelease();
    return bone;
}

Bone::~Bone() {
    if (_displayManager) _displayManager->release();
    if (_tween) _tween->release();
    if (_colliderDetector) _colliderDetector->release();
}

// ---- ArmatureAnimation

ArmatureAnimation* ArmatureAnimation::create(Armature* armature) {
    auto* animation = new ArmatureAnimation;
    animation->_armature = armature;
    animation->autorelease();
    return animation;
}

void ArmatureAnimation::play(const std::string& name, int durationTo, int loop) {
    (void)durationTo;   // no blending between movements: the new one shows at once
    const ArmatureDef* data = _armature ? _armature->getArmatureDef() : nullptr;
    const MovementDef* movement = data ? data->movement(name) : nullptr;
    if (!movement) {
        engine::log("ArmatureAnimation: armature '%s' has no movement '%s'",
                    _armature ? _armature->getName().c_str() : "", name.c_str());
        return;
    }
    _movement = movement;
    _movementID = name;
    _loop = loop < 0 ? movement->loop : loop != 0;
    _playing = true;
    _paused = false;
    _complete = false;
    _frame = 0.f;
    // Held: the callbacks may let go of the armature.
    retain();
    reportMovement(MovementEventType::START);
    if (_movement == movement) reportFrames(-1.f, 0.f);
    release();
}

void ArmatureAnimation::playWithIndex(int index, int durationTo, int loop) {
    const ArmatureDef* data = _armature ? _armature->getArmatureDef() : nullptr;
    if (!data || index < 0 || index >= static_cast<int>(data->movements.size())) {
        engine::log("ArmatureAnimation: no movement at index %d", index);
        return;
    }
    play(data->movements[static_cast<size_t>(index)].name, durationTo, loop);
}

void ArmatureAnimation::gotoAndPlay(int frameIndex) {
    if (!_movement) return;
    _frame = static_cast<float>(std::clamp(frameIndex, 0, _movement->duration));
    _playing = true;
    _paused = false;
    _complete = false;
}

void ArmatureAnimation::gotoAndPause(int frameIndex) {
    gotoAndPlay(frameIndex);
    if (_movement) _paused = true;
}

void ArmatureAnimation::stop() {
    _playing = false;
    _paused = false;
}

void ArmatureAnimation::update(float dt) {
    if (!_playing || _paused || !_movement || !(dt > 0.f)) return;
    const MovementDef* movement = _movement;
    const float duration = static_cast<float>(movement->duration);
    const float from = _frame;
    const float to = from + dt * ArmatureDef::kFramesPerSecond * _speedScale;
    retain();
    if (to < duration) {
        _frame = to;
        reportFrames(from, to);
    } else if (!_loop) {
        _frame = duration;
        _playing = false;
        _complete = true;
        reportFrames(from, duration);
        if (_movement == movement) reportMovement(MovementEventType::COMPLETE);
    } else {
        // At most two laps are reported in one update; the frame is where the time says.
        const float laps = std::floor(to / duration);
        _frame = std::fmod(to, duration);
        reportFrames(from, duration);
        if (_movement == movement) reportMovement(MovementEventType::LOOP_COMPLETE);
        if (laps >= 2.f && _movement == movement) {
            reportFrames(-1.f, duration);
            if (_movement == movement) reportMovement(MovementEventType::LOOP_COMPLETE);
        }
        if (_movement == movement && _playing) reportFrames(-1.f, _frame);
    }
    release();
}

void ArmatureAnimation::reportMovement(MovementEventType type) {
    if (!_movementCallback || !_armature) return;
    const MovementCallback callback = _movementCallback;
    const std::string id = _movementID;
    callback(_armature, type, id);
}

void ArmatureAnimation::reportFrames(float from, float to) {
    if (!_frameCallback || !_movement || !_armature) return;
    const MovementDef* movement = _movement;
    const int current = static_cast<int>(to);
    for (const FrameEventDef& event : movement->frameEvents) {
        const float frame = static_cast<float>(event.frame);
        if (!(frame > from && frame <= to)) continue;
        // A callback that plays another movement ends this one's events.
        if (_movement != movement || !_frameCallback) return;
        const FrameCallback callback = _frameCallback;
        callback(_armature->getBone(event.bone), event.name, event.frame, current);
    }
}

// ---- Armature

Armature* Armature::create(const std::string& name) {
    auto* armature = new Armature;
    armature->initWithName(name);
    armature->autorelease();
    return armature;
}

Armature::~Armature() {
    if (_animation) {
        _animation->_armature = nullptr;
        _animation->release();
    }
}

bool Armature::initWithName(const std::string& name) {
    init();
    setName(name);
    _animation = ArmatureAnimation::create(this);
    _animation->retain();
    if (const ArmatureDef* data = ArmatureDataManager::getInstance()->getArmatureDef(name)) {
        _data = *data;
        _known = true;
        for (const BoneDef& boneData : _data.bones) {
            Bone* bone = Bone::create(boneData.name);
            bone->_armature = this;
            bone->setPosition(boneData.position);
            Bone* parent = boneData.parent.empty() ? nullptr : getBone(boneData.parent);
            if (parent) {
                parent->addChild(bone);
            } else {
                addChild(bone);
            }
            _bonesByName.emplace(boneData.name, bone);
        }
    }
    scheduleUpdate();
    return true;
}

engine::Map<std::string, Bone*> Armature::getBoneDic() const {
    engine::Map<std::string, Bone*> bones;
    for (const auto& [name, bone] : _bonesByName) bones.insert(name, bone);
    return bones;
}

Bone* Armature::getBone(const std::string& name) const {
    auto found = _bonesByName.find(name);
    return found != _bonesByName.end() ? found->second : nullptr;
}

void Armature::update(float delta) {
    if (_animation) _animation->update(delta);
}

}  // namespace studio
