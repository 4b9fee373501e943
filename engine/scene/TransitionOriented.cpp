#include "engine/scene/TransitionOriented.h"

#include <cmath>
#include <numbers>

namespace engine {

TransitionSceneOriented* TransitionSceneOriented::create(float duration, Scene* scene, Orientation orientation) {
    auto* transition = new TransitionSceneOriented;
    return autoreleased(transition, transition->initWithOrientation(duration, scene, orientation));
}

bool TransitionSceneOriented::initWithOrientation(float duration, Scene* scene, Orientation orientation) {
    if (!initWithDuration(duration, scene)) return false;
    _orientation = orientation;
    return true;
}

void TransitionSceneOriented::turn(float progress, bool alongX, bool alongY, bool zoom) {
    const bool firstHalf = progress < 0.5f;
    // |cos| runs 1 -> 0 over the first half and 0 -> 1 over the second.
    float squeeze = std::abs(std::cos(progress * std::numbers::pi_v<float>));
    // Turned from the other side the scene faces the other way while it turns.
    const float facing = _orientation == Orientation::RIGHT_OVER && squeeze < 1.f ? -1.f : 1.f;
    const float size = zoom ? 1.f - 0.5f * std::sin(progress * std::numbers::pi_v<float>) : 1.f;
    Scene* shown = firstHalf ? _outScene : _inScene;
    Scene* hidden = firstHalf ? _inScene : _outScene;
    if (hidden) hidden->setVisible(false);
    if (!shown) return;
    shown->setVisible(true);
    squeeze *= facing;
    shown->setScale(alongX ? squeeze * size : size, alongY ? squeeze * size : size);
}

#define VEXO_FLIP_DEFS(Name, alongX, alongY, zoom)                                         \
    Name* Name::create(float duration, Scene* scene) {                                    \
        return create(duration, scene, Orientation::LEFT_OVER);                           \
    }                                                                                      \
    Name* Name::create(float duration, Scene* scene, Orientation orientation) {           \
        auto* transition = new Name;                                                       \
        return autoreleased(transition, transition->initWithOrientation(duration, scene, orientation)); \
    }                                                                                      \
    void Name::apply(float progress) { turn(progress, alongX, alongY, zoom); }

VEXO_FLIP_DEFS(TransitionFlipX, true, false, false)
VEXO_FLIP_DEFS(TransitionFlipY, false, true, false)
VEXO_FLIP_DEFS(TransitionFlipAngular, true, true, false)
VEXO_FLIP_DEFS(TransitionZoomFlipX, true, false, true)
VEXO_FLIP_DEFS(TransitionZoomFlipY, false, true, true)
VEXO_FLIP_DEFS(TransitionZoomFlipAngular, true, true, true)
#undef VEXO_FLIP_DEFS

}  // namespace engine
