#pragma once
// Actions run on a target node. Only what the script host needs is here: the
// target, cloning, and the instant call-function actions.
#include <functional>

#include "engine/base/Ref.h"

namespace engine {

class Node;

class Action : public Ref {
public:
    // A new action of the same kind and settings, autoreleased; nullptr when the
    // action cannot be copied.
    virtual Action* clone() const = 0;
    // The node the action runs on; not retained.
    Node* getTarget() const { return _target; }
    void setTarget(Node* target) { _target = target; }

protected:
    Action() = default;

private:
    Node* _target = nullptr;
};

class FiniteTimeAction : public Action {
public:
    float getDuration() const { return _duration; }
    void setDuration(float duration) { _duration = duration; }
    FiniteTimeAction* clone() const override = 0;

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
    CallFunc* clone() const override;

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
