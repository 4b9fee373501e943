#include "engine/scene/TransitionProgress.h"

namespace engine {

#define VEXO_WIPE_CREATE(Name)                                  \
    Name* Name::create(float duration, Scene* scene) {          \
        auto* transition = new Name;                            \
        if (!transition->initWithDuration(duration, scene)) {   \
            delete transition;                                  \
            return nullptr;                                     \
        }                                                       \
        transition->autorelease();                              \
        return transition;                                      \
    }

VEXO_WIPE_CREATE(TransitionProgress)
VEXO_WIPE_CREATE(TransitionProgressRadialCCW)
VEXO_WIPE_CREATE(TransitionProgressRadialCW)
VEXO_WIPE_CREATE(TransitionProgressHorizontal)
VEXO_WIPE_CREATE(TransitionProgressVertical)
VEXO_WIPE_CREATE(TransitionProgressInOut)
VEXO_WIPE_CREATE(TransitionProgressOutIn)
#undef VEXO_WIPE_CREATE

}  // namespace engine
