#include "engine/renderer/QuadCommand.h"

#include "engine/base/Director.h"
#include "engine/renderer/GLProgramCache.h"

namespace engine {

void QuadCommand::init(float globalOrder, Texture2D* texture, GLProgramState* state, const BlendFunc& blend) {
    _globalOrder = globalOrder;
    _texture = texture;
    _state = state;
    _blend = blend;
    _vertices.clear();
}

void QuadCommand::setStyle(float globalOrder, Texture2D* texture, GLProgramState* state, const BlendFunc& blend) {
    _globalOrder = globalOrder;
    _texture = texture;
    _state = state;
    _blend = blend;
}

void QuadCommand::setColor(const Color4B& color) {
    for (V2F_C4B_T2F& v : _vertices) {
        v.r = color.r;
        v.g = color.g;
        v.b = color.b;
        v.a = color.a;
    }
}

void QuadCommand::addQuad(const Mat4& transform, const Vec2& bottomLeft, const Vec2& topRight, const Color4B& color,
                          float u0, float v0, float u1, float v1) {
    addQuad(transform, bottomLeft, topRight, color, {u0, v0, u1, v0, u0, v1, u1, v1});
}

void QuadCommand::addQuad(const Mat4& transform, const Vec2& bottomLeft, const Vec2& topRight, const Color4B& color,
                          const float (&uvs)[8]) {
    addQuad(transform, bottomLeft, topRight, {color, color, color, color}, uvs);
}

void QuadCommand::addQuad(const Mat4& transform, const Vec2& bottomLeft, const Vec2& topRight,
                          const Color4B (&colors)[4], const float (&uvs)[8]) {
    const Vec2 corners[4] = {bottomLeft, {topRight.x, bottomLeft.y}, {bottomLeft.x, topRight.y}, topRight};
    // Corners lie at z = 0: only x and y of the transform's first, second and last columns count.
    const float* m = transform.m;
    for (int i = 0; i < 4; ++i) {
        const float x = m[0] * corners[i].x + m[4] * corners[i].y + m[12];
        const float y = m[1] * corners[i].x + m[5] * corners[i].y + m[13];
        const Color4B& c = colors[i];
        _vertices.push_back(V2F_C4B_T2F{x, y, c.r, c.g, c.b, c.a, uvs[2 * i], uvs[2 * i + 1]});
    }
}

void QuadCommand::addQuad(const V2F_C4B_T2F (&corners)[4]) { _vertices.insert(_vertices.end(), corners, corners + 4); }

void QuadCommand::execute() {
    Director::getInstance()->getRenderer()->drawQuads(*this, _vertices.data(), getQuadCount());
}

GLProgramState* defaultQuadProgramState() {
    // Looked up by name again only when the program cache changed.
    static GLProgramState* state = nullptr;
    static uint64_t seen = 0;
    const uint64_t generation = GLProgramCache::generation();
    if (!state || seen != generation) {
        state = GLProgramState::getOrCreateWithGLProgramName(GLProgram::SHADER_NAME_POSITION_TEXTURE_COLOR);
        seen = GLProgramCache::generation();
    }
    return state;
}

Color4B quadColor(const Color3B& color, uint8_t opacity, bool premultiply) {
    if (!premultiply) return Color4B{color.r, color.g, color.b, opacity};
    auto times = [opacity](uint8_t c) { return static_cast<uint8_t>((c * opacity + 127) / 255); };
    return Color4B{times(color.r), times(color.g), times(color.b), opacity};
}

}  // namespace engine
