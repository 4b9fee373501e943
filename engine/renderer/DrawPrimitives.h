#pragma once
// Immediate drawing of lines, points and polygons in one colour, in the space of
// the director's current model-view matrix, with the engine's single-colour
// program. Each call is one GL draw and counts one batch and its vertices in the
// director's renderer. Main thread only.
#include <cstdint>

#include "engine/base/Types.h"

namespace engine::DrawPrimitives {

// Colour of the following draws (0..255 each); opaque white at start.
void setDrawColor4B(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void setDrawColor4F(float r, float g, float b, float a);
// Point size in pixels; 1 at start.
void setPointSize(float size);

void drawLine(const Vec2& origin, const Vec2& destination);
void drawPoint(const Vec2& point);
// A line strip through the points, closed back to the first when asked.
void drawPoly(const Vec2* points, unsigned int count, bool closePolygon);

}  // namespace engine::DrawPrimitives
