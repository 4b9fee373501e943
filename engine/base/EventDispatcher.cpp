#include "engine/base/EventDispatcher.h"

#include <algorithm>

#include "engine/base/Log.h"

namespace engine {

EventListenerCustom* EventListenerCustom::create(const std::string& eventName, Callback callback) {
    auto* listener = new EventListenerCustom;
    listener->_eventName = eventName;
    listener->_callback = std::move(callback);
    listener->autorelease();
    return listener;
}

EventDispatcher::EventDispatcher() = default;

EventDispatcher::~EventDispatcher() {
    removeAllEventListeners();
    while (!_touchListeners.empty()) removeEventListener(_touchListeners.back());
}

EventListenerCustom* EventDispatcher::addCustomEventListener(const std::string& eventName,
                                                             EventListenerCustom::Callback callback) {
    EventListenerCustom* listener = EventListenerCustom::create(eventName, std::move(callback));
    addEventListener(listener);
    return listener;
}

void EventDispatcher::addEventListener(EventListenerCustom* listener) {
    if (!listener) return;
    if (listener->_registered) {
        log("EventDispatcher: listener '%s' is already registered", listener->getEventName().c_str());
        return;
    }
    listener->retain();
    listener->_registered = true;
    _listeners.push_back(listener);
}

void EventDispatcher::removeEventListener(EventListenerCustom* listener) {
    auto it = std::find(_listeners.begin(), _listeners.end(), listener);
    if (it == _listeners.end()) return;
    _listeners.erase(it);
    listener->_registered = false;
    listener->release();
}

void EventDispatcher::removeCustomEventListeners(const std::string& eventName) {
    std::vector<EventListenerCustom*> removed;
    std::erase_if(_listeners, [&](EventListenerCustom* listener) {
        if (listener->getEventName() != eventName) return false;
        removed.push_back(listener);
        return true;
    });
    for (EventListenerCustom* listener : removed) {
        listener->_registered = false;
        listener->release();
    }
}

void EventDispatcher::removeAllEventListeners() {
    std::vector<EventListenerCustom*> removed;
    removed.swap(_listeners);
    for (EventListenerCustom* listener : removed) {
        listener->_registered = false;
        listener->release();
    }
}

void EventDispatcher::dispatchEvent(Event* event) {
    if (!_enabled || !event || event->getType() != Event::Type::CUSTOM) return;
    auto* custom = static_cast<EventCustom*>(event);

    // Walk a retained snapshot: callbacks may add or remove listeners (even the
    // running one) without invalidating the walk.
    std::vector<EventListenerCustom*> snapshot;
    for (EventListenerCustom* listener : _listeners) {
        if (listener->getEventName() == custom->getEventName()) {
            listener->retain();
            snapshot.push_back(listener);
        }
    }
    for (EventListenerCustom* listener : snapshot) {
        if (event->isStopped()) break;
        if (listener->_registered && listener->isEnabled()) listener->invoke(custom);
    }
    for (EventListenerCustom* listener : snapshot) listener->release();
}

void EventDispatcher::dispatchCustomEvent(const std::string& eventName, void* userData) {
    EventCustom event(eventName);
    event.setUserData(userData);
    dispatchEvent(&event);
}

}  // namespace engine
