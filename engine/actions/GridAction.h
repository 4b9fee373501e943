#pragma once
// The base of the grid effects, which this engine draws without: a timed action
// that only keeps the progress it last applied, so that its timing, and that of
// its reverse (the same action run backwards: progress 1 - t), can be followed.
#include "engine/actions/ActionInterval.h"

namespace engine {

class GridAction : public ActionInterval {
public:
    static GridAction* create(float duration);
    GridAction* clone() const override;
    // A copy run backwards; nullptr when the action cannot be copied.
    GridAction* reverse() const;
    void update(float t) override { _progress = _backwards ? 1.f - t : t; }
    // The progress last applied (0 before the first step).
    float getProgress() const { return _progress; }
    bool isBackwards() const { return _backwards; }

protected:
    GridAction() = default;

private:
    float _progress = 0.f;
    bool _backwards = false;
};

}  // namespace engine
