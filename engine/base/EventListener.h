#pragma once
// Event listeners: what the event dispatcher (engine/base/EventDispatcher.h)
// calls for each kind of event.
//
// A listener is registered with one dispatcher at a time, either bound to a node
// (scene-graph priority: it hears events while its node runs, front-most node
// first, and leaves the dispatcher with its node) or with a fixed priority (not
// 0; below 0 before every scene-graph listener, above 0 after them, lower
// first). clone() makes an unregistered listener of the same kind with the same
// callbacks and options.
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "engine/base/Event.h"
#include "engine/base/Ref.h"

namespace engine {

class Acceleration;
class EventDispatcher;
class Node;
class Touch;

class EventListener : public Ref {
public:
    enum class Type { UNKNOWN, TOUCH_ONE_BY_ONE, TOUCH_ALL_AT_ONCE, KEYBOARD, MOUSE, ACCELERATION, FOCUS, CUSTOM };

    Type getType() const { return _type; }
    // The event name for a custom listener; for the others their kind's own id.
    const std::string& getListenerID() const { return _listenerID; }
    // A new listener with the same callbacks and options, autoreleased; unregistered.
    virtual EventListener* clone() = 0;
    // Whether the listener has what it needs to be registered (its callbacks).
    virtual bool checkAvailable() { return true; }

    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    // True while a dispatcher holds the listener.
    bool isRegistered() const { return _registered; }
    // The fixed priority it was registered with; 0 for scene-graph listeners.
    int getFixedPriority() const { return _fixedPriority; }
    // The node a scene-graph listener is bound to while registered; null otherwise.
    Node* getAssociatedNode() const { return _node; }

protected:
    EventListener(Type type, std::string listenerID) : _type(type), _listenerID(std::move(listenerID)) {}

private:
    friend class EventDispatcher;
    Type _type;
    std::string _listenerID;
    bool _enabled = true;
    bool _registered = false;
    int _fixedPriority = 0;
    Node* _node = nullptr;    // scene-graph binding (not retained)
    Node* _owner = nullptr;   // a fixed listener that leaves with this node (not retained)
    unsigned long _order = 0; // registration order
    // The dispatcher holding it and where it keeps it, while registered:
    // removal finds it at once.
    EventDispatcher* _dispatcher = nullptr;
    std::list<EventListener*>::iterator _slot;
};

class EventListenerCustom : public EventListener {
public:
    using Callback = std::function<void(EventCustom*)>;
    static EventListenerCustom* create(const std::string& eventName, Callback callback);
    const std::string& getEventName() const { return getListenerID(); }
    void invoke(EventCustom* event) {
        if (_callback) _callback(event);
    }
    void setCallback(Callback callback) { _callback = std::move(callback); }
    EventListenerCustom* clone() override { return create(getEventName(), _callback); }

protected:
    explicit EventListenerCustom(const std::string& eventName) : EventListener(Type::CUSTOM, eventName) {}

private:
    Callback _callback;
};

class EventListenerKeyboard : public EventListener {
public:
    using Callback = std::function<void(int keyCode, Event*)>;
    static EventListenerKeyboard* create();
    EventListenerKeyboard* clone() override;
    Callback onKeyPressed;
    Callback onKeyReleased;

private:
    EventListenerKeyboard() : EventListener(Type::KEYBOARD, "__keyboard") {}
};

class EventListenerMouse : public EventListener {
public:
    using Callback = std::function<void(Event*)>;
    static EventListenerMouse* create();
    EventListenerMouse* clone() override;
    Callback onMouseDown;
    Callback onMouseUp;
    Callback onMouseMove;
    Callback onMouseScroll;

private:
    EventListenerMouse() : EventListener(Type::MOUSE, "__mouse") {}
};

class EventListenerAcceleration : public EventListener {
public:
    using Callback = std::function<void(Acceleration*, Event*)>;
    static EventListenerAcceleration* create(Callback callback);
    EventListenerAcceleration* clone() override { return create(_callback); }
    void invoke(Acceleration* acceleration, Event* event) {
        if (_callback) _callback(acceleration, event);
    }
    void setCallback(Callback callback) { _callback = std::move(callback); }

private:
    EventListenerAcceleration() : EventListener(Type::ACCELERATION, "__acceleration") {}
    Callback _callback;
};

class EventListenerTouchAllAtOnce : public EventListener {
public:
    using Callback = std::function<void(const std::vector<Touch*>&, Event*)>;
    static EventListenerTouchAllAtOnce* create();
    EventListenerTouchAllAtOnce* clone() override;
    Callback onTouchesBegan;
    Callback onTouchesMoved;
    Callback onTouchesEnded;
    Callback onTouchesCancelled;

private:
    EventListenerTouchAllAtOnce() : EventListener(Type::TOUCH_ALL_AT_ONCE, "__touch_all_at_once") {}
};

}  // namespace engine
