#include "engine/scene/DrawNode.h"

#include <algorithm>
#include <cmath>

#include "engine/renderer/Renderer.h"

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

namespace {

uint8_t colorByte(float c) { return static_cast<uint8_t>(std::lround(std::clamp(c, 0.f, 1.f) * 255)); }

}  // namespace

void DrawNode::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    if (_shapes.empty()) return;
    GLProgramState* state = getGLProgramState() ? getGLProgramState() : defaultQuadProgramState();
    _quad.init(getGlobalZOrder(), nullptr, state, _blendFunc);
    const float opacity = getDisplayedOpacity() / 255.f;
    // A blend that takes the source as is wants the colours premultiplied by their alpha.
    const bool premultiply = _blendFunc.src == BlendFunc::ALPHA_PREMULTIPLIED.src;
    auto vertex = [&transform](const Vec2& p, const Color4B& c) {
        Vec3 v(p.x, p.y, 0);
        transform.transformPoint(&v);
        return V2F_C4B_T2F{v.x, v.y, c.r, c.g, c.b, c.a, 0, 0};
    };
    for (const Shape& shape : _shapes) {
        const float alpha = shape.color.a * opacity;
        const float scale = premultiply ? std::clamp(alpha, 0.f, 1.f) : 1.f;
        const Color4B c{colorByte(shape.color.r * scale), colorByte(shape.color.g * scale),
                        colorByte(shape.color.b * scale), colorByte(alpha)};
        if (shape.kind == Shape::Kind::SolidRect) {
            const Vec2 lo(std::min(shape.origin.x, shape.destination.x), std::min(shape.origin.y, shape.destination.y));
            const Vec2 hi(std::max(shape.origin.x, shape.destination.x), std::max(shape.origin.y, shape.destination.y));
            _quad.addQuad(transform, lo, hi, c, 0, 0, 1, 1);
            continue;
        }
        // A fan of triangles, each sent as a quad whose last corner repeats its second.
        auto rim = [&shape](unsigned int i) {
            const float a = shape.angle + 2.f * 3.14159265358979f * static_cast<float>(i) / shape.segments;
            return Vec2(shape.center.x + shape.radius * std::cos(a), shape.center.y + shape.radius * std::sin(a));
        };
        for (unsigned int i = 0; i < shape.segments; ++i) {
            const V2F_C4B_T2F a = vertex(shape.center, c), b = vertex(rim(i), c), d = vertex(rim(i + 1), c);
            const V2F_C4B_T2F corners[4] = {a, b, d, b};
            _quad.addQuad(corners);
        }
    }
    renderer->addCommand(&_quad);
}

}  // namespace engine
