#include "engine/renderer/Renderer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/QuadCommand.h"
#include "engine/renderer/Texture2D.h"

namespace engine {
namespace {
// 16-bit indices reach 65536 vertices: 16384 quads per draw call.
constexpr size_t kMaxQuadsPerDraw = 16384;

// One copy of a command's vertices onto the end of the batch.
void appendVertices(std::vector<V2F_C4B_T2F>& batch, const std::vector<V2F_C4B_T2F>& vertices) {
    batch.insert(batch.end(), vertices.begin(), vertices.end());
}
}  // namespace

Renderer::~Renderer() {
    delete _batch;
    if (_white) _white->release();
}

void Renderer::addCommand(RenderCommand* command) {
    if (command) _queue.push_back(command);
}

Texture2D* Renderer::getWhiteTexture() {
    if (!_white) _white = Texture2D::createWithData({255, 255, 255, 255}, 1, 1, Texture2D::PixelFormat::RGBA8888);
    return _white;
}

void Renderer::render() {
    if (_rendering) {
        // A command rendering again (a render texture drawn from a custom
        // command): what it queued runs now, from a list of its own.
        std::vector<RenderCommand*> queue;
        queue.swap(_queue);
        run(queue);
        return;
    }
    _rendering = true;
    _running.swap(_queue);
    run(_running);
    _running.clear();
    _rendering = false;
}

void Renderer::run(std::vector<RenderCommand*>& queue) {
    // Commands come in visit order, usually already in order of global Z.
    auto byOrder = [](const RenderCommand* a, const RenderCommand* b) { return a->getGlobalOrder() < b->getGlobalOrder(); };
    if (!std::is_sorted(queue.begin(), queue.end(), byOrder)) std::stable_sort(queue.begin(), queue.end(), byOrder);
    if (!_batch) _batch = new std::vector<V2F_C4B_T2F>;
    for (RenderCommand* command : queue) {
        QuadCommand* quads = command->asQuadCommand();
        if (!quads) {
            flushBatch();
            command->execute();
            continue;
        }
        if (quads->getQuadCount() == 0) continue;
        if (_batchStyle && !_batchStyle->batchesWith(*quads)) flushBatch();
        if (!_batchStyle) {
            _batchStyle = quads;   // drawn from its own vertices unless another joins
            _batchCommands = 1;
            continue;
        }
        if (_batchCommands++ == 1) appendVertices(*_batch, _batchStyle->getVertices());
        appendVertices(*_batch, quads->getVertices());
    }
    flushBatch();
    // A clip left open by its owner ends with the frame.
    while (!_scissors.empty()) popScissor();
    while (!_stencils.empty()) popStencil();
}

void Renderer::pushScissor(float x, float y, float width, float height) {
    // Far outside any window: a huge or non-finite rectangle stays in int range.
    constexpr float kLimit = 1 << 24;
    auto clampToInt = [&](float v) { return static_cast<int>(std::isfinite(v) ? std::clamp(v, -kLimit, kLimit) : 0.f); };
    PixelRect r{clampToInt(std::floor(x)), clampToInt(std::floor(y)), clampToInt(std::ceil(x + width)),
                clampToInt(std::ceil(y + height))};
    if (!_scissors.empty()) {
        const PixelRect& outer = _scissors.back();
        r = {std::max(r.x0, outer.x0), std::max(r.y0, outer.y0), std::min(r.x1, outer.x1), std::min(r.y1, outer.y1)};
    }
    r.x1 = std::max(r.x1, r.x0);
    r.y1 = std::max(r.y1, r.y0);
    flushBatch();
    const GLFunctions& gl = GL::fn();
    if (_scissors.empty()) gl.enable(GL_SCISSOR_TEST);
    gl.scissor(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
    _scissors.push_back(r);
}

void Renderer::popScissor() {
    if (_scissors.empty()) return;
    flushBatch();
    _scissors.pop_back();
    const GLFunctions& gl = GL::fn();
    if (_scissors.empty()) {
        gl.disable(GL_SCISSOR_TEST);
        return;
    }
    const PixelRect& r = _scissors.back();
    gl.scissor(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
}

void Renderer::pushStencil(bool inverted) {
    flushBatch();
    constexpr size_t kStencilBits = 8;
    const unsigned bit = _stencils.size() < kStencilBits ? 1u << _stencils.size() : 0u;
    _stencils.push_back({bit, inverted});
    if (!bit) return;
    const GLFunctions& gl = GL::fn();
    if (_stencils.size() == 1) gl.enable(GL_STENCIL_TEST);
    // The layer's bit cleared everywhere, then set wherever the stencil draws.
    gl.stencilMask(bit);
    gl.clearStencil(0);
    gl.clear(GL_STENCIL_BUFFER_BIT);
    gl.colorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    gl.stencilFunc(GL_NEVER, static_cast<GLint>(bit), bit);
    gl.stencilOp(GL_REPLACE, GL_KEEP, GL_KEEP);
}

void Renderer::endStencilDrawing() {
    if (_stencils.empty() || !_stencils.back().bit) return;
    flushBatch();
    GL::fn().colorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    applyStencilTest();
}

void Renderer::popStencil() {
    if (_stencils.empty()) return;
    const bool clipped = _stencils.back().bit != 0;
    flushBatch();
    _stencils.pop_back();
    if (!clipped) return;
    if (_stencils.empty()) {
        const GLFunctions& gl = GL::fn();
        gl.colorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        gl.stencilMask(0xFF);
        gl.disable(GL_STENCIL_TEST);
        return;
    }
    applyStencilTest();
}

void Renderer::applyStencilTest() {
    unsigned mask = 0, ref = 0;
    for (const StencilLayer& layer : _stencils) {
        mask |= layer.bit;
        if (!layer.inverted) ref |= layer.bit;
    }
    const GLFunctions& gl = GL::fn();
    gl.stencilMask(0);
    gl.stencilFunc(GL_EQUAL, static_cast<GLint>(ref), mask);
    gl.stencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
}

void Renderer::flushBatch() {
    if (_batchStyle && _batchCommands == 1) {
        drawQuads(*_batchStyle, _batchStyle->getVertices().data(), _batchStyle->getQuadCount());
    } else if (_batchStyle && !_batch->empty()) {
        drawQuads(*_batchStyle, _batch->data(), _batch->size() / 4);
    }
    _batchStyle = nullptr;
    _batchCommands = 0;
    if (_batch) _batch->clear();
}

void Renderer::drawQuads(const QuadCommand& style, const V2F_C4B_T2F* vertices, size_t quadCount) {
    if (quadCount == 0) return;
    if (_indices.empty()) {
        _indices.resize(kMaxQuadsPerDraw * 6);
        for (size_t q = 0; q < kMaxQuadsPerDraw; ++q) {
            const auto base = static_cast<uint16_t>(q * 4);
            const uint16_t quad[6] = {base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2),
                                      static_cast<uint16_t>(base + 3), static_cast<uint16_t>(base + 2),
                                      static_cast<uint16_t>(base + 1)};
            std::copy(quad, quad + 6, _indices.begin() + static_cast<std::ptrdiff_t>(q * 6));
        }
    }
    const GLFunctions& gl = GL::fn();
    if (GLProgramState* state = style.getProgramState()) state->apply(Mat4::IDENTITY);
    Texture2D* texture = style.getTexture() ? style.getTexture() : getWhiteTexture();
    GL::bindTexture2D(texture->getName());
    GL::blendFunc(style.getBlendFunc().src, style.getBlendFunc().dst);
    GL::bindVAO(0);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.enableVertexAttribArray(GLProgram::VERTEX_ATTRIB_POSITION);
    gl.enableVertexAttribArray(GLProgram::VERTEX_ATTRIB_COLOR);
    gl.enableVertexAttribArray(GLProgram::VERTEX_ATTRIB_TEX_COORD);
    for (size_t first = 0; first < quadCount; first += kMaxQuadsPerDraw) {
        const size_t count = std::min(kMaxQuadsPerDraw, quadCount - first);
        const auto* base = reinterpret_cast<const char*>(vertices + first * 4);
        gl.vertexAttribPointer(GLProgram::VERTEX_ATTRIB_POSITION, 2, GL_FLOAT, GL_FALSE, sizeof(V2F_C4B_T2F),
                               base + offsetof(V2F_C4B_T2F, x));
        gl.vertexAttribPointer(GLProgram::VERTEX_ATTRIB_COLOR, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(V2F_C4B_T2F),
                               base + offsetof(V2F_C4B_T2F, r));
        gl.vertexAttribPointer(GLProgram::VERTEX_ATTRIB_TEX_COORD, 2, GL_FLOAT, GL_FALSE, sizeof(V2F_C4B_T2F),
                               base + offsetof(V2F_C4B_T2F, u));
        gl.drawElements(GL_TRIANGLES, static_cast<GLsizei>(count * 6), GL_UNSIGNED_SHORT, _indices.data());
        addDrawnBatches(1);
        addDrawnVertices(count * 4);
    }
}

}  // namespace engine
