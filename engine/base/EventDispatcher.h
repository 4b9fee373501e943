#pragma once
// Delivers events to listeners. Custom events go to the listeners of their name;
// touch events to the one-by-one touch listeners bound to nodes of the running
// scene, the node drawn on top first (engine/input/EventTouch.h).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/base/Event.h"
#include "engine/base/Ref.h"

namespace engine {

class EventListenerTouchOneByOne;
class EventTouch;
class Node;

class EventListenerCustom : public Ref {
public:
    using Callback = std::function<void(EventCustom*)>;
    static EventListenerCustom* create(const std::string& eventName, Callback callback);
    const std::string& getEventName() const { return _eventName; }
    void invoke(EventCustom* event) { if (_callback) _callback(event); }
    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled) { _enabled = enabled; }
    // True while a dispatcher holds the listener.
    bool isRegistered() const { return _registered; }

private:
    friend class EventDispatcher;
    std::string _eventName;
    Callback _callback;
    bool _enabled = true;
    bool _registered = false;
};

class EventDispatcher : public Ref {
public:
    EventDispatcher();
    ~EventDispatcher() override;

    // Listeners of one name are called in the order they were added. A listener
    // added during a dispatch is first called by the next dispatch; a listener
    // removed during a dispatch is not called again, not even by that dispatch.
    // A listener belongs to one dispatcher at a time.
    EventListenerCustom* addCustomEventListener(const std::string& eventName,
                                                EventListenerCustom::Callback callback);
    void addEventListener(EventListenerCustom* listener);  // retains it
    void removeEventListener(EventListenerCustom* listener);
    void removeCustomEventListeners(const std::string& eventName);
    void removeAllEventListeners();

    void dispatchEvent(Event* event);
    void dispatchCustomEvent(const std::string& eventName, void* userData = nullptr);

    // Touch listeners: retained while registered, bound to `node` (not retained; a
    // node removes its listeners when it is destroyed). A listener is registered
    // once; a null node is refused with a log line. Listeners added or removed
    // during a dispatch take effect for the next touch.
    void addEventListenerWithSceneGraphPriority(EventListenerTouchOneByOne* listener, Node* node);
    void removeEventListener(EventListenerTouchOneByOne* listener);
    void removeEventListenersForTarget(Node* node);
    // Listeners of nodes that are running, top-most node first: later in drawing
    // order (children of negative z-order, the node, the other children), and a
    // higher global z-order before a lower one.
    std::vector<EventListenerTouchOneByOne*> touchListenersInOrder() const;
    void dispatchTouchEvent(EventTouch* event);

    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }

private:
    std::vector<EventListenerCustom*> _listeners;
    std::vector<EventListenerTouchOneByOne*> _touchListeners;
    bool _enabled = true;
};

}  // namespace engine
