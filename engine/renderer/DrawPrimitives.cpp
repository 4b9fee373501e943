#include "engine/renderer/DrawPrimitives.h"

#include <vector>

#include "engine/base/Director.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/Renderer.h"

namespace engine::DrawPrimitives {
namespace {

float g_color[4] = {1, 1, 1, 1};
float g_pointSize = 1;

void drawVertices(GLenum mode, const std::vector<float>& xy) {
    if (xy.empty()) return;
    GLProgram* program = GLProgramCache::getInstance()->getGLProgram(GLProgram::SHADER_NAME_POSITION_U_COLOR);
    Director* director = Director::getInstance();
    program->use();
    program->setUniformsForBuiltins(director->getMatrix(MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW));
    const GLFunctions& gl = GL::fn();
    GLint color = program->getUniformLocation("u_color");
    if (color >= 0) gl.uniform4f(color, g_color[0], g_color[1], g_color[2], g_color[3]);
    GLint pointSize = program->getUniformLocation("u_pointSize");
    if (pointSize >= 0) gl.uniform1f(pointSize, g_pointSize);
    GL::bindVAO(0);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.enableVertexAttribArray(GLProgram::VERTEX_ATTRIB_POSITION);
    gl.disableVertexAttribArray(GLProgram::VERTEX_ATTRIB_COLOR);
    gl.disableVertexAttribArray(GLProgram::VERTEX_ATTRIB_TEX_COORD);
    gl.vertexAttribPointer(GLProgram::VERTEX_ATTRIB_POSITION, 2, GL_FLOAT, GL_FALSE, 0, xy.data());
    if (mode == GL_POINTS) gl.enable(GL_VERTEX_PROGRAM_POINT_SIZE);
    auto count = static_cast<GLsizei>(xy.size() / 2);
    gl.drawArrays(mode, 0, count);
    Renderer* renderer = director->getRenderer();
    renderer->addDrawnBatches(1);
    renderer->addDrawnVertices(static_cast<size_t>(count));
}

}  // namespace

void setDrawColor4B(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    setDrawColor4F(r / 255.f, g / 255.f, b / 255.f, a / 255.f);
}

void setDrawColor4F(float r, float g, float b, float a) {
    g_color[0] = r;
    g_color[1] = g;
    g_color[2] = b;
    g_color[3] = a;
}

void setPointSize(float size) { g_pointSize = size; }

void drawLine(const Vec2& origin, const Vec2& destination) {
    drawVertices(GL_LINES, {origin.x, origin.y, destination.x, destination.y});
}

void drawPoint(const Vec2& point) { drawVertices(GL_POINTS, {point.x, point.y}); }

void drawPoly(const Vec2* points, unsigned int count, bool closePolygon) {
    if (!points || count == 0) return;
    std::vector<float> xy;
    xy.reserve(2 * count);
    for (unsigned int i = 0; i < count; ++i) {
        xy.push_back(points[i].x);
        xy.push_back(points[i].y);
    }
    drawVertices(closePolygon ? GL_LINE_LOOP : GL_LINE_STRIP, xy);
}

}  // namespace engine::DrawPrimitives
