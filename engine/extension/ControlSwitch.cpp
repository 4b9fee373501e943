#include "engine/extension/ControlSwitch.h"

#include "engine/label/Label.h"
#include "engine/scene/Sprite.h"

namespace engine::extension {

namespace {
enum Part { kMask, kOn, kOff, kThumb, kOnLabel, kOffLabel };
}

ControlSwitch* ControlSwitch::create(Sprite* maskSprite, Sprite* onSprite, Sprite* offSprite, Sprite* thumbSprite) {
    return create(maskSprite, onSprite, offSprite, thumbSprite, nullptr, nullptr);
}

ControlSwitch* ControlSwitch::create(Sprite* maskSprite, Sprite* onSprite, Sprite* offSprite, Sprite* thumbSprite,
                                     Label* onLabel, Label* offLabel) {
    if (!maskSprite || !onSprite || !offSprite || !thumbSprite) return nullptr;
    auto* control = new ControlSwitch;
    return autoreleased(control, control->initWithParts(maskSprite, onSprite, offSprite, thumbSprite, onLabel, offLabel));
}

ControlSwitch::~ControlSwitch() {
    for (Node* part : _parts) {
        if (part) part->release();
    }
}

bool ControlSwitch::initWithParts(Sprite* mask, Sprite* on, Sprite* off, Sprite* thumb, Label* onLabel,
                                  Label* offLabel) {
    if (!Control::init()) return false;
    Node* parts[6] = {mask, on, off, thumb, onLabel, offLabel};
    const Size size = mask->getContentSize();
    setContentSize(size);
    for (int i = 0; i < 6; ++i) {
        if (!parts[i]) continue;
        _parts[i] = parts[i];
        parts[i]->retain();
        parts[i]->setAnchorPoint(Vec2(0.5f, 0.5f));
        parts[i]->setPosition(size.width / 2, size.height / 2);
        addChild(parts[i], i == kThumb ? 1 : 0);
    }
    needsLayout();
    return true;
}

void ControlSwitch::setOn(bool on, bool) {
    if (on == _on) return;
    _on = on;
    needsLayout();
    sendActionsForControlEvents(ControlEvent::VALUE_CHANGED);
}

void ControlSwitch::setEnabled(bool enabled) {
    Control::setEnabled(enabled);
    if (_parts[kMask]) _parts[kMask]->setOpacity(enabled ? 255 : 128);
}

void ControlSwitch::needsLayout() {
    if (!_parts[kThumb]) return;
    const Size size = getContentSize();
    const Size thumb = _parts[kThumb]->getContentSize();
    _parts[kThumb]->setPosition(_on ? size.width - thumb.width / 2 : thumb.width / 2, size.height / 2);
    for (int part : {kOn, kOnLabel}) {
        if (_parts[part]) _parts[part]->setVisible(_on);
    }
    for (int part : {kOff, kOffLabel}) {
        if (_parts[part]) _parts[part]->setVisible(!_on);
    }
}

bool ControlSwitch::onTouchBegan(Touch* touch, Event*) {
    if (!isTouchInside(touch) || !isEnabled() || !hasVisibleParents()) return false;
    _moved = false;
    _parts[kThumb]->setColor(Color3B{128, 128, 128});
    return true;
}

void ControlSwitch::onTouchMoved(Touch* touch, Event*) {
    if (!isTouchInside(touch)) _moved = true;
}

void ControlSwitch::onTouchEnded(Touch* touch, Event*) {
    _parts[kThumb]->setColor(Color3B::WHITE);
    if (!_moved && isTouchInside(touch)) setOn(!_on);
}

void ControlSwitch::onTouchCancelled(Touch*, Event*) { _parts[kThumb]->setColor(Color3B::WHITE); }

}  // namespace engine::extension
