// The system table: GL 2.0-level entry points through GLEW, the GL 1.1 ones
// straight from the system GL library. GLEW's header must come before any other
// GL header.
#include <GL/glew.h>
#include <GL/glx.h>

#include "engine/base/Log.h"
#include "engine/renderer/GLFunctions.h"

namespace engine {
namespace {

template <class F>
bool take(F*& slot, F* entry) {
    slot = entry;
    return slot != nullptr;
}

template <class F>
bool take(F*& slot, F* entry, F* fallback) {
    slot = entry ? entry : fallback;
    return slot != nullptr;
}

// The desktop forms of the ES-only entry points.
void clearDepthFromDouble(GLfloat depth) { glClearDepth(depth); }
void depthRangeFromDouble(GLfloat n, GLfloat f) { glDepthRange(n, f); }
void releaseNothing() {}

}  // namespace

namespace GL {

bool useSystemFunctions() {
    if (!glXGetCurrentContext()) return false;
    // Core-profile contexts list their extensions another way; let GLEW look up
    // every entry point it knows by name.
    glewExperimental = GL_TRUE;
    const GLenum status = glewInit();
    if (status != GLEW_OK) {
        log("GL: GLEW cannot start: %s", reinterpret_cast<const char*>(glewGetErrorString(status)));
        return false;
    }

    GLFunctions t;
    t.hasContext = true;
    t.freesUploadedPixels = true;
    bool ok = true;
#define VEXO_GL_ENTRY(member, ...) ok = take(t.member, __VA_ARGS__) && ok
    VEXO_GL_ENTRY(activeTexture, glActiveTexture);
    VEXO_GL_ENTRY(attachShader, glAttachShader);
    VEXO_GL_ENTRY(bindAttribLocation, glBindAttribLocation);
    VEXO_GL_ENTRY(bindBuffer, glBindBuffer);
    VEXO_GL_ENTRY(bindFramebuffer, glBindFramebuffer, glBindFramebufferEXT);
    VEXO_GL_ENTRY(bindRenderbuffer, glBindRenderbuffer, glBindRenderbufferEXT);
    VEXO_GL_ENTRY(bindTexture, glBindTexture);
    VEXO_GL_ENTRY(blendColor, glBlendColor);
    VEXO_GL_ENTRY(blendEquation, glBlendEquation);
    VEXO_GL_ENTRY(blendEquationSeparate, glBlendEquationSeparate);
    VEXO_GL_ENTRY(blendFunc, glBlendFunc);
    VEXO_GL_ENTRY(blendFuncSeparate, glBlendFuncSeparate);
    VEXO_GL_ENTRY(bufferData, glBufferData);
    VEXO_GL_ENTRY(bufferSubData, glBufferSubData);
    VEXO_GL_ENTRY(checkFramebufferStatus, glCheckFramebufferStatus, glCheckFramebufferStatusEXT);
    VEXO_GL_ENTRY(clear, glClear);
    VEXO_GL_ENTRY(clearColor, glClearColor);
    VEXO_GL_ENTRY(clearDepth, glClearDepth);
    VEXO_GL_ENTRY(clearDepthf, glClearDepthf, &clearDepthFromDouble);
    VEXO_GL_ENTRY(clearStencil, glClearStencil);
    VEXO_GL_ENTRY(colorMask, glColorMask);
    VEXO_GL_ENTRY(compileShader, glCompileShader);
    VEXO_GL_ENTRY(compressedTexImage2D, glCompressedTexImage2D);
    VEXO_GL_ENTRY(compressedTexSubImage2D, glCompressedTexSubImage2D);
    VEXO_GL_ENTRY(copyTexImage2D, glCopyTexImage2D);
    VEXO_GL_ENTRY(copyTexSubImage2D, glCopyTexSubImage2D);
    VEXO_GL_ENTRY(createProgram, glCreateProgram);
    VEXO_GL_ENTRY(createShader, glCreateShader);
    VEXO_GL_ENTRY(cullFace, glCullFace);
    VEXO_GL_ENTRY(deleteBuffers, glDeleteBuffers);
    VEXO_GL_ENTRY(deleteFramebuffers, glDeleteFramebuffers, glDeleteFramebuffersEXT);
    VEXO_GL_ENTRY(deleteProgram, glDeleteProgram);
    VEXO_GL_ENTRY(deleteRenderbuffers, glDeleteRenderbuffers, glDeleteRenderbuffersEXT);
    VEXO_GL_ENTRY(deleteShader, glDeleteShader);
    VEXO_GL_ENTRY(deleteTextures, glDeleteTextures);
    VEXO_GL_ENTRY(depthFunc, glDepthFunc);
    VEXO_GL_ENTRY(depthMask, glDepthMask);
    VEXO_GL_ENTRY(depthRangef, glDepthRangef, &depthRangeFromDouble);
    VEXO_GL_ENTRY(detachShader, glDetachShader);
    VEXO_GL_ENTRY(disable, glDisable);
    VEXO_GL_ENTRY(disableVertexAttribArray, glDisableVertexAttribArray);
    VEXO_GL_ENTRY(drawArrays, glDrawArrays);
    VEXO_GL_ENTRY(drawElements, glDrawElements);
    VEXO_GL_ENTRY(enable, glEnable);
    VEXO_GL_ENTRY(enableVertexAttribArray, glEnableVertexAttribArray);
    VEXO_GL_ENTRY(finish, glFinish);
    VEXO_GL_ENTRY(flush, glFlush);
    VEXO_GL_ENTRY(framebufferRenderbuffer, glFramebufferRenderbuffer, glFramebufferRenderbufferEXT);
    VEXO_GL_ENTRY(framebufferTexture2D, glFramebufferTexture2D, glFramebufferTexture2DEXT);
    VEXO_GL_ENTRY(frontFace, glFrontFace);
    VEXO_GL_ENTRY(genBuffers, glGenBuffers);
    VEXO_GL_ENTRY(generateMipmap, glGenerateMipmap, glGenerateMipmapEXT);
    VEXO_GL_ENTRY(genFramebuffers, glGenFramebuffers, glGenFramebuffersEXT);
    VEXO_GL_ENTRY(genRenderbuffers, glGenRenderbuffers, glGenRenderbuffersEXT);
    VEXO_GL_ENTRY(genTextures, glGenTextures);
    VEXO_GL_ENTRY(getActiveAttrib, glGetActiveAttrib);
    VEXO_GL_ENTRY(getActiveUniform, glGetActiveUniform);
    VEXO_GL_ENTRY(getAttachedShaders, glGetAttachedShaders);
    VEXO_GL_ENTRY(getAttribLocation, glGetAttribLocation);
    VEXO_GL_ENTRY(getError, glGetError);
    VEXO_GL_ENTRY(getIntegerv, glGetIntegerv);
    VEXO_GL_ENTRY(getProgramInfoLog, glGetProgramInfoLog);
    VEXO_GL_ENTRY(getProgramiv, glGetProgramiv);
    VEXO_GL_ENTRY(getShaderInfoLog, glGetShaderInfoLog);
    VEXO_GL_ENTRY(getShaderiv, glGetShaderiv);
    VEXO_GL_ENTRY(getShaderSource, glGetShaderSource);
    VEXO_GL_ENTRY(getString, glGetString);
    VEXO_GL_ENTRY(getTexParameterfv, glGetTexParameterfv);
    VEXO_GL_ENTRY(getUniformfv, glGetUniformfv);
    VEXO_GL_ENTRY(getUniformiv, glGetUniformiv);
    VEXO_GL_ENTRY(getUniformLocation, glGetUniformLocation);
    VEXO_GL_ENTRY(hint, glHint);
    VEXO_GL_ENTRY(isBuffer, glIsBuffer);
    VEXO_GL_ENTRY(isEnabled, glIsEnabled);
    VEXO_GL_ENTRY(isFramebuffer, glIsFramebuffer, glIsFramebufferEXT);
    VEXO_GL_ENTRY(isProgram, glIsProgram);
    VEXO_GL_ENTRY(isRenderbuffer, glIsRenderbuffer, glIsRenderbufferEXT);
    VEXO_GL_ENTRY(isShader, glIsShader);
    VEXO_GL_ENTRY(isTexture, glIsTexture);
    VEXO_GL_ENTRY(lineWidth, glLineWidth);
    VEXO_GL_ENTRY(linkProgram, glLinkProgram);
    VEXO_GL_ENTRY(pixelStorei, glPixelStorei);
    VEXO_GL_ENTRY(polygonOffset, glPolygonOffset);
    VEXO_GL_ENTRY(readPixels, glReadPixels);
    VEXO_GL_ENTRY(releaseShaderCompiler, glReleaseShaderCompiler, &releaseNothing);
    VEXO_GL_ENTRY(renderbufferStorage, glRenderbufferStorage, glRenderbufferStorageEXT);
    VEXO_GL_ENTRY(sampleCoverage, glSampleCoverage);
    VEXO_GL_ENTRY(scissor, glScissor);
    VEXO_GL_ENTRY(shaderSource, glShaderSource);
    VEXO_GL_ENTRY(stencilFunc, glStencilFunc);
    VEXO_GL_ENTRY(stencilFuncSeparate, glStencilFuncSeparate);
    VEXO_GL_ENTRY(stencilMask, glStencilMask);
    VEXO_GL_ENTRY(stencilMaskSeparate, glStencilMaskSeparate);
    VEXO_GL_ENTRY(stencilOp, glStencilOp);
    VEXO_GL_ENTRY(stencilOpSeparate, glStencilOpSeparate);
    VEXO_GL_ENTRY(texImage2D, glTexImage2D);
    VEXO_GL_ENTRY(texParameterf, glTexParameterf);
    VEXO_GL_ENTRY(texParameteri, glTexParameteri);
    VEXO_GL_ENTRY(texSubImage2D, glTexSubImage2D);
    VEXO_GL_ENTRY(uniform1f, glUniform1f);
    VEXO_GL_ENTRY(uniform1fv, glUniform1fv);
    VEXO_GL_ENTRY(uniform1i, glUniform1i);
    VEXO_GL_ENTRY(uniform1iv, glUniform1iv);
    VEXO_GL_ENTRY(uniform2f, glUniform2f);
    VEXO_GL_ENTRY(uniform2fv, glUniform2fv);
    VEXO_GL_ENTRY(uniform2i, glUniform2i);
    VEXO_GL_ENTRY(uniform2iv, glUniform2iv);
    VEXO_GL_ENTRY(uniform3f, glUniform3f);
    VEXO_GL_ENTRY(uniform3fv, glUniform3fv);
    VEXO_GL_ENTRY(uniform3i, glUniform3i);
    VEXO_GL_ENTRY(uniform3iv, glUniform3iv);
    VEXO_GL_ENTRY(uniform4f, glUniform4f);
    VEXO_GL_ENTRY(uniform4fv, glUniform4fv);
    VEXO_GL_ENTRY(uniform4i, glUniform4i);
    VEXO_GL_ENTRY(uniform4iv, glUniform4iv);
    VEXO_GL_ENTRY(uniformMatrix2fv, glUniformMatrix2fv);
    VEXO_GL_ENTRY(uniformMatrix3fv, glUniformMatrix3fv);
    VEXO_GL_ENTRY(uniformMatrix4fv, glUniformMatrix4fv);
    VEXO_GL_ENTRY(useProgram, glUseProgram);
    VEXO_GL_ENTRY(validateProgram, glValidateProgram);
    VEXO_GL_ENTRY(vertexAttrib1f, glVertexAttrib1f);
    VEXO_GL_ENTRY(vertexAttrib1fv, glVertexAttrib1fv);
    VEXO_GL_ENTRY(vertexAttrib2f, glVertexAttrib2f);
    VEXO_GL_ENTRY(vertexAttrib2fv, glVertexAttrib2fv);
    VEXO_GL_ENTRY(vertexAttrib3f, glVertexAttrib3f);
    VEXO_GL_ENTRY(vertexAttrib3fv, glVertexAttrib3fv);
    VEXO_GL_ENTRY(vertexAttrib4f, glVertexAttrib4f);
    VEXO_GL_ENTRY(vertexAttrib4fv, glVertexAttrib4fv);
    VEXO_GL_ENTRY(vertexAttribPointer, glVertexAttribPointer);
    VEXO_GL_ENTRY(viewport, glViewport);
#undef VEXO_GL_ENTRY
    if (!ok) {
        log("GL: the system GL library lacks an entry point the engine needs");
        return false;
    }
    // A GL 2.1 context without the extension must not get a vertex-array entry.
    t.bindVertexArray = (GLEW_VERSION_3_0 || GLEW_ARB_vertex_array_object) ? glBindVertexArray : nullptr;
    setFunctions(t);
    return true;
}

}  // namespace GL
}  // namespace engine
