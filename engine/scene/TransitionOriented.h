#pragma once
// Transitions that turn the scenes over: the outgoing scene turns away in the
// first half and the incoming one turns in during the second, drawn as a
// squeeze along the turning axis (x for FlipX, y for FlipY, both for the
// angular flip). The zoom flips also shrink both scenes to half size at the
// middle of the turn. The orientation names the side the turn starts from
// (LEFT_OVER / RIGHT_OVER for turns about the vertical axis, UP_OVER /
// DOWN_OVER about the horizontal one) and only decides which way the squeezed
// scene faces while it turns. create() answers nullptr as TransitionScene's does.
#include "engine/scene/TransitionScene.h"

namespace engine {

class TransitionSceneOriented : public TransitionScene {
public:
    enum class Orientation : int32_t {
        LEFT_OVER = 0,
        RIGHT_OVER = 1,
        UP_OVER = 0,
        DOWN_OVER = 1,
    };
    static TransitionSceneOriented* create(float duration, Scene* scene, Orientation orientation);
    Orientation getOrientation() const { return _orientation; }

protected:
    TransitionSceneOriented() = default;
    bool initWithOrientation(float duration, Scene* scene, Orientation orientation);
    // The turn at progress 0..1 about the axes asked for.
    void turn(float progress, bool alongX, bool alongY, bool zoom);

private:
    Orientation _orientation = Orientation::LEFT_OVER;
};

#define VEXO_FLIP_CLASS(Name)                                                          \
    class Name : public TransitionSceneOriented {                                      \
    public:                                                                            \
        static Name* create(float duration, Scene* scene);                             \
        static Name* create(float duration, Scene* scene, Orientation orientation);    \
                                                                                       \
    protected:                                                                         \
        void apply(float progress) override;                                           \
                                                                                       \
    private:                                                                           \
        Name() = default;                                                              \
    };

VEXO_FLIP_CLASS(TransitionFlipX)
VEXO_FLIP_CLASS(TransitionFlipY)
VEXO_FLIP_CLASS(TransitionFlipAngular)
VEXO_FLIP_CLASS(TransitionZoomFlipX)
VEXO_FLIP_CLASS(TransitionZoomFlipY)
VEXO_FLIP_CLASS(TransitionZoomFlipAngular)
#undef VEXO_FLIP_CLASS

}  // namespace engine
