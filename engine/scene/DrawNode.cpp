#include "engine/scene/DrawNode.h"

namespace engine {

DrawNode* DrawNode::create() {
    auto* node = new DrawNode;
    return autoreleased(node, node->init());
}

void DrawNode::drawSolidRect(const Vec2& origin, const Vec2& destination, const Color4F& color) {
    Shape shape{Shape::Kind::SolidRect, color, origin, destination, {}, 0.f, 0.f, 0};
    _shapes.push_back(shape);
}

void DrawNode::drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments,
                               const Color4F& color) {
    if (segments < 3) return;
    Shape shape{Shape::Kind::SolidCircle, color, {}, {}, center, radius, angle, segments};
    _shapes.push_back(shape);
}

}  // namespace engine
