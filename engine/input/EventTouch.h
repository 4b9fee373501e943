#pragma once
// Touch events and the one-by-one touch listener.
//
// Event codes: 0 began, 1 moved, 2 ended, 3 cancelled. onTouchBegan answers
// whether the listener claims the touch; only a claimed touch reaches the
// listener's moved, ended and cancelled callbacks. A claiming listener that
// swallows touches hides the touches it claims from the listeners after it
// (one-by-one and all-at-once alike). A claimed touch is known by its id, not
// by the object carrying it: a script that sends each phase in a new Touch of
// the same id still reaches the listener that claimed it. Order:
// engine/base/EventDispatcher.h.
#include <functional>
#include <vector>

#include "engine/base/Event.h"
#include "engine/base/EventListener.h"

namespace engine {

class Node;
class Touch;

class EventTouch : public Event {
public:
    enum class EventCode { BEGAN, MOVED, ENDED, CANCELLED };
    EventTouch() : Event(Type::TOUCH) {}
    EventCode getEventCode() const { return _code; }
    void setEventCode(EventCode code) { _code = code; }
    const std::vector<Touch*>& getTouches() const { return _touches; }
    void setTouches(const std::vector<Touch*>& touches) { _touches = touches; }

private:
    EventCode _code = EventCode::BEGAN;
    std::vector<Touch*> _touches;
};

class EventListenerTouchOneByOne : public EventListener {
public:
    using BeganCallback = std::function<bool(Touch*, Event*)>;
    using TouchCallback = std::function<void(Touch*, Event*)>;

    static EventListenerTouchOneByOne* create();
    // Same callbacks and swallowing; claims nothing.
    EventListenerTouchOneByOne* clone() override;

    BeganCallback onTouchBegan;
    TouchCallback onTouchMoved;
    TouchCallback onTouchEnded;
    TouchCallback onTouchCancelled;

    void setSwallowTouches(bool swallow) { _swallowTouches = swallow; }
    bool isSwallowTouches() const { return _swallowTouches; }
    // Whether a touch of this touch's id is claimed.
    bool claims(const Touch* touch) const;

private:
    friend class EventDispatcher;
    EventListenerTouchOneByOne() : EventListener(Type::TOUCH_ONE_BY_ONE, "__touch_one_by_one") {}

    bool _swallowTouches = false;
    std::vector<int> _claimed;   // ids of the claimed touches
};

}  // namespace engine
