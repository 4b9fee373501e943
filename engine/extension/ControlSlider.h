#pragma once
// A horizontal slider: a background sprite (whose size is the control's), a
// progress sprite showing the share up to the value, and a thumb at the value.
//
// Values: the range is minimum..maximum (0..1 at first); a minimum at or above
// the maximum pushes the maximum to minimum + 1, and a maximum at or below the
// minimum pushes the minimum to maximum - 1. The allowed range (the whole range
// until set, and reset to it when the range changes) is where the value may go:
// setValue clamps into it and sends VALUE_CHANGED when the value changed.
// Touching or dragging on the slider sets the value at the touch's x across
// the background; the thumb is highlighted while held.
#include <string>

#include "engine/extension/Control.h"

namespace engine {
class Sprite;
}

namespace engine::extension {

class ControlSlider : public Control {
public:
    // Autoreleased; nullptr when a sprite is missing (or a file does not load).
    static ControlSlider* create(const std::string& backgroundFile, const std::string& progressFile,
                                 const std::string& thumbFile);
    static ControlSlider* create(Sprite* background, Sprite* progress, Sprite* thumb);
    ~ControlSlider() override;

    void setValue(float value);
    float getValue() const { return _value; }
    void setMinimumValue(float value);
    float getMinimumValue() const { return _minimum; }
    void setMaximumValue(float value);
    float getMaximumValue() const { return _maximum; }
    // Each is held within minimum..maximum.
    void setMinimumAllowedValue(float value);
    float getMinimumAllowedValue() const { return _minimumAllowed; }
    void setMaximumAllowedValue(float value);
    float getMaximumAllowedValue() const { return _maximumAllowed; }

    Sprite* getBackgroundSprite() const { return _background; }
    Sprite* getProgressSprite() const { return _progress; }
    Sprite* getThumbSprite() const { return _thumb; }
    // The touch in the slider's space.
    Vec2 locationFromTouch(Touch* touch) const { return getTouchLocation(touch); }
    // The value at x across the background, within the allowed range.
    float valueForLocation(const Vec2& location) const;

    void setEnabled(bool enabled) override;
    void needsLayout() override;
    bool onTouchBegan(Touch* touch, Event* event) override;
    void onTouchMoved(Touch* touch, Event* event) override;
    void onTouchEnded(Touch* touch, Event* event) override;

private:
    ControlSlider() = default;
    bool initWithSprites(Sprite* background, Sprite* progress, Sprite* thumb);
    void resetAllowedRange();

    Sprite* _background = nullptr;   // retained, children
    Sprite* _progress = nullptr;
    Sprite* _thumb = nullptr;
    float _value = 0.f;
    float _minimum = 0.f, _maximum = 1.f;
    float _minimumAllowed = 0.f, _maximumAllowed = 1.f;
};

}  // namespace engine::extension
