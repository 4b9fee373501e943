#pragma once
// Delivers events to listeners (engine/base/EventListener.h).
//
// Order for every kind of event: fixed priorities below 0 (lower first), then
// the scene-graph listeners of running nodes, front-most first (last drawn
// first: later in drawing order, higher global z-order first), then fixed
// priorities above 0 (lower first); equal priorities in the order they were
// added. Custom events go to the custom listeners of their name, the other
// kinds to the listeners of their type; touches as EventTouch describes, each
// touch through the one-by-one listeners, then what is left unswallowed to the
// all-at-once listeners. A stopped event goes no further.
//
// Listeners are retained while registered. A listener added during a dispatch
// is first called by the next dispatch; one removed during a dispatch is not
// called again, not even by that dispatch. Scene-graph listeners leave with
// their node (its destructor), and so do fixed listeners added with an owner.
//
// Adding and removing one listener take constant time (on average), and
// removing the listeners of a node takes time in their number only: a scene of
// many thousand buttons leaves without a walk over every listener per node.
//
// The dispatch order of each kind of event is worked out once and kept until a
// listener comes or goes, the scene graph changes (Node::treeGeneration) or
// another scene runs; a dispatch then calls each listener's handler once and
// allocates nothing.
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/base/Event.h"
#include "engine/base/EventListener.h"
#include "engine/base/Ref.h"

namespace engine {

class EventListenerTouchOneByOne;
class EventTouch;
class Node;
class Touch;

class EventDispatcher : public Ref {
public:
    EventDispatcher();
    ~EventDispatcher() override;

    // A listener that is already registered, unavailable, or (scene graph) has no
    // node, or (fixed) has priority 0, is refused with a log line.
    void addEventListenerWithSceneGraphPriority(EventListener* listener, Node* node);
    void addEventListenerWithFixedPriority(EventListener* listener, int fixedPriority, Node* owner = nullptr);
    // A custom listener with fixed priority 1.
    EventListenerCustom* addCustomEventListener(const std::string& eventName, EventListenerCustom::Callback callback);
    void addEventListener(EventListenerCustom* listener);

    void removeEventListener(EventListener* listener);
    void removeEventListenersForTarget(Node* node);
    void removeCustomEventListeners(const std::string& eventName);
    void removeAllEventListeners();

    void dispatchEvent(Event* event);
    void dispatchCustomEvent(const std::string& eventName, void* userData = nullptr);
    void dispatchTouchEvent(EventTouch* event);

    // The registered listeners of a type (and, for custom ones, a name) in
    // dispatch order; scene-graph ones only while their node runs.
    std::vector<EventListener*> listenersInOrder(EventListener::Type type, const std::string& name = "") const;
    // The one-by-one touch listeners in order (tests and diagnostics).
    std::vector<EventListenerTouchOneByOne*> touchListenersInOrder() const;

    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }

private:
    void addListener(EventListener* listener, Node* node, int fixedPriority, Node* owner);
    void dispatchToListeners(Event* event, EventListener::Type type, const std::string& name);
    // One touch through the one-by-one listeners; true when a swallowing claimer
    // took it (or the event was stopped).
    static bool deliverOneByOne(const std::vector<EventListener*>& ordered, Touch* touch, EventTouch* event);

    // A kept dispatch order (listeners retained by it): scene-graph listeners
    // whether or not their node runs, as delivery checks that. A dispatch holds
    // the order it walks, so a callback that changes listeners frees nothing under it.
    using Order = std::shared_ptr<const std::vector<EventListener*>>;
    Order orderOf(EventListener::Type type, const std::string& name) const;
    std::vector<EventListener*> buildOrder(EventListener::Type type, const std::string& name) const;
    struct KeptOrder {
        EventListener::Type type;
        std::string name;
        uint64_t treeGeneration;
        const Node* scene;
        Order listeners;
    };
    mutable std::vector<KeptOrder> _orders;   // emptied whenever a listener comes or goes

    // A node's listeners (bound to it or owned by it) leave the node's entry.
    void unbind(Node* node, EventListener* listener);

    std::list<EventListener*> _listeners;   // registration order
    // The listeners each node is bound to or owns, for removal with the node.
    std::unordered_map<Node*, std::vector<EventListener*>> _byNode;
    unsigned long _nextOrder = 0;
    bool _enabled = true;
};

}  // namespace engine
