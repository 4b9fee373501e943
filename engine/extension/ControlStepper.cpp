#include "engine/extension/ControlStepper.h"

#include <algorithm>

#include "engine/base/Log.h"
#include "engine/scene/Sprite.h"

namespace engine::extension {

ControlStepper* ControlStepper::create(Sprite* minusSprite, Sprite* plusSprite) {
    if (!minusSprite || !plusSprite) return nullptr;
    auto* stepper = new ControlStepper;
    return autoreleased(stepper, stepper->initWithSprites(minusSprite, plusSprite));
}

ControlStepper::~ControlStepper() {
    if (_minus) _minus->release();
    if (_plus) _plus->release();
}

bool ControlStepper::initWithSprites(Sprite* minus, Sprite* plus) {
    if (!Control::init()) return false;
    _minus = minus;
    _plus = plus;
    for (Sprite* sprite : {minus, plus}) {
        sprite->retain();
        sprite->setAnchorPoint(Vec2(0.5f, 0.5f));
        addChild(sprite);
    }
    const Size left = minus->getContentSize(), right = plus->getContentSize();
    setContentSize(Size(left.width + right.width, std::max(left.height, right.height)));
    needsLayout();
    return true;
}

void ControlStepper::needsLayout() {
    if (!_minus) return;
    const Size size = getContentSize();
    const float left = _minus->getContentSize().width;
    _minus->setPosition(left / 2, size.height / 2);
    _plus->setPosition(left + _plus->getContentSize().width / 2, size.height / 2);
    _minus->setOpacity(_wraps || _value > _minimum ? 255 : 128);
    _plus->setOpacity(_wraps || _value < _maximum ? 255 : 128);
}

void ControlStepper::setValueWithSendingEvent(float value, bool send) {
    if (value < _minimum) value = _wraps ? _maximum : _minimum;
    if (value > _maximum) value = _wraps ? _minimum : _maximum;
    if (value == _value) return;
    _value = value;
    needsLayout();
    if (send) sendActionsForControlEvents(ControlEvent::VALUE_CHANGED);
}

void ControlStepper::setMinimumValue(float value) {
    if (value >= _maximum) {
        log("ControlStepper: minimum %g is not below the maximum %g", value, _maximum);
        return;
    }
    _minimum = value;
    setValue(_value);
}

void ControlStepper::setMaximumValue(float value) {
    if (value <= _minimum) {
        log("ControlStepper: maximum %g is not above the minimum %g", value, _minimum);
        return;
    }
    _maximum = value;
    setValue(_value);
}

void ControlStepper::setStepValue(float value) {
    if (!(value > 0.f)) {
        log("ControlStepper: step %g is not positive", value);
        return;
    }
    _step = value;
}

bool ControlStepper::onTouchBegan(Touch* touch, Event*) {
    if (!isTouchInside(touch) || !isEnabled() || !hasVisibleParents()) return false;
    const bool plus = getTouchLocation(touch).x >= _minus->getContentSize().width;
    (plus ? _plus : _minus)->setColor(Color3B{128, 128, 128});
    setValueWithSendingEvent(_value + (plus ? _step : -_step), _continuous);
    return true;
}

void ControlStepper::onTouchEnded(Touch*, Event*) {
    _minus->setColor(Color3B::WHITE);
    _plus->setColor(Color3B::WHITE);
    if (!_continuous) sendActionsForControlEvents(ControlEvent::VALUE_CHANGED);
}

}  // namespace engine::extension
