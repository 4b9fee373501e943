#pragma once
// The GL entry points the engine and the script table `gl` draw through, as one
// table of function pointers, and the small GL state cache in front of it.
//
// Three tables exist: the no-op table (installed at start: every call does
// nothing, queries answer 0 and strings are null; the headless client runs on
// it), the system table (the GL 2.0 entry points through GLEW and the GL 1.1 ones
// of the system GL library, taken while a GL context is current) and the
// recording table of GLRecorder (tests). Installing a table starts a new context
// generation: GL objects (textures, programs) made under an older generation are
// made again on first use. Every entry of an installed table is callable (never
// null) except bindVertexArray. Main thread only.
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
    void (*bindFramebuffer)(GLenum target, GLuint framebuffer);
    void (*bindRenderbuffer)(GLenum target, GLuint renderbuffer);
    void (*bindTexture)(GLenum target, GLuint texture);
    // Null on a context without vertex array objects (GL 2.1 without the extension).
    void (*bindVertexArray)(GLuint array);
    void (*blendColor)(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
    void (*blendEquation)(GLenum mode);
    void (*blendEquationSeparate)(GLenum modeRGB, GLenum modeAlpha);
    void (*blendFunc)(GLenum sfactor, GLenum dfactor);
    void (*blendFuncSeparate)(GLenum srcRGB, GLenum dstRGB, GLenum srcAlpha, GLenum dstAlpha);
    void (*bufferData)(GLenum target, GLsizeiptr size, const void* data, GLenum usage);
    void (*bufferSubData)(GLenum target, GLintptr offset, GLsizeiptr size, const void* data);
    GLenum (*checkFramebufferStatus)(GLenum target);
    void (*clear)(GLbitfield mask);
    void (*clearColor)(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
    void (*clearDepth)(GLdouble depth);
    // glClearDepth where the context lacks the float form.
    void (*clearDepthf)(GLfloat depth);
    void (*clearStencil)(GLint s);
    void (*colorMask)(GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha);
    void (*compileShader)(GLuint shader);
    void (*compressedTexImage2D)(GLenum target, GLint level, GLenum internalformat, GLsizei width, GLsizei height,
                                 GLint border, GLsizei imageSize, const void* data);
    void (*compressedTexSubImage2D)(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width,
                                    GLsizei height, GLenum format, GLsizei imageSize, const void* data);
    void (*copyTexImage2D)(GLenum target, GLint level, GLenum internalformat, GLint x, GLint y, GLsizei width,
                           GLsizei height, GLint border);
    void (*copyTexSubImage2D)(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y,
                              GLsizei width, GLsizei height);
    GLuint (*createProgram)();
    GLuint (*createShader)(GLenum type);
    void (*cullFace)(GLenum mode);
    void (*deleteBuffers)(GLsizei n, const GLuint* buffers);
    void (*deleteFramebuffers)(GLsizei n, const GLuint* framebuffers);
    void (*deleteProgram)(GLuint program);
    void (*deleteRenderbuffers)(GLsizei n, const GLuint* renderbuffers);
    void (*deleteShader)(GLuint shader);
    void (*deleteTextures)(GLsizei n, const GLuint* textures);
    void (*depthFunc)(GLenum func);
    void (*depthMask)(GLboolean flag);
    // glDepthRange where the context lacks the float form.
    void (*depthRangef)(GLfloat n, GLfloat f);
    void (*detachShader)(GLuint program, GLuint shader);
    void (*disable)(GLenum cap);
    void (*disableVertexAttribArray)(GLuint index);
    void (*drawArrays)(GLenum mode, GLint first, GLsizei count);
    void (*drawElements)(GLenum mode, GLsizei count, GLenum type, const void* indices);
    void (*enable)(GLenum cap);
    void (*enableVertexAttribArray)(GLuint index);
    void (*finish)();
    void (*flush)();
    void (*framebufferRenderbuffer)(GLenum target, GLenum attachment, GLenum renderbuffertarget, GLuint renderbuffer);
    void (*framebufferTexture2D)(GLenum target, GLenum attachment, GLenum textarget, GLuint texture, GLint level);
    void (*frontFace)(GLenum mode);
    void (*genBuffers)(GLsizei n, GLuint* buffers);
    void (*generateMipmap)(GLenum target);
    void (*genFramebuffers)(GLsizei n, GLuint* framebuffers);
    void (*genRenderbuffers)(GLsizei n, GLuint* renderbuffers);
    void (*genTextures)(GLsizei n, GLuint* textures);
    void (*getActiveAttrib)(GLuint program, GLuint index, GLsizei bufSize, GLsizei* length, GLint* size, GLenum* type,
                            GLchar* name);
    void (*getActiveUniform)(GLuint program, GLuint index, GLsizei bufSize, GLsizei* length, GLint* size, GLenum* type,
                             GLchar* name);
    void (*getAttachedShaders)(GLuint program, GLsizei maxCount, GLsizei* count, GLuint* shaders);
    GLint (*getAttribLocation)(GLuint program, const GLchar* name);
    GLenum (*getError)();
    void (*getIntegerv)(GLenum pname, GLint* data);
    void (*getProgramInfoLog)(GLuint program, GLsizei bufSize, GLsizei* length, GLchar* infoLog);
    void (*getProgramiv)(GLuint program, GLenum pname, GLint* params);
    void (*getShaderInfoLog)(GLuint shader, GLsizei bufSize, GLsizei* length, GLchar* infoLog);
    void (*getShaderiv)(GLuint shader, GLenum pname, GLint* params);
    void (*getShaderSource)(GLuint shader, GLsizei bufSize, GLsizei* length, GLchar* source);
    const GLubyte* (*getString)(GLenum name);
    void (*getTexParameterfv)(GLenum target, GLenum pname, GLfloat* params);
    void (*getUniformfv)(GLuint program, GLint location, GLfloat* params);
    void (*getUniformiv)(GLuint program, GLint location, GLint* params);
    GLint (*getUniformLocation)(GLuint program, const GLchar* name);
    void (*hint)(GLenum target, GLenum mode);
    GLboolean (*isBuffer)(GLuint buffer);
    GLboolean (*isEnabled)(GLenum cap);
    GLboolean (*isFramebuffer)(GLuint framebuffer);
    GLboolean (*isProgram)(GLuint program);
    GLboolean (*isRenderbuffer)(GLuint renderbuffer);
    GLboolean (*isShader)(GLuint shader);
    GLboolean (*isTexture)(GLuint texture);
    void (*lineWidth)(GLfloat width);
    void (*linkProgram)(GLuint program);
    void (*pixelStorei)(GLenum pname, GLint param);
    void (*polygonOffset)(GLfloat factor, GLfloat units);
    void (*readPixels)(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels);
    // Does nothing where the context lacks it (a hint only).
    void (*releaseShaderCompiler)();
    void (*renderbufferStorage)(GLenum target, GLenum internalformat, GLsizei width, GLsizei height);
    void (*sampleCoverage)(GLfloat value, GLboolean invert);
    void (*scissor)(GLint x, GLint y, GLsizei width, GLsizei height);
    void (*shaderSource)(GLuint shader, GLsizei count, const GLchar* const* string, const GLint* length);
    void (*stencilFunc)(GLenum func, GLint ref, GLuint mask);
    void (*stencilFuncSeparate)(GLenum face, GLenum func, GLint ref, GLuint mask);
    void (*stencilMask)(GLuint mask);
    void (*stencilMaskSeparate)(GLenum face, GLuint mask);
    void (*stencilOp)(GLenum fail, GLenum zfail, GLenum zpass);
    void (*stencilOpSeparate)(GLenum face, GLenum sfail, GLenum dpfail, GLenum dppass);
    void (*texImage2D)(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height,
                       GLint border, GLenum format, GLenum type, const void* pixels);
    void (*texParameterf)(GLenum target, GLenum pname, GLfloat param);
    void (*texParameteri)(GLenum target, GLenum pname, GLint param);
    void (*texSubImage2D)(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height,
                          GLenum format, GLenum type, const void* pixels);
    void (*uniform1f)(GLint location, GLfloat v0);
    void (*uniform1fv)(GLint location, GLsizei count, const GLfloat* value);
    void (*uniform1i)(GLint location, GLint v0);
    void (*uniform1iv)(GLint location, GLsizei count, const GLint* value);
    void (*uniform2f)(GLint location, GLfloat v0, GLfloat v1);
    void (*uniform2fv)(GLint location, GLsizei count, const GLfloat* value);
    void (*uniform2i)(GLint location, GLint v0, GLint v1);
    void (*uniform2iv)(GLint location, GLsizei count, const GLint* value);
    void (*uniform3f)(GLint location, GLfloat v0, GLfloat v1, GLfloat v2);
    void (*uniform3fv)(GLint location, GLsizei count, const GLfloat* value);
    void (*uniform3i)(GLint location, GLint v0, GLint v1, GLint v2);
    void (*uniform3iv)(GLint location, GLsizei count, const GLint* value);
    void (*uniform4f)(GLint location, GLfloat v0, GLfloat v1, GLfloat v2, GLfloat v3);
    void (*uniform4fv)(GLint location, GLsizei count, const GLfloat* value);
    void (*uniform4i)(GLint location, GLint v0, GLint v1, GLint v2, GLint v3);
    void (*uniform4iv)(GLint location, GLsizei count, const GLint* value);
    void (*uniformMatrix2fv)(GLint location, GLsizei count, GLboolean transpose, const GLfloat* value);
    void (*uniformMatrix3fv)(GLint location, GLsizei count, GLboolean transpose, const GLfloat* value);
    void (*uniformMatrix4fv)(GLint location, GLsizei count, GLboolean transpose, const GLfloat* value);
    void (*useProgram)(GLuint program);
    void (*validateProgram)(GLuint program);
    void (*vertexAttrib1f)(GLuint index, GLfloat x);
    void (*vertexAttrib1fv)(GLuint index, const GLfloat* v);
    void (*vertexAttrib2f)(GLuint index, GLfloat x, GLfloat y);
    void (*vertexAttrib2fv)(GLuint index, const GLfloat* v);
    void (*vertexAttrib3f)(GLuint index, GLfloat x, GLfloat y, GLfloat z);
    void (*vertexAttrib3fv)(GLuint index, const GLfloat* v);
    void (*vertexAttrib4f)(GLuint index, GLfloat x, GLfloat y, GLfloat z, GLfloat w);
    void (*vertexAttrib4fv)(GLuint index, const GLfloat* v);
    void (*vertexAttribPointer)(GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride,
                                const void* pointer);
    void (*viewport)(GLint x, GLint y, GLsizei width, GLsizei height);

};

namespace GL {

// The table in use.
const GLFunctions& fn();
// Installs a table (copied): a new context generation, an empty state cache.
void setFunctions(const GLFunctions& table);
const GLFunctions& noopFunctions();
// Installs the system GL entry points when a GL context is current on this
// thread; false (table unchanged) when there is no library, no current context
// or a required entry point is missing.
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
// Bit i of flags stands for vertex attribute i: a set bit enables the
// attribute's array, a clear bit disables it, for every attribute the context
// has (GL_MAX_VERTEX_ATTRIBS, at most 32). Not cached: the renderer enables its
// arrays directly, so a remembered state could be stale and leave an array
// enabled whose pointer is gone.
void enableVertexAttribs(uint32_t flags);
// Forgets the cached values (after GL was called around the cache).
void invalidateStateCache();

}  // namespace GL
}  // namespace engine
