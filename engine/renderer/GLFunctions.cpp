#include "engine/renderer/GLFunctions.h"

#include <dlfcn.h>

#include <string_view>

#include "engine/base/Log.h"

namespace engine {
namespace {

GLFunctions makeNoop() {
    GLFunctions t;
    t.hasContext = false;
    t.activeTexture = [](GLenum) {};
    t.attachShader = [](GLuint, GLuint) {};
    t.bindAttribLocation = [](GLuint, GLuint, const GLchar*) {};
    t.bindBuffer = [](GLenum, GLuint) {};
    t.bindTexture = [](GLenum, GLuint) {};
    t.bindVertexArray = [](GLuint) {};
    t.blendFunc = [](GLenum, GLenum) {};
    t.clear = [](GLbitfield) {};
    t.clearColor = [](GLfloat, GLfloat, GLfloat, GLfloat) {};
    t.clearStencil = [](GLint) {};
    t.colorMask = [](GLboolean, GLboolean, GLboolean, GLboolean) {};
    t.compileShader = [](GLuint) {};
    t.createProgram = []() -> GLuint { return 0; };
    t.createShader = [](GLenum) -> GLuint { return 0; };
    t.deleteProgram = [](GLuint) {};
    t.deleteShader = [](GLuint) {};
    t.deleteTextures = [](GLsizei, const GLuint*) {};
    t.disable = [](GLenum) {};
    t.disableVertexAttribArray = [](GLuint) {};
    t.drawArrays = [](GLenum, GLint, GLsizei) {};
    t.drawElements = [](GLenum, GLsizei, GLenum, const void*) {};
    t.enable = [](GLenum) {};
    t.enableVertexAttribArray = [](GLuint) {};
    t.finish = []() {};
    t.genTextures = [](GLsizei n, GLuint* textures) {
        for (GLsizei i = 0; i < n; ++i) textures[i] = 0;
    };
    t.getError = []() -> GLenum { return 0; };
    t.getProgramInfoLog = [](GLuint, GLsizei bufSize, GLsizei* length, GLchar* log) {
        if (length) *length = 0;
        if (log && bufSize > 0) log[0] = 0;
    };
    t.getProgramiv = [](GLuint, GLenum, GLint* params) { *params = 0; };
    t.getShaderInfoLog = [](GLuint, GLsizei bufSize, GLsizei* length, GLchar* log) {
        if (length) *length = 0;
        if (log && bufSize > 0) log[0] = 0;
    };
    t.getShaderiv = [](GLuint, GLenum, GLint* params) { *params = 0; };
    t.getUniformLocation = [](GLuint, const GLchar*) -> GLint { return -1; };
    t.lineWidth = [](GLfloat) {};
    t.linkProgram = [](GLuint) {};
    t.pixelStorei = [](GLenum, GLint) {};
    t.readPixels = [](GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*) {};
    t.scissor = [](GLint, GLint, GLsizei, GLsizei) {};
    t.stencilFunc = [](GLenum, GLint, GLuint) {};
    t.stencilMask = [](GLuint) {};
    t.stencilOp = [](GLenum, GLenum, GLenum) {};
    t.shaderSource = [](GLuint, GLsizei, const GLchar* const*, const GLint*) {};
    t.texImage2D = [](GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*) {};
    t.texParameteri = [](GLenum, GLenum, GLint) {};
    t.texSubImage2D = [](GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*) {};
    t.uniform1f = [](GLint, GLfloat) {};
    t.uniform1i = [](GLint, GLint) {};
    t.uniform4f = [](GLint, GLfloat, GLfloat, GLfloat, GLfloat) {};
    t.uniformMatrix4fv = [](GLint, GLsizei, GLboolean, const GLfloat*) {};
    t.useProgram = [](GLuint) {};
    t.vertexAttribPointer = [](GLuint, GLint, GLenum, GLboolean, GLsizei, const void*) {};
    t.viewport = [](GLint, GLint, GLsizei, GLsizei) {};
    t.clearDepth = [](GLdouble) {};
    t.cullFace = [](GLenum) {};
    t.depthFunc = [](GLenum) {};
    t.depthMask = [](GLboolean) {};
    t.frontFace = [](GLenum) {};
    t.bindFramebuffer = nullptr;
    t.checkFramebufferStatus = nullptr;
    t.deleteFramebuffers = nullptr;
    t.framebufferTexture2D = nullptr;
    t.genFramebuffers = nullptr;
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

template <typename F>
bool bindEntry(F*& slot, void* (*getProc)(const GLubyte*), const char* name) {
    slot = reinterpret_cast<F*>(getProc(reinterpret_cast<const GLubyte*>(name)));
    return slot != nullptr;
}

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

bool useSystemFunctions() {
    // The library stays loaded for the life of the process (the context needs it anyway).
    static void* library = dlopen("libGL.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
    using GetCurrentContext = void* (*)();
    auto getCurrentContext = reinterpret_cast<GetCurrentContext>(dlsym(library, "glXGetCurrentContext"));
    auto getProc = reinterpret_cast<void* (*)(const GLubyte*)>(dlsym(library, "glXGetProcAddressARB"));
    if (!getCurrentContext || !getProc || !getCurrentContext()) return false;

    GLFunctions t;
    t.hasContext = true;
    t.freesUploadedPixels = true;
    bool ok = true;
#define VEXO_GL_ENTRY(member, name) ok = bindEntry(t.member, getProc, name) && ok
    VEXO_GL_ENTRY(activeTexture, "glActiveTexture");
    VEXO_GL_ENTRY(attachShader, "glAttachShader");
    VEXO_GL_ENTRY(bindAttribLocation, "glBindAttribLocation");
    VEXO_GL_ENTRY(bindBuffer, "glBindBuffer");
    VEXO_GL_ENTRY(bindTexture, "glBindTexture");
    VEXO_GL_ENTRY(blendFunc, "glBlendFunc");
    VEXO_GL_ENTRY(clear, "glClear");
    VEXO_GL_ENTRY(clearColor, "glClearColor");
    VEXO_GL_ENTRY(clearStencil, "glClearStencil");
    VEXO_GL_ENTRY(colorMask, "glColorMask");
    VEXO_GL_ENTRY(compileShader, "glCompileShader");
    VEXO_GL_ENTRY(createProgram, "glCreateProgram");
    VEXO_GL_ENTRY(createShader, "glCreateShader");
    VEXO_GL_ENTRY(deleteProgram, "glDeleteProgram");
    VEXO_GL_ENTRY(deleteShader, "glDeleteShader");
    VEXO_GL_ENTRY(deleteTextures, "glDeleteTextures");
    VEXO_GL_ENTRY(disable, "glDisable");
    VEXO_GL_ENTRY(disableVertexAttribArray, "glDisableVertexAttribArray");
    VEXO_GL_ENTRY(drawArrays, "glDrawArrays");
    VEXO_GL_ENTRY(drawElements, "glDrawElements");
    VEXO_GL_ENTRY(enable, "glEnable");
    VEXO_GL_ENTRY(enableVertexAttribArray, "glEnableVertexAttribArray");
    VEXO_GL_ENTRY(finish, "glFinish");
    VEXO_GL_ENTRY(genTextures, "glGenTextures");
    VEXO_GL_ENTRY(getError, "glGetError");
    VEXO_GL_ENTRY(getProgramInfoLog, "glGetProgramInfoLog");
    VEXO_GL_ENTRY(getProgramiv, "glGetProgramiv");
    VEXO_GL_ENTRY(getShaderInfoLog, "glGetShaderInfoLog");
    VEXO_GL_ENTRY(getShaderiv, "glGetShaderiv");
    VEXO_GL_ENTRY(getUniformLocation, "glGetUniformLocation");
    VEXO_GL_ENTRY(lineWidth, "glLineWidth");
    VEXO_GL_ENTRY(linkProgram, "glLinkProgram");
    VEXO_GL_ENTRY(pixelStorei, "glPixelStorei");
    VEXO_GL_ENTRY(readPixels, "glReadPixels");
    VEXO_GL_ENTRY(scissor, "glScissor");
    VEXO_GL_ENTRY(stencilFunc, "glStencilFunc");
    VEXO_GL_ENTRY(stencilMask, "glStencilMask");
    VEXO_GL_ENTRY(stencilOp, "glStencilOp");
    VEXO_GL_ENTRY(shaderSource, "glShaderSource");
    VEXO_GL_ENTRY(texImage2D, "glTexImage2D");
    VEXO_GL_ENTRY(texParameteri, "glTexParameteri");
    VEXO_GL_ENTRY(texSubImage2D, "glTexSubImage2D");
    VEXO_GL_ENTRY(uniform1f, "glUniform1f");
    VEXO_GL_ENTRY(uniform1i, "glUniform1i");
    VEXO_GL_ENTRY(uniform4f, "glUniform4f");
    VEXO_GL_ENTRY(uniformMatrix4fv, "glUniformMatrix4fv");
    VEXO_GL_ENTRY(useProgram, "glUseProgram");
    VEXO_GL_ENTRY(vertexAttribPointer, "glVertexAttribPointer");
    VEXO_GL_ENTRY(viewport, "glViewport");
    VEXO_GL_ENTRY(clearDepth, "glClearDepth");
    VEXO_GL_ENTRY(cullFace, "glCullFace");
    VEXO_GL_ENTRY(depthFunc, "glDepthFunc");
    VEXO_GL_ENTRY(depthMask, "glDepthMask");
    VEXO_GL_ENTRY(frontFace, "glFrontFace");
#undef VEXO_GL_ENTRY
    if (!ok) {
        log("GL: the system GL library lacks an entry point the engine needs");
        return false;
    }
    // glXGetProcAddress answers for any name; a GL 2.1 context without the
    // extension must not get a vertex-array entry.
    auto getString = reinterpret_cast<const GLubyte* (*)(GLenum)>(getProc(reinterpret_cast<const GLubyte*>("glGetString")));
    const char* extensions = getString ? reinterpret_cast<const char*>(getString(GL_EXTENSIONS)) : nullptr;
    const char* version = getString ? reinterpret_cast<const char*>(getString(GL_VERSION)) : nullptr;
    bool hasVao = (version && version[0] >= '3') ||
                  (extensions && std::string_view(extensions).find("GL_ARB_vertex_array_object") != std::string_view::npos);
    // Frame buffer objects: core from GL 3.0, else the ARB extension (same entry names).
    const bool hasFbo = (version && version[0] >= '3') ||
                        (extensions && std::string_view(extensions).find("GL_ARB_framebuffer_object") != std::string_view::npos);
    if (hasFbo) {
        bool fbo = true;
        fbo = bindEntry(t.bindFramebuffer, getProc, "glBindFramebuffer") && fbo;
        fbo = bindEntry(t.checkFramebufferStatus, getProc, "glCheckFramebufferStatus") && fbo;
        fbo = bindEntry(t.deleteFramebuffers, getProc, "glDeleteFramebuffers") && fbo;
        fbo = bindEntry(t.framebufferTexture2D, getProc, "glFramebufferTexture2D") && fbo;
        fbo = bindEntry(t.genFramebuffers, getProc, "glGenFramebuffers") && fbo;
        if (!fbo) t.bindFramebuffer = nullptr;
    }
    t.bindVertexArray = hasVao ? reinterpret_cast<void (*)(GLuint)>(getProc(reinterpret_cast<const GLubyte*>("glBindVertexArray")))
                               : nullptr;
    setFunctions(t);
    return true;
}

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

void invalidateStateCache() { g_cache = StateCache{}; }

}  // namespace GL
}  // namespace engine
