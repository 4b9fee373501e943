// Touch delivery of the event dispatcher.
#include <algorithm>

#include "engine/base/EventDispatcher.h"
#include "engine/input/EventTouch.h"
#include "engine/input/Touch.h"
#include "engine/scene/Node.h"

namespace engine {

EventListenerTouchOneByOne* EventListenerTouchOneByOne::create() {
    auto* listener = new EventListenerTouchOneByOne;
    listener->autorelease();
    return listener;
}

EventListenerTouchOneByOne* EventListenerTouchOneByOne::clone() {
    EventListenerTouchOneByOne* copy = create();
    copy->onTouchBegan = onTouchBegan;
    copy->onTouchMoved = onTouchMoved;
    copy->onTouchEnded = onTouchEnded;
    copy->onTouchCancelled = onTouchCancelled;
    copy->_swallowTouches = _swallowTouches;
    return copy;
}

bool EventListenerTouchOneByOne::claims(const Touch* touch) const {
    return std::find(_claimed.begin(), _claimed.end(), touch->getId()) != _claimed.end();
}

namespace {

bool onStage(const EventListener* listener) {
    if (!listener->isRegistered() || !listener->isEnabled()) return false;
    const Node* node = listener->getAssociatedNode();
    return listener->getFixedPriority() != 0 || (node && node->isRunning());
}

}  // namespace

bool EventDispatcher::deliverOneByOne(const std::vector<EventListener*>& ordered, Touch* touch, EventTouch* event) {
    for (EventListener* base : ordered) {
        if (!onStage(base)) continue;
        auto* listener = static_cast<EventListenerTouchOneByOne*>(base);
        bool handled = false;
        switch (event->getEventCode()) {
        case EventTouch::EventCode::BEGAN:
            if (listener->onTouchBegan && listener->onTouchBegan(touch, event)) {
                if (listener->isRegistered() && !listener->claims(touch)) listener->_claimed.push_back(touch->getId());
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
                std::erase(listener->_claimed, touch->getId());
                const auto& callback = event->getEventCode() == EventTouch::EventCode::ENDED ? listener->onTouchEnded
                                                                                             : listener->onTouchCancelled;
                if (callback) callback(touch, event);
            }
            break;
        }
        if (event->isStopped()) return true;
        if (handled && listener->isSwallowTouches()) return true;
    }
    return false;
}

void EventDispatcher::dispatchTouchEvent(EventTouch* event) {
    if (!_enabled || !event) return;
    // The touches held as they were when the event came (a few: on the stack).
    const std::vector<Touch*>& given = event->getTouches();
    constexpr size_t kOnStack = 8;
    Touch* onStack[kOnStack];
    std::vector<Touch*> onHeap;
    Touch* const* touches = onStack;
    const size_t count = given.size();
    if (count <= kOnStack) {
        std::copy(given.begin(), given.end(), onStack);
    } else {
        onHeap = given;
        touches = onHeap.data();
    }
    for (size_t i = 0; i < count; ++i) touches[i]->retain();

    // The kept orders, held for the walk.
    const Order oneByOne = orderOf(EventListener::Type::TOUCH_ONE_BY_ONE, "");
    const Order allAtOnce = orderOf(EventListener::Type::TOUCH_ALL_AT_ONCE, "");
    std::vector<Touch*> unswallowed;   // gathered only for all-at-once listeners
    for (size_t i = 0; i < count; ++i) {
        if (event->isStopped()) break;
        if (!deliverOneByOne(*oneByOne, touches[i], event) && !allAtOnce->empty()) unswallowed.push_back(touches[i]);
    }

    if (!unswallowed.empty() && !event->isStopped()) {
        for (EventListener* base : *allAtOnce) {
            if (event->isStopped()) break;
            if (!onStage(base)) continue;
            auto* listener = static_cast<EventListenerTouchAllAtOnce*>(base);
            const EventListenerTouchAllAtOnce::Callback* callback = nullptr;
            switch (event->getEventCode()) {
            case EventTouch::EventCode::BEGAN: callback = &listener->onTouchesBegan; break;
            case EventTouch::EventCode::MOVED: callback = &listener->onTouchesMoved; break;
            case EventTouch::EventCode::ENDED: callback = &listener->onTouchesEnded; break;
            case EventTouch::EventCode::CANCELLED: callback = &listener->onTouchesCancelled; break;
            }
            if (callback && *callback) (*callback)(unswallowed, event);
        }
    }
    for (size_t i = 0; i < count; ++i) touches[i]->release();
}

}  // namespace engine
