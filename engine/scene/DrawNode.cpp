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
    Shape shape{Shape::Kind::SolidRect, color, origin, destination, {}, 0.f, 0.f, 0, {}, 0.f, false, {}};
    _shapes.push_back(shape);
}

void DrawNode::drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments,
                               const Color4F& color) {
    if (segments < 3) return;
    Shape shape{Shape::Kind::SolidCircle, color, {}, {}, center, radius, angle, segments, {}, 0.f, false, {}};
    _shapes.push_back(shape);
}

void DrawNode::drawPoints(const Vec2* points, unsigned int count, const Color4F& color) {
    drawPoints(points, count, 1.f, color);
}

namespace {

DrawNode::Shape listShape(DrawNode::Shape::Kind kind, const Vec2* points, size_t count, const Color4F& color) {
    DrawNode::Shape shape{kind, color, {}, {}, {}, 0.f, 0.f, 0, {}, 0.f, false, {}};
    shape.vertices.assign(points, points + count);
    return shape;
}

}  // namespace

void DrawNode::drawSegment(const Vec2& from, const Vec2& to, float radius, const Color4F& color) {
    const Vec2 ends[] = {from, to};
    Shape shape = listShape(Shape::Kind::Lines, ends, 2, color);
    shape.size = 2.f * radius;
    _shapes.push_back(std::move(shape));
}

void DrawNode::drawLine(const Vec2& origin, const Vec2& destination, const Color4F& color) {
    const Vec2 ends[] = {origin, destination};
    drawPoly(ends, 2, false, color);
}

void DrawNode::drawRect(const Vec2& origin, const Vec2& destination, const Color4F& color) {
    const Vec2 corners[] = {origin, Vec2(destination.x, origin.y), destination, Vec2(origin.x, destination.y)};
    drawPoly(corners, 4, true, color);
}

void DrawNode::drawCircle(const Vec2& center, float radius, float angle, unsigned int segments, bool drawLineToCenter,
                          float scaleX, float scaleY, const Color4F& color) {
    if (segments < 3) return;
    std::vector<Vec2> points;
    points.reserve(segments + 1);
    for (unsigned int i = 0; i < segments; ++i) {
        const float a = angle + 2.f * 3.14159265358979f * static_cast<float>(i) / static_cast<float>(segments);
        points.emplace_back(center.x + radius * std::cos(a) * scaleX, center.y + radius * std::sin(a) * scaleY);
    }
    if (drawLineToCenter) points.push_back(center);
    drawPoly(points.data(), static_cast<unsigned int>(points.size()), true, color);
}

void DrawNode::drawCircle(const Vec2& center, float radius, float angle, unsigned int segments, bool drawLineToCenter,
                          const Color4F& color) {
    drawCircle(center, radius, angle, segments, drawLineToCenter, 1.f, 1.f, color);
}

void DrawNode::drawTriangle(const Vec2& p1, const Vec2& p2, const Vec2& p3, const Color4F& color) {
    const Vec2 corners[] = {p1, p2, p3};
    drawSolidPoly(corners, 3, color);
}

void DrawNode::drawPoint(const Vec2& point, float pointSize, const Color4F& color) {
    drawPoints(&point, 1, pointSize, color);
}

void DrawNode::drawPoints(const Vec2* points, unsigned int count, float pointSize, const Color4F& color) {
    if (!points || count == 0) return;
    Shape shape = listShape(Shape::Kind::Points, points, count, color);
    shape.size = pointSize;
    _shapes.push_back(std::move(shape));
}

void DrawNode::drawPoly(const Vec2* points, unsigned int count, bool closed, const Color4F& color) {
    if (!points || count == 0) return;
    Shape shape = listShape(Shape::Kind::Lines, points, count, color);
    shape.size = 1.f;
    shape.closed = closed;
    _shapes.push_back(std::move(shape));
}

void DrawNode::drawSolidPoly(const Vec2* points, unsigned int count, const Color4F& color) {
    if (!points || count == 0) return;
    _shapes.push_back(listShape(Shape::Kind::SolidPoly, points, count, color));
}

void DrawNode::drawPolygon(const Vec2* points, int count, const Color4F& fillColor, float borderWidth,
                           const Color4F& borderColor) {
    if (!points || count <= 0) return;
    Shape shape = listShape(Shape::Kind::Polygon, points, static_cast<size_t>(count), fillColor);
    shape.size = borderWidth;
    shape.closed = true;
    shape.borderColor = borderColor;
    _shapes.push_back(std::move(shape));
}

void DrawNode::drawCardinalSpline(PointArray* points, float tension, unsigned int segments, const Color4F& color) {
    if (!points || points->count() == 0 || segments == 0 || segments > kMaxSplineSegments) return;
    std::vector<Vec2> vertices(segments + 1);
    for (unsigned int i = 0; i <= segments; ++i) {
        vertices[i] = points->splineAt(tension, static_cast<float>(i) / static_cast<float>(segments));
    }
    drawPoly(vertices.data(), segments + 1, false, color);
}

void DrawNode::drawCatmullRom(PointArray* points, unsigned int segments, const Color4F& color) {
    drawCardinalSpline(points, 0.5f, segments, color);
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
    auto colorOf = [&](const Color4F& color) {
        const float alpha = color.a * opacity;
        const float scale = premultiply ? std::clamp(alpha, 0.f, 1.f) : 1.f;
        return Color4B{colorByte(color.r * scale), colorByte(color.g * scale), colorByte(color.b * scale),
                       colorByte(alpha)};
    };
    // A triangle, sent as a quad whose last corner repeats its second.
    auto triangle = [&](const Vec2& a, const Vec2& b, const Vec2& d, const Color4B& c) {
        const V2F_C4B_T2F corners[4] = {vertex(a, c), vertex(b, c), vertex(d, c), vertex(b, c)};
        _quad.addQuad(corners);
    };
    // A line from a to b as a quad of the given width; nothing for a zero length.
    auto line = [&](const Vec2& a, const Vec2& b, float width, const Color4B& c) {
        const Vec2 along = b - a;
        const float length = along.length();
        if (length <= 0.f) return;
        const Vec2 side(-along.y / length * width / 2.f, along.x / length * width / 2.f);
        const V2F_C4B_T2F corners[4] = {vertex(a - side, c), vertex(b - side, c), vertex(a + side, c),
                                        vertex(b + side, c)};
        _quad.addQuad(corners);
    };
    auto outline = [&](const std::vector<Vec2>& v, bool closed, float width, const Color4B& c) {
        for (size_t i = 0; i + 1 < v.size(); ++i) line(v[i], v[i + 1], width, c);
        if (closed && v.size() > 2) line(v.back(), v.front(), width, c);
    };
    for (const Shape& shape : _shapes) {
        const Color4B c = colorOf(shape.color);
        switch (shape.kind) {
            case Shape::Kind::Points:
                for (const Vec2& p : shape.vertices) {
                    const Vec2 half(shape.size / 2.f, shape.size / 2.f);
                    _quad.addQuad(transform, p - half, p + half, c, 0, 0, 1, 1);
                }
                continue;
            case Shape::Kind::Lines:
                outline(shape.vertices, shape.closed, shape.size, c);
                continue;
            case Shape::Kind::SolidPoly:
            case Shape::Kind::Polygon:
                for (size_t i = 1; i + 1 < shape.vertices.size(); ++i) {
                    triangle(shape.vertices[0], shape.vertices[i], shape.vertices[i + 1], c);
                }
                if (shape.kind == Shape::Kind::Polygon && shape.size > 0.f) {
                    outline(shape.vertices, true, shape.size, colorOf(shape.borderColor));
                }
                continue;
            default:
                break;
        }
        if (shape.kind == Shape::Kind::SolidRect) {
            const Vec2 lo(std::min(shape.origin.x, shape.destination.x), std::min(shape.origin.y, shape.destination.y));
            const Vec2 hi(std::max(shape.origin.x, shape.destination.x), std::max(shape.origin.y, shape.destination.y));
            _quad.addQuad(transform, lo, hi, c, 0, 0, 1, 1);
            continue;
        }
        // A fan of triangles round the centre.
        auto rim = [&shape](unsigned int i) {
            const float a = shape.angle + 2.f * 3.14159265358979f * static_cast<float>(i) / shape.segments;
            return Vec2(shape.center.x + shape.radius * std::cos(a), shape.center.y + shape.radius * std::sin(a));
        };
        for (unsigned int i = 0; i < shape.segments; ++i) triangle(shape.center, rim(i), rim(i + 1), c);
    }
    renderer->addCommand(&_quad);
}

}  // namespace engine
