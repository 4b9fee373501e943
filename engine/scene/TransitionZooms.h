#pragma once
// Transitions that move the scenes by scaling and turning them:
// - RotoZoom: the outgoing scene spins (two turns) while it shrinks to nothing
//   in the first half; the incoming one spins in and grows back in the second.
// - JumpZoom: the outgoing scene shrinks to half size (first third), both jump
//   one screen width to the left (second third: the incoming one arrives from
//   the right at half size) and the incoming one grows to full size (last third).
// - ShrinkGrow: the outgoing scene shrinks to nothing while the incoming one
//   grows from nothing, over the whole time.
// create() answers nullptr as TransitionScene's does.
#include "engine/scene/TransitionScene.h"

namespace engine {

#define VEXO_ZOOM_CLASS(Name)                                  \
    class Name : public TransitionScene {                      \
    public:                                                    \
        static Name* create(float duration, Scene* scene);     \
                                                               \
    protected:                                                 \
        void apply(float progress) override;                   \
                                                               \
    private:                                                   \
        Name() = default;                                      \
    };

VEXO_ZOOM_CLASS(TransitionRotoZoom)
VEXO_ZOOM_CLASS(TransitionJumpZoom)
VEXO_ZOOM_CLASS(TransitionShrinkGrow)
#undef VEXO_ZOOM_CLASS

}  // namespace engine
