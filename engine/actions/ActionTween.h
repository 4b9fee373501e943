#pragma once
// Timed actions that run a number from one value to another and hand it on:
// ActionFloat calls its function with the value at every update, ActionTween
// tells its target (when the target is an ActionTweenDelegate) the value under a
// key naming the property to change. Both reach `to` exactly at the end.
#include <functional>
#include <string>

#include "engine/actions/ActionInterval.h"

namespace engine {

class ActionFloat : public ActionInterval {
public:
    using Callback = std::function<void(float value)>;
    // Autoreleased; a negative duration counts as 0. An empty callback is allowed.
    static ActionFloat* create(float duration, float from, float to, Callback callback);
    ActionFloat* clone() const override;
    void update(float t) override;

private:
    ActionFloat() = default;
    float _from = 0.f;
    float _to = 0.f;
    Callback _callback;
};

// What a node implements to be driven by ActionTween.
class ActionTweenDelegate {
public:
    virtual ~ActionTweenDelegate() = default;
    virtual void updateTweenAction(float value, const std::string& key) = 0;
};

class ActionTween : public ActionInterval {
public:
    static ActionTween* create(float duration, const std::string& key, float from, float to);
    ActionTween* clone() const override;
    void update(float t) override;
    const std::string& getKey() const { return _key; }

private:
    ActionTween() = default;
    std::string _key;
    float _from = 0.f;
    float _to = 0.f;
};

}  // namespace engine
