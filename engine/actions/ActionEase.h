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

protected:
    ActionEase() = default;
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
#undef VEXO_EASE_CLASS

}  // namespace engine
