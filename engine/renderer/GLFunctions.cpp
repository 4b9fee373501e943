#include "engine/renderer/GLFunctions.h"

#include <type_traits>

namespace engine {
namespace {

// The no-op body of any entry point: nothing happens, a result is 0.
template <class R, class... A>
R doNothing(A...) {
    if constexpr (!std::is_void_v<R>) return R{};
}

template <class R, class... A>
void setNoop(R (*&slot)(A...)) {
    slot = &doNothing<R, A...>;
}

// Writes an empty text where the caller gave room for one.
void emptyText(GLsizei bufSize, GLsizei* length, GLchar* text) {
    if (length) *length = 0;
    if (text && bufSize > 0) text[0] = 0;
}

GLFunctions makeNoop() {
    GLFunctions t;
    t.hasContext = false;
    setNoop(t.activeTexture);
    setNoop(t.attachShader);
    setNoop(t.bindAttribLocation);
    setNoop(t.bindBuffer);
    setNoop(t.bindFramebuffer);
    setNoop(t.bindRenderbuffer);
    setNoop(t.bindTexture);
    setNoop(t.bindVertexArray);
    setNoop(t.blendColor);
    setNoop(t.blendEquation);
    setNoop(t.blendEquationSeparate);
    setNoop(t.blendFunc);
    setNoop(t.blendFuncSeparate);
    setNoop(t.bufferData);
    setNoop(t.bufferSubData);
    setNoop(t.checkFramebufferStatus);
    setNoop(t.clear);
    setNoop(t.clearColor);
    setNoop(t.clearDepth);
    setNoop(t.clearDepthf);
    setNoop(t.clearStencil);
    setNoop(t.colorMask);
    setNoop(t.compileShader);
    setNoop(t.compressedTexImage2D);
    setNoop(t.compressedTexSubImage2D);
    setNoop(t.copyTexImage2D);
    setNoop(t.copyTexSubImage2D);
    setNoop(t.createProgram);
    setNoop(t.createShader);
    setNoop(t.cullFace);
    setNoop(t.deleteBuffers);
    setNoop(t.deleteFramebuffers);
    setNoop(t.deleteProgram);
    setNoop(t.deleteRenderbuffers);
    setNoop(t.deleteShader);
    setNoop(t.deleteTextures);
    setNoop(t.depthFunc);
    setNoop(t.depthMask);
    setNoop(t.depthRangef);
    setNoop(t.detachShader);
    setNoop(t.disable);
    setNoop(t.disableVertexAttribArray);
    setNoop(t.drawArrays);
    setNoop(t.drawElements);
    setNoop(t.enable);
    setNoop(t.enableVertexAttribArray);
    setNoop(t.finish);
    setNoop(t.flush);
    setNoop(t.framebufferRenderbuffer);
    setNoop(t.framebufferTexture2D);
    setNoop(t.frontFace);
    setNoop(t.generateMipmap);
    // Object names: 0 each.
    auto zeroNames = [](GLsizei n, GLuint* names) {
        for (GLsizei i = 0; i < n; ++i) names[i] = 0;
    };
    t.genBuffers = zeroNames;
    t.genFramebuffers = zeroNames;
    t.genRenderbuffers = zeroNames;
    t.genTextures = zeroNames;
    auto noActive = [](GLuint, GLuint, GLsizei bufSize, GLsizei* length, GLint* size, GLenum* type, GLchar* name) {
        emptyText(bufSize, length, name);
        *size = 0;
        *type = 0;
    };
    t.getActiveAttrib = noActive;
    t.getActiveUniform = noActive;
    t.getAttachedShaders = [](GLuint, GLsizei, GLsizei* count, GLuint*) {
        if (count) *count = 0;
    };
    setNoop(t.getAttribLocation);
    setNoop(t.getError);
    t.getIntegerv = [](GLenum, GLint* data) { *data = 0; };
    t.getProgramInfoLog = [](GLuint, GLsizei bufSize, GLsizei* length, GLchar* log) { emptyText(bufSize, length, log); };
    t.getProgramiv = [](GLuint, GLenum, GLint* params) { *params = 0; };
    t.getShaderInfoLog = [](GLuint, GLsizei bufSize, GLsizei* length, GLchar* log) { emptyText(bufSize, length, log); };
    t.getShaderiv = [](GLuint, GLenum, GLint* params) { *params = 0; };
    t.getShaderSource = [](GLuint, GLsizei bufSize, GLsizei* length, GLchar* source) {
        emptyText(bufSize, length, source);
    };
    setNoop(t.getString);
    t.getTexParameterfv = [](GLenum, GLenum, GLfloat* params) { *params = 0; };
    setNoop(t.getUniformfv);
    setNoop(t.getUniformiv);
    t.getUniformLocation = [](GLuint, const GLchar*) -> GLint { return -1; };
    setNoop(t.hint);
    setNoop(t.isBuffer);
    setNoop(t.isEnabled);
    setNoop(t.isFramebuffer);
    setNoop(t.isProgram);
    setNoop(t.isRenderbuffer);
    setNoop(t.isShader);
    setNoop(t.isTexture);
    setNoop(t.lineWidth);
    setNoop(t.linkProgram);
    setNoop(t.pixelStorei);
    setNoop(t.polygonOffset);
    setNoop(t.readPixels);
    setNoop(t.releaseShaderCompiler);
    setNoop(t.renderbufferStorage);
    setNoop(t.sampleCoverage);
    setNoop(t.scissor);
    setNoop(t.shaderSource);
    setNoop(t.stencilFunc);
    setNoop(t.stencilFuncSeparate);
    setNoop(t.stencilMask);
    setNoop(t.stencilMaskSeparate);
    setNoop(t.stencilOp);
    setNoop(t.stencilOpSeparate);
    setNoop(t.texImage2D);
    setNoop(t.texParameterf);
    setNoop(t.texParameteri);
    setNoop(t.texSubImage2D);
    setNoop(t.uniform1f);
    setNoop(t.uniform1fv);
    setNoop(t.uniform1i);
    setNoop(t.uniform1iv);
    setNoop(t.uniform2f);
    setNoop(t.uniform2fv);
    setNoop(t.uniform2i);
    setNoop(t.uniform2iv);
    setNoop(t.uniform3f);
    setNoop(t.uniform3fv);
    setNoop(t.uniform3i);
    setNoop(t.uniform3iv);
    setNoop(t.uniform4f);
    setNoop(t.uniform4fv);
    setNoop(t.uniform4i);
    setNoop(t.uniform4iv);
    setNoop(t.uniformMatrix2fv);
    setNoop(t.uniformMatrix3fv);
    setNoop(t.uniformMatrix4fv);
    setNoop(t.useProgram);
    setNoop(t.validateProgram);
    setNoop(t.vertexAttrib1f);
    setNoop(t.vertexAttrib1fv);
    setNoop(t.vertexAttrib2f);
    setNoop(t.vertexAttrib2fv);
    setNoop(t.vertexAttrib3f);
    setNoop(t.vertexAttrib3fv);
    setNoop(t.vertexAttrib4f);
    setNoop(t.vertexAttrib4fv);
    setNoop(t.vertexAttribPointer);
    setNoop(t.viewport);
    return t;
}

const GLFunctions kNoop = makeNoop();

struct StateCache {
    GLuint texture = 0;
    bool textureKnown = false;
    GLuint vao = 0;
    bool vaoKnown = false;
    GLuint program = 0;
    bool programKnown = false;
    GLenum blendSrc = 0, blendDst = 0;
    bool blendKnown = false;
};

GLFunctions g_table = kNoop;
uint32_t g_generation = 1;
StateCache g_cache;

}  // namespace

namespace GL {

const GLFunctions& fn() { return g_table; }

void setFunctions(const GLFunctions& table) {
    g_table = table;
    ++g_generation;
    g_cache = StateCache{};
}

const GLFunctions& noopFunctions() { return kNoop; }

uint32_t contextGeneration() { return g_generation; }

void bindTexture2D(GLuint textureId) {
    if (g_cache.textureKnown && g_cache.texture == textureId) return;
    g_cache.texture = textureId;
    g_cache.textureKnown = true;
    g_table.activeTexture(GL_TEXTURE0);
    g_table.bindTexture(GL_TEXTURE_2D, textureId);
}

void bindVAO(GLuint vaoId) {
    if (!g_table.bindVertexArray) return;
    if (g_cache.vaoKnown && g_cache.vao == vaoId) return;
    g_cache.vao = vaoId;
    g_cache.vaoKnown = true;
    g_table.bindVertexArray(vaoId);
}

void useProgram(GLuint program) {
    if (g_cache.programKnown && g_cache.program == program) return;
    g_cache.program = program;
    g_cache.programKnown = true;
    g_table.useProgram(program);
}

void blendFunc(GLenum sfactor, GLenum dfactor) {
    if (g_cache.blendKnown && g_cache.blendSrc == sfactor && g_cache.blendDst == dfactor) return;
    g_cache.blendSrc = sfactor;
    g_cache.blendDst = dfactor;
    g_cache.blendKnown = true;
    if (sfactor == GL_ONE && dfactor == GL_ZERO) {
        g_table.disable(GL_BLEND);
    } else {
        g_table.enable(GL_BLEND);
        g_table.blendFunc(sfactor, dfactor);
    }
}

void enableVertexAttribs(uint32_t flags) {
    GLint count = 0;
    g_table.getIntegerv(GL_MAX_VERTEX_ATTRIBS, &count);
    if (count > 32) count = 32;
    for (GLint i = 0; i < count; ++i) {
        const GLuint index = static_cast<GLuint>(i);
        if (flags & (1u << index))
            g_table.enableVertexAttribArray(index);
        else
            g_table.disableVertexAttribArray(index);
    }
}

void invalidateStateCache() { g_cache = StateCache{}; }

}  // namespace GL
}  // namespace engine
