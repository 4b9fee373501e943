#pragma once
// The base of the extension module's controls: a layer with an enabled, selected
// and highlighted state that tells targets (and the script engine) about control
// events.
//
// Control events are bits of a mask (ControlEvent): 1 touch down, 2 drag
// inside, 4 drag outside, 8 drag enter, 16 drag exit, 32 up inside, 64 up
// outside, 128 cancel, 256 value changed. sendActionsForControlEvents(mask)
// sends each event of the mask once, lowest bit first: first to every target
// added for it (in the order added), then to the script engine as a control
// event whose value is that one event's bit. Bits above 256 are ignored.
//
// Touches: a one-by-one listener at the control's scene-graph priority,
// swallowing the touches it claims; the base control claims none (subclasses
// override onTouchBegan and the others). A control that is disabled, or hidden
// with any ancestor, claims nothing. Main thread only.
#include <functional>
#include <vector>

#include "engine/scene/Layer.h"

namespace engine {
class Event;
class EventListenerTouchOneByOne;
class Touch;
}  // namespace engine

namespace engine::extension {

struct ControlEvent {
    static constexpr int TOUCH_DOWN = 1 << 0;
    static constexpr int DRAG_INSIDE = 1 << 1;
    static constexpr int DRAG_OUTSIDE = 1 << 2;
    static constexpr int DRAG_ENTER = 1 << 3;
    static constexpr int DRAG_EXIT = 1 << 4;
    static constexpr int TOUCH_UP_INSIDE = 1 << 5;
    static constexpr int TOUCH_UP_OUTSIDE = 1 << 6;
    static constexpr int TOUCH_CANCEL = 1 << 7;
    static constexpr int VALUE_CHANGED = 1 << 8;
    static constexpr int COUNT = 9;
};

// The state a control shows: 1 normal, 2 highlighted, 4 disabled, 8 selected.
struct ControlState {
    static constexpr int NORMAL = 1 << 0;
    static constexpr int HIGHLIGHTED = 1 << 1;
    static constexpr int DISABLED = 1 << 2;
    static constexpr int SELECTED = 1 << 3;
};

class Control : public Layer {
public:
    // (sender, the one event sent)
    using Action = std::function<void(Ref* sender, int event)>;

    static Control* create();

    // Each change lays the control out again (needsLayout).
    virtual void setEnabled(bool enabled);
    bool isEnabled() const { return _enabled; }
    virtual void setSelected(bool selected);
    bool isSelected() const { return _selected; }
    virtual void setHighlighted(bool highlighted);
    bool isHighlighted() const { return _highlighted; }
    // Disabled wins over highlighted, highlighted over selected.
    int getState() const;

    // Adds the action under the target (which is not retained: remove it
    // before the target goes) for every event of the mask.
    void addTargetWithActionForControlEvents(Ref* target, Action action, int events);
    // Removes the target's actions for every event of the mask (a null target:
    // every action of those events).
    void removeTargetWithActionForControlEvents(Ref* target, int events);
    void sendActionsForControlEvents(int events);

    // Whether the touch's location lies in the control's content box.
    bool isTouchInside(Touch* touch) const;
    Vec2 getTouchLocation(Touch* touch) const;
    // Whether the control and every ancestor are visible.
    bool hasVisibleParents() const;

    virtual void needsLayout() {}

    virtual bool onTouchBegan(Touch* touch, Event* event);
    virtual void onTouchMoved(Touch* touch, Event* event);
    virtual void onTouchEnded(Touch* touch, Event* event);
    virtual void onTouchCancelled(Touch* touch, Event* event);

protected:
    Control() = default;
    bool init() override;

private:
    struct Target {
        Ref* target;
        Action action;
    };
    std::vector<Target> _targets[ControlEvent::COUNT];
    bool _enabled = true;
    bool _selected = false;
    bool _highlighted = false;
};

}  // namespace engine::extension
