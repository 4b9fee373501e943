#pragma once
// Delivers events to listeners. Custom events go to the listeners of their name.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/base/Event.h"
#include "engine/base/Ref.h"

namespace engine {

class EventListenerCustom : public Ref {
public:
    using Callback = std::function<void(EventCustom*)>;
    static EventListenerCustom* create(const std::string& eventName, Callback callback);
    const std::string& getEventName() const { return _eventName; }
    void invoke(EventCustom* event) { if (_callback) _callback(event); }
    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled) { _enabled = enabled; }

private:
    std::string _eventName;
    Callback _callback;
    bool _enabled = true;
};

class EventDispatcher : public Ref {
public:
    EventDispatcher();
    ~EventDispatcher() override;

    // Listeners of one name are called in the order they were added; a listener
    // added or removed during a dispatch takes effect from the next dispatch.
    EventListenerCustom* addCustomEventListener(const std::string& eventName,
                                                EventListenerCustom::Callback callback);
    void addEventListener(EventListenerCustom* listener);  // retains it
    void removeEventListener(EventListenerCustom* listener);
    void removeCustomEventListeners(const std::string& eventName);
    void removeAllEventListeners();

    void dispatchEvent(Event* event);
    void dispatchCustomEvent(const std::string& eventName, void* userData = nullptr);

    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }

private:
    std::vector<EventListenerCustom*> _listeners;
    int _dispatching = 0;
    std::vector<EventListenerCustom*> _toRemove;
    bool _enabled = true;
};

}  // namespace engine
