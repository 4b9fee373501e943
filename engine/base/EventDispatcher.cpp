#include "engine/base/EventDispatcher.h"

#include <algorithm>
#include <functional>

#include "engine/base/Director.h"
#include "engine/base/EventListenerFocus.h"
#include "engine/base/Log.h"
#include "engine/input/EventTouch.h"
#include "engine/input/InputEvents.h"
#include "engine/input/Touch.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"

namespace engine {

EventListenerCustom* EventListenerCustom::create(const std::string& eventName, Callback callback) {
    auto* listener = new EventListenerCustom(eventName);
    listener->_callback = std::move(callback);
    listener->autorelease();
    return listener;
}

EventListenerKeyboard* EventListenerKeyboard::create() {
    auto* listener = new EventListenerKeyboard;
    listener->autorelease();
    return listener;
}

EventListenerKeyboard* EventListenerKeyboard::clone() {
    EventListenerKeyboard* copy = create();
    copy->onKeyPressed = onKeyPressed;
    copy->onKeyReleased = onKeyReleased;
    return copy;
}

EventListenerMouse* EventListenerMouse::create() {
    auto* listener = new EventListenerMouse;
    listener->autorelease();
    return listener;
}

EventListenerMouse* EventListenerMouse::clone() {
    EventListenerMouse* copy = create();
    copy->onMouseDown = onMouseDown;
    copy->onMouseUp = onMouseUp;
    copy->onMouseMove = onMouseMove;
    copy->onMouseScroll = onMouseScroll;
    return copy;
}

EventListenerAcceleration* EventListenerAcceleration::create(Callback callback) {
    auto* listener = new EventListenerAcceleration;
    listener->_callback = std::move(callback);
    listener->autorelease();
    return listener;
}

EventListenerFocus* EventListenerFocus::create() {
    auto* listener = new EventListenerFocus;
    listener->autorelease();
    return listener;
}

EventListenerFocus* EventListenerFocus::clone() {
    EventListenerFocus* copy = create();
    copy->onFocusChanged = onFocusChanged;
    return copy;
}

EventListenerTouchAllAtOnce* EventListenerTouchAllAtOnce::create() {
    auto* listener = new EventListenerTouchAllAtOnce;
    listener->autorelease();
    return listener;
}

EventListenerTouchAllAtOnce* EventListenerTouchAllAtOnce::clone() {
    EventListenerTouchAllAtOnce* copy = create();
    copy->onTouchesBegan = onTouchesBegan;
    copy->onTouchesMoved = onTouchesMoved;
    copy->onTouchesEnded = onTouchesEnded;
    copy->onTouchesCancelled = onTouchesCancelled;
    return copy;
}

EventDispatcher::EventDispatcher() = default;

EventDispatcher::~EventDispatcher() { removeAllEventListeners(); }

void EventDispatcher::addListener(EventListener* listener, Node* node, int fixedPriority, Node* owner) {
    if (!listener) return;
    if (listener->_registered) {
        log("EventDispatcher: listener '%s' is already registered", listener->getListenerID().c_str());
        return;
    }
    if (!listener->checkAvailable()) {
        log("EventDispatcher: listener '%s' is not complete", listener->getListenerID().c_str());
        return;
    }
    listener->retain();
    listener->_registered = true;
    listener->_node = node;
    listener->_owner = owner;
    listener->_fixedPriority = fixedPriority;
    listener->_order = _nextOrder++;
    for (Node* boundTo : {node, owner}) {
        if (!boundTo) continue;
        boundTo->_listenersBound = true;
        _byNode[boundTo].push_back(listener);
    }
    listener->_dispatcher = this;
    listener->_slot = _listeners.insert(_listeners.end(), listener);
    _orders.clear();
}

void EventDispatcher::addEventListenerWithSceneGraphPriority(EventListener* listener, Node* node) {
    if (!listener || !node) {
        log("EventDispatcher: a scene-graph listener needs a listener and a node");
        return;
    }
    addListener(listener, node, 0, nullptr);
}

void EventDispatcher::addEventListenerWithFixedPriority(EventListener* listener, int fixedPriority, Node* owner) {
    if (fixedPriority == 0) {
        log("EventDispatcher: fixed priority 0 is kept for scene-graph listeners");
        return;
    }
    addListener(listener, nullptr, fixedPriority, owner);
}

EventListenerCustom* EventDispatcher::addCustomEventListener(const std::string& eventName,
                                                             EventListenerCustom::Callback callback) {
    EventListenerCustom* listener = EventListenerCustom::create(eventName, std::move(callback));
    addEventListener(listener);
    return listener;
}

void EventDispatcher::addEventListener(EventListenerCustom* listener) { addEventListenerWithFixedPriority(listener, 1); }

void EventDispatcher::unbind(Node* node, EventListener* listener) {
    auto entry = _byNode.find(node);
    if (entry == _byNode.end()) return;
    std::vector<EventListener*>& bound = entry->second;   // a node holds few listeners
    auto it = std::find(bound.begin(), bound.end(), listener);
    if (it != bound.end()) bound.erase(it);
    if (bound.empty()) {
        _byNode.erase(entry);
        node->_listenersBound = false;   // its destructor need not look for the dispatcher
    }
}

void EventDispatcher::removeEventListener(EventListener* listener) {
    // A registered listener belongs to one dispatcher; only its own may take it out.
    if (!listener || listener->_dispatcher != this) return;
    _orders.clear();
    _listeners.erase(listener->_slot);
    listener->_dispatcher = nullptr;
    listener->_slot = {};
    if (listener->_node) unbind(listener->_node, listener);
    if (listener->_owner && listener->_owner != listener->_node) unbind(listener->_owner, listener);
    listener->_registered = false;
    listener->_node = nullptr;
    listener->_owner = nullptr;
    listener->_fixedPriority = 0;
    if (listener->getType() == EventListener::Type::TOUCH_ONE_BY_ONE) {
        static_cast<EventListenerTouchOneByOne*>(listener)->_claimed.clear();
    }
    listener->release();
}

void EventDispatcher::removeEventListenersForTarget(Node* node) {
    auto entry = _byNode.find(node);
    if (entry == _byNode.end()) return;
    const std::vector<EventListener*> bound = entry->second;
    for (EventListener* listener : bound) removeEventListener(listener);
}

void EventDispatcher::removeCustomEventListeners(const std::string& eventName) {
    std::vector<EventListener*> named;
    for (EventListener* listener : _listeners) {
        if (listener->getType() == EventListener::Type::CUSTOM && listener->getListenerID() == eventName) {
            named.push_back(listener);
        }
    }
    for (EventListener* listener : named) removeEventListener(listener);
}

void EventDispatcher::removeAllEventListeners() {
    while (!_listeners.empty()) removeEventListener(_listeners.back());
}

namespace {

// Nodes in drawing order: children of negative z-order, the node, the other children.
void collectInDrawOrder(Node* node, std::vector<Node*>& out) {
    const std::vector<Node*>& children = node->getChildren();   // sorted by local z-order
    size_t i = 0;
    for (; i < children.size() && children[i]->getLocalZOrder() < 0; ++i) collectInDrawOrder(children[i], out);
    out.push_back(node);
    for (; i < children.size(); ++i) collectInDrawOrder(children[i], out);
}

}  // namespace

std::vector<EventListener*> EventDispatcher::listenersInOrder(EventListener::Type type, const std::string& name) const {
    std::vector<EventListener*> running;
    for (EventListener* listener : *orderOf(type, name)) {
        if (listener->_fixedPriority != 0 || listener->_node->isRunning()) running.push_back(listener);
    }
    return running;
}

EventDispatcher::Order EventDispatcher::orderOf(EventListener::Type type, const std::string& name) const {
    const uint64_t tree = Node::treeGeneration();
    const Node* scene = Director::getInstance()->getRunningScene();
    for (KeptOrder& kept : _orders) {
        if (kept.type != type || kept.name != name) continue;
        if (kept.treeGeneration == tree && kept.scene == scene) return kept.listeners;
        kept.listeners.reset();   // rebuilt below, in its place
    }
    auto* made = new std::vector<EventListener*>(buildOrder(type, name));
    for (EventListener* listener : *made) listener->retain();
    Order order(made, [](const std::vector<EventListener*>* listeners) {
        for (EventListener* listener : *listeners) listener->release();
        delete listeners;
    });
    for (KeptOrder& kept : _orders) {
        if (kept.type != type || kept.name != name) continue;
        kept.treeGeneration = tree;
        kept.scene = scene;
        kept.listeners = order;
        return order;
    }
    _orders.push_back({type, name, tree, scene, order});
    return order;
}

std::vector<EventListener*> EventDispatcher::buildOrder(EventListener::Type type, const std::string& name) const {
    std::vector<EventListener*> low, graph, high;
    // Scene-graph listeners grouped by node, each group in registration order:
    // every node then finds its own without a walk over all listeners.
    std::vector<EventListener*> bound;
    for (EventListener* listener : _listeners) {
        if (listener->getType() != type) continue;
        if (type == EventListener::Type::CUSTOM && listener->getListenerID() != name) continue;
        if (listener->_fixedPriority < 0) low.push_back(listener);
        if (listener->_fixedPriority > 0) high.push_back(listener);
        if (listener->_node) bound.push_back(listener);
    }
    const auto byNode = [](const EventListener* a, const EventListener* b) { return std::less<>{}(a->_node, b->_node); };
    std::stable_sort(bound.begin(), bound.end(), byNode);
    const bool anyGraph = !bound.empty();
    const auto byPriority = [](const EventListener* a, const EventListener* b) {
        return a->_fixedPriority < b->_fixedPriority;
    };
    std::stable_sort(low.begin(), low.end(), byPriority);
    std::stable_sort(high.begin(), high.end(), byPriority);
    Scene* scene = anyGraph ? Director::getInstance()->getRunningScene() : nullptr;
    if (scene) {
        std::vector<Node*> nodes;
        collectInDrawOrder(scene, nodes);
        // Drawing order is global z-order first, then the walk.
        std::stable_sort(nodes.begin(), nodes.end(),
                         [](const Node* a, const Node* b) { return a->getGlobalZOrder() < b->getGlobalZOrder(); });
        for (auto node = nodes.rbegin(); node != nodes.rend(); ++node) {
            if (!(*node)->_listenersBound) continue;
            const auto first = std::lower_bound(bound.begin(), bound.end(), *node,
                                                [](const EventListener* l, const Node* n) { return std::less<>{}(l->_node, n); });
            for (auto it = first; it != bound.end() && (*it)->_node == *node; ++it) graph.push_back(*it);
        }
    }
    low.insert(low.end(), graph.begin(), graph.end());
    low.insert(low.end(), high.begin(), high.end());
    return low;
}

std::vector<EventListenerTouchOneByOne*> EventDispatcher::touchListenersInOrder() const {
    std::vector<EventListenerTouchOneByOne*> ordered;
    for (EventListener* listener : listenersInOrder(EventListener::Type::TOUCH_ONE_BY_ONE)) {
        ordered.push_back(static_cast<EventListenerTouchOneByOne*>(listener));
    }
    return ordered;
}

namespace {

// Still registered, enabled and (scene graph) on stage: an earlier callback of
// the same dispatch may have changed any of these.
bool canHear(const EventListener* listener) {
    if (!listener->isRegistered() || !listener->isEnabled()) return false;
    const Node* node = listener->getAssociatedNode();
    return listener->getFixedPriority() != 0 || (node && node->isRunning());
}

}  // namespace

void EventDispatcher::dispatchToListeners(Event* event, EventListener::Type type, const std::string& name) {
    // The kept order, held: callbacks may add or remove listeners (even the
    // running one) without invalidating the walk.
    const Order ordered = orderOf(type, name);
    for (EventListener* listener : *ordered) {
        if (event->isStopped()) break;
        if (!canHear(listener)) continue;
        switch (type) {
        case EventListener::Type::CUSTOM:
            static_cast<EventListenerCustom*>(listener)->invoke(static_cast<EventCustom*>(event));
            break;
        case EventListener::Type::KEYBOARD: {
            auto* keyboard = static_cast<EventListenerKeyboard*>(listener);
            auto* key = static_cast<EventKeyboard*>(event);
            const auto& callback = key->isPressed() ? keyboard->onKeyPressed : keyboard->onKeyReleased;
            if (callback) callback(key->getKeyCode(), event);
            break;
        }
        case EventListener::Type::MOUSE: {
            auto* mouse = static_cast<EventListenerMouse*>(listener);
            switch (static_cast<EventMouse*>(event)->getMouseEventType()) {
            case EventMouse::MouseEventType::MOUSE_DOWN:
                if (mouse->onMouseDown) mouse->onMouseDown(event);
                break;
            case EventMouse::MouseEventType::MOUSE_UP:
                if (mouse->onMouseUp) mouse->onMouseUp(event);
                break;
            case EventMouse::MouseEventType::MOUSE_MOVE:
                if (mouse->onMouseMove) mouse->onMouseMove(event);
                break;
            case EventMouse::MouseEventType::MOUSE_SCROLL:
                if (mouse->onMouseScroll) mouse->onMouseScroll(event);
                break;
            default:
                break;
            }
            break;
        }
        case EventListener::Type::FOCUS:
            static_cast<EventListenerFocus*>(listener)->invoke(static_cast<EventFocus*>(event));
            break;
        case EventListener::Type::ACCELERATION:
            static_cast<EventListenerAcceleration*>(listener)->invoke(
                static_cast<EventAcceleration*>(event)->getAcceleration(), event);
            break;
        default:
            break;
        }
    }
}

void EventDispatcher::dispatchEvent(Event* event) {
    if (!_enabled || !event) return;
    switch (event->getType()) {
    case Event::Type::TOUCH:
        dispatchTouchEvent(static_cast<EventTouch*>(event));
        break;
    case Event::Type::CUSTOM:
        dispatchToListeners(event, EventListener::Type::CUSTOM, static_cast<EventCustom*>(event)->getEventName());
        break;
    case Event::Type::KEYBOARD:
        dispatchToListeners(event, EventListener::Type::KEYBOARD, "");
        break;
    case Event::Type::MOUSE:
        dispatchToListeners(event, EventListener::Type::MOUSE, "");
        break;
    case Event::Type::ACCELERATION:
        dispatchToListeners(event, EventListener::Type::ACCELERATION, "");
        break;
    case Event::Type::FOCUS:
        dispatchToListeners(event, EventListener::Type::FOCUS, "");
        break;
    default:
        break;
    }
}

void EventDispatcher::dispatchCustomEvent(const std::string& eventName, void* userData) {
    EventCustom event(eventName);
    event.setUserData(userData);
    dispatchEvent(&event);
}

}  // namespace engine
