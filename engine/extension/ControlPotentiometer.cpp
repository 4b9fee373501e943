#include "engine/extension/ControlPotentiometer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/base/Log.h"
#include "engine/scene/ProgressTimer.h"
#include "engine/scene/Sprite.h"

namespace engine::extension {

ControlPotentiometer* ControlPotentiometer::create(const std::string& trackFile, const std::string& progressFile,
                                                   const std::string& thumbFile) {
    return create(Sprite::create(trackFile), Sprite::create(progressFile), Sprite::create(thumbFile));
}

ControlPotentiometer* ControlPotentiometer::create(Sprite* track, Sprite* progress, Sprite* thumb) {
    if (!track || !progress || !thumb) return nullptr;
    auto* control = new ControlPotentiometer;
    return autoreleased(control, control->initWithSprites(track, progress, thumb));
}

ControlPotentiometer::~ControlPotentiometer() {
    if (_track) _track->release();
    if (_thumb) _thumb->release();
    if (_progressTimer) _progressTimer->release();
}

bool ControlPotentiometer::initWithSprites(Sprite* track, Sprite* progress, Sprite* thumb) {
    if (!Control::init()) return false;
    _track = track;
    _thumb = thumb;
    _progressTimer = ProgressTimer::create(progress);
    const Size size = track->getContentSize();
    setContentSize(size);
    for (Node* part : {static_cast<Node*>(_track), static_cast<Node*>(_progressTimer), static_cast<Node*>(_thumb)}) {
        part->retain();
        part->setAnchorPoint(Vec2(0.5f, 0.5f));
        part->setPosition(size.width / 2, size.height / 2);
        addChild(part);
    }
    needsLayout();
    return true;
}

void ControlPotentiometer::setValue(float value) {
    value = std::clamp(value, _minimum, _maximum);
    if (value == _value) return;
    _value = value;
    needsLayout();
    sendActionsForControlEvents(ControlEvent::VALUE_CHANGED);
}

void ControlPotentiometer::setMinimumValue(float value) {
    if (value >= _maximum) {
        log("ControlPotentiometer: minimum %g is not below the maximum %g", value, _maximum);
        return;
    }
    _minimum = value;
    setValue(_value);
    needsLayout();
}

void ControlPotentiometer::setMaximumValue(float value) {
    if (value <= _minimum) {
        log("ControlPotentiometer: maximum %g is not above the minimum %g", value, _minimum);
        return;
    }
    _maximum = value;
    setValue(_value);
    needsLayout();
}

void ControlPotentiometer::needsLayout() {
    if (!_thumb) return;
    const float share = (_value - _minimum) / (_maximum - _minimum);
    _progressTimer->setPercentage(share * 100.f);
    _thumb->setRotation(share * 360.f);
}

float ControlPotentiometer::distanceBetweenPointAndPoint(const Vec2& a, const Vec2& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

float ControlPotentiometer::angleInDegreesBetweenLineFromPoint_toPoint_toLineFromPoint_toPoint(const Vec2& a,
                                                                                                 const Vec2& b,
                                                                                                 const Vec2& c,
                                                                                                 const Vec2& d) {
    const float first = std::atan2(b.y - a.y, b.x - a.x);
    const float second = std::atan2(d.y - c.y, d.x - c.x);
    // Counter-clockwise turns are positive in these coordinates: clockwise is their negation.
    float degrees = (first - second) * 180.f / std::numbers::pi_v<float>;
    while (degrees > 180.f) degrees -= 360.f;
    while (degrees < -180.f) degrees += 360.f;
    return degrees;
}

bool ControlPotentiometer::onTouchBegan(Touch* touch, Event*) {
    if (!isTouchInside(touch) || !isEnabled() || !hasVisibleParents()) return false;
    _previous = getTouchLocation(touch);
    setSelected(true);
    return true;
}

void ControlPotentiometer::onTouchMoved(Touch* touch, Event*) {
    const Vec2 location = getTouchLocation(touch);
    const Vec2 centre(getContentSize().width / 2, getContentSize().height / 2);
    const float degrees =
        angleInDegreesBetweenLineFromPoint_toPoint_toLineFromPoint_toPoint(centre, _previous, centre, location);
    _previous = location;
    setValue(_value + degrees / 360.f * (_maximum - _minimum));
}

void ControlPotentiometer::onTouchEnded(Touch*, Event*) { setSelected(false); }

}  // namespace engine::extension
