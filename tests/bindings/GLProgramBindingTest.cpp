// The hand-written functions of cc.GLProgram and cc.GLProgramState against the GL
// recorder: programs from shader files (ES precision words dropped), uniform
// reflection, the uniform setters and uniform arrays with their count, parse and
// allocation errors, and vertex attributes kept by the program state.
#include <gtest/gtest.h>
#include <tolua++.h>

#include <string>
#include <vector>

#include "BindingTestSupport.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/GLRecorder.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

using engine::GLRecordedCall;
using engine::GLRecorder;

const char* const kVertex = "precision highp float;\nattribute vec4 a_position;\nuniform mediump vec4 u_tint;\n"
                            "void main() { gl_Position = a_position; }\n";
const char* const kFragment = "#ifdef GL_ES\nprecision lowp float;\n#endif\nuniform lowp vec4 u_tint;\n"
                              "void main() { gl_FragColor = u_tint; }\n";

class GLProgramBindingTest : public BindingStackTest {
protected:
    void SetUp() override {
        BindingStackTest::SetUp();
        recorder = new GLRecorder;
        recorder->activeUniforms = {{1, GL_FLOAT_VEC4, "u_tint"}, {3, GL_INT, "u_values[0]"}};
        recorder->activeAttributes = {{1, GL_FLOAT_VEC4, "a_position", 0}, {1, GL_FLOAT_VEC2, "a_extra", 5}};
        const std::string vsh = dir.write("shaders/p.vsh", kVertex);
        const std::string fsh = dir.write("shaders/p.fsh", kFragment);
        ASSERT_EQ(run("program = cc.GLProgram:create('" + vsh + "', '" + fsh + "')"), "");
    }
    void TearDown() override {
        BindingStackTest::TearDown();
        engine::GLProgramCache::destroyInstance();
        delete recorder;
    }
    engine::GLProgram* program() {
        lua_getglobal(L, "program");
        void* stored = lua_isuserdata(L, -1) ? tolua_tousertype(L, -1, nullptr) : nullptr;
        lua_pop(L, 1);
        return stored ? dynamic_cast<engine::GLProgram*>(static_cast<engine::Ref*>(stored)) : nullptr;
    }
    const GLRecordedCall* last(const char* name) {
        auto calls = recorder->callsNamed(name);
        return calls.empty() ? nullptr : calls.back();
    }

    testsupport::TempDir dir;
    GLRecorder* recorder = nullptr;
};

TEST_F(GLProgramBindingTest, ProgramFromFilesCompilesWithoutPrecisionWords) {
    ASSERT_NE(program(), nullptr);
    EXPECT_EQ(eval("tolua.type(program)"), "cc.GLProgram");
    EXPECT_EQ(eval("program:getProgram() > 0"), "true");
    const auto sources = recorder->callsNamed("glShaderSource");
    ASSERT_EQ(sources.size(), 2u);
    for (const GLRecordedCall* source : sources) {
        for (const char* word : {"precision", "lowp", "mediump", "highp"}) {
            EXPECT_EQ(source->text.find(word), std::string::npos) << source->text;
        }
    }
    EXPECT_NE(sources[0]->text.find("uniform  vec4 u_tint;"), std::string::npos);
    EXPECT_NE(sources[1]->text.find("#ifdef GL_ES"), std::string::npos);

    EXPECT_EQ(eval("cc.GLProgram:create('a')"), "error: cc.GLProgram:create wrong number of arguments: 1, was expecting 2\n");
    EXPECT_EQ(eval("program:getProgram(1)"), "error: cc.GLProgram:getProgram has wrong number of arguments: 1, was expecting 0\n");
}

TEST_F(GLProgramBindingTest, ReflectedUniformsAndAttributes) {
    EXPECT_EQ(eval("(function(u) return u.name .. ' ' .. u.size .. ' ' .. u.type .. ' ' .. "
                   "tostring(u.location == program:getUniformLocation('u_values')) end)(program:getUniform('u_values'))"),
              "u_values 3 " + std::to_string(GL_INT) + " true");
    EXPECT_EQ(eval("(function(a) return a.name .. ' ' .. a.index .. ' ' .. a.size .. ' ' .. a.type end)"
                   "(program:getVertexAttrib('a_extra'))"),
              "a_extra 5 1 " + std::to_string(GL_FLOAT_VEC2));
    EXPECT_EQ(eval("program:getUniform('u_missing')"), "nil");
    EXPECT_EQ(eval("program:getVertexAttrib('a_missing')"), "nil");
    EXPECT_EQ(eval("select('#', program:getUniform({}))"), "0");
    EXPECT_EQ(eval("program:getUniform()"),
              "error: cc.GLProgram:getUniform has wrong number of arguments: 0, was expecting 1 \n");
    EXPECT_EQ(eval("program:getVertexAttrib('a', 'b')"),
              "error: cc.GLProgram:getVertexAttrib has wrong number of arguments: 2, was expecting 1 \n");
}

TEST_F(GLProgramBindingTest, SetUniformLocationF32MakesTheProgramCurrentFirst) {
    const double name = program()->getProgram();
    struct Case {
        const char* call;
        const char* glName;
        std::vector<double> args;
    };
    const Case cases[] = {
        {"program:setUniformLocationF32(3, 0.5)", "glUniform1f", {3, 0.5}},
        {"program:setUniformLocationF32(3.9, 1, 2)", "glUniform2f", {3, 1, 2}},
        {"program:setUniformLocationF32(4, 1, 2, 3)", "glUniform3f", {4, 1, 2, 3}},
        {"program:setUniformLocationF32(-1, 1, 2, 3, 4)", "glUniform4f", {-1, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        engine::GL::useProgram(0);
        recorder->clear();
        ASSERT_EQ(run(c.call), "");
        const auto& calls = recorder->calls();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].name, "glUseProgram");
        EXPECT_EQ(calls[0].args, std::vector<double>{name});
        EXPECT_EQ(calls[1].name, c.glName);
        EXPECT_EQ(calls[1].args, c.args);
    }
    EXPECT_EQ(eval("program:setUniformLocationF32(3)"),
              "error:  cc.GLProgram:setUniformLocationF32 has wrong number of arguments: 1, was expecting 2\n");
    EXPECT_EQ(eval("program:setUniformLocationF32(3, 1, 2, 3, 4, 5)"),
              "error:  cc.GLProgram:setUniformLocationF32 has wrong number of arguments: 6, was expecting 2\n");
}

TEST_F(GLProgramBindingTest, UniformArraysReadTheFlatTable) {
    struct Case {
        const char* call;
        const char* glName;
        double count;
        std::vector<float> values;
    };
    const Case cases[] = {
        {"setUniformLocationWith2iv(7, {1, 2, 3, 4}, 2)", "glUniform2iv", 2, {1, 2, 3, 4}},
        {"setUniformLocationWith2iv(7, {1.9, -2.9, 3}, 2)", "glUniform2iv", 2, {1, -2, 3, 0}},
        {"setUniformLocationWith3iv(7, {1, 'x', 3}, 1)", "glUniform3iv", 1, {1, 0, 3}},
        {"setUniformLocationWith4iv(7, {}, 1)", "glUniform4iv", 1, {0, 0, 0, 0}},
        {"setUniformLocationWithMatrix2fv(7, {0.5, 1, 2, 3, 4}, 1)", "glUniformMatrix2fv", 1, {0.5, 1, 2, 3}},
        {"setUniformLocationWithMatrix3fv(7, {1}, 1)", "glUniformMatrix3fv", 1, {1, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"setUniformLocationWithMatrix4fv(7, {}, 0)", "glUniformMatrix4fv", 0, {}},
        {"setUniformLocationWith3iv(7, {1, 2, 3}, 0)", "glUniform3iv", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        recorder->clear();
        EXPECT_EQ(eval(std::string("program:") + c.call + " == program"), "true");
        const GLRecordedCall* call = last(c.glName);
        ASSERT_NE(call, nullptr);
        EXPECT_EQ(call->args[0], 7);
        EXPECT_EQ(call->args[1], c.count);
        // Integer forms are recorded as ints, matrices as floats.
        std::vector<float> sent = call->floats;
        for (int32_t value : call->ints) sent.push_back(static_cast<float>(value));
        EXPECT_EQ(sent, c.values);
    }
}

TEST_F(GLProgramBindingTest, UniformArrayErrors) {
    struct Case {
        const char* call;
        const char* error;
    };
    const Case cases[] = {
        {"setUniformLocationWith2iv(7, {})",
         "cc.GLProgram:setUniformLocationWith2iv has wrong number of arguments: 2, was expecting 3 \n"},
        {"setUniformLocationWithMatrix4fv(7, {}, 1, 1)",
         "cc.GLProgram:setUniformLocationWithMatrix4fv has wrong number of arguments: 4, was expecting 3 \n"},
        {"setUniformLocationWith3iv('x', {}, 1)", "Parse params error in the lua_engine_GLProgram_setUniformLocationWith3iv"},
        {"setUniformLocationWithMatrix3fv(1, {}, {})",
         "Parse params error in the lua_engine_GLProgram_setUniformLocationWithMatrix3fv"},
        {"setUniformLocationWith4iv(1, {}, -1)", "Allocate intArray in the lua_engine_GLProgram_setUniformLocationWith4iv failed!"},
        {"setUniformLocationWith2iv(1, {}, 2^32 - 1)", "Allocate intArray in the lua_engine_GLProgram_setUniformLocationWith2iv failed!"},
        {"setUniformLocationWithMatrix2fv(1, {}, 2^30)",
         "Allocate matrixArry in the lua_engine_GLProgram_setUniformLocationWithMatrix2fv failed!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        recorder->clear();
        EXPECT_EQ(eval(std::string("program:") + c.call), std::string("error: ") + c.error);
        EXPECT_TRUE(recorder->calls().empty());
    }
    EXPECT_EQ(eval("cc.GLProgram.setUniformLocationWith2iv(nil, 1, {}, 1)"),
              "error: invalid 'self' in function 'setUniformLocationWith2iv'");
}

TEST_F(GLProgramBindingTest, StateKeepsVertexAttributePointers) {
    ASSERT_EQ(run("state = cc.GLProgramState:getOrCreateWithGLProgram(program)"), "");
    EXPECT_EQ(eval("state == cc.GLProgramState:getOrCreateWithGLProgram(program)"), "true");
    EXPECT_EQ(eval("state:setVertexAttribPointer('a_extra', 2, " + std::to_string(GL_FLOAT) + ", true, 16, 8) == state"),
              "true");
    EXPECT_EQ(eval("state:setVertexAttribPointer('a_absent', 2, 1, false, 0, 0) == state"), "true");
    // An argument that does not read: no result, nothing kept.
    EXPECT_EQ(eval("select('#', state:setVertexAttribPointer('a_position', 2, 1, false, 0, {}))"), "0");
    EXPECT_EQ(eval("state:setVertexAttribPointer('a_extra', 2, 1, false, 0)"),
              "error: cc.GLProgramState:setVertexAttribPointer has wrong number of arguments: 5, was expecting 6 \n");

    engine::GLProgramState* state = engine::GLProgramState::getOrCreateWithGLProgram(program());
    recorder->clear();
    state->apply(engine::Mat4::IDENTITY);
    const auto pointers = recorder->callsNamed("glVertexAttribPointer");
    ASSERT_EQ(pointers.size(), 1u);   // a_absent is not in the program
    EXPECT_EQ(pointers[0]->args, (std::vector<double>{5, 2, GL_FLOAT, 1, 16}));
    EXPECT_EQ(recorder->_attribs[5].pointer, reinterpret_cast<const void*>(8));
    EXPECT_EQ(recorder->count("glEnableVertexAttribArray"), 1u);
}

}  // namespace
}  // namespace bindingtest
