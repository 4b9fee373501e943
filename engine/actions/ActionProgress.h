#pragma once
// Timed actions on a progress timer's percentage (engine/scene/ProgressTimer.h):
// ProgressTo runs it from its value at the start to a given one, ProgressFromTo
// between two given values. On a target that is not a progress timer they do
// nothing.
#include "engine/actions/ActionInterval.h"

namespace engine {

class ProgressTo : public ActionInterval {
public:
    static ProgressTo* create(float duration, float percent);
    ProgressTo* clone() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

private:
    ProgressTo() = default;
    float _to = 0.f;
    float _from = 0.f;
};

class ProgressFromTo : public ActionInterval {
public:
    static ProgressFromTo* create(float duration, float fromPercentage, float toPercentage);
    ProgressFromTo* clone() const override;
    void update(float t) override;

private:
    ProgressFromTo() = default;
    float _from = 0.f;
    float _to = 0.f;
};

}  // namespace engine
