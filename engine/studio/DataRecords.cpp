#include "engine/studio/DataRecords.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/studio/Armature.h"

namespace studio {

BaseData* BaseData::create() { return engine::autoreleased(new BaseData); }

void BaseData::copy(const BaseData* other) {
    if (!other || other == this) return;
    x = other->x;
    y = other->y;
    zOrder = other->zOrder;
    skewX = other->skewX;
    skewY = other->skewY;
    scaleX = other->scaleX;
    scaleY = other->scaleY;
    tweenRotate = other->tweenRotate;
    isUseColorInfo = other->isUseColorInfo;
    a = other->a;
    r = other->r;
    g = other->g;
    b = other->b;
}

void BaseData::subtract(const BaseData* from, const BaseData* to, bool limit) {
    if (!from || !to) return;
    x = to->x - from->x;
    y = to->y - from->y;
    scaleX = to->scaleX - from->scaleX;
    scaleY = to->scaleY - from->scaleY;
    skewX = to->skewX - from->skewX;
    skewY = to->skewY - from->skewY;
    isUseColorInfo = from->isUseColorInfo || to->isUseColorInfo;
    a = to->a - from->a;
    r = to->r - from->r;
    g = to->g - from->g;
    b = to->b - from->b;
    if (limit) {
        constexpr float pi = std::numbers::pi_v<float>;
        for (float* angle : {&skewX, &skewY}) {
            if (*angle > pi) *angle -= 2 * pi;
            if (*angle < -pi) *angle += 2 * pi;
        }
    }
    if (to->tweenRotate != 0) {
        const float turn = to->tweenRotate * 2 * std::numbers::pi_v<float>;
        skewX += turn;
        skewY -= turn;
    }
}

void BaseData::setColor(const engine::Color4B& color) {
    r = color.r;
    g = color.g;
    b = color.b;
    a = color.a;
}

engine::Color4B BaseData::getColor() const {
    auto channel = [](int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); };
    return engine::Color4B{channel(r), channel(g), channel(b), channel(a)};
}

DisplayData* DisplayData::create() { return engine::autoreleased(new DisplayData); }

std::string DisplayData::changeDisplayToTexture(const std::string& displayName) {
    std::string name = displayName;
    const size_t slash = name.find_last_of('/');
    if (slash != std::string::npos) name = name.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name = name.substr(0, dot);
    return name + ".png";
}

void DisplayData::copy(const DisplayData* other) {
    if (!other || other == this) return;
    displayName = other->displayName;
    displayType = other->displayType;
}

SpriteDisplayData::SpriteDisplayData() : _skinData(BaseData::create()) {
    displayType = DisplayType::SPRITE;
    _skinData->retain();
}

SpriteDisplayData::~SpriteDisplayData() { _skinData->release(); }

SpriteDisplayData* SpriteDisplayData::create() { return engine::autoreleased(new SpriteDisplayData); }

void SpriteDisplayData::copy(const DisplayData* other) {
    DisplayData::copy(other);
    if (const auto* sprite = dynamic_cast<const SpriteDisplayData*>(other)) _skinData->copy(sprite->_skinData);
}

ArmatureDisplayData* ArmatureDisplayData::create() { return engine::autoreleased(new ArmatureDisplayData); }
ParticleDisplayData* ParticleDisplayData::create() { return engine::autoreleased(new ParticleDisplayData); }

BoneData* BoneData::create() { return engine::autoreleased(new BoneData); }

void BoneData::addDisplayData(DisplayData* displayData) {
    if (displayData) _displayDataList.pushBack(displayData);
}

DisplayData* BoneData::getDisplayData(int index) const {
    return index >= 0 && static_cast<size_t>(index) < _displayDataList.size() ? _displayDataList.at(index) : nullptr;
}

ArmatureData* ArmatureData::create() { return engine::autoreleased(new ArmatureData); }

ArmatureData* ArmatureData::create(const ArmatureDef& def) {
    ArmatureData* data = create();
    data->name = def.name;
    for (const BoneDef& bone : def.bones) {
        BoneData* boneData = BoneData::create();
        boneData->name = bone.name;
        boneData->parentName = bone.parent;
        boneData->x = bone.position.x;
        boneData->y = bone.position.y;
        data->addBoneData(boneData);
    }
    return data;
}

void ArmatureData::addBoneData(BoneData* boneData) {
    if (boneData) _boneDataDic.insert(boneData->name, boneData);
}

BoneData* ArmatureData::getBoneData(const std::string& boneName) const { return _boneDataDic.at(boneName); }

FrameData* FrameData::create() { return engine::autoreleased(new FrameData); }

void FrameData::copy(const BaseData* other) {
    BaseData::copy(other);
    if (const auto* frame = dynamic_cast<const FrameData*>(other)) {
        duration = frame->duration;
        displayIndex = frame->displayIndex;
        tweenEasing = frame->tweenEasing;
    }
}

MovementBoneData* MovementBoneData::create() { return engine::autoreleased(new MovementBoneData); }

void MovementBoneData::addFrameData(FrameData* frameData) {
    if (frameData) _frameList.pushBack(frameData);
}

FrameData* MovementBoneData::getFrameData(int index) const {
    return index >= 0 && static_cast<size_t>(index) < _frameList.size() ? _frameList.at(index) : nullptr;
}

MovementData* MovementData::create() { return engine::autoreleased(new MovementData); }

void MovementData::addMovementBoneData(MovementBoneData* movementBoneData) {
    if (movementBoneData) _movBoneDataDic.insert(movementBoneData->name, movementBoneData);
}

MovementBoneData* MovementData::getMovementBoneData(const std::string& boneName) const {
    return _movBoneDataDic.at(boneName);
}

AnimationData* AnimationData::create() { return engine::autoreleased(new AnimationData); }

AnimationData* AnimationData::create(const ArmatureDef& def) {
    AnimationData* data = create();
    data->name = def.name;
    for (const MovementDef& movement : def.movements) {
        MovementData* movementData = MovementData::create();
        movementData->name = movement.name;
        movementData->duration = movement.duration;
        movementData->loop = movement.loop;
        data->addMovement(movementData);
    }
    return data;
}

void AnimationData::addMovement(MovementData* movementData) {
    if (!movementData) return;
    if (!_movementDataDic.at(movementData->name)) _movementNames.push_back(movementData->name);
    _movementDataDic.insert(movementData->name, movementData);
}

MovementData* AnimationData::getMovement(const std::string& movementName) const {
    return _movementDataDic.at(movementName);
}

ContourData* ContourData::create() { return engine::autoreleased(new ContourData); }

TextureData* TextureData::create() { return engine::autoreleased(new TextureData); }

ContourData* TextureData::getContourData(int index) const {
    return index >= 0 && static_cast<size_t>(index) < _contourDataList.size() ? _contourDataList.at(index) : nullptr;
}

}  // namespace studio
