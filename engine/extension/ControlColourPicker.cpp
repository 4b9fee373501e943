#include "engine/extension/ControlColourPicker.h"

#include <algorithm>
#include <cmath>

namespace engine::extension {

HSV hsvFromRGB(const Color3B& color) {
    const float r = color.r / 255.f, g = color.g / 255.f, b = color.b / 255.f;
    const float high = std::max({r, g, b}), low = std::min({r, g, b});
    const float range = high - low;
    HSV hsv;
    hsv.v = high;
    hsv.s = high > 0.f ? range / high : 0.f;
    if (range <= 0.f) return hsv;   // grey: no hue
    float h;
    if (high == r) {
        h = (g - b) / range;
    } else if (high == g) {
        h = 2.f + (b - r) / range;
    } else {
        h = 4.f + (r - g) / range;
    }
    h *= 60.f;
    if (h < 0.f) h += 360.f;
    hsv.h = h;
    return hsv;
}

Color3B rgbFromHSV(const HSV& hsv) {
    const float h = std::fmod(std::clamp(hsv.h, 0.f, 360.f), 360.f) / 60.f;
    const float s = std::clamp(hsv.s, 0.f, 1.f), v = std::clamp(hsv.v, 0.f, 1.f);
    const int sector = static_cast<int>(h);
    const float f = h - static_cast<float>(sector);
    const float p = v * (1.f - s), q = v * (1.f - s * f), t = v * (1.f - s * (1.f - f));
    float r = v, g = t, b = p;
    switch (sector) {
        case 0: r = v; g = t; b = p; break;
        case 1: r = q; g = v; b = p; break;
        case 2: r = p; g = v; b = t; break;
        case 3: r = p; g = q; b = v; break;
        case 4: r = t; g = p; b = v; break;
        default: r = v; g = p; b = q; break;
    }
    auto channel = [](float x) { return static_cast<uint8_t>(std::lround(x * 255.f)); };
    return Color3B{channel(r), channel(g), channel(b)};
}

namespace {
template <class T>
T* placed(T* picker, Node* target, const Vec2& position, const Size& size) {
    picker->setContentSize(size);
    picker->setPosition(position);
    if (target) target->addChild(picker);
    return picker;
}
}  // namespace

// ---- Hue

ControlHuePicker* ControlHuePicker::create(Node* target, const Vec2& position) {
    auto* picker = new ControlHuePicker;
    if (!picker->init()) {
        delete picker;
        return nullptr;
    }
    picker->autorelease();
    return placed(picker, target, position, Size(kWidth, kHeight));
}

void ControlHuePicker::setHue(float hue) {
    hue = std::clamp(hue, 0.f, 360.f);
    if (hue == _hue) return;
    _hue = hue;
    sendActionsForControlEvents(ControlEvent::VALUE_CHANGED);
}

void ControlHuePicker::setHuePercentage(float share) { setHue(std::clamp(share, 0.f, 1.f) * 360.f); }

void ControlHuePicker::pickAt(Touch* touch) {
    const float height = getContentSize().height;
    if (height > 0.f) setHuePercentage(getTouchLocation(touch).y / height);
}

bool ControlHuePicker::onTouchBegan(Touch* touch, Event*) {
    if (!isTouchInside(touch) || !isEnabled() || !hasVisibleParents()) return false;
    pickAt(touch);
    return true;
}

void ControlHuePicker::onTouchMoved(Touch* touch, Event*) { pickAt(touch); }

// ---- Saturation and brightness

ControlSaturationBrightnessPicker* ControlSaturationBrightnessPicker::create(Node* target, const Vec2& position) {
    auto* picker = new ControlSaturationBrightnessPicker;
    if (!picker->init()) {
        delete picker;
        return nullptr;
    }
    picker->autorelease();
    return placed(picker, target, position, Size(kSide, kSide));
}

void ControlSaturationBrightnessPicker::updateWithHSV(const HSV& hsv) {
    _hue = std::clamp(hsv.h, 0.f, 360.f);
    _saturation = std::clamp(hsv.s, 0.f, 1.f);
    _brightness = std::clamp(hsv.v, 0.f, 1.f);
}

void ControlSaturationBrightnessPicker::pickAt(Touch* touch) {
    const Size size = getContentSize();
    if (size.width <= 0.f || size.height <= 0.f) return;
    const Vec2 at = getTouchLocation(touch);
    const float saturation = std::clamp(at.x / size.width, 0.f, 1.f);
    const float brightness = std::clamp(at.y / size.height, 0.f, 1.f);
    if (saturation == _saturation && brightness == _brightness) return;
    _saturation = saturation;
    _brightness = brightness;
    sendActionsForControlEvents(ControlEvent::VALUE_CHANGED);
}

bool ControlSaturationBrightnessPicker::onTouchBegan(Touch* touch, Event*) {
    if (!isTouchInside(touch) || !isEnabled() || !hasVisibleParents()) return false;
    pickAt(touch);
    return true;
}

void ControlSaturationBrightnessPicker::onTouchMoved(Touch* touch, Event*) { pickAt(touch); }

// ---- Colour picker

ControlColourPicker* ControlColourPicker::create() {
    auto* picker = new ControlColourPicker;
    return autoreleased(picker, picker->init());
}

ControlColourPicker::~ControlColourPicker() {
    if (_huePicker) _huePicker->release();
    if (_shadePicker) _shadePicker->release();
}

bool ControlColourPicker::init() {
    if (!Control::init()) return false;
    constexpr float gap = 10.f;
    _shadePicker = ControlSaturationBrightnessPicker::create(this, Vec2(0.f, 0.f));
    _huePicker = ControlHuePicker::create(this, Vec2(ControlSaturationBrightnessPicker::kSide + gap, 0.f));
    _shadePicker->retain();
    _huePicker->retain();
    setContentSize(Size(ControlSaturationBrightnessPicker::kSide + gap + ControlHuePicker::kWidth,
                        std::max(ControlSaturationBrightnessPicker::kSide, ControlHuePicker::kHeight)));
    auto changed = [this](Ref*, int) { pickersChanged(); };
    _huePicker->addTargetWithActionForControlEvents(this, changed, ControlEvent::VALUE_CHANGED);
    _shadePicker->addTargetWithActionForControlEvents(this, changed, ControlEvent::VALUE_CHANGED);
    setColor(Color3B::WHITE);
    return true;
}

void ControlColourPicker::setColor(const Color3B& color) {
    Control::setColor(color);
    if (!_huePicker) return;
    _hsv = hsvFromRGB(color);
    // The pickers follow quietly: this is no pick.
    _huePicker->removeTargetWithActionForControlEvents(this, ControlEvent::VALUE_CHANGED);
    _huePicker->setHue(_hsv.h);
    _huePicker->addTargetWithActionForControlEvents(this, [this](Ref*, int) { pickersChanged(); },
                                                    ControlEvent::VALUE_CHANGED);
    _shadePicker->updateWithHSV(_hsv);
}

void ControlColourPicker::setEnabled(bool enabled) {
    Control::setEnabled(enabled);
    if (_huePicker) _huePicker->setEnabled(enabled);
    if (_shadePicker) _shadePicker->setEnabled(enabled);
}

void ControlColourPicker::pickersChanged() {
    _hsv.h = _huePicker->getHue();
    _hsv.s = _shadePicker->getSaturation();
    _hsv.v = _shadePicker->getBrightness();
    _shadePicker->updateDraggerWithHSV(_hsv);
    Control::setColor(rgbFromHSV(_hsv));
    sendActionsForControlEvents(ControlEvent::VALUE_CHANGED);
}

}  // namespace engine::extension
