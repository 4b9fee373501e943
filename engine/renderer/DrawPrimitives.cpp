#include "engine/renderer/DrawPrimitives.h"

#include <cmath>
#include <vector>

#include "engine/actions/PointArray.h"
#include "engine/base/Director.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/Renderer.h"

namespace engine::DrawPrimitives {
namespace {

Color4F g_color{1, 1, 1, 1};
float g_pointSize = 1;

void drawVertices(GLenum mode, const std::vector<Vec2>& points, const Color4F& color) {
    if (points.empty()) return;
    GLProgram* program = GLProgramCache::getInstance()->getGLProgram(GLProgram::SHADER_NAME_POSITION_U_COLOR);
    Director* director = Director::getInstance();
    program->use();
    program->setUniformsForBuiltins(director->getMatrix(MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW));
    const GLFunctions& gl = GL::fn();
    GLint colorLocation = program->getUniformLocation("u_color");
    if (colorLocation >= 0) gl.uniform4f(colorLocation, color.r, color.g, color.b, color.a);
    GLint pointSize = program->getUniformLocation("u_pointSize");
    if (pointSize >= 0) gl.uniform1f(pointSize, g_pointSize);
    GL::bindVAO(0);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.enableVertexAttribArray(GLProgram::VERTEX_ATTRIB_POSITION);
    gl.disableVertexAttribArray(GLProgram::VERTEX_ATTRIB_COLOR);
    gl.disableVertexAttribArray(GLProgram::VERTEX_ATTRIB_TEX_COORD);
    static_assert(sizeof(Vec2) == 2 * sizeof(float));
    gl.vertexAttribPointer(GLProgram::VERTEX_ATTRIB_POSITION, 2, GL_FLOAT, GL_FALSE, 0, points.data());
    if (mode == GL_POINTS) gl.enable(GL_VERTEX_PROGRAM_POINT_SIZE);
    auto count = static_cast<GLsizei>(points.size());
    gl.drawArrays(mode, 0, count);
    Renderer* renderer = director->getRenderer();
    renderer->addDrawnBatches(1);
    renderer->addDrawnVertices(points.size());
}

void drawVertices(GLenum mode, const std::vector<Vec2>& points) { drawVertices(mode, points, g_color); }

std::vector<Vec2> copy(const Vec2* points, unsigned int count) {
    if (!points) return {};
    return std::vector<Vec2>(points, points + count);
}

std::vector<Vec2> corners(const Vec2& origin, const Vec2& destination) {
    return {origin, Vec2(destination.x, origin.y), destination, Vec2(origin.x, destination.y)};
}

// The `segments` corners of the (stretched) circle, the first at angle.
std::vector<Vec2> circle(const Vec2& center, float radius, float angle, unsigned int segments, float scaleX,
                         float scaleY) {
    std::vector<Vec2> points;
    if (segments == 0 || segments > kMaxSegments) return points;
    points.reserve(segments + 2);
    const double step = 2 * M_PI / segments;
    for (unsigned int i = 0; i < segments; ++i) {
        const double a = angle + step * i;
        points.emplace_back(static_cast<float>(center.x + radius * std::cos(a) * scaleX),
                            static_cast<float>(center.y + radius * std::sin(a) * scaleY));
    }
    return points;
}

// The curve sampled at t = 0, 1/segments, ..., 1.
template <class At>
std::vector<Vec2> sampled(unsigned int segments, At at) {
    std::vector<Vec2> points;
    if (segments == 0 || segments > kMaxSegments) return points;
    points.reserve(segments + 1);
    for (unsigned int i = 0; i <= segments; ++i) points.push_back(at(static_cast<float>(i) / segments));
    return points;
}

}  // namespace

void setDrawColor4B(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    setDrawColor4F(r / 255.f, g / 255.f, b / 255.f, a / 255.f);
}

void setDrawColor4F(float r, float g, float b, float a) { g_color = Color4F{r, g, b, a}; }

void setPointSize(float size) { g_pointSize = size; }

void drawPoint(const Vec2& point) { drawVertices(GL_POINTS, {point}); }

void drawPoints(const Vec2* points, unsigned int count) { drawVertices(GL_POINTS, copy(points, count)); }

void drawLine(const Vec2& origin, const Vec2& destination) { drawVertices(GL_LINES, {origin, destination}); }

void drawRect(const Vec2& origin, const Vec2& destination) {
    drawVertices(GL_LINE_LOOP, corners(origin, destination));
}

void drawSolidRect(const Vec2& origin, const Vec2& destination, const Color4F& color) {
    drawVertices(GL_TRIANGLE_FAN, corners(origin, destination), color);
}

void drawPoly(const Vec2* points, unsigned int count, bool closePolygon) {
    drawVertices(closePolygon ? GL_LINE_LOOP : GL_LINE_STRIP, copy(points, count));
}

void drawSolidPoly(const Vec2* points, unsigned int count, const Color4F& color) {
    drawVertices(GL_TRIANGLE_FAN, copy(points, count), color);
}

void drawCircle(const Vec2& center, float radius, float angle, unsigned int segments, bool drawLineToCenter,
                float scaleX, float scaleY) {
    std::vector<Vec2> points = circle(center, radius, angle, segments, scaleX, scaleY);
    if (points.empty()) return;
    points.push_back(points.front());
    if (drawLineToCenter) points.push_back(center);
    drawVertices(GL_LINE_STRIP, points);
}

void drawCircle(const Vec2& center, float radius, float angle, unsigned int segments, bool drawLineToCenter) {
    drawCircle(center, radius, angle, segments, drawLineToCenter, 1.f, 1.f);
}

void drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments, float scaleX,
                     float scaleY) {
    drawVertices(GL_TRIANGLE_FAN, circle(center, radius, angle, segments, scaleX, scaleY));
}

void drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments) {
    drawSolidCircle(center, radius, angle, segments, 1.f, 1.f);
}

void drawQuadBezier(const Vec2& origin, const Vec2& control, const Vec2& destination, unsigned int segments) {
    drawVertices(GL_LINE_STRIP, sampled(segments, [&](float t) {
                     const float u = 1 - t;
                     return Vec2(u * u * origin.x + 2 * u * t * control.x + t * t * destination.x,
                                 u * u * origin.y + 2 * u * t * control.y + t * t * destination.y);
                 }));
}

void drawCubicBezier(const Vec2& origin, const Vec2& control1, const Vec2& control2, const Vec2& destination,
                     unsigned int segments) {
    drawVertices(GL_LINE_STRIP, sampled(segments, [&](float t) {
                     const float u = 1 - t;
                     const float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, e = t * t * t;
                     return Vec2(a * origin.x + b * control1.x + c * control2.x + e * destination.x,
                                 a * origin.y + b * control1.y + c * control2.y + e * destination.y);
                 }));
}

void drawCardinalSpline(const PointArray* points, float tension, unsigned int segments) {
    if (!points || points->count() == 0) return;
    drawVertices(GL_LINE_STRIP, sampled(segments, [&](float t) { return points->splineAt(tension, t); }));
}

void drawCatmullRom(const PointArray* points, unsigned int segments) { drawCardinalSpline(points, 0.5f, segments); }

}  // namespace engine::DrawPrimitives
