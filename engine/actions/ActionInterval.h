#pragma once
// Actions that last a given time. step() advances the elapsed time (the first
// step counts as time 0, so a started action shows its start state at once) and
// applies elapsed / duration, capped at 1; the action is done once the elapsed
// time reaches its duration. A zero duration completes at the first step.
#include <cstdint>
#include <vector>

#include "engine/actions/Action.h"

namespace engine {

class ActionInterval : public FiniteTimeAction {
public:
    float getElapsed() const { return _elapsed; }
    void startWithTarget(Node* target) override;
    bool isDone() const override { return _elapsed >= getDuration(); }
    void step(float dt) override;
    ActionInterval* clone() const override = 0;
    ActionInterval* reverse() const override { return nullptr; }

protected:
    ActionInterval() = default;
    void initWithDuration(float duration);

private:
    float _elapsed = 0.f;
    bool _firstTick = true;
};

// Waits.
class DelayTime : public ActionInterval {
public:
    static DelayTime* create(float duration);
    DelayTime* clone() const override;
    DelayTime* reverse() const override { return clone(); }
};

// Runs its actions one after the other; its duration is their sum. Each action
// is started when its turn comes and finished (update(1), stop) before the next.
class Sequence : public ActionInterval {
public:
    // nullptr when the list is empty or holds a null action.
    static Sequence* create(const std::vector<FiniteTimeAction*>& actions);
    // nullptr when either is null.
    static Sequence* createWithTwoActions(FiniteTimeAction* first, FiniteTimeAction* second);
    ~Sequence() override;
    Sequence* clone() const override;
    // The reverses, last first; nullptr when one has none.
    Sequence* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;

private:
    Sequence() = default;
    bool initWithTwo(FiniteTimeAction* first, FiniteTimeAction* second);

    FiniteTimeAction* _actions[2] = {nullptr, nullptr};
    float _split = 0.f;
    int _last = -1;
};

// Runs its actions together; its duration is the longest of theirs. Each runs at
// its own pace and is finished (update(1), stop) when its time is over.
class Spawn : public ActionInterval {
public:
    // nullptr when the list is empty or holds a null action.
    static Spawn* create(const std::vector<FiniteTimeAction*>& actions);
    // nullptr when either is null.
    static Spawn* createWithTwoActions(FiniteTimeAction* first, FiniteTimeAction* second);
    ~Spawn() override;
    Spawn* clone() const override;
    // Each action's reverse; an action shorter than the others waits for them
    // first, so that all end together as they began. nullptr when one has none.
    Spawn* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;

private:
    Spawn() = default;
    std::vector<FiniteTimeAction*> _actions;   // retained
    std::vector<bool> _finished;
};

// Restarts its action every time it completes, carrying the overshoot; never done.
class RepeatForever : public ActionInterval {
public:
    static RepeatForever* create(ActionInterval* action);
    ~RepeatForever() override;
    RepeatForever* clone() const override;
    RepeatForever* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void step(float dt) override;
    bool isDone() const override { return false; }
    ActionInterval* getInnerAction() const { return _inner; }
    // Retained; a null action is refused. Takes effect from the next start.
    void setInnerAction(ActionInterval* action);

private:
    RepeatForever() = default;
    ActionInterval* _inner = nullptr;
};

// Scales the target from its scale at the start to a given scale (both axes, or
// each its own).
class ScaleTo : public ActionInterval {
public:
    static ScaleTo* create(float duration, float scale);
    static ScaleTo* create(float duration, float scaleX, float scaleY);
    ScaleTo* clone() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    ScaleTo() = default;
    float _startX = 1.f, _startY = 1.f;
    float _endX = 1.f, _endY = 1.f;
};

// Scales the target by a factor of its scale at the start.
class ScaleBy : public ScaleTo {
public:
    static ScaleBy* create(float duration, float factor);
    static ScaleBy* create(float duration, float factorX, float factorY);
    ScaleBy* clone() const override;
    // Scales by the inverse factors; nullptr when a factor is 0.
    ScaleBy* reverse() const override;
    void startWithTarget(Node* target) override;

private:
    ScaleBy() = default;
    float _factorX = 1.f, _factorY = 1.f;
};

// Changes the target's opacity from its opacity at the start to a given one.
class FadeTo : public ActionInterval {
public:
    static FadeTo* create(float duration, uint8_t opacity);
    FadeTo* clone() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    FadeTo() = default;
    uint8_t _fromOpacity = 255;
    uint8_t _toOpacity = 255;
};

}  // namespace engine
