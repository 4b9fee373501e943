// The script table `gl` against the GL recorder: for each member the entry
// point reached, the converted arguments, the bytes of the buffers GL reads,
// and what the member answers; then the argument errors.
#include <gtest/gtest.h>
#include <tolua++.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "BindingTestSupport.h"
#include "bindings/opengl/LuaGLTable.h"
#include "engine/renderer/GLRecorder.h"
#include "support/CpuTime.h"
#include "support/HeapPeak.h"

namespace bindingtest {
namespace {

using engine::GLRecordedCall;
using engine::GLRecorder;

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

template <class T>
std::string list(const std::vector<T>& values) {
    std::string out;
    for (const T& v : values) out += (out.empty() ? "" : ",") + number(static_cast<double>(v));
    return out;
}

// "glName arg arg f=.. i=.. b=.. p=.. x=.. "text"" per call, "; " between calls.
std::string trace(const GLRecorder& gl) {
    std::string out;
    for (const GLRecordedCall& call : gl.calls()) {
        std::string line = call.name;
        for (double a : call.args) line += " " + number(a);
        if (!call.floats.empty()) line += " f=" + list(call.floats);
        if (!call.ints.empty()) line += " i=" + list(call.ints);
        if (!call.bytes.empty()) line += " b=" + list(call.bytes);
        if (!call.pixels.empty()) line += " p=" + list(call.pixels);
        if (!call.indices.empty()) line += " x=" + list(call.indices);
        if (!call.text.empty()) line += " \"" + call.text + "\"";
        out += (out.empty() ? "" : "; ") + line;
    }
    return out;
}

struct Case {
    const char* code;       // a chunk ending in return; its results are shown
    const char* calls;      // the recorded calls
    const char* results;
    void (*prepare)(GLRecorder&) = nullptr;
};

class GLTableTest : public BindingStackTest {
protected:
    void SetUp() override {
        BindingStackTest::SetUp();
        // The table as the start-up registers it: module "gl" in the globals.
        if (eval("gl and gl.activeTexture") == "nil") {
            lua_pushvalue(L, LUA_GLOBALSINDEX);
            bindings::register_gl_module(L);
            lua_pop(L, 1);
        }
        ASSERT_EQ(run(R"(
            function show(...)
                local out = {}
                for i = 1, select('#', ...) do
                    local v = select(i, ...)
                    if type(v) == 'table' then
                        local parts = {}
                        for k = 1, #v do parts[k] = tostring(v[k]) end
                        v = '{' .. table.concat(parts, ',') .. '}'
                    end
                    out[#out + 1] = tostring(v)
                end
                return table.concat(out, ' ')
            end
            function firstLine(code)
                local ok, e = pcall(loadstring(code))
                if ok then return 'no error' end
                return (tostring(e):match('^[^\n]*'):gsub('^%[string ".-"%]:%d+: ', ''))
            end)"),
                  "");
    }

    void TearDown() override {
        recorder.reset();
        BindingStackTest::TearDown();
    }

    // Each case on a fresh recorder: its calls and the results shown.
    void runCases(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.code);
            recorder.emplace();
            if (c.prepare) c.prepare(*recorder);
            const std::string results = eval("show((function() " + std::string(c.code) + " end)())");
            EXPECT_EQ(trace(*recorder), c.calls);
            EXPECT_EQ(results, c.results);
        }
    }

    std::optional<GLRecorder> recorder;
};

TEST_F(GLTableTest, RegularMembersReachTheirEntryPointWithConvertedArguments) {
    // Whole numbers are truncated and wrapped to the GL type, flags are their
    // whole value's truth, floats stay fractional, numeric strings count.
    const std::vector<Case> cases = {
        {"return gl.activeTexture(33984.9)", "glActiveTexture 33984", ""},
        {"return gl._attachShader(3, 4)", "glAttachShader 3 4", ""},
        {"return gl._bindAttribLocation(3, 1, 'a_position')", "glBindAttribLocation 3 1 \"a_position\"", ""},
        {"return gl._bindAttribLocation(3, 1, nil)", "glBindAttribLocation 3 1", ""},
        {"return gl._bindAttribLocation(3, 1, 25)", "glBindAttribLocation 3 1 \"25\"", ""},
        {"return gl._bindBuffer(34962, 7)", "glBindBuffer 34962 7", ""},
        {"return gl._bindFramebuffer(36160, 2)", "glBindFramebuffer 36160 2", ""},
        {"return gl._bindRenderbuffer(36161, 2)", "glBindRenderbuffer 36161 2", ""},
        {"return gl._bindTexture(3553, -1)", "glBindTexture 3553 4294967295", ""},
        {"return gl.blendColor(0.25, 0.5, 0.75, 1)", "glBlendColor 0.25 0.5 0.75 1", ""},
        {"return gl.blendEquation(32774)", "glBlendEquation 32774", ""},
        {"return gl.blendEquationSeparate(32774, 32778)", "glBlendEquationSeparate 32774 32778", ""},
        {"return gl.blendFunc(1, 771)", "glBlendFunc 1 771", ""},
        {"return gl.blendFuncSeparate(770, 771, 1, 0)", "glBlendFuncSeparate 770 771 1 0", ""},
        {"return gl.checkFramebufferStatus(36160)", "glCheckFramebufferStatus 36160", "36053"},
        {"return gl.clear(16640)", "glClear 16640", ""},
        {"return gl.clearColor(0.5, 0, 1, 0.25)", "glClearColor 0.5 0 1 0.25", ""},
        {"return gl.clearDepthf(0.5)", "glClearDepthf 0.5", ""},
        {"return gl.clearStencil(-2.9)", "glClearStencil -2", ""},
        {"return gl.colorMask(1, 0, 2, 0.5)", "glColorMask 1 0 1 0", ""},
        {"return gl._compileShader(5)", "glCompileShader 5", ""},
        {"return gl.copyTexImage2D(3553, 0, 6408, 1, 2, 16, 8, 0)", "glCopyTexImage2D 3553 0 6408 1 2 16 8 0", ""},
        {"return gl.copyTexSubImage2D(3553, 0, 1, 2, 3, 4, 16, 8)", "glCopyTexSubImage2D 3553 0 1 2 3 4 16 8", ""},
        {"return gl._createProgram()", "glCreateProgram 1", "1"},
        {"return gl._createShader(35633)", "glCreateShader 35633 1", "1"},
        {"return gl.cullFace(1029)", "glCullFace 1029", ""},
        {"return gl._deleteProgram(3)", "glDeleteProgram 3", ""},
        {"return gl._deleteShader(3)", "glDeleteShader 3", ""},
        {"return gl.depthFunc(515)", "glDepthFunc 515", ""},
        {"return gl.depthMask(0)", "glDepthMask 0", ""},
        {"return gl.depthRangef(0.25, 0.75)", "glDepthRangef 0.25 0.75", ""},
        {"return gl.detachShader(3, 4)", "glDetachShader 3 4", ""},
        {"return gl.disable(3042)", "glDisable 3042", ""},
        {"return gl.disableVertexAttribArray(2)", "glDisableVertexAttribArray 2", ""},
        {"return gl.drawArrays(4, 0, 3)", "glDrawArrays 4 0 3", ""},
        {"return gl.enable(2929)", "glEnable 2929", ""},
        {"return gl.enableVertexAttribArray(1)", "glEnableVertexAttribArray 1", ""},
        {"return gl.finish()", "glFinish", ""},
        {"return gl.flush()", "glFlush", ""},
        {"return gl.framebufferRenderbuffer(36160, 36064, 36161, 5)", "glFramebufferRenderbuffer 36160 36064 36161 5", ""},
        {"return gl.framebufferTexture2D(36160, 36064, 3553, 6, 0)", "glFramebufferTexture2D 36160 36064 3553 6 0", ""},
        {"return gl.frontFace(2305)", "glFrontFace 2305", ""},
        {"return gl.generateMipmap(3553)", "glGenerateMipmap 3553", ""},
        {"return gl._getAttribLocation(3, 'a_color')", "glGetAttribLocation 3 \"a_color\"", "1",
         [](GLRecorder& gl) { gl.activeAttributes = {{1, GL_FLOAT_VEC2, "a_position"}, {1, GL_FLOAT_VEC4, "a_color"}}; }},
        {"return gl._getAttribLocation(3, nil)", "glGetAttribLocation 3", "-1"},
        {"return gl.getError()", "glGetError", "1282", [](GLRecorder& gl) { gl.error = GL_INVALID_OPERATION; }},
        {"return gl._getUniformLocation(3, 'u_color')", "glGetUniformLocation 3 0 \"u_color\"", "0"},
        {"return gl.hint(33170, 4354)", "glHint 33170 4354", ""},
        {"return gl.isBuffer(1), gl.isEnabled(3042)", "glIsBuffer 1; glIsEnabled 3042", "false false"},
        {"return gl.isFramebuffer(1), gl.isProgram(1), gl.isRenderbuffer(1), gl.isShader(1), gl.isTexture(1)",
         "glIsFramebuffer 1; glIsProgram 1; glIsRenderbuffer 1; glIsShader 1; glIsTexture 1",
         "false false false false false"},
        {"return gl.lineWidth(2.5)", "glLineWidth 2.5", ""},
        {"return gl._linkProgram(3)", "glLinkProgram 3", ""},
        {"return gl.pixelStorei(3317, 1)", "glPixelStorei 3317 1", ""},
        {"return gl.polygonOffset(1.5, -2)", "glPolygonOffset 1.5 -2", ""},
        {"return gl.releaseShaderCompiler()", "glReleaseShaderCompiler", ""},
        {"return gl.renderbufferStorage(36161, 33189, 16, 8)", "glRenderbufferStorage 36161 33189 16 8", ""},
        {"return gl.sampleCoverage(0.5, 3)", "glSampleCoverage 0.5 1", ""},
        {"return gl.scissor(1, 2, 3, 4)", "glScissor 1 2 3 4", ""},
        {"return gl.stencilFunc(514, 1, 255)", "glStencilFunc 514 1 255", ""},
        {"return gl.stencilFuncSeparate(1028, 514, 1, -1)", "glStencilFuncSeparate 1028 514 1 4294967295", ""},
        {"return gl.stencilMask(255)", "glStencilMask 255", ""},
        {"return gl.stencilMaskSeparate(1029, 15)", "glStencilMaskSeparate 1029 15", ""},
        {"return gl.stencilOp(7680, 7680, 7681)", "glStencilOp 7680 7680 7681", ""},
        {"return gl.stencilOpSeparate(1028, 7680, 7681, 7682)", "glStencilOpSeparate 1028 7680 7681 7682", ""},
        {"return gl.texParameterf(3553, 10241, 9729.5)", "glTexParameterf 3553 10241 9729.5", ""},
        {"return gl.texParameteri(3553, 10241, 9729.5)", "glTexParameteri 3553 10241 9729", ""},
        {"return gl.uniform1f(2, 0.5)", "glUniform1f 2 0.5", ""},
        {"return gl.uniform1i(2, 3.9)", "glUniform1i 2 3", ""},
        {"return gl.uniform2f(2, 0.5, 1.5)", "glUniform2f 2 0.5 1.5", ""},
        {"return gl.uniform2i(2, -1, 4294967297)", "glUniform2i 2 -1 1", ""},
        {"return gl.uniform3f(2, 0.5, 1.5, 2.5)", "glUniform3f 2 0.5 1.5 2.5", ""},
        {"return gl.uniform3i(2, 1, 2, 3)", "glUniform3i 2 1 2 3", ""},
        {"return gl.uniform4f(2, 0.5, 1.5, 2.5, 3.5)", "glUniform4f 2 0.5 1.5 2.5 3.5", ""},
        {"return gl.uniform4i(2, 1, 2, 3, 4)", "glUniform4i 2 1 2 3 4", ""},
        {"return gl._useProgram(3)", "glUseProgram 3", ""},
        {"return gl._validateProgram(3)", "glValidateProgram 3", ""},
        {"return gl.vertexAttrib1f(1, 0.5)", "glVertexAttrib1f 1 0.5", ""},
        {"return gl.vertexAttrib2f(1, 0.5, 1)", "glVertexAttrib2f 1 0.5 1", ""},
        {"return gl.vertexAttrib3f(1, 0.5, 1, 2)", "glVertexAttrib3f 1 0.5 1 2", ""},
        {"return gl.vertexAttrib4f(1, 0.5, 1, 2, 3)", "glVertexAttrib4f 1 0.5 1 2 3", ""},
        {"return gl.viewport('1', 2, 64, 32)", "glViewport 1 2 64 32", ""},
    };
    runCases(cases);
}

TEST_F(GLTableTest, ObjectMembersMakeDeleteAndQueryIds) {
    const std::vector<Case> cases = {
        {"return gl._createBuffer()", "glGenBuffers 1 1", "1"},
        {"return gl._createTexture()", "glGenTextures 1 1", "1"},
        {"return gl._createFramebuffer(0)", "glGenFramebuffers 1 1", "1"},
        {"return gl._createRenderbuffer(99)", "glGenRenderbuffers 1 1", "1"},
        {"return gl._deleteBuffer(4)", "glDeleteBuffers 1 4", ""},
        {"return gl._deleteFramebuffer(4)", "glDeleteFramebuffers 1 4", ""},
        {"return gl._deleteRenderbuffer(4)", "glDeleteRenderbuffers 1 4", ""},
        {"return gl._deleteTexture(4)", "glDeleteTextures 1 4", ""},
        // The is* members answer Lua booleans for what exists.
        {"local b = gl._createBuffer() return gl.isBuffer(b), gl.isTexture(b)",
         "glGenBuffers 1 1; glIsBuffer 1; glIsTexture 1", "true false"},
        {"local t = gl._createTexture() gl._deleteTexture(t) return gl.isTexture(t)",
         "glGenTextures 1 1; glDeleteTextures 1 1; glIsTexture 1", "false"},
        {"gl.enable(3042) return gl.isEnabled(3042), gl.isEnabled(2929)",
         "glEnable 3042; glIsEnabled 3042; glIsEnabled 2929", "true false"},
        {"local f = gl._createFramebuffer(0) local r = gl._createRenderbuffer(0)"
         " return gl.isFramebuffer(f), gl.isRenderbuffer(r), gl.isFramebuffer(r)",
         "glGenFramebuffers 1 1; glGenRenderbuffers 1 2; glIsFramebuffer 1; glIsRenderbuffer 2; glIsFramebuffer 2",
         "true true false"},
        {"local p = gl._createProgram() local s = gl._createShader(35632) return gl.isProgram(p), gl.isShader(s)",
         "glCreateProgram 1; glCreateShader 35632 2; glIsProgram 1; glIsShader 2", "true true"},
        // _bindBuffer and _bindFramebuffer are two members.
        {"gl._bindBuffer(34962, 1) gl._bindFramebuffer(36160, 1) return gl._bindBuffer ~= gl._bindFramebuffer",
         "glBindBuffer 34962 1; glBindFramebuffer 36160 1", "true"},
    };
    runCases(cases);
}

TEST_F(GLTableTest, QueriesAnswerWhatGLWrites) {
    auto attributes = [](GLRecorder& gl) {
        gl.activeAttributes = {{1, GL_FLOAT_VEC2, "a_position"}, {1, GL_FLOAT_VEC4, "a_color"}};
        gl.activeUniforms = {{1, GL_FLOAT_MAT4, "u_mvp"}, {4, GL_FLOAT_VEC3, "u_lights"}};
    };
    const std::vector<Case> cases = {
        {"return gl._getActiveAttrib(3, 1)", "glGetProgramiv 3 35722; glGetActiveAttrib 3 1 11", "1 35666 a_color",
         attributes},
        {"return gl._getActiveUniform(3, 1)", "glGetProgramiv 3 35719; glGetActiveUniform 3 1 9", "4 35665 u_lights",
         attributes},
        // An index that names nothing: GL writes nothing.
        {"return gl._getActiveAttrib(3, 7)", "glGetProgramiv 3 35722; glGetActiveAttrib 3 7 11", "-1 4294967295 ",
         attributes},
        {"return gl._getActiveUniform(3, 0)", "glGetProgramiv 3 35719; glGetActiveUniform 3 0 1", "-1 4294967295 "},
        {"gl._attachShader(3, 5) gl._attachShader(3, 6) return gl._getAttachedShaders(3)",
         "glAttachShader 3 5; glAttachShader 3 6; glGetProgramiv 3 35717; glGetAttachedShaders 3 2", "{5,6}"},
        {"return gl._getAttachedShaders(3)", "glGetProgramiv 3 35717; glGetAttachedShaders 3 0", "{}"},
        {"return gl._getProgramInfoLog(3)", "glGetProgramiv 3 35716; glGetProgramInfoLog 3 12", "link failed",
         [](GLRecorder& gl) { gl.infoLog = "link failed"; }},
        {"return gl._getShaderInfoLog(5)", "glGetShaderiv 5 35716; glGetShaderInfoLog 5 1", ""},
        {"gl._shaderSource(5, 'void main() {}') return gl._getShaderSource(5)",
         "glShaderSource 5 \"void main() {}\"; glGetShaderiv 5 35720; glGetShaderSource 5 15", "void main() {}"},
        {"return gl._shaderSource(5, nil)", "glShaderSource 5", ""},
        {"return gl._getProgramParameter(3, 35714), gl._getShaderParameter(5, 35713)",
         "glGetProgramiv 3 35714; glGetShaderiv 5 35713", "1 1"},
        {"gl.texParameteri(3553, 10241, 9729) return gl.getTexParameter(3553, 10241)",
         "glTexParameteri 3553 10241 9729; glGetTexParameterfv 3553 10241", "9729"},
    };
    runCases(cases);
}

TEST_F(GLTableTest, GetUniformReadsEveryComponentOfFloatAndIntUniforms) {
    auto uniforms = [](GLRecorder& gl) {
        gl.activeUniforms = {{1, GL_FLOAT_VEC3, "u_v"},  {1, GL_FLOAT_MAT4, "u_m"}, {1, GL_INT_VEC3, "u_iv"},
                             {1, GL_SAMPLER_2D, "u_t"}, {1, GL_INT, "u_i"},        {1, GL_BOOL, "u_b"}};
        for (int i = 1; i <= 16; ++i) gl.uniformValues.push_back(static_cast<float>(i) + 0.5f);
    };
    const std::vector<Case> cases = {
        {"return gl._getUniform(3, 0)", "glGetProgramiv 3 35719; glGetActiveUniform 3 0 5; glGetUniformfv 3 0",
         "{1.5,2.5,3.5}", uniforms},
        {"local v = gl._getUniform(3, 1) return #v, v[16]",
         "glGetProgramiv 3 35719; glGetActiveUniform 3 1 5; glGetUniformfv 3 1", "16 16.5", uniforms},
        {"return gl._getUniform(3, 2)", "glGetProgramiv 3 35719; glGetActiveUniform 3 2 5; glGetUniformiv 3 2",
         "{1,2,3}", uniforms},
        {"return gl._getUniform(3, 4)", "glGetProgramiv 3 35719; glGetActiveUniform 3 4 5; glGetUniformiv 3 4", "{1}",
         uniforms},
    };
    runCases(cases);

    // Samplers, booleans and indices that name no uniform are refused.
    for (const char* location : {"3", "5", "9"}) {
        recorder.emplace();
        uniforms(*recorder);
        EXPECT_EQ(eval(std::string("firstLine([[gl._getUniform(3, ") + location + ")]])"),
                  "error in function 'glGetUniformfv'.")
            << location;
        EXPECT_EQ(recorder->count("glGetUniformfv") + recorder->count("glGetUniformiv"), 0u);
    }
}

TEST_F(GLTableTest, BufferMembersHandGLWhatItReadsPaddedWithZeros) {
    const std::vector<Case> cases = {
        {"return gl.bufferData(34962, 3, {1, 2, 3}, 35044)",
         "glBufferData 34962 12 35044 b=0,0,128,63,0,0,0,64,0,0,64,64", ""},
        {"return gl.bufferData(34962, 2, {1, 'x'}, 35044)", "glBufferData 34962 8 35044 b=0,0,128,63,0,0,0,0", ""},
        {"return gl.bufferData(34962, -1, {}, 35044)", "", ""},
        {"return gl.bufferSubData(34962, 2, 1, {5})", "glBufferSubData 34962 8 4 b=0,0,160,64", ""},
        {"return gl.compressedTexImage2D(3553, 0, 33776, 4, 4, 0, 8, 3, {1, 2, 257})",
         "glCompressedTexImage2D 3553 0 33776 4 4 0 8 b=1,2,1,0,0,0,0,0", ""},
        {"return gl.compressedTexSubImage2D(3553, 0, 1, 2, 4, 4, 33776, 2, 3, {9, 8, 7})",
         "glCompressedTexSubImage2D 3553 0 1 2 4 4 33776 2 b=9,8", ""},
        {"return gl.drawElements(4, 3, 5123, 3, {0, 1, 65538})", "glDrawElements 4 3 5123 x=0,1,2", ""},
        {"return gl.drawElements(4, 4, 5121, 2, {3, 4})", "glDrawElements 4 4 5121 x=3,4,0,0", ""},
        {"return gl.drawElements(4, 2, 5125, 3, {7, 8, 9})", "glDrawElements 4 2 5125 x=7,8", ""},
        {"return gl.drawElements(4, 3, 5126, 3, {0, 1, 2})", "", ""},
        {"gl._bindBuffer(34963, 9) return gl.drawElements(4, 3, 5125, 0)",
         "glBindBuffer 34963 9; glGetIntegerv 34965; glDrawElements 4 3 5125", ""},
        {"return gl.drawElements(4, 3, 5125, 0)", "glGetIntegerv 34965", ""},
        {"return gl._texImage2D(3553, 0, 6408, 1, 1, 0, 6408, 5121, 3, {255, 256, -1})",
         "glGetIntegerv 3317; glTexImage2D 3553 0 6408 1 1 0 6408 5121 p=255,0,255,0", ""},
        // Rows of 3 bytes under the default alignment of 4.
        {"return gl._texImage2D(3553, 0, 6407, 1, 2, 0, 6407, 5121, 2, {7, 8})",
         "glGetIntegerv 3317; glTexImage2D 3553 0 6407 1 2 0 6407 5121 p=7,8,0,0,0,0,0,0", ""},
        {"return gl._texSubImage2D(3553, 0, 0, 0, 1, 1, 6408, 5121, 2)",
         "glGetIntegerv 3317; glTexSubImage2D 3553 0 0 0 1 1 6408 5121 p=0,0,0,0", "{0,0}"},
        {"return gl.uniform1fv(2, 1, 3, {1, 2, 3})", "glUniform1fv 2 1 f=1", ""},
        {"return gl.uniform2fv(2, 2, 1, {0.5})", "glUniform2fv 2 2 f=0.5,0,0,0", ""},
        {"return gl.uniform3fv(2, 2, 4, {1, 2, 3, 4})", "glUniform3fv 2 2 f=1,2,3,4,0,0", ""},
        {"return gl.uniform4fv(2, 1, 4, {1, 2, 3, 4})", "glUniform4fv 2 1 f=1,2,3,4", ""},
        {"return gl.uniform1iv(2, 2, 2, {1.9, -2.9})", "glUniform1iv 2 2 i=1,-2", ""},
        {"return gl.uniform2iv(2, 1, 0, {})", "glUniform2iv 2 1 i=0,0", ""},
        {"return gl.uniform3iv(2, 1, 3, {1, 2, 3})", "glUniform3iv 2 1 i=1,2,3", ""},
        {"return gl.uniform4iv(2, 1, 2, {5, 6})", "glUniform4iv 2 1 i=5,6,0,0", ""},
        {"return gl.uniformMatrix2fv(2, 1, 4, {1, 2, 3, 4})", "glUniformMatrix2fv 2 1 1 f=1,2,3,4", ""},
        {"return gl.uniformMatrix3fv(2, 0, 2, {1, 2})", "glUniformMatrix3fv 2 1 0 f=1,2,0,0,0,0,0,0,0", ""},
        {"return gl.uniformMatrix4fv(2, true, 1, {7})", "glUniformMatrix4fv 2 1 1 f=7,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0",
         ""},
        {"return gl.uniformMatrix4fv(2, nil, 0, {})", "glUniformMatrix4fv 2 1 0 f=0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0", ""},
        {"return gl.vertexAttrib1fv(1, 1, {0.5})", "glVertexAttrib1fv 1 f=0.5", ""},
        {"return gl.vertexAttrib2fv(1, 2, {0.5, 1})", "glVertexAttrib2fv 1 f=0.5,1", ""},
        {"return gl.vertexAttrib3fv(1, 1, {2})", "glVertexAttrib3fv 1 f=2,0,0", ""},
        {"return gl.vertexAttrib4fv(1, 0, {9})", "glVertexAttrib4fv 1 f=0,0,0,0", ""},
        {"gl._bindBuffer(34962, 4) return gl.vertexAttribPointer(1, 3, 5126, true, 12, 8)",
         "glBindBuffer 34962 4; glGetIntegerv 34964; glVertexAttribPointer 1 3 5126 1 12 8", ""},
        {"gl._bindBuffer(34962, 4) return gl.vertexAttribPointer(0, 2, 5126, nil, 0, 0)",
         "glBindBuffer 34962 4; glGetIntegerv 34964; glVertexAttribPointer 0 2 5126 0 0 0", ""},
        // Without an array buffer the offset would be an address in the client's memory.
        {"return gl.vertexAttribPointer(0, 2, 5126, false, 8, 4096)", "glGetIntegerv 34964", ""},
    };
    runCases(cases);
}

TEST_F(GLTableTest, ReadPixelsAnswersTheFirstNBytesOfTheWholeImage) {
    auto back = [](GLRecorder& gl) {
        for (int i = 1; i <= 16; ++i) gl.readBack.push_back(static_cast<unsigned char>(i));
    };
    const std::vector<Case> cases = {
        {"return gl.readPixels(0, 0, 2, 1, 6408, 5121, 3)", "glGetIntegerv 3333; glReadPixels 0 0 2 1 6408 5121",
         "{1,2,3}", back},
        {"return gl.readPixels(0, 0, 2, 1, 6408, 5121, 0)", "glGetIntegerv 3333; glReadPixels 0 0 2 1 6408 5121", "{}",
         back},
        {"return gl.readPixels(0, 0, 1, 1, 6408, 5121, 6)", "glGetIntegerv 3333; glReadPixels 0 0 1 1 6408 5121",
         "{1,2,3,4,0,0}", back},
        // Two rows of 3 bytes, each padded to 8: GL writes 16 bytes.
        {"gl.pixelStorei(3333, 8) return gl.readPixels(0, 0, 1, 2, 6407, 5121, 16)",
         "glPixelStorei 3333 8; glGetIntegerv 3333; glReadPixels 0 0 1 2 6407 5121",
         "{1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16}", back},
        {"return gl.readPixels(0, 0, 1, 1, 6408, 5121, -1)", "", ""},
        // An image beyond any buffer: GL is not called.
        {"return gl.readPixels(0, 0, 100000, 100000, 6408, 5121, 1)", "glGetIntegerv 3333", ""},
        {"return gl.uniform4fv(2, 2000000000, 1, {1})", "", ""},
    };
    runCases(cases);
}

// One call's memory is what GL reads or writes for it, never the script's n
// alone, and stays within 64 MiB: larger calls are refused without reaching GL.
TEST_F(GLTableTest, HostileSizesStayWithinOneCallsBudget) {
    const struct {
        const char* code;
        const char* entry;   // the entry point reached, or refused when it is not
        bool reached;
    } cases[] = {
        // A buffer of n floats, bytes or indices GL would read: beyond the budget.
        {"gl.bufferData(34962, 2^28, {}, 35044)", "glBufferData", false},
        {"gl.bufferSubData(34962, 0, 2^26, {1})", "glBufferSubData", false},
        {"gl._texImage2D(3553, 0, 6408, 16384, 16384, 0, 6408, 5121, 0, {})", "glTexImage2D", false},
        {"gl.compressedTexImage2D(3553, 0, 33776, 4, 4, 0, 2^30, 1, {1})", "glCompressedTexImage2D", false},
        {"gl.uniform4fv(2, 2^30, 1, {1})", "glUniform4fv", false},
        {"gl.drawElements(4, 2^30, 5125, 1, {1})", "glDrawElements", false},
        // A table answered past what GL writes costs its entries.
        {"gl.readPixels(0, 0, 1, 1, 6408, 5121, 2^28)", "glReadPixels", false},
        {"gl._texSubImage2D(3553, 0, 0, 0, 1, 1, 6408, 5121, 2^28)", "glTexSubImage2D", false},
        {"gl.readPixels(0, 0, 16384, 16384, 6408, 5121, 1)", "glReadPixels", false},
        // A large n over what GL reads: only what GL reads is built.
        {"gl.uniform1fv(2, 1, 2^40, {1})", "glUniform1fv", true},
        {"gl._texImage2D(3553, 0, 6408, 1, 1, 0, 6408, 5121, 2^31, {1})", "glTexImage2D", true},
        {"gl.drawElements(4, 3, 5125, 2^33, {1, 2, 3})", "glDrawElements", true},
        // Within the budget: a long empty table is not read entry by entry.
        {"gl.bufferData(34962, 2^24, {[5] = 2}, 35044)", "glBufferData", true},
        {"gl.readPixels(0, 0, 2048, 2048, 6408, 5121, 4)", "glReadPixels", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        recorder.emplace();
        std::string result;
        const double seconds = testsupport::cpuSecondsFor([&] {
            const std::optional<size_t> peak = testsupport::peakHeapDuring(
                [&] { result = eval(std::string("firstLine([[") + c.code + "]])"); });
            // The largest accepted call: 64 MiB, and the recorder's copy of it.
            if (peak) {
                EXPECT_LT(*peak, size_t{160} << 20);
            }
        });
        EXPECT_EQ(result, "no error");
        EXPECT_EQ(recorder->count(c.entry), c.reached ? 1u : 0u);
        EXPECT_LT(seconds, 3.0);
    }
}

TEST_F(GLTableTest, ExtensionsAreCutAtSpacesAndCommasWithoutEmptyNames) {
    const struct {
        const char* extensions;
        const char* names;
    } cases[] = {
        {"GL_A GL_B ", "{GL_A,GL_B}"},
        {",GL_A,, GL_B,", "{GL_A,GL_B}"},
        {"GL_ONE", "{GL_ONE}"},
        {"", "{}"},
    };
    for (const auto& c : cases) {
        recorder.emplace();
        recorder->extensions = c.extensions;
        EXPECT_EQ(eval("show(gl.getSupportedExtensions())"), c.names) << c.extensions;
        EXPECT_EQ(trace(*recorder), "glGetString 7939");
    }
    // Without a context the string is null: no names.
    recorder.reset();
    EXPECT_EQ(eval("show(gl.getSupportedExtensions())"), "{}");
}

TEST_F(GLTableTest, EnableVertexAttribsSetsEveryAttributeByItsBit) {
    recorder.emplace();
    ASSERT_EQ(run("gl.glEnableVertexAttribs(5)"), "");
    std::string expected = "glGetIntegerv 34921";
    for (int i = 0; i < 16; ++i)
        expected += (i == 0 || i == 2 ? "; glEnableVertexAttribArray " : "; glDisableVertexAttribArray ") +
                    std::to_string(i);
    EXPECT_EQ(trace(*recorder), expected);
}

TEST_F(GLTableTest, ArgumentErrorsNameTheGLEntryPoint) {
    recorder.emplace();
    const struct {
        const char* code;
        const char* error;
    } cases[] = {
        {"gl.getError(1)", "glGetError"},
        {"gl._createFramebuffer()", "glGenFramebuffers"},
        {"gl._createBuffer(1)", "glGenBuffers"},
        {"gl.activeTexture('x')", "glActiveTexture"},
        {"gl.activeTexture()", "glActiveTexture"},
        {"gl.uniform4f(1, 2, 3, 4)", "glUniform4f"},
        {"gl._bindAttribLocation(1, 2, {})", "glBindAttribLocation"},
        {"gl.bufferData(1, 1, 5, 1)", "glBufferData"},
        {"gl.uniformMatrix4fv(1, 1, 1, {})", "glUniformMatrix4fv"},
        {"gl.uniformMatrix2fv(1, true, 1, {})", "glUniformMatrix2fv"},
        {"gl.uniform3iv(1, 1, 1)", "glUniform3iv"},
        {"gl.vertexAttribPointer(1, 3, 5126, 1, 12, 0)", "glVertexAttribPointer"},
        {"gl.drawElements(4, 3, 5123, 1, nil)", "glDrawElements"},
        {"gl.readPixels(0, 0, 1, 1, 6408, 5121)", "glReadPixels"},
        {"gl._texSubImage2D(3553, 0, 0, 0, 1, 1, 6408, 5121, 1, {})", "glTexSubImage2D"},
        {"gl._getActiveAttrib(1)", "glGetActiveAttrib"},
        {"gl.getSupportedExtensions(1)", "glGetSupportedExtensions"},
        {"gl.glEnableVertexAttribs()", "glEnableVertexAttribs"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(eval(std::string("firstLine([[") + c.code + "]])"),
                  std::string("error in function '") + c.error + "'.")
            << c.code;
    }
    EXPECT_EQ(recorder->calls().size(), 0u) << trace(*recorder);
    // The argument is named on the next line.
    EXPECT_NE(eval("select(2, pcall(gl.getError, 1))").find("argument #1 is 'number'"), std::string::npos);
}

TEST_F(GLTableTest, TheTableHoldsItsMembersAndWorksWithoutAContext) {
    const char* names =
        "getSupportedExtensions activeTexture _attachShader _bindAttribLocation _bindBuffer _bindFramebuffer "
        "_bindRenderbuffer _bindTexture blendColor blendEquation blendEquationSeparate blendFunc blendFuncSeparate "
        "bufferData bufferSubData checkFramebufferStatus clear clearColor clearDepthf clearStencil colorMask "
        "_compileShader compressedTexImage2D compressedTexSubImage2D copyTexImage2D copyTexSubImage2D _createProgram "
        "_createShader cullFace _deleteBuffer _deleteFramebuffer _deleteProgram _deleteRenderbuffer _deleteShader "
        "_deleteTexture depthFunc depthMask depthRangef detachShader disable disableVertexAttribArray drawArrays "
        "drawElements enable enableVertexAttribArray finish flush framebufferRenderbuffer framebufferTexture2D "
        "frontFace _createBuffer _createFramebuffer _createRenderbuffer _createTexture generateMipmap "
        "_getActiveAttrib _getActiveUniform _getAttachedShaders _getAttribLocation getError _getProgramInfoLog "
        "_getProgramParameter _getShaderInfoLog _getShaderSource _getShaderParameter getTexParameter "
        "_getUniformLocation _getUniform hint isBuffer isEnabled isFramebuffer isProgram isRenderbuffer isShader "
        "isTexture lineWidth _linkProgram pixelStorei polygonOffset readPixels releaseShaderCompiler "
        "renderbufferStorage sampleCoverage scissor _shaderSource stencilFunc stencilFuncSeparate stencilMask "
        "stencilMaskSeparate stencilOp stencilOpSeparate _texImage2D texParameterf texParameteri _texSubImage2D "
        "uniform1f uniform1fv uniform1i uniform1iv uniform2f uniform2fv uniform2i uniform2iv uniform3f uniform3fv "
        "uniform3i uniform3iv uniform4f uniform4fv uniform4i uniform4iv uniformMatrix2fv uniformMatrix3fv "
        "uniformMatrix4fv _useProgram _validateProgram vertexAttrib1f vertexAttrib1fv vertexAttrib2f vertexAttrib2fv "
        "vertexAttrib3f vertexAttrib3fv vertexAttrib4f vertexAttrib4fv vertexAttribPointer viewport "
        "glEnableVertexAttribs";
    ASSERT_EQ(run(std::string("names = '") + names + "'"), "");
    EXPECT_EQ(eval("(function() local n, missing = 0, '' for name in names:gmatch('%S+') do n = n + 1"
                   " if type(gl[name]) ~= 'function' then missing = missing .. ' ' .. name end end"
                   " local all = 0 for _ in pairs(gl) do all = all + 1 end return n .. ' ' .. all .. missing end)()"),
              "128 128");
    // On the no-op table: ids 0, queries 0, texts empty, nothing raised.
    EXPECT_EQ(eval("show(gl._createBuffer(), gl.getError(), gl._getShaderSource(1), gl.isBuffer(1),"
                   " gl.readPixels(0, 0, 1, 1, 6408, 5121, 2), gl._getActiveAttrib(1, 0))"),
              "0 0  false {0,0} 0 0 ");
}

}  // namespace
}  // namespace bindingtest
