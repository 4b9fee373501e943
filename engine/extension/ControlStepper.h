#pragma once
// A stepper: a minus sprite on the left and a plus sprite on the right (the
// control is as wide as both). A touch on the minus side steps the value down,
// on the plus side up, by the step value.
//
// Values: minimum 0, maximum 100, step 1 at first; the value stays within the
// range: stepping past an end stops there, or wraps round to the other end when
// wrapping is on. setValue sends VALUE_CHANGED when the value changed
// (setValueWithSendingEvent can keep quiet). A range whose minimum is not below
// its maximum, and a step that is not positive, are refused (logged).
#include "engine/extension/Control.h"

namespace engine {
class Sprite;
}

namespace engine::extension {

class ControlStepper : public Control {
public:
    // Autoreleased; nullptr when a sprite is missing.
    static ControlStepper* create(Sprite* minusSprite, Sprite* plusSprite);
    ~ControlStepper() override;

    void setValue(float value) { setValueWithSendingEvent(value, true); }
    void setValueWithSendingEvent(float value, bool send);
    float getValue() const { return _value; }
    void setMinimumValue(float value);
    float getMinimumValue() const { return _minimum; }
    void setMaximumValue(float value);
    float getMaximumValue() const { return _maximum; }
    void setStepValue(float value);
    float getStepValue() const { return _step; }
    void setWraps(bool wraps) { _wraps = wraps; }
    bool getWraps() const { return _wraps; }
    // Whether a held touch sends each step (true) or only the last.
    void setContinuous(bool continuous) { _continuous = continuous; }
    bool isContinuous() const { return _continuous; }
    void increment() { setValue(_value + _step); }
    void decrement() { setValue(_value - _step); }

    Sprite* getMinusSprite() const { return _minus; }
    Sprite* getPlusSprite() const { return _plus; }

    void needsLayout() override;
    bool onTouchBegan(Touch* touch, Event* event) override;
    void onTouchEnded(Touch* touch, Event* event) override;

private:
    ControlStepper() = default;
    bool initWithSprites(Sprite* minus, Sprite* plus);

    Sprite* _minus = nullptr;   // retained children
    Sprite* _plus = nullptr;
    float _value = 0.f;
    float _minimum = 0.f, _maximum = 100.f;
    float _step = 1.f;
    bool _wraps = false;
    bool _continuous = true;
};

}  // namespace engine::extension
