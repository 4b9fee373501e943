#pragma once
// Actions run on a target node by the action manager (engine/actions/ActionManager.h).
// The manager starts an action on its target, then steps it once a frame with the
// frame's time until isDone(); it then stops it and lets it go. An action's update(t)
// applies progress t in [0, 1]. Instant actions (the call-function ones) do their
// work at their first step.
#include <functional>

#include "engine/base/Ref.h"

namespace engine {

class Node;

class Action : public Ref {
public:
    // A new action of the same kind and settings, autoreleased; nullptr when the
    // action cannot be copied.
    virtual Action* clone() const = 0;
    // The action that undoes this one from where it ends (a "By" action backwards,
    // a list in the opposite order), autoreleased; nullptr for kinds that have no
    // way back ("To" actions, which aim at a value rather than a change).
    virtual Action* reverse() const { return nullptr; }
    // The node the action runs on; not retained.
    Node* getTarget() const { return _target; }
    void setTarget(Node* target) { _target = target; }
    int getTag() const { return _tag; }
    void setTag(int tag) { _tag = tag; }

    // Called by the action manager when the action starts on `target`.
    virtual void startWithTarget(Node* target) { _target = target; }
    // Called when the action ends or is removed; the target is forgotten.
    virtual void stop() { _target = nullptr; }
    virtual bool isDone() const { return true; }
    // One frame of dt seconds.
    virtual void step(float dt) { (void)dt; }
    // Applies progress t (0 = start, 1 = end).
    virtual void update(float t) { (void)t; }

protected:
    Action() = default;

private:
    Node* _target = nullptr;
    int _tag = -1;
};

class FiniteTimeAction : public Action {
public:
    float getDuration() const { return _duration; }
    void setDuration(float duration) { _duration = duration; }
    FiniteTimeAction* clone() const override = 0;
    FiniteTimeAction* reverse() const override { return nullptr; }

protected:
    FiniteTimeAction() = default;

private:
    float _duration = 0.f;
};

// Calls a function once. When a script engine is installed, execute() also sends
// it the call-function event (the action and its target), which reaches the
// script handler registered on the action.
class CallFunc : public FiniteTimeAction {
public:
    // A new action calling fn (which may be empty), autoreleased.
    static CallFunc* create(std::function<void()> fn);
    virtual void execute();
    // Instant: the first step calls the function, and the action is done.
    void step(float) override { update(1.f); }
    void update(float) override { execute(); }
    CallFunc* clone() const override;
    // Calling a function has no opposite: its reverse calls it again.
    CallFunc* reverse() const override { return clone(); }

protected:
    CallFunc() = default;
    void sendCallFuncEvent();

private:
    std::function<void()> _function;
};

// A call-function action whose function receives the target node.
class CallFuncN : public CallFunc {
public:
    static CallFuncN* create(std::function<void(Node*)> fn);
    void execute() override;
    CallFuncN* clone() const override;

protected:
    CallFuncN() = default;

private:
    std::function<void(Node*)> _functionN;
};

}  // namespace engine
