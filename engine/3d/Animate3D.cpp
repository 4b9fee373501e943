#include "engine/3d/Animate3D.h"

#include <cmath>

#include "engine/3d/Animation3D.h"
#include "engine/scene/Node.h"

namespace engine {

namespace {

Node* findBone(Node* node, const std::string& name) {
    for (Node* child : node->getChildren()) {
        if (child->getName() == name) return child;
    }
    for (Node* child : node->getChildren()) {
        if (Node* found = findBone(child, name)) return found;
    }
    return nullptr;
}

float mix(float own, float curve, float weight) { return own + (curve - own) * weight; }

}  // namespace

Animate3D* Animate3D::create(Animation3D* animation) {
    return animation ? create(animation, 0.f, animation->getDuration()) : nullptr;
}

Animate3D* Animate3D::create(Animation3D* animation, float fromTime, float duration) {
    auto* action = new Animate3D;
    if (!action->init(animation, fromTime, duration)) {
        delete action;
        return nullptr;
    }
    action->autorelease();
    return action;
}

Animate3D* Animate3D::createWithFrames(Animation3D* animation, int startFrame, int endFrame, float frameRate) {
    if (!(frameRate > 0) || endFrame < startFrame) return nullptr;
    return create(animation, static_cast<float>(startFrame) / frameRate,
                  static_cast<float>(endFrame - startFrame) / frameRate);
}

bool Animate3D::init(Animation3D* animation, float fromTime, float duration) {
    if (!animation) return false;
    const float full = animation->getDuration();
    if (fromTime < 0 || duration < 0 || fromTime > full) return false;
    if (fromTime + duration > full) duration = full - fromTime;
    animation->retain();
    _animation = animation;
    _start = full > 0 ? fromTime / full : 0.f;
    _last = full > 0 ? duration / full : 0.f;
    _originInterval = duration;
    initWithDuration(duration);
    return true;
}

Animate3D::~Animate3D() {
    if (_animation) _animation->release();
}

void Animate3D::setOriginInterval(float interval) {
    _originInterval = interval < 0 ? 0 : interval;
    setDuration(_absSpeed > 0 ? _originInterval / _absSpeed : 0.f);
}

void Animate3D::setSpeed(float speed) {
    _absSpeed = std::fabs(speed);
    _playReverse = speed < 0;
    // A stopped animation (speed 0) lasts no time: it ends at once where it starts.
    setDuration(_absSpeed > 0 ? _originInterval / _absSpeed : 0.f);
}

Animate3D* Animate3D::clone() const {
    Animate3D* copy = create(_animation, _start * _animation->getDuration(), _originInterval);
    if (!copy) return nullptr;
    copy->setSpeed(getSpeed());
    copy->_weight = _weight;
    copy->_quality = _quality;
    return copy;
}

Animate3D* Animate3D::reverse() const {
    Animate3D* copy = clone();
    if (copy) copy->setSpeed(-getSpeed());
    return copy;
}

void Animate3D::update(float t) {
    Node* target = getTarget();
    if (!target || _quality == Quality::QUALITY_NONE) return;
    if (_playReverse) t = 1.f - t;
    const float time = _start + _last * t;
    for (const auto& [name, curve] : _animation->getBoneCurves()) {
        Node* bone = findBone(target, name);
        if (!bone) continue;
        const Vec3 position(bone->getPositionX(), bone->getPositionY(), 0);
        const Vec3 translation = Animation3D::sample(curve.translation, time, position);
        bone->setPosition(mix(position.x, translation.x, _weight), mix(position.y, translation.y, _weight));
        const Vec3 ownScale(bone->getScaleX(), bone->getScaleY(), 1);
        const Vec3 scale = Animation3D::sample(curve.scale, time, ownScale);
        bone->setScaleX(mix(ownScale.x, scale.x, _weight));
        bone->setScaleY(mix(ownScale.y, scale.y, _weight));
        if (!curve.rotation.empty()) {
            const Quaternion q = Animation3D::sample(curve.rotation, time, Quaternion());
            // The turn about z in degrees; node rotations run clockwise.
            const float degrees = -2.f * std::atan2(q.z, q.w) * 180.f / static_cast<float>(M_PI);
            bone->setRotation(mix(bone->getRotation(), degrees, _weight));
        }
    }
}

}  // namespace engine
