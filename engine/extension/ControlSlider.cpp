#include "engine/extension/ControlSlider.h"

#include <algorithm>

#include "engine/scene/Sprite.h"

namespace engine::extension {

ControlSlider* ControlSlider::create(const std::string& backgroundFile, const std::string& progressFile,
                                     const std::string& thumbFile) {
    return create(Sprite::create(backgroundFile), Sprite::create(progressFile), Sprite::create(thumbFile));
}

ControlSlider* ControlSlider::create(Sprite* background, Sprite* progress, Sprite* thumb) {
    if (!background || !progress || !thumb) return nullptr;
    auto* slider = new ControlSlider;
    return autoreleased(slider, slider->initWithSprites(background, progress, thumb));
}

ControlSlider::~ControlSlider() {
    for (Sprite* sprite : {_background, _progress, _thumb}) {
        if (sprite) sprite->release();
    }
}

bool ControlSlider::initWithSprites(Sprite* background, Sprite* progress, Sprite* thumb) {
    if (!Control::init()) return false;
    _background = background;
    _progress = progress;
    _thumb = thumb;
    for (Sprite* sprite : {_background, _progress, _thumb}) {
        sprite->retain();
        addChild(sprite);
    }
    setContentSize(background->getContentSize());
    _background->setAnchorPoint(Vec2(0.5f, 0.5f));
    _background->setPosition(getContentSize().width / 2, getContentSize().height / 2);
    _progress->setAnchorPoint(Vec2(0.f, 0.5f));
    _progress->setPosition(0.f, getContentSize().height / 2);
    _thumb->setAnchorPoint(Vec2(0.5f, 0.5f));
    needsLayout();
    return true;
}

void ControlSlider::resetAllowedRange() {
    _minimumAllowed = _minimum;
    _maximumAllowed = _maximum;
    const float old = _value;
    _value = std::clamp(_value, _minimumAllowed, _maximumAllowed);
    needsLayout();
    if (_value != old) sendActionsForControlEvents(ControlEvent::VALUE_CHANGED);
}

void ControlSlider::setMinimumValue(float value) {
    _minimum = value;
    if (_minimum >= _maximum) _maximum = _minimum + 1.f;
    resetAllowedRange();
}

void ControlSlider::setMaximumValue(float value) {
    _maximum = value;
    if (_maximum <= _minimum) _minimum = _maximum - 1.f;
    resetAllowedRange();
}

void ControlSlider::setMinimumAllowedValue(float value) {
    _minimumAllowed = std::clamp(value, _minimum, _maximum);
    _maximumAllowed = std::max(_maximumAllowed, _minimumAllowed);
    setValue(_value);
}

void ControlSlider::setMaximumAllowedValue(float value) {
    _maximumAllowed = std::clamp(value, _minimum, _maximum);
    _minimumAllowed = std::min(_minimumAllowed, _maximumAllowed);
    setValue(_value);
}

void ControlSlider::setValue(float value) {
    value = std::clamp(value, _minimumAllowed, _maximumAllowed);
    if (value == _value) return;
    _value = value;
    needsLayout();
    sendActionsForControlEvents(ControlEvent::VALUE_CHANGED);
}

float ControlSlider::valueForLocation(const Vec2& location) const {
    const float width = getContentSize().width;
    const float share = width > 0.f ? std::clamp(location.x / width, 0.f, 1.f) : 0.f;
    return std::clamp(_minimum + share * (_maximum - _minimum), _minimumAllowed, _maximumAllowed);
}

void ControlSlider::setEnabled(bool enabled) {
    Control::setEnabled(enabled);
    if (_thumb) _thumb->setOpacity(enabled ? 255 : 128);
}

void ControlSlider::needsLayout() {
    if (!_thumb) return;
    const Size size = getContentSize();
    const float share = _maximum > _minimum ? (_value - _minimum) / (_maximum - _minimum) : 0.f;
    _thumb->setPosition(size.width * share, size.height / 2);
    const Size progress = _progress->getContentSize();
    _progress->setScale(progress.width > 0.f ? size.width * share / progress.width : 0.f, 1.f);
}

bool ControlSlider::onTouchBegan(Touch* touch, Event*) {
    if (!isTouchInside(touch) || !isEnabled() || !hasVisibleParents()) return false;
    _thumb->setColor(Color3B{128, 128, 128});
    setSelected(true);
    setValue(valueForLocation(getTouchLocation(touch)));
    return true;
}

void ControlSlider::onTouchMoved(Touch* touch, Event*) { setValue(valueForLocation(getTouchLocation(touch))); }

void ControlSlider::onTouchEnded(Touch* touch, Event*) {
    setValue(valueForLocation(getTouchLocation(touch)));
    _thumb->setColor(Color3B::WHITE);
    setSelected(false);
}

}  // namespace engine::extension
