#include "bindings/opengl/LuaGLTable.h"

#include <cstdio>
#include <cstring>
#include <type_traits>
#include <utility>

#include "bindings/opengl/LuaGLSupport.h"
#include "engine/renderer/GLFunctions.h"

namespace bindings {
namespace gltable {

void raiseArgumentError(lua_State* L, tolua_Error* err) {
    const char* name = lua_tostring(L, lua_upvalueindex(1));
    char text[96];
    std::snprintf(text, sizeof text, "#ferror in function '%s'.", name ? name : "?");
    tolua_error(L, text, err);
}

void checkArguments(lua_State* L, const char* kinds) {
    tolua_Error err;
    int index = 1;
    for (const char* kind = kinds; *kind; ++kind, ++index) {
        bool ok = false;
        switch (*kind) {
            case 'n': ok = tolua_isnumber(L, index, 0, &err); break;
            case 's': ok = tolua_isstring(L, index, 0, &err); break;
            case 't': ok = tolua_istable(L, index, 0, &err); break;
            case 'T': ok = tolua_istable(L, index, 1, &err); break;
            case 'b': ok = tolua_isboolean(L, index, 0, &err); break;
            default: break;
        }
        if (!ok) raiseArgumentError(L, &err);
    }
    if (!tolua_isnoobj(L, index, &err)) raiseArgumentError(L, &err);
}

void* pushBuffer(lua_State* L, size_t count, size_t size, size_t answered) {
    if (answered > kMaxCallBytes / kAnsweredEntryBytes) return nullptr;
    const size_t budget = kMaxCallBytes - answered * kAnsweredEntryBytes;
    if (count > budget / size) return nullptr;
    const size_t bytes = count * size;
    void* buffer = lua_newuserdata(L, bytes ? bytes : 1);
    std::memset(buffer, 0, bytes ? bytes : 1);
    return buffer;
}

namespace {

// Calls fn(i, value) for the entries 1 .. n of the table at index that hold a
// value. A long range is walked through the table's own entries, so a large n
// over a small table costs what the table holds.
template <class F>
void forEntries(lua_State* L, int index, int64_t n, F&& fn) {
    if (lua_type(L, index) != LUA_TTABLE) return;
    constexpr int64_t kWalkFrom = 1 << 16;
    if (n < kWalkFrom) {
        for (int64_t i = 1; i <= n; ++i) {
            lua_rawgeti(L, index, static_cast<int>(i));
            fn(static_cast<size_t>(i - 1), lua_tonumber(L, -1));
            lua_pop(L, 1);
        }
        return;
    }
    if (index < 0) index = lua_gettop(L) + index + 1;
    lua_pushnil(L);
    while (lua_next(L, index)) {
        if (lua_type(L, -2) == LUA_TNUMBER) {
            const lua_Number key = lua_tonumber(L, -2);
            if (key >= 1 && key <= static_cast<lua_Number>(n) && key == static_cast<lua_Number>(static_cast<int64_t>(key)))
                fn(static_cast<size_t>(key) - 1, lua_tonumber(L, -1));
        }
        lua_pop(L, 1);
    }
}

}  // namespace

void readFloats(lua_State* L, int index, int64_t n, GLfloat* out) {
    forEntries(L, index, n, [out](size_t i, double v) { out[i] = static_cast<GLfloat>(v); });
}

void readInts(lua_State* L, int index, int64_t n, GLint* out) {
    forEntries(L, index, n, [out](size_t i, double v) { out[i] = luaconv::wrapToInt32(v); });
}

void readBytes(lua_State* L, int index, int64_t n, unsigned char* out) {
    forEntries(L, index, n, [out](size_t i, double v) { out[i] = static_cast<unsigned char>(luaconv::wrapToUInt32(v)); });
}

namespace {

// ---- Regular members: one GL entry point, arguments by the kinds of its parameters.

template <class T>
struct Arg;
template <>
struct Arg<GLfloat> {
    static constexpr int luaType = LUA_TNUMBER;
    static constexpr char kind = 'n';
    static GLfloat read(lua_State* L, int i) { return floatAt(L, i); }
};
template <>
struct Arg<GLboolean> {
    static constexpr int luaType = LUA_TNUMBER;
    static constexpr char kind = 'n';
    static GLboolean read(lua_State* L, int i) { return flagAt(L, i); }
};
template <>
struct Arg<GLint> {
    static constexpr int luaType = LUA_TNUMBER;
    static constexpr char kind = 'n';
    static GLint read(lua_State* L, int i) { return wholeInt(L, i); }
};
template <>
struct Arg<GLuint> {
    static constexpr int luaType = LUA_TNUMBER;
    static constexpr char kind = 'n';
    static GLuint read(lua_State* L, int i) { return wholeUInt(L, i); }
};
template <>
struct Arg<const GLchar*> {
    static constexpr int luaType = LUA_TSTRING;
    static constexpr char kind = 's';
    static const GLchar* read(lua_State* L, int i) { return textAt(L, i); }
};

inline int pushResult(lua_State* L, GLboolean value) {
    lua_pushboolean(L, value != GL_FALSE);
    return 1;
}
inline int pushResult(lua_State* L, GLuint value) {
    lua_pushnumber(L, value);
    return 1;
}
inline int pushResult(lua_State* L, GLint value) {
    lua_pushnumber(L, value);
    return 1;
}

template <class F>
struct Regular;
template <class R, class... A>
struct Regular<R (*)(A...)> {
    static constexpr size_t arity = sizeof...(A);
    static constexpr char kinds[] = {Arg<A>::kind..., 0};

    template <auto Member, size_t... I>
    static int call(lua_State* L, std::index_sequence<I...>) {
        // Plain values of the expected types pass every check: the full checks
        // (numeric strings, nil strings, the error) only run otherwise.
        const bool plain = lua_gettop(L) == static_cast<int>(arity) && ((lua_type(L, I + 1) == Arg<A>::luaType) && ...);
        if (!plain) checkArguments(L, kinds);
        const auto entry = engine::GL::fn().*Member;
        if constexpr (std::is_void_v<R>) {
            entry(Arg<A>::read(L, static_cast<int>(I) + 1)...);
            return 0;
        } else {
            return pushResult(L, entry(Arg<A>::read(L, static_cast<int>(I) + 1)...));
        }
    }
};

template <auto Member>
int regular(lua_State* L) {
    using Entry = std::remove_cvref_t<decltype(std::declval<engine::GLFunctions&>().*Member)>;
    return Regular<Entry>::template call<Member>(L, std::make_index_sequence<Regular<Entry>::arity>{});
}

struct Member {
    const char* name;
    lua_CFunction function;
    const char* errorName;
};

using F = engine::GLFunctions;

// In registration order.
const Member kMembers[] = {
    {"getSupportedExtensions", &getSupportedExtensions, "glGetSupportedExtensions"},
    {"activeTexture", &regular<&F::activeTexture>, "glActiveTexture"},
    {"_attachShader", &regular<&F::attachShader>, "glAttachShader"},
    {"_bindAttribLocation", &regular<&F::bindAttribLocation>, "glBindAttribLocation"},
    {"_bindBuffer", &regular<&F::bindBuffer>, "glBindBuffer"},
    {"_bindFramebuffer", &regular<&F::bindFramebuffer>, "glBindFramebuffer"},
    {"_bindRenderbuffer", &regular<&F::bindRenderbuffer>, "glBindRenderbuffer"},
    {"_bindTexture", &regular<&F::bindTexture>, "glBindTexture"},
    {"blendColor", &regular<&F::blendColor>, "glBlendColor"},
    {"blendEquation", &regular<&F::blendEquation>, "glBlendEquation"},
    {"blendEquationSeparate", &regular<&F::blendEquationSeparate>, "glBlendEquationSeparate"},
    {"blendFunc", &regular<&F::blendFunc>, "glBlendFunc"},
    {"blendFuncSeparate", &regular<&F::blendFuncSeparate>, "glBlendFuncSeparate"},
    {"bufferData", &bufferData, "glBufferData"},
    {"bufferSubData", &bufferSubData, "glBufferSubData"},
    {"checkFramebufferStatus", &regular<&F::checkFramebufferStatus>, "glCheckFramebufferStatus"},
    {"clear", &regular<&F::clear>, "glClear"},
    {"clearColor", &regular<&F::clearColor>, "glClearColor"},
    {"clearDepthf", &regular<&F::clearDepthf>, "glClearDepthf"},
    {"clearStencil", &regular<&F::clearStencil>, "glClearStencil"},
    {"colorMask", &regular<&F::colorMask>, "glColorMask"},
    {"_compileShader", &regular<&F::compileShader>, "glCompileShader"},
    {"compressedTexImage2D", &compressedTexImage2D, "glCompressedTexImage2D"},
    {"compressedTexSubImage2D", &compressedTexSubImage2D, "glCompressedTexSubImage2D"},
    {"copyTexImage2D", &regular<&F::copyTexImage2D>, "glCopyTexImage2D"},
    {"copyTexSubImage2D", &regular<&F::copyTexSubImage2D>, "glCopyTexSubImage2D"},
    {"_createProgram", &regular<&F::createProgram>, "glCreateProgram"},
    {"_createShader", &regular<&F::createShader>, "glCreateShader"},
    {"cullFace", &regular<&F::cullFace>, "glCullFace"},
    {"_deleteBuffer", &deleteBuffer, "glDeleteBuffers"},
    {"_deleteFramebuffer", &deleteFramebuffer, "glDeleteFramebuffers"},
    {"_deleteProgram", &regular<&F::deleteProgram>, "glDeleteProgram"},
    {"_deleteRenderbuffer", &deleteRenderbuffer, "glDeleteRenderbuffers"},
    {"_deleteShader", &regular<&F::deleteShader>, "glDeleteShader"},
    {"_deleteTexture", &deleteTexture, "glDeleteTextures"},
    {"depthFunc", &regular<&F::depthFunc>, "glDepthFunc"},
    {"depthMask", &regular<&F::depthMask>, "glDepthMask"},
    {"depthRangef", &regular<&F::depthRangef>, "glDepthRangef"},
    {"detachShader", &regular<&F::detachShader>, "glDetachShader"},
    {"disable", &regular<&F::disable>, "glDisable"},
    {"disableVertexAttribArray", &regular<&F::disableVertexAttribArray>, "glDisableVertexAttribArray"},
    {"drawArrays", &regular<&F::drawArrays>, "glDrawArrays"},
    {"drawElements", &drawElements, "glDrawElements"},
    {"enable", &regular<&F::enable>, "glEnable"},
    {"enableVertexAttribArray", &regular<&F::enableVertexAttribArray>, "glEnableVertexAttribArray"},
    {"finish", &regular<&F::finish>, "glFinish"},
    {"flush", &regular<&F::flush>, "glFlush"},
    {"framebufferRenderbuffer", &regular<&F::framebufferRenderbuffer>, "glFramebufferRenderbuffer"},
    {"framebufferTexture2D", &regular<&F::framebufferTexture2D>, "glFramebufferTexture2D"},
    {"frontFace", &regular<&F::frontFace>, "glFrontFace"},
    {"_createBuffer", &createBuffer, "glGenBuffers"},
    {"_createFramebuffer", &createFramebuffer, "glGenFramebuffers"},
    {"_createRenderbuffer", &createRenderbuffer, "glGenRenderbuffers"},
    {"_createTexture", &createTexture, "glGenTextures"},
    {"generateMipmap", &regular<&F::generateMipmap>, "glGenerateMipmap"},
    {"_getActiveAttrib", &getActiveAttrib, "glGetActiveAttrib"},
    {"_getActiveUniform", &getActiveUniform, "glGetActiveUniform"},
    {"_getAttachedShaders", &getAttachedShaders, "glGetAttachedShaders"},
    {"_getAttribLocation", &regular<&F::getAttribLocation>, "glGetAttribLocation"},
    {"getError", &regular<&F::getError>, "glGetError"},
    {"_getProgramInfoLog", &getProgramInfoLog, "glGetProgramInfoLog"},
    {"_getProgramParameter", &getProgramParameter, "glGetProgramiv"},
    {"_getShaderInfoLog", &getShaderInfoLog, "glGetShaderInfoLog"},
    {"_getShaderSource", &getShaderSource, "glGetShaderSource"},
    {"_getShaderParameter", &getShaderParameter, "glGetShaderiv"},
    {"getTexParameter", &getTexParameter, "glGetTexParameterfv"},
    {"_getUniformLocation", &regular<&F::getUniformLocation>, "glGetUniformLocation"},
    {"_getUniform", &getUniform, "glGetUniformfv"},
    {"hint", &regular<&F::hint>, "glHint"},
    {"isBuffer", &regular<&F::isBuffer>, "glIsBuffer"},
    {"isEnabled", &regular<&F::isEnabled>, "glIsEnabled"},
    {"isFramebuffer", &regular<&F::isFramebuffer>, "glIsFramebuffer"},
    {"isProgram", &regular<&F::isProgram>, "glIsProgram"},
    {"isRenderbuffer", &regular<&F::isRenderbuffer>, "glIsRenderbuffer"},
    {"isShader", &regular<&F::isShader>, "glIsShader"},
    {"isTexture", &regular<&F::isTexture>, "glIsTexture"},
    {"lineWidth", &regular<&F::lineWidth>, "glLineWidth"},
    {"_linkProgram", &regular<&F::linkProgram>, "glLinkProgram"},
    {"pixelStorei", &regular<&F::pixelStorei>, "glPixelStorei"},
    {"polygonOffset", &regular<&F::polygonOffset>, "glPolygonOffset"},
    {"readPixels", &readPixels, "glReadPixels"},
    {"releaseShaderCompiler", &regular<&F::releaseShaderCompiler>, "glReleaseShaderCompiler"},
    {"renderbufferStorage", &regular<&F::renderbufferStorage>, "glRenderbufferStorage"},
    {"sampleCoverage", &regular<&F::sampleCoverage>, "glSampleCoverage"},
    {"scissor", &regular<&F::scissor>, "glScissor"},
    {"_shaderSource", &shaderSource, "glShaderSource"},
    {"stencilFunc", &regular<&F::stencilFunc>, "glStencilFunc"},
    {"stencilFuncSeparate", &regular<&F::stencilFuncSeparate>, "glStencilFuncSeparate"},
    {"stencilMask", &regular<&F::stencilMask>, "glStencilMask"},
    {"stencilMaskSeparate", &regular<&F::stencilMaskSeparate>, "glStencilMaskSeparate"},
    {"stencilOp", &regular<&F::stencilOp>, "glStencilOp"},
    {"stencilOpSeparate", &regular<&F::stencilOpSeparate>, "glStencilOpSeparate"},
    {"_texImage2D", &texImage2D, "glTexImage2D"},
    {"texParameterf", &regular<&F::texParameterf>, "glTexParameterf"},
    {"texParameteri", &regular<&F::texParameteri>, "glTexParameteri"},
    {"_texSubImage2D", &texSubImage2D, "glTexSubImage2D"},
    {"uniform1f", &regular<&F::uniform1f>, "glUniform1f"},
    {"uniform1fv", &uniform1fv, "glUniform1fv"},
    {"uniform1i", &regular<&F::uniform1i>, "glUniform1i"},
    {"uniform1iv", &uniform1iv, "glUniform1iv"},
    {"uniform2f", &regular<&F::uniform2f>, "glUniform2f"},
    {"uniform2fv", &uniform2fv, "glUniform2fv"},
    {"uniform2i", &regular<&F::uniform2i>, "glUniform2i"},
    {"uniform2iv", &uniform2iv, "glUniform2iv"},
    {"uniform3f", &regular<&F::uniform3f>, "glUniform3f"},
    {"uniform3fv", &uniform3fv, "glUniform3fv"},
    {"uniform3i", &regular<&F::uniform3i>, "glUniform3i"},
    {"uniform3iv", &uniform3iv, "glUniform3iv"},
    {"uniform4f", &regular<&F::uniform4f>, "glUniform4f"},
    {"uniform4fv", &uniform4fv, "glUniform4fv"},
    {"uniform4i", &regular<&F::uniform4i>, "glUniform4i"},
    {"uniform4iv", &uniform4iv, "glUniform4iv"},
    {"uniformMatrix2fv", &uniformMatrix2fv, "glUniformMatrix2fv"},
    {"uniformMatrix3fv", &uniformMatrix3fv, "glUniformMatrix3fv"},
    {"uniformMatrix4fv", &uniformMatrix4fv, "glUniformMatrix4fv"},
    {"_useProgram", &regular<&F::useProgram>, "glUseProgram"},
    {"_validateProgram", &regular<&F::validateProgram>, "glValidateProgram"},
    {"vertexAttrib1f", &regular<&F::vertexAttrib1f>, "glVertexAttrib1f"},
    {"vertexAttrib1fv", &vertexAttrib1fv, "glVertexAttrib1fv"},
    {"vertexAttrib2f", &regular<&F::vertexAttrib2f>, "glVertexAttrib2f"},
    {"vertexAttrib2fv", &vertexAttrib2fv, "glVertexAttrib2fv"},
    {"vertexAttrib3f", &regular<&F::vertexAttrib3f>, "glVertexAttrib3f"},
    {"vertexAttrib3fv", &vertexAttrib3fv, "glVertexAttrib3fv"},
    {"vertexAttrib4f", &regular<&F::vertexAttrib4f>, "glVertexAttrib4f"},
    {"vertexAttrib4fv", &vertexAttrib4fv, "glVertexAttrib4fv"},
    {"vertexAttribPointer", &vertexAttribPointer, "glVertexAttribPointer"},
    {"viewport", &regular<&F::viewport>, "glViewport"},
    {"glEnableVertexAttribs", &enableVertexAttribs, "glEnableVertexAttribs"},
};

static_assert(sizeof kMembers / sizeof kMembers[0] == 128);

}  // namespace
}  // namespace gltable

void register_gl_table(lua_State* L) {
    for (const gltable::Member& member : gltable::kMembers) {
        lua_pushstring(L, member.name);
        lua_pushstring(L, member.errorName);
        lua_pushcclosure(L, member.function, 1);
        lua_rawset(L, -3);
    }
}

void register_gl_module(lua_State* L) {
    tolua_module(L, "gl", 0);
    tolua_beginmodule(L, "gl");
    register_gl_table(L);
    tolua_endmodule(L);
}

}  // namespace bindings
