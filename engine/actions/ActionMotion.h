#pragma once
// Timed actions on a node's position, rotation, opacity, colour and visibility,
// and the actions that run another action: a number of times, at a speed, or on
// another node. "To" actions read the target's value when they start; "By"
// actions add to it. create() answers nullptr for a null inner action.
#include <cstdint>

#include "engine/actions/ActionInterval.h"
#include "engine/base/Types.h"

namespace engine {

class MoveBy : public ActionInterval {
public:
    static MoveBy* create(float duration, const Vec2& delta);
    MoveBy* clone() const override;
    MoveBy* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    MoveBy() = default;
    Vec2 _delta;
    Vec2 _start;
};

class MoveTo : public MoveBy {
public:
    static MoveTo* create(float duration, const Vec2& position);
    MoveTo* clone() const override;
    MoveTo* reverse() const override { return nullptr; }
    void startWithTarget(Node* target) override;

private:
    MoveTo() = default;
    Vec2 _end;
};

// Moves by delta in `jumps` parabolic hops of the given height.
class JumpBy : public ActionInterval {
public:
    static JumpBy* create(float duration, const Vec2& delta, float height, int jumps);
    JumpBy* clone() const override;
    JumpBy* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    JumpBy() = default;
    Vec2 _delta;
    Vec2 _start;
    float _height = 0.f;
    int _jumps = 1;
};

class JumpTo : public JumpBy {
public:
    static JumpTo* create(float duration, const Vec2& position, float height, int jumps);
    JumpTo* clone() const override;
    JumpTo* reverse() const override { return nullptr; }
    void startWithTarget(Node* target) override;

private:
    JumpTo() = default;
    Vec2 _end;
};

// Turns to an angle the short way round (at most 180 degrees).
class RotateTo : public ActionInterval {
public:
    static RotateTo* create(float duration, float degrees);
    RotateTo* clone() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

private:
    RotateTo() = default;
    float _end = 0.f;
    float _start = 0.f;
    float _diff = 0.f;
};

class RotateBy : public ActionInterval {
public:
    static RotateBy* create(float duration, float degrees);
    RotateBy* clone() const override;
    RotateBy* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

private:
    RotateBy() = default;
    float _delta = 0.f;
    float _start = 0.f;
};

// Skews to given angles (degrees) from the target's skew at the start; SkewBy
// adds its angles to that skew.
class SkewTo : public ActionInterval {
public:
    static SkewTo* create(float duration, float skewX, float skewY);
    SkewTo* clone() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    SkewTo() = default;
    float _startX = 0.f, _startY = 0.f;
    float _endX = 0.f, _endY = 0.f;
    float _deltaX = 0.f, _deltaY = 0.f;
};

class SkewBy : public SkewTo {
public:
    static SkewBy* create(float duration, float deltaSkewX, float deltaSkewY);
    SkewBy* clone() const override;
    SkewBy* reverse() const override;
    void startWithTarget(Node* target) override;

private:
    SkewBy() = default;
};

// FadeTo full opacity / to none.
class FadeIn : public FadeTo {
public:
    static FadeIn* create(float duration);
    FadeIn* clone() const override;
    FadeTo* reverse() const override;   // a fade out
};

class FadeOut : public FadeTo {
public:
    static FadeOut* create(float duration);
    FadeOut* clone() const override;
    FadeIn* reverse() const override;
};

class TintTo : public ActionInterval {
public:
    static TintTo* create(float duration, uint8_t red, uint8_t green, uint8_t blue);
    TintTo* clone() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

private:
    TintTo() = default;
    Color3B _to;
    Color3B _from;
};

// Adds a (possibly negative) amount to each channel, clamped to 0..255.
class TintBy : public ActionInterval {
public:
    static TintBy* create(float duration, int16_t red, int16_t green, int16_t blue);
    TintBy* clone() const override;
    TintBy* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

private:
    TintBy() = default;
    int16_t _delta[3] = {0, 0, 0};
    Color3B _from;
};

// Hides and shows the target `blinks` times; the visibility it had comes back at the end.
class Blink : public ActionInterval {
public:
    static Blink* create(float duration, int blinks);
    Blink* clone() const override;
    Blink* reverse() const override { return clone(); }
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;

private:
    Blink() = default;
    int _blinks = 1;
    bool _originalVisible = true;
};

// Runs its action `times` times in a row; the duration is the sum. An action
// without duration runs once per time.
class Repeat : public ActionInterval {
public:
    static Repeat* create(FiniteTimeAction* action, unsigned int times);
    ~Repeat() override;
    Repeat* clone() const override;
    Repeat* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;
    FiniteTimeAction* getInnerAction() const { return _inner; }
    // Retained; a null action is refused. Takes effect from the next start.
    void setInnerAction(FiniteTimeAction* action);

private:
    Repeat() = default;
    FiniteTimeAction* _inner = nullptr;
    unsigned int _times = 1;
    unsigned int _run = 0;       // the run under way
    bool _innerRunning = false;  // started and not stopped
    bool _instantDone = false;   // an instant inner action ran in this run
};

// Runs a timed action with its time multiplied by a speed.
class Speed : public Action {
public:
    static Speed* create(ActionInterval* action, float speed);
    ~Speed() override;
    Speed* clone() const override;
    Speed* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void step(float dt) override;
    bool isDone() const override { return _inner->isDone(); }
    float getSpeed() const { return _speed; }
    void setSpeed(float speed) { _speed = speed; }
    ActionInterval* getInnerAction() const { return _inner; }
    // Retained; a null action is refused. Takes effect from the next start.
    void setInnerAction(ActionInterval* action);

private:
    Speed() = default;
    ActionInterval* _inner = nullptr;
    float _speed = 1.f;
};

// Runs an action on another node (retained) than the one it was started on.
class TargetedAction : public ActionInterval {
public:
    static TargetedAction* create(Node* target, FiniteTimeAction* action);
    ~TargetedAction() override;
    TargetedAction* clone() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;
    Node* getForcedTarget() const { return _forcedTarget; }

private:
    TargetedAction() = default;
    Node* _forcedTarget = nullptr;
    FiniteTimeAction* _inner = nullptr;
};

}  // namespace engine
