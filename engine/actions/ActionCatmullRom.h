#pragma once
// Moving a node along a spline through a list of control points.
//
// CardinalSplineTo goes through the points as given (positions in the parent);
// CardinalSplineBy takes them as offsets from the target's position when it
// starts. Each pair of neighbouring points takes an equal share of the
// duration. Both let other actions move the node at the same time: whatever
// moved the node since the last step is added to the path from then on.
// CatmullRomTo/By are the same with tension 0.5. create() answers nullptr for a
// null or empty point list. The point list is retained; clones copy it.
#include "engine/actions/ActionInterval.h"
#include "engine/actions/PointArray.h"

namespace engine {

class CardinalSplineTo : public ActionInterval {
public:
    static CardinalSplineTo* create(float duration, PointArray* points, float tension);
    ~CardinalSplineTo() override;
    CardinalSplineTo* clone() const override;
    // The same path the other way: the points in the opposite order.
    CardinalSplineTo* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;
    PointArray* getPoints() const { return _points; }
    float getTension() const { return _tension; }

protected:
    CardinalSplineTo() = default;
    bool initWithPoints(float duration, PointArray* points, float tension);
    // Places the target at a point of the path (moves of other actions included).
    virtual void updatePosition(const Vec2& position);

    PointArray* _points = nullptr;  // retained
    float _tension = 0.f;
    Vec2 _previousPosition;
    Vec2 _accumulatedDiff;
};

class CardinalSplineBy : public CardinalSplineTo {
public:
    static CardinalSplineBy* create(float duration, PointArray* points, float tension);
    CardinalSplineBy* clone() const override;
    // Runs back from where this one ends to where it started.
    CardinalSplineBy* reverse() const override;
    void startWithTarget(Node* target) override;

protected:
    CardinalSplineBy() = default;
    void updatePosition(const Vec2& position) override;
    // The offsets of reverse(), autoreleased.
    PointArray* reversedOffsets() const;

    Vec2 _startPosition;
};

class CatmullRomTo : public CardinalSplineTo {
public:
    static CatmullRomTo* create(float duration, PointArray* points);
    CatmullRomTo* clone() const override;
    CatmullRomTo* reverse() const override;

private:
    CatmullRomTo() = default;
};

class CatmullRomBy : public CardinalSplineBy {
public:
    static CatmullRomBy* create(float duration, PointArray* points);
    CatmullRomBy* clone() const override;
    CatmullRomBy* reverse() const override;

private:
    CatmullRomBy() = default;
};

}  // namespace engine
