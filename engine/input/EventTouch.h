#pragma once
// Touch events and the one-by-one touch listener.
//
// A listener is bound to a node (scene-graph priority): it hears touches while its
// node is part of the running scene, before the listeners of nodes drawn beneath
// it. onTouchBegan answers whether the listener claims the touch; only a claimed
// touch reaches the listener's moved, ended and cancelled callbacks. A claiming
// listener that swallows touches keeps a new touch from the listeners below it.
#include <functional>
#include <vector>

#include "engine/base/Event.h"
#include "engine/base/Ref.h"

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

class EventListenerTouchOneByOne : public Ref {
public:
    using BeganCallback = std::function<bool(Touch*, Event*)>;
    using TouchCallback = std::function<void(Touch*, Event*)>;

    static EventListenerTouchOneByOne* create();

    BeganCallback onTouchBegan;
    TouchCallback onTouchMoved;
    TouchCallback onTouchEnded;
    TouchCallback onTouchCancelled;

    void setSwallowTouches(bool swallow) { _swallowTouches = swallow; }
    bool isSwallowTouches() const { return _swallowTouches; }
    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    // The node it is bound to while registered; null otherwise.
    Node* getAssociatedNode() const { return _node; }
    bool claims(const Touch* touch) const;

private:
    friend class EventDispatcher;
    EventListenerTouchOneByOne() = default;

    bool _swallowTouches = false;
    bool _enabled = true;
    Node* _node = nullptr;
    std::vector<const Touch*> _claimed;
};

}  // namespace engine
