#pragma once
// An on/off switch: the on sprite shows while on and the off sprite while off,
// the thumb at the right end when on and the left end when off, within the
// mask's size (the control's). Labels, when given, show with their state's
// sprite. setOn sends VALUE_CHANGED when the state changes; a tap (touch down
// and up on the switch) flips it. A disabled switch is dimmed and ignores touches.
#include "engine/extension/Control.h"

namespace engine {
class Label;
class Sprite;
}  // namespace engine

namespace engine::extension {

class ControlSwitch : public Control {
public:
    // Autoreleased; nullptr when a sprite is missing. The labels may be null.
    static ControlSwitch* create(Sprite* maskSprite, Sprite* onSprite, Sprite* offSprite, Sprite* thumbSprite);
    static ControlSwitch* create(Sprite* maskSprite, Sprite* onSprite, Sprite* offSprite, Sprite* thumbSprite,
                                 Label* onLabel, Label* offLabel);
    ~ControlSwitch() override;

    // Animated or not, the switch moves at once (there is no slide).
    void setOn(bool on, bool animated = false);
    bool isOn() const { return _on; }
    bool hasMoved() const { return _moved; }

    void setEnabled(bool enabled) override;
    void needsLayout() override;
    bool onTouchBegan(Touch* touch, Event* event) override;
    void onTouchMoved(Touch* touch, Event* event) override;
    void onTouchEnded(Touch* touch, Event* event) override;
    void onTouchCancelled(Touch* touch, Event* event) override;

private:
    ControlSwitch() = default;
    bool initWithParts(Sprite* mask, Sprite* on, Sprite* off, Sprite* thumb, Label* onLabel, Label* offLabel);

    Node* _parts[6] = {};   // mask, on, off, thumb, on label, off label; retained children
    bool _on = true;
    bool _moved = false;
};

}  // namespace engine::extension
