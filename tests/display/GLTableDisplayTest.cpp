// The script table `gl` on a real GL context (a hidden GLFW window on Mesa under
// a virtual X display): a clear read back, a buffer drawn through a program,
// the program's attributes and uniforms as GL reports them, and the
// extension list.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <lua.hpp>
#include <tolua++.h>

#include <string>

#include "bindings/opengl/LuaGLTable.h"
#include "engine/renderer/GLFunctions.h"

namespace {

class GLTableDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!glfwInit()) GTEST_SKIP() << "no display for a GL window";
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 1);
        _window = glfwCreateWindow(32, 32, "gl", nullptr, nullptr);
        ASSERT_NE(_window, nullptr);
        glfwMakeContextCurrent(_window);
        ASSERT_TRUE(engine::GL::useSystemFunctions());
        L = luaL_newstate();
        luaL_openlibs(L);
        tolua_open(L);
        lua_pushvalue(L, LUA_GLOBALSINDEX);
        bindings::register_gl_module(L);
        lua_pop(L, 1);
        ASSERT_EQ(run("function show(t) return table.concat(t, ',') end"), "");
    }

    void TearDown() override {
        if (L) lua_close(L);
        engine::GL::setFunctions(engine::GL::noopFunctions());
        if (_window) glfwDestroyWindow(_window);
        glfwTerminate();
    }

    // Runs the chunk and gives its one result as text, or its error.
    std::string eval(const std::string& chunk) {
        const std::string code = "return tostring(" + chunk + ")";
        if (luaL_loadstring(L, code.c_str()) != 0 || lua_pcall(L, 0, 1, 0) != 0) {
            std::string error = std::string("error: ") + lua_tostring(L, -1);
            lua_pop(L, 1);
            return error;
        }
        std::string result = lua_tostring(L, -1);
        lua_pop(L, 1);
        return result;
    }

    std::string run(const std::string& chunk) {
        if (luaL_loadstring(L, chunk.c_str()) != 0 || lua_pcall(L, 0, 0, 0) != 0) {
            std::string error = lua_tostring(L, -1);
            lua_pop(L, 1);
            return error;
        }
        return "";
    }

    GLFWwindow* _window = nullptr;
    lua_State* L = nullptr;
};

TEST_F(GLTableDisplayTest, ClearColourReadsBack) {
    ASSERT_EQ(run("gl.clearColor(0.25, 0.5, 1, 1) gl.clear(16384) gl.finish()"), "");
    EXPECT_EQ(eval("show(gl.readPixels(3, 4, 1, 1, 6408, 5121, 4))"), "64,128,255,255");
    // More bytes than the image: zeros after it.
    EXPECT_EQ(eval("show(gl.readPixels(0, 0, 1, 1, 6408, 5121, 6))"), "64,128,255,255,0,0");
    EXPECT_EQ(eval("gl.getError()"), "0");
}

TEST_F(GLTableDisplayTest, ProgramDrawsABufferAndReportsItsVariables) {
    ASSERT_EQ(run(R"(
        local function shader(kind, source)
            local s = gl._createShader(kind)
            gl._shaderSource(s, source)
            gl._compileShader(s)
            assert(gl._getShaderParameter(s, 35713) == 1, gl._getShaderInfoLog(s))
            return s
        end
        vs = shader(35633, [[#version 120
            attribute vec2 a_position;
            void main() { gl_Position = vec4(a_position, 0.0, 1.0); }]])
        fs = shader(35632, [[#version 120
            uniform vec4 u_color;
            uniform ivec3 u_steps;
            void main() { gl_FragColor = u_color + vec4(vec3(u_steps), 0.0) * 1e-6; }]])
        p = gl._createProgram()
        gl._attachShader(p, vs)
        gl._attachShader(p, fs)
        gl._bindAttribLocation(p, 0, 'a_position')
        gl._linkProgram(p)
        assert(gl._getProgramParameter(p, 35714) == 1, gl._getProgramInfoLog(p))
        gl._useProgram(p)
        color = gl._getUniformLocation(p, 'u_color')
        steps = gl._getUniformLocation(p, 'u_steps')
        gl.uniform4f(color, 1, 0, 0.5, 1)
        gl.uniform3iv(steps, 1, 3, {4, -5, 6})

        -- Two triangles over the left half, from a buffer whose last vertex
        -- is written again afterwards.
        b = gl._createBuffer()
        gl._bindBuffer(34962, b)
        gl.bufferData(34962, 12, {-1, -1,  0, -1,  0, 1,   -1, -1,  0, 1,  -1, 0}, 35044)
        gl.bufferSubData(34962, 10, 2, {-1, 1})
        gl.enableVertexAttribArray(0)
        gl.vertexAttribPointer(0, 2, 5126, false, 8, 0)
        gl.clearColor(0, 0, 0, 1)
        gl.clear(16384)
        gl.drawArrays(4, 0, 6)
        gl.finish())"),
              "");
    EXPECT_EQ(eval("gl.getError()"), "0");
    EXPECT_EQ(eval("show(gl.readPixels(4, 28, 1, 1, 6408, 5121, 4))"), "255,0,128,255");   // drawn
    EXPECT_EQ(eval("show(gl.readPixels(28, 4, 1, 1, 6408, 5121, 4))"), "0,0,0,255");       // right half

    EXPECT_EQ(eval("show({gl._getActiveAttrib(p, 0)})"), "1,35664,a_position");
    EXPECT_EQ(eval("show(gl._getUniform(p, color))"), "1,0,0.5,1");
    EXPECT_EQ(eval("gl.isProgram(p) and not gl.isProgram(b)"), "true");
    EXPECT_EQ(eval("#gl._getAttachedShaders(p)"), "2");
    EXPECT_EQ(eval("gl._getShaderSource(vs):match('a_position') or 'none'"), "a_position");
    // _getUniform takes the location as the active index too: on Mesa the two
    // agree (type, index, location).
    EXPECT_EQ(eval("(function() for i = 0, 1 do local _, t, n = gl._getActiveUniform(p, i)"
                   " if n == 'u_steps' then return t .. ' ' .. i .. ' ' .. steps end end end)()"),
              "35668 1 1");
    EXPECT_EQ(eval("show(gl._getUniform(p, steps))"), "4,-5,6");
}

TEST_F(GLTableDisplayTest, ExtensionsAreGLNames) {
    EXPECT_EQ(eval("(function() local names = gl.getSupportedExtensions() if #names == 0 then return 'none' end"
                   " for _, n in ipairs(names) do if not n:match('^GLX?_[%w_]+$') then return n end end"
                   " return 'ok' end)()"),
              "ok");
}

}  // namespace
