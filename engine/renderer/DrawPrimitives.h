#pragma once
// Immediate drawing of lines, points and polygons in one colour, in the space of
// the director's current model-view matrix, with the engine's single-colour
// program. Each call that has something to draw is one GL draw and counts one
// batch and its vertices in the director's renderer; a call with nothing to draw
// (no points, no segments) reaches no GL at all. Curves are drawn as line strips
// of `segments` pieces; more than kMaxSegments pieces draw nothing. Main thread only.
#include <cstdint>

#include "engine/base/Types.h"

namespace engine {
class PointArray;
}

namespace engine::DrawPrimitives {

constexpr unsigned int kMaxSegments = 65536;

// Colour of the following draws (0..255 each); opaque white at start.
void setDrawColor4B(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void setDrawColor4F(float r, float g, float b, float a);
// Point size in pixels; 1 at start.
void setPointSize(float size);

void drawPoint(const Vec2& point);
void drawPoints(const Vec2* points, unsigned int count);
void drawLine(const Vec2& origin, const Vec2& destination);
// The outline of the axis-aligned rectangle with these opposite corners.
void drawRect(const Vec2& origin, const Vec2& destination);
// The filled rectangle, in `color` (the draw colour is left as it was).
void drawSolidRect(const Vec2& origin, const Vec2& destination, const Color4F& color);
// A line strip through the points, closed back to the first when asked.
void drawPoly(const Vec2* points, unsigned int count, bool closePolygon);
// The filled polygon (a fan from the first point: right for convex ones), in `color`.
void drawSolidPoly(const Vec2* points, unsigned int count, const Color4F& color);
// The circle as a closed strip of `segments` sides, the first vertex at `angle`
// radians, stretched by the scales; with drawLineToCenter a last line back to
// the centre.
void drawCircle(const Vec2& center, float radius, float angle, unsigned int segments, bool drawLineToCenter,
                float scaleX, float scaleY);
void drawCircle(const Vec2& center, float radius, float angle, unsigned int segments, bool drawLineToCenter);
// The filled circle of `segments` sides in the draw colour.
void drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments, float scaleX,
                     float scaleY);
void drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments);
void drawQuadBezier(const Vec2& origin, const Vec2& control, const Vec2& destination, unsigned int segments);
void drawCubicBezier(const Vec2& origin, const Vec2& control1, const Vec2& control2, const Vec2& destination,
                     unsigned int segments);
// The cardinal spline through the control points (PointArray::splineAt); an
// empty or null list draws nothing. Catmull-Rom is tension 0.5.
void drawCardinalSpline(const PointArray* points, float tension, unsigned int segments);
void drawCatmullRom(const PointArray* points, unsigned int segments);

}  // namespace engine::DrawPrimitives
