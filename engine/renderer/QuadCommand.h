#pragma once
// A render command of textured, coloured quads already in world space (four
// vertices per quad: bottom-left, bottom-right, top-left, top-right, drawn as
// two triangles). The renderer draws consecutive quad commands of the same
// texture, program and blend function in one draw call. The command does not
// retain what it names: its node keeps them alive until the frame is drawn.
#include <cstdint>
#include <vector>

#include "engine/base/Mat4.h"
#include "engine/base/Types.h"
#include "engine/renderer/RenderRecords.h"
#include "engine/renderer/Renderer.h"

namespace engine {

class Texture2D;
class GLProgramState;

struct V2F_C4B_T2F {
    float x, y;
    uint8_t r, g, b, a;
    float u, v;
};
static_assert(sizeof(V2F_C4B_T2F) == 20);

class QuadCommand : public RenderCommand {
public:
    // A null texture draws with the renderer's white texture (plain colour).
    void init(float globalOrder, Texture2D* texture, GLProgramState* state, const BlendFunc& blend);
    // The same, keeping the quads: a node whose quads did not change queues them again.
    void setStyle(float globalOrder, Texture2D* texture, GLProgramState* state, const BlendFunc& blend);
    // Gives every vertex the colour.
    void setColor(const Color4B& color);
    // Drops the quads (capacity kept: a node redrawn every frame allocates nothing).
    void clearQuads() { _vertices.clear(); }
    // One quad from its corners in node space, through `transform`, with one colour
    // and the texture coordinates of the rectangle (u0, v0) .. (u1, v1) (v0 at the bottom).
    void addQuad(const Mat4& transform, const Vec2& bottomLeft, const Vec2& topRight, const Color4B& color, float u0,
                 float v0, float u1, float v1);
    // The same with a texture coordinate pair per corner (bottom-left, bottom-right,
    // top-left, top-right): rotated texture rectangles.
    void addQuad(const Mat4& transform, const Vec2& bottomLeft, const Vec2& topRight, const Color4B& color,
                 const float (&uvs)[8]);
    // The same with a colour per corner, in that order (gradients).
    void addQuad(const Mat4& transform, const Vec2& bottomLeft, const Vec2& topRight, const Color4B (&colors)[4],
                 const float (&uvs)[8]);
    // Four world-space vertices as given.
    void addQuad(const V2F_C4B_T2F (&corners)[4]);
    size_t getQuadCount() const { return _vertices.size() / 4; }
    const std::vector<V2F_C4B_T2F>& getVertices() const { return _vertices; }

    Texture2D* getTexture() const { return _texture; }
    GLProgramState* getProgramState() const { return _state; }
    const BlendFunc& getBlendFunc() const { return _blend; }
    // Same texture, program and blend function: they draw in one call.
    bool batchesWith(const QuadCommand& other) const {
        return _texture == other._texture && _state == other._state && _blend == other._blend;
    }

    QuadCommand* asQuadCommand() override { return this; }
    // Drawn on its own (the renderer batches instead when it can).
    void execute() override;

private:
    Texture2D* _texture = nullptr;
    GLProgramState* _state = nullptr;
    BlendFunc _blend = BlendFunc::ALPHA_PREMULTIPLIED;
    std::vector<V2F_C4B_T2F> _vertices;
};

// The program nodes draw their quads with unless they have their own.
GLProgramState* defaultQuadProgramState();

// The colour bytes of a node drawn with `color` and `opacity`; rgb times the
// opacity when `premultiply`.
Color4B quadColor(const Color3B& color, uint8_t opacity, bool premultiply);

}  // namespace engine
