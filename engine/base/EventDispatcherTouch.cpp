// Touch delivery of the event dispatcher.
#include <algorithm>

#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/Log.h"
#include "engine/input/EventTouch.h"
#include "engine/input/Touch.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"

namespace engine {

EventListenerTouchOneByOne* EventListenerTouchOneByOne::create() {
    auto* listener = new EventListenerTouchOneByOne;
    listener->autorelease();
    return listener;
}

bool EventListenerTouchOneByOne::claims(const Touch* touch) const {
    return std::find(_claimed.begin(), _claimed.end(), touch) != _claimed.end();
}

void EventDispatcher::addEventListenerWithSceneGraphPriority(EventListenerTouchOneByOne* listener, Node* node) {
    if (!listener || !node) {
        log("EventDispatcher: a touch listener needs a listener and a node");
        return;
    }
    if (listener->_node) {
        log("EventDispatcher: the touch listener is already registered");
        return;
    }
    listener->retain();
    listener->_node = node;
    node->_touchListenersBound = true;
    _touchListeners.push_back(listener);
}

void EventDispatcher::removeEventListener(EventListenerTouchOneByOne* listener) {
    auto it = std::find(_touchListeners.begin(), _touchListeners.end(), listener);
    if (it == _touchListeners.end()) return;
    _touchListeners.erase(it);
    Node* node = listener->_node;
    if (std::none_of(_touchListeners.begin(), _touchListeners.end(),
                     [node](const EventListenerTouchOneByOne* other) { return other->_node == node; })) {
        node->_touchListenersBound = false;   // its destructor need not look for the dispatcher
    }
    listener->_node = nullptr;
    listener->_claimed.clear();
    listener->release();
}

void EventDispatcher::removeEventListenersForTarget(Node* node) {
    std::vector<EventListenerTouchOneByOne*> bound;
    for (EventListenerTouchOneByOne* listener : _touchListeners) {
        if (listener->_node == node) bound.push_back(listener);
    }
    for (EventListenerTouchOneByOne* listener : bound) removeEventListener(listener);
}

namespace {

// Nodes in drawing order with their global z-order.
void collectInDrawOrder(Node* node, std::vector<Node*>& out) {
    const std::vector<Node*>& children = node->getChildren();   // sorted by local z-order
    size_t i = 0;
    for (; i < children.size() && children[i]->getLocalZOrder() < 0; ++i) collectInDrawOrder(children[i], out);
    out.push_back(node);
    for (; i < children.size(); ++i) collectInDrawOrder(children[i], out);
}

}  // namespace

std::vector<EventListenerTouchOneByOne*> EventDispatcher::touchListenersInOrder() const {
    std::vector<EventListenerTouchOneByOne*> ordered;
    Scene* scene = Director::getInstance()->getRunningScene();
    if (!scene || _touchListeners.empty()) return ordered;
    std::vector<Node*> nodes;
    collectInDrawOrder(scene, nodes);
    // Drawing order is global z-order first, then the walk: keep the walk's order
    // within each global z-order.
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const Node* a, const Node* b) { return a->getGlobalZOrder() < b->getGlobalZOrder(); });
    for (auto node = nodes.rbegin(); node != nodes.rend(); ++node) {
        if (!(*node)->isRunning()) continue;
        for (EventListenerTouchOneByOne* listener : _touchListeners) {
            if (listener->_node == *node) ordered.push_back(listener);
        }
    }
    return ordered;
}

void EventDispatcher::dispatchTouchEvent(EventTouch* event) {
    if (!_enabled || !event) return;
    for (Touch* touch : event->getTouches()) {
        std::vector<EventListenerTouchOneByOne*> ordered = touchListenersInOrder();
        for (EventListenerTouchOneByOne* listener : ordered) listener->retain();
        touch->retain();
        for (EventListenerTouchOneByOne* listener : ordered) {
            // Removed, disabled or taken off stage by an earlier callback of this touch.
            if (!listener->_node || !listener->_enabled || !listener->_node->isRunning()) continue;
            bool handled = false;
            switch (event->getEventCode()) {
            case EventTouch::EventCode::BEGAN:
                if (listener->onTouchBegan && listener->onTouchBegan(touch, event)) {
                    if (listener->_node && !listener->claims(touch)) listener->_claimed.push_back(touch);
                    handled = true;
                }
                break;
            case EventTouch::EventCode::MOVED:
                if (listener->claims(touch)) {
                    handled = true;
                    if (listener->onTouchMoved) listener->onTouchMoved(touch, event);
                }
                break;
            case EventTouch::EventCode::ENDED:
            case EventTouch::EventCode::CANCELLED:
                if (listener->claims(touch)) {
                    handled = true;
                    std::erase(listener->_claimed, touch);
                    const auto& callback = event->getEventCode() == EventTouch::EventCode::ENDED
                                               ? listener->onTouchEnded
                                               : listener->onTouchCancelled;
                    if (callback) callback(touch, event);
                }
                break;
            }
            if ((handled && listener->_swallowTouches) || event->isStopped()) break;
        }
        touch->release();
        for (EventListenerTouchOneByOne* listener : ordered) listener->release();
        if (event->isStopped()) break;
    }
}

}  // namespace engine
