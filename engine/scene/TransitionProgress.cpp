#include "engine/scene/TransitionProgress.h"

#include "engine/base/Director.h"
#include "engine/scene/ClippingRectangleNode.h"

namespace engine {

void TransitionProgress::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    const Size screen = Director::getInstance()->getWinSize();
    const float w = screen.width, h = screen.height, shown = _revealed / 100.f, left = 1.f - shown;
    Scene* under = _inScene;
    Scene* over = _outScene;
    Rect clip;   // where the scene on top still shows, in design points
    switch (_wipe) {
        case Wipe::Horizontal: clip = Rect(shown * w, 0.f, left * w, h); break;
        case Wipe::Vertical: clip = Rect(0.f, shown * h, w, left * h); break;
        case Wipe::InOut:
            under = _outScene;
            over = _inScene;
            clip = Rect(left * w / 2.f, left * h / 2.f, shown * w, shown * h);
            break;
        case Wipe::OutIn: clip = Rect(shown * w / 2.f, shown * h / 2.f, left * w, left * h); break;
        default: TransitionScene::draw(renderer, transform, flags); return;
    }
    if (under) under->visit(renderer, transform, flags);
    if (!over) return;
    const Rect window = windowRectOf(transform, clip);
    _beginClip.init(getGlobalZOrder());
    _beginClip.func = [renderer, window] {
        renderer->pushScissor(window.origin.x, window.origin.y, window.size.width, window.size.height);
    };
    renderer->addCommand(&_beginClip);
    over->visit(renderer, transform, flags);
    _endClip.init(getGlobalZOrder());
    _endClip.func = [renderer] { renderer->popScissor(); };
    renderer->addCommand(&_endClip);
}

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
