#pragma once
// Ease actions: they run an inner timed action (retained) over its own duration
// and hand it eased progress (engine/actions/Easing.h) instead of plain progress.
// create() answers nullptr for a null inner action.
#include "engine/actions/ActionInterval.h"

namespace engine {

class ActionEase : public ActionInterval {
public:
    ~ActionEase() override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;
    ActionInterval* getInnerAction() const { return _inner; }
    ActionEase* clone() const override = 0;
    // The inner action's reverse under the mirrored curve, 1 - ease(1 - t), so the
    // two retrace one path in opposite directions (an ease in comes back as an
    // ease out); nullptr when the inner action has no reverse.
    ActionEase* reverse() const override;

protected:
    ActionEase() = default;
    friend class MirroredEase;
    bool initWithAction(ActionInterval* action);
    virtual float ease(float t) const = 0;
    // A copy of the inner action for clone(); nullptr when it cannot be copied.
    ActionInterval* innerClone() const { return _inner ? _inner->clone() : nullptr; }

private:
    ActionInterval* _inner = nullptr;
};

// Curves with a rate: t^rate, t^(1/rate), and in-out.
class EaseRateAction : public ActionEase {
public:
    float getRate() const { return _rate; }
    void setRate(float rate) { _rate = rate; }

protected:
    float _rate = 2.f;
};

#define VEXO_EASE_RATE_CLASS(Name)                              \
    class Name : public EaseRateAction {                        \
    public:                                                     \
        static Name* create(ActionInterval* action, float rate); \
        Name* clone() const override;                           \
                                                                \
    protected:                                                  \
        float ease(float t) const override;                     \
    };

VEXO_EASE_RATE_CLASS(EaseIn)
VEXO_EASE_RATE_CLASS(EaseOut)
VEXO_EASE_RATE_CLASS(EaseInOut)
#undef VEXO_EASE_RATE_CLASS

// Elastic curves with a period (0.3 by default).
class EaseElastic : public ActionEase {
public:
    float getPeriod() const { return _period; }
    void setPeriod(float period) { _period = period; }

protected:
    float _period = 0.3f;
};

#define VEXO_EASE_ELASTIC_CLASS(Name)                                    \
    class Name : public EaseElastic {                                   \
    public:                                                             \
        static Name* create(ActionInterval* action, float period = 0.3f); \
        Name* clone() const override;                                   \
                                                                        \
    protected:                                                          \
        float ease(float t) const override;                             \
    };

VEXO_EASE_ELASTIC_CLASS(EaseElasticIn)
VEXO_EASE_ELASTIC_CLASS(EaseElasticOut)
VEXO_EASE_ELASTIC_CLASS(EaseElasticInOut)
#undef VEXO_EASE_ELASTIC_CLASS

#define VEXO_EASE_CLASS(Name)                     \
    class Name : public ActionEase {              \
    public:                                       \
        static Name* create(ActionInterval* action); \
        Name* clone() const override;             \
                                                  \
    protected:                                    \
        float ease(float t) const override;       \
    };

VEXO_EASE_CLASS(EaseSineIn)
VEXO_EASE_CLASS(EaseSineOut)
VEXO_EASE_CLASS(EaseSineInOut)
VEXO_EASE_CLASS(EaseExponentialIn)
VEXO_EASE_CLASS(EaseExponentialOut)
VEXO_EASE_CLASS(EaseBackIn)
VEXO_EASE_CLASS(EaseBackOut)
VEXO_EASE_CLASS(EaseBounceIn)
VEXO_EASE_CLASS(EaseBounceOut)
VEXO_EASE_CLASS(EaseExponentialInOut)
VEXO_EASE_CLASS(EaseBackInOut)
VEXO_EASE_CLASS(EaseBounceInOut)
VEXO_EASE_CLASS(EaseQuadraticActionIn)
VEXO_EASE_CLASS(EaseQuadraticActionOut)
VEXO_EASE_CLASS(EaseQuadraticActionInOut)
VEXO_EASE_CLASS(EaseCubicActionIn)
VEXO_EASE_CLASS(EaseCubicActionOut)
VEXO_EASE_CLASS(EaseCubicActionInOut)
VEXO_EASE_CLASS(EaseQuarticActionIn)
VEXO_EASE_CLASS(EaseQuarticActionOut)
VEXO_EASE_CLASS(EaseQuarticActionInOut)
VEXO_EASE_CLASS(EaseQuinticActionIn)
VEXO_EASE_CLASS(EaseQuinticActionOut)
VEXO_EASE_CLASS(EaseQuinticActionInOut)
VEXO_EASE_CLASS(EaseCircleActionIn)
VEXO_EASE_CLASS(EaseCircleActionOut)
VEXO_EASE_CLASS(EaseCircleActionInOut)
#undef VEXO_EASE_CLASS

// A cubic Bézier curve of progress: from p0 at the start to p3 at the end, with
// the controls p1 and p2 (the straight line until setBezierParamer).
class EaseBezierAction : public ActionEase {
public:
    static EaseBezierAction* create(ActionInterval* action);
    EaseBezierAction* clone() const override;
    void setBezierParamer(float p0, float p1, float p2, float p3);

protected:
    float ease(float t) const override;

private:
    float _p0 = 0.f, _p1 = 1.f / 3.f, _p2 = 2.f / 3.f, _p3 = 1.f;
};

}  // namespace engine
