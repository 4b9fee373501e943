#pragma once
#include <string>

#include "engine/base/Ref.h"

namespace engine {

class Event : public Ref {
public:
    enum class Type { TOUCH, KEYBOARD, ACCELERATION, MOUSE, FOCUS, GAME_CONTROLLER, CUSTOM };
    explicit Event(Type type) : _type(type) {}
    Type getType() const { return _type; }
    void stopPropagation() { _isStopped = true; }
    bool isStopped() const { return _isStopped; }

private:
    Type _type;
    bool _isStopped = false;
};

class EventCustom : public Event {
public:
    explicit EventCustom(std::string eventName)
        : Event(Type::CUSTOM), _eventName(std::move(eventName)) {}
    const std::string& getEventName() const { return _eventName; }
    void setUserData(void* data) { _userData = data; }
    void* getUserData() const { return _userData; }

private:
    std::string _eventName;
    void* _userData = nullptr;
};

}  // namespace engine
