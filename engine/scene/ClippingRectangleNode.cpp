#include "engine/scene/ClippingRectangleNode.h"

#include <algorithm>

#include "engine/app/GLView.h"
#include "engine/base/Director.h"

namespace engine {

Rect windowRectOf(const Mat4& transform, const Rect& region) {
    const float left = region.origin.x, bottom = region.origin.y;
    const float right = left + region.size.width, top = bottom + region.size.height;
    const Vec2 corners[4] = {{left, bottom}, {right, bottom}, {left, top}, {right, top}};
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (int i = 0; i < 4; ++i) {
        Vec3 p(corners[i].x, corners[i].y, 0);
        transform.transformPoint(&p);
        x0 = i ? std::min(x0, p.x) : p.x;
        y0 = i ? std::min(y0, p.y) : p.y;
        x1 = i ? std::max(x1, p.x) : p.x;
        y1 = i ? std::max(y1, p.y) : p.y;
    }
    Director* director = Director::getInstance();
    const Size win = director->getWinSize();
    float sx = 1, sy = 1, ox = 0, oy = 0;
    if (const GLView* view = director->getOpenGLView(); view && win.width > 0 && win.height > 0) {
        const Rect& port = view->getLastViewPort();
        sx = port.size.width / win.width;
        sy = port.size.height / win.height;
        ox = port.origin.x;
        oy = port.origin.y;
    }
    return Rect(ox + x0 * sx, oy + y0 * sy, (x1 - x0) * sx, (y1 - y0) * sy);
}

ClippingRectangleNode* ClippingRectangleNode::create() { return create(Rect()); }

ClippingRectangleNode* ClippingRectangleNode::create(const Rect& clippingRegion) {
    auto* node = new ClippingRectangleNode;
    node->_region = clippingRegion;
    return autoreleased(node, node->init());
}

void ClippingRectangleNode::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!isVisible()) return;
    const bool clip = _clippingEnabled;
    if (clip) {
        const Rect window = windowRectOf(parentTransform * getNodeToParentTransform(), _region);
        _beginClip.init(getGlobalZOrder());
        _beginClip.func = [renderer, window] {
            renderer->pushScissor(window.origin.x, window.origin.y, window.size.width, window.size.height);
        };
        renderer->addCommand(&_beginClip);
    }
    Node::visit(renderer, parentTransform, parentFlags);
    if (clip) {
        _endClip.init(getGlobalZOrder());
        _endClip.func = [renderer] { renderer->popScissor(); };
        renderer->addCommand(&_endClip);
    }
}

}  // namespace engine
