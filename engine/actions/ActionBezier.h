#pragma once
// Moving a node along a cubic Bézier curve: from where the target is when the
// action starts, pulled towards two control points, to an end point.
// BezierBy's points are offsets from the start; BezierTo's are positions in the
// parent. Like the spline actions, whatever else moved the node since the last
// step is added to the curve from then on.
#include "engine/actions/ActionInterval.h"
#include "engine/base/Types.h"

namespace engine {

struct BezierConfig {
    Vec2 endPosition;
    Vec2 controlPoint_1;
    Vec2 controlPoint_2;
};

// The cubic Bézier coordinate of a (t = 0) to d (t = 1), b and c the control values.
float bezierAt(float a, float b, float c, float d, float t);

class BezierBy : public ActionInterval {
public:
    static BezierBy* create(float duration, const BezierConfig& config);
    BezierBy* clone() const override;
    // Back from the end to the start, through the control points in the opposite order.
    BezierBy* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;
    const BezierConfig& getConfig() const { return _config; }

protected:
    BezierBy() = default;

    BezierConfig _config;  // offsets from the start
    Vec2 _startPosition;
    Vec2 _previousPosition;
};

class BezierTo : public BezierBy {
public:
    static BezierTo* create(float duration, const BezierConfig& config);
    BezierTo* clone() const override;
    // nullptr: the way back starts where the target was when this one started,
    // which the action does not know.
    BezierBy* reverse() const override { return nullptr; }
    void startWithTarget(Node* target) override;

private:
    BezierTo() = default;
    BezierConfig _toConfig;  // positions
};

}  // namespace engine
