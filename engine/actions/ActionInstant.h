#pragma once
// Instant actions: no duration; the first step does their work and they are done.
// Actions that need a node of a kind (flips need a sprite) do nothing on others.
#include "engine/actions/Action.h"
#include "engine/base/Types.h"

namespace engine {

class ActionInstant : public FiniteTimeAction {
public:
    void step(float) override { update(1.f); }
    bool isDone() const override { return true; }
    ActionInstant* clone() const override = 0;
    ActionInstant* reverse() const override { return nullptr; }

protected:
    ActionInstant() = default;
};

class Show : public ActionInstant {
public:
    static Show* create();
    Show* clone() const override { return create(); }
    ActionInstant* reverse() const override;   // a Hide
    void update(float t) override;
};

class Hide : public ActionInstant {
public:
    static Hide* create();
    Hide* clone() const override { return create(); }
    Show* reverse() const override { return Show::create(); }
    void update(float t) override;
};

class ToggleVisibility : public ActionInstant {
public:
    static ToggleVisibility* create();
    ToggleVisibility* clone() const override { return create(); }
    ToggleVisibility* reverse() const override { return create(); }
    void update(float t) override;
};

// Removes the target from its parent, with cleanup unless asked otherwise.
class RemoveSelf : public ActionInstant {
public:
    static RemoveSelf* create(bool cleanup = true);
    RemoveSelf* clone() const override { return create(_cleanup); }
    void update(float t) override;

private:
    bool _cleanup = true;
};

class Place : public ActionInstant {
public:
    static Place* create(const Vec2& position);
    Place* clone() const override { return create(_position); }
    void update(float t) override;

private:
    Vec2 _position;
};

class FlipX : public ActionInstant {
public:
    static FlipX* create(bool flipped);
    FlipX* clone() const override { return create(_flipped); }
    FlipX* reverse() const override { return create(!_flipped); }
    void update(float t) override;

private:
    bool _flipped = false;
};

class FlipY : public ActionInstant {
public:
    static FlipY* create(bool flipped);
    FlipY* clone() const override { return create(_flipped); }
    FlipY* reverse() const override { return create(!_flipped); }
    void update(float t) override;

private:
    bool _flipped = false;
};

}  // namespace engine
