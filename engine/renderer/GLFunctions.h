#pragma once
// The GL entry points the engine draws through, as one table of function
// pointers, and the small GL state cache in front of it.
//
// Three tables exist: the no-op table (installed at start: every call does
// nothing, queries answer 0; the headless client runs on it), the system table
// (the entry points of the system GL library, taken while a GL context is
// current) and the recording table of GLRecorder (tests). Installing a table
// starts a new context generation: GL objects (textures, programs) made under an
// older generation are made again on first use. Main thread only.
#include <GL/gl.h>

#include <cstdint>

namespace engine {

struct GLFunctions {
    // True when calls reach a context that keeps objects (system or recorder):
    // textures upload and programs compile only then.
    bool hasContext = false;
    // True for the system table: a texture drops its decoded pixels once they are
    // uploaded (a later context change then uploads an empty texture).
    bool freesUploadedPixels = false;

    void (*activeTexture)(GLenum texture);
    void (*attachShader)(GLuint program, GLuint shader);
    void (*bindAttribLocation)(GLuint program, GLuint index, const GLchar* name);
    void (*bindBuffer)(GLenum target, GLuint buffer);
    void (*bindTexture)(GLenum target, GLuint texture);
    // Null on a context without vertex array objects (GL 2.1 without the extension).
    void (*bindVertexArray)(GLuint array);
    void (*blendFunc)(GLenum sfactor, GLenum dfactor);
    void (*clear)(GLbitfield mask);
    void (*clearColor)(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
    void (*clearStencil)(GLint s);
    void (*colorMask)(GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha);
    void (*compileShader)(GLuint shader);
    GLuint (*createProgram)();
    GLuint (*createShader)(GLenum type);
    void (*deleteProgram)(GLuint program);
    void (*deleteShader)(GLuint shader);
    void (*deleteTextures)(GLsizei n, const GLuint* textures);
    void (*disable)(GLenum cap);
    void (*disableVertexAttribArray)(GLuint index);
    void (*drawArrays)(GLenum mode, GLint first, GLsizei count);
    void (*drawElements)(GLenum mode, GLsizei count, GLenum type, const void* indices);
    void (*enable)(GLenum cap);
    void (*enableVertexAttribArray)(GLuint index);
    void (*finish)();
    void (*genTextures)(GLsizei n, GLuint* textures);
    GLenum (*getError)();
    void (*getProgramInfoLog)(GLuint program, GLsizei bufSize, GLsizei* length, GLchar* infoLog);
    void (*getProgramiv)(GLuint program, GLenum pname, GLint* params);
    void (*getShaderInfoLog)(GLuint shader, GLsizei bufSize, GLsizei* length, GLchar* infoLog);
    void (*getShaderiv)(GLuint shader, GLenum pname, GLint* params);
    GLint (*getUniformLocation)(GLuint program, const GLchar* name);
    void (*lineWidth)(GLfloat width);
    void (*linkProgram)(GLuint program);
    void (*pixelStorei)(GLenum pname, GLint param);
    void (*readPixels)(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels);
    void (*scissor)(GLint x, GLint y, GLsizei width, GLsizei height);
    void (*stencilFunc)(GLenum func, GLint ref, GLuint mask);
    void (*stencilMask)(GLuint mask);
    void (*stencilOp)(GLenum fail, GLenum zfail, GLenum zpass);
    void (*shaderSource)(GLuint shader, GLsizei count, const GLchar* const* string, const GLint* length);
    void (*texImage2D)(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height,
                       GLint border, GLenum format, GLenum type, const void* pixels);
    void (*texParameteri)(GLenum target, GLenum pname, GLint param);
    void (*texSubImage2D)(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height,
                          GLenum format, GLenum type, const void* pixels);
    void (*uniform1f)(GLint location, GLfloat v0);
    void (*uniform1i)(GLint location, GLint v0);
    void (*uniform4f)(GLint location, GLfloat v0, GLfloat v1, GLfloat v2, GLfloat v3);
    void (*uniformMatrix4fv)(GLint location, GLsizei count, GLboolean transpose, const GLfloat* value);
    void (*useProgram)(GLuint program);
    void (*vertexAttribPointer)(GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride,
                                const void* pointer);
    void (*viewport)(GLint x, GLint y, GLsizei width, GLsizei height);

    // Depth and face culling state (3D drawing).
    void (*clearDepth)(GLdouble depth);
    void (*cullFace)(GLenum mode);
    void (*depthFunc)(GLenum func);
    void (*depthMask)(GLboolean flag);
    void (*frontFace)(GLenum mode);
    // Frame buffer objects; null on a context without them.
    void (*bindFramebuffer)(GLenum target, GLuint framebuffer);
    GLenum (*checkFramebufferStatus)(GLenum target);
    void (*deleteFramebuffers)(GLsizei n, const GLuint* framebuffers);
    void (*framebufferTexture2D)(GLenum target, GLenum attachment, GLenum textarget, GLuint texture, GLint level);
    void (*genFramebuffers)(GLsizei n, GLuint* framebuffers);
};

namespace GL {

// The table in use.
const GLFunctions& fn();
// Installs a table (copied): a new context generation, an empty state cache.
void setFunctions(const GLFunctions& table);
const GLFunctions& noopFunctions();
// Installs the system GL library's entry points when a GL context is current on
// this thread; false (table unchanged) when there is no library, no current
// context or a required entry point is missing.
bool useSystemFunctions();
// Changes at every setFunctions.
uint32_t contextGeneration();

// State cache: each call reaches GL only when the value changes.
void bindTexture2D(GLuint textureId);   // unit 0
// Nothing when the context has no vertex array objects.
void bindVAO(GLuint vaoId);
void useProgram(GLuint program);
// (GL_ONE, GL_ZERO) disables blending; anything else enables it with these factors.
void blendFunc(GLenum sfactor, GLenum dfactor);
// Forgets the cached values (after GL was called around the cache).
void invalidateStateCache();

}  // namespace GL
}  // namespace engine
