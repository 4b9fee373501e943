#pragma once
// A node that keeps a list of drawn shapes in its own coordinates until clear().
// Drawing turns them into plain-colour triangles (each shape's colour, its alpha
// times the node's displayed opacity) drawn with its blend function (colours
// premultiplied when it takes the source as is), in recording order: points as
// squares of their size, lines as quads of their width (1 for plain lines),
// filled polygons as a fan from their first vertex (right for convex ones).
// Calls with nothing to draw (no points, too few segments) record nothing.
#include <vector>

#include "engine/actions/PointArray.h"

#include "engine/renderer/QuadCommand.h"
#include "engine/renderer/RenderRecords.h"
#include "engine/scene/Node.h"

namespace engine {

class DrawNode : public Node, public BlendProtocol {
public:
    // The blend function it draws with; alpha premultiplied by default.
    void setBlendFunc(const BlendFunc& blendFunc) override { _blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const override { return _blendFunc; }

    struct Shape {
        enum class Kind { SolidRect, SolidCircle, Points, Lines, SolidPoly, Polygon };
        Kind kind;
        Color4F color;              // Polygon: the fill
        Vec2 origin, destination;   // SolidRect: opposite corners
        Vec2 center;                // SolidCircle
        float radius = 0.f;
        float angle = 0.f;          // radians
        unsigned int segments = 0;
        std::vector<Vec2> vertices;  // Points, Lines, SolidPoly, Polygon
        float size = 0.f;            // Points: the side of each; Lines, Polygon: the line width
        bool closed = false;         // Lines: back to the first vertex
        Color4F borderColor;         // Polygon
    };

    static DrawNode* create();

    // A filled axis-aligned rectangle between two opposite corners.
    void drawSolidRect(const Vec2& origin, const Vec2& destination, const Color4F& color);
    // A filled circle as a polygon of `segments` sides, the first vertex at `angle`.
    // Fewer than 3 segments draw nothing.
    void drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments, const Color4F& color);
    // A line from one point to another, `radius` on each side of it (its width is
    // twice the radius).
    void drawSegment(const Vec2& from, const Vec2& to, float radius, const Color4F& color);
    // A line one point wide.
    void drawLine(const Vec2& origin, const Vec2& destination, const Color4F& color);
    // The outline of an axis-aligned rectangle between two opposite corners.
    void drawRect(const Vec2& origin, const Vec2& destination, const Color4F& color);
    // The outline of the polygon drawSolidCircle fills (stretched by scaleX and
    // scaleY), through the centre as well when drawLineToCenter. Fewer than 3
    // segments draw nothing.
    void drawCircle(const Vec2& center, float radius, float angle, unsigned int segments, bool drawLineToCenter,
                    float scaleX, float scaleY, const Color4F& color);
    void drawCircle(const Vec2& center, float radius, float angle, unsigned int segments, bool drawLineToCenter,
                    const Color4F& color);
    // A filled triangle.
    void drawTriangle(const Vec2& p1, const Vec2& p2, const Vec2& p3, const Color4F& color);
    // One square of pointSize centred on the point.
    void drawPoint(const Vec2& point, float pointSize, const Color4F& color);
    // Squares of pointSize (1 when not given) centred on the points.
    void drawPoints(const Vec2* points, unsigned int count, const Color4F& color);
    void drawPoints(const Vec2* points, unsigned int count, float pointSize, const Color4F& color);
    // Lines through the points, back to the first when closed.
    void drawPoly(const Vec2* points, unsigned int count, bool closed, const Color4F& color);
    void drawSolidPoly(const Vec2* points, unsigned int count, const Color4F& color);
    // A filled polygon with a border of borderWidth (none when it is not above 0).
    void drawPolygon(const Vec2* points, int count, const Color4F& fillColor, float borderWidth,
                     const Color4F& borderColor);
    // Open lines along the spline through the control points, in `segments`
    // pieces (1 to kMaxSplineSegments; other counts draw nothing).
    void drawCardinalSpline(PointArray* points, float tension, unsigned int segments, const Color4F& color);
    // The same with tension 0.5.
    void drawCatmullRom(PointArray* points, unsigned int segments, const Color4F& color);
    static constexpr unsigned int kMaxSplineSegments = 65536;

    void clear() { _shapes.clear(); }
    const std::vector<Shape>& getShapes() const { return _shapes; }
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    DrawNode() = default;

private:
    std::vector<Shape> _shapes;
    QuadCommand _quad;
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
};

}  // namespace engine
