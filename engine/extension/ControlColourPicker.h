#pragma once
// Colour picking controls.
//
// ControlHuePicker: a vertical strip choosing a hue; getHue() is in degrees
// 0..360 and getHuePercentage() the same as 0..1 (both clamped). A touch or drag
// on the strip sets the share from the bottom. Sends VALUE_CHANGED when the hue
// changed.
//
// ControlSaturationBrightnessPicker: a square choosing saturation (across, 0..1)
// and brightness (up, 0..1) for the hue it was last given; touches set both from
// the touch's place. Sends VALUE_CHANGED when either changed.
//
// ControlColourPicker: the two side by side; its colour is the one they show.
// setColor moves both pickers to the colour (without events from the control);
// a change on either picker sets the colour and sends the control's
// VALUE_CHANGED.
#include <algorithm>

#include "engine/extension/Control.h"

namespace engine::extension {

// A colour as hue (degrees, 0..360), saturation and value (0..1).
struct HSV {
    float h = 0.f, s = 0.f, v = 0.f;
};
HSV hsvFromRGB(const Color3B& color);
Color3B rgbFromHSV(const HSV& hsv);

class ControlHuePicker : public Control {
public:
    static constexpr float kWidth = 20.f, kHeight = 150.f;
    // Autoreleased, at position within the target (added to it when not null).
    static ControlHuePicker* create(Node* target, const Vec2& position);

    void setHue(float hue);
    float getHue() const { return _hue; }
    void setHuePercentage(float share);
    float getHuePercentage() const { return _hue / 360.f; }

    bool onTouchBegan(Touch* touch, Event* event) override;
    void onTouchMoved(Touch* touch, Event* event) override;

private:
    ControlHuePicker() = default;
    void pickAt(Touch* touch);
    float _hue = 0.f;
};

class ControlSaturationBrightnessPicker : public Control {
public:
    static constexpr float kSide = 150.f;
    static ControlSaturationBrightnessPicker* create(Node* target, const Vec2& position);

    float getSaturation() const { return _saturation; }
    float getBrightness() const { return _brightness; }
    float getHue() const { return _hue; }
    // Takes the hue, saturation and brightness (value) given, clamped; sends nothing.
    void updateWithHSV(const HSV& hsv);
    // Only the hue: the square shows that hue's shades.
    void updateDraggerWithHSV(const HSV& hsv) { _hue = std::clamp(hsv.h, 0.f, 360.f); }

    bool onTouchBegan(Touch* touch, Event* event) override;
    void onTouchMoved(Touch* touch, Event* event) override;

private:
    ControlSaturationBrightnessPicker() = default;
    void pickAt(Touch* touch);
    float _hue = 0.f;
    float _saturation = 0.f;
    float _brightness = 0.f;
};

class ControlColourPicker : public Control {
public:
    static ControlColourPicker* create();
    ~ControlColourPicker() override;

    void setColor(const Color3B& color) override;
    void setEnabled(bool enabled) override;
    ControlHuePicker* getHuePicker() const { return _huePicker; }
    ControlSaturationBrightnessPicker* getSaturationBrightnessPicker() const { return _shadePicker; }

private:
    ControlColourPicker() = default;
    bool init() override;
    void pickersChanged();

    ControlHuePicker* _huePicker = nullptr;   // retained children
    ControlSaturationBrightnessPicker* _shadePicker = nullptr;
    HSV _hsv;
};

}  // namespace engine::extension
