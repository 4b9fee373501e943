#include "engine/scene/TransitionZooms.h"

#include <algorithm>
#include <cmath>

#include "engine/base/Director.h"

namespace engine {

VEXO_TRANSITION_CREATE(TransitionRotoZoom)
VEXO_TRANSITION_CREATE(TransitionJumpZoom)
VEXO_TRANSITION_CREATE(TransitionShrinkGrow)

void TransitionRotoZoom::apply(float progress) {
    const bool firstHalf = progress < 0.5f;
    // 1 -> 0 over the first half, 0 -> 1 over the second.
    const float size = firstHalf ? 1.f - progress * 2.f : progress * 2.f - 1.f;
    Scene* shown = firstHalf ? _outScene : _inScene;
    Scene* hidden = firstHalf ? _inScene : _outScene;
    if (hidden) hidden->setVisible(false);
    if (!shown) return;
    shown->setVisible(true);
    shown->setScale(size);
    shown->setRotation((1.f - size) * 720.f);
}

void TransitionJumpZoom::apply(float progress) {
    const float width = Director::getInstance()->getWinSize().width;
    const float third = 1.f / 3.f;
    const float shrink = std::clamp(progress / third, 0.f, 1.f);               // first third
    const float jump = std::clamp((progress - third) / third, 0.f, 1.f);       // second third
    const float grow = std::clamp((progress - 2.f * third) / third, 0.f, 1.f); // last third
    if (_outScene) {
        _outScene->setScale(1.f - 0.5f * shrink);
        _outScene->setPosition(-width * jump, 0.f);
    }
    _inScene->setScale(0.5f + 0.5f * grow);
    _inScene->setPosition(width * (1.f - jump), 0.f);
}

void TransitionShrinkGrow::apply(float progress) {
    if (_outScene) _outScene->setScale(1.f - progress);
    _inScene->setScale(progress);
}

}  // namespace engine
