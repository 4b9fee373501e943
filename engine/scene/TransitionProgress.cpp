#include "engine/scene/TransitionProgress.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "engine/base/Director.h"
#include "engine/scene/ClippingRectangleNode.h"
#include "engine/scene/DrawNode.h"

namespace engine {

TransitionProgress::~TransitionProgress() {
    if (_slice) _slice->release();
}

void TransitionProgress::drawRound(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    if (_inScene) _inScene->visit(renderer, transform, flags);
    if (!_outScene) return;
    const Size screen = Director::getInstance()->getWinSize();
    // The slice swept so far, from 12 o'clock, reaching past the screen's corners.
    const Vec2 centre(screen.width / 2.f, screen.height / 2.f);
    const float radius = std::hypot(screen.width, screen.height);
    const float sweep = _revealed / 100.f * 2.f * std::numbers::pi_v<float>;
    const float turn = _wipe == Wipe::RadialCW ? -1.f : 1.f;
    const int steps = std::max(2, static_cast<int>(std::ceil(sweep / 0.1f)));
    std::vector<Vec2> points{centre};
    for (int i = 0; i <= steps; ++i) {
        const float angle = std::numbers::pi_v<float> / 2.f + turn * sweep * static_cast<float>(i) / static_cast<float>(steps);
        points.emplace_back(centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle));
    }
    if (!_slice) {
        _slice = DrawNode::create();
        _slice->retain();
    }
    _slice->clear();
    if (sweep > 0.f) _slice->drawSolidPoly(points.data(), static_cast<unsigned int>(points.size()), Color4F{1, 1, 1, 1});
    _beginClip.init(getGlobalZOrder());
    _beginClip.func = [renderer] { renderer->pushStencil(true); };
    renderer->addCommand(&_beginClip);
    _slice->visit(renderer, transform, flags);
    _endStencilDrawing.init(getGlobalZOrder());
    _endStencilDrawing.func = [renderer] { renderer->endStencilDrawing(); };
    renderer->addCommand(&_endStencilDrawing);
    _outScene->visit(renderer, transform, flags);
    _endClip.init(getGlobalZOrder());
    _endClip.func = [renderer] { renderer->popStencil(); };
    renderer->addCommand(&_endClip);
}

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
        default: drawRound(renderer, transform, flags); return;
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

VEXO_TRANSITION_CREATE(TransitionProgress)
VEXO_TRANSITION_CREATE(TransitionProgressRadialCCW)
VEXO_TRANSITION_CREATE(TransitionProgressRadialCW)
VEXO_TRANSITION_CREATE(TransitionProgressHorizontal)
VEXO_TRANSITION_CREATE(TransitionProgressVertical)
VEXO_TRANSITION_CREATE(TransitionProgressInOut)
VEXO_TRANSITION_CREATE(TransitionProgressOutIn)

}  // namespace engine
