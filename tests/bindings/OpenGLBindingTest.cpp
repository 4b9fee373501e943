// The script side of GL drawing on the Lua engine's stack: cc.GLNode (create,
// its program, the draw handler's arguments, replacement and removal, the
// argument checks) and cc.DrawPrimitives (argument checks, and what each
// function draws, read back from the GL recorder).
#include <gtest/gtest.h>
#include <tolua++.h>

#include <cmath>
#include <string>
#include <vector>

#include "BindingTestSupport.h"
#include "bindings/opengl/GLNode.h"
#include "bindings/opengl/LuaOpenGL.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/GLRecorder.h"
#include "engine/scene/Scene.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindingtest {
namespace {

using engine::GLRecordedCall;
using engine::GLRecorder;

class GLNodeBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        view = startViewOnScene(64, 32);
        scene = engine::Director::getInstance()->getRunningScene();
    }
    void TearDown() override {
        LuaEngineBindingTest::TearDown();
        view->release();
        engine::GLProgramCache::destroyInstance();
    }
    bindings::GLNode* global(const char* name) {
        lua_getglobal(L, name);
        void* stored = lua_isuserdata(L, -1) ? tolua_tousertype(L, -1, nullptr) : nullptr;
        lua_pop(L, 1);
        return stored ? dynamic_cast<bindings::GLNode*>(static_cast<engine::Ref*>(stored)) : nullptr;
    }
    void frame() { engine::Director::getInstance()->mainLoop(0.f); }

    engine::GLView* view = nullptr;
    engine::Scene* scene = nullptr;
};

TEST_F(GLNodeBindingTest, CreateGivesAGLNodeThatIsANode) {
    ASSERT_EQ(run("node = cc.GLNode:create()"), "");
    ASSERT_NE(global("node"), nullptr);
    EXPECT_EQ(eval("tolua.type(node)"), "cc.GLNode");
    EXPECT_EQ(eval("node:setTag(5) or node:getTag()"), "5");   // a cc.Node's methods
    EXPECT_EQ(eval("cc.GLNode.create()"), "error: error in function 'create'.\n     argument #1 is '[no object]'; 'cc.GLNode' expected.\n");
    EXPECT_EQ(eval("cc.GLNode:create(1)").substr(0, 36), "error: error in function 'create'.\n ");
}

TEST_F(GLNodeBindingTest, HandlerGetsTheWorldTransformAndFlagsAndDrawsInTheNodesSpace) {
    ASSERT_EQ(run(R"(
        node = cc.GLNode:create()
        node:setPosition(10, 20)
        calls = 0
        node:registerScriptDrawHandler(function(transform, flags)
            calls = calls + 1
            keys = 0 for k in pairs(transform) do keys = keys + 1 end
            m = transform flagType = math.type and math.type(flags) or type(flags) flagValue = flags
            cc.DrawPrimitives.drawPoint({x = 1, y = 2})
        end)
    )"), "");
    bindings::GLNode* node = global("node");
    scene->addChild(node);
    lua_pushstring(L, "kept");   // the stack the handler finds is left as it was
    const int top = lua_gettop(L);
    GLRecorder recorder;
    frame();
    EXPECT_EQ(lua_gettop(L), top);
    lua_pop(L, 1);
    EXPECT_EQ(eval("calls .. ' ' .. keys .. ' ' .. m[1] .. ' ' .. m[13] .. ' ' .. m[14] .. ' ' .. m[16]"), "1 16 1 10 20 1");
    EXPECT_EQ(eval("flagType .. ' ' .. flagValue % 1"), "number 0");

    // The point goes out in node space with projection * the node's transform.
    const engine::Mat4 mvp = engine::Director::getInstance()->getMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_PROJECTION) *
                             node->getNodeToWorldTransform();
    ASSERT_EQ(recorder.draws().size(), 1u);
    const engine::GLRecordedArray* positions = recorder.draws()[0]->array(0);
    ASSERT_NE(positions, nullptr);
    EXPECT_EQ(positions->floatAt(0, 0), 1.f);
    EXPECT_EQ(positions->floatAt(0, 1), 2.f);
    const auto matrices = recorder.callsNamed("glUniformMatrix4fv");
    ASSERT_FALSE(matrices.empty());
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(matrices.back()->floats[i], mvp.m[i]) << i;
    // The model-view stack is back to what the frame had.
    EXPECT_EQ(engine::Director::getInstance()->getMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW).m[12], 0.f);
}

TEST_F(GLNodeBindingTest, SecondHandlerReplacesTheFirstAndUnregisterStopsIt) {
    ASSERT_EQ(run(R"(
        node = cc.GLNode:create()
        seen = ''
        node:registerScriptDrawHandler(function() seen = seen .. 'a' end)
    )"), "");
    scene->addChild(global("node"));
    frame();
    ASSERT_EQ(run("node:registerScriptDrawHandler(function() seen = seen .. 'b' end)"), "");
    frame();
    ASSERT_EQ(run("node:unregisterScriptDrawHandler()"), "");
    frame();
    EXPECT_EQ(eval("seen"), "ab");
    EXPECT_EQ(engine::ScriptHandlerMgr::getInstance()->getObjectHandler(
                  global("node"), engine::ScriptHandlerMgr::HandlerType::GL_NODE_DRAW),
              0);
    // A node that never had a handler draws nothing and raises nothing.
    ASSERT_EQ(run("other = cc.GLNode:create()"), "");
    scene->addChild(global("other"));
    GLRecorder recorder;
    frame();
    EXPECT_TRUE(recorder.draws().empty());
}

TEST_F(GLNodeBindingTest, ErrorInTheHandlerLeavesTheFrameGoing) {
    ASSERT_EQ(run(R"(
        node = cc.GLNode:create() later = cc.GLNode:create() ran = false
        node:registerScriptDrawHandler(function() error('boom') end)
        later:registerScriptDrawHandler(function() ran = true end)
    )"), "");
    scene->addChild(global("node"));
    scene->addChild(global("later"));
    frame();
    EXPECT_EQ(eval("ran"), "true");
}

TEST_F(GLNodeBindingTest, MethodArgumentChecks) {
    ASSERT_EQ(run("node = cc.GLNode:create() program = cc.GLProgram:create('a.vsh', 'a.fsh')"), "");
    struct Case {
        const char* call;
        const char* error;   // the start of the message
    };
    const Case cases[] = {
        {"node:registerScriptDrawHandler(nil)", "error in function 'registerScriptDrawHandler'.\n     argument #2"},
        {"node:registerScriptDrawHandler(5)", "error in function 'registerScriptDrawHandler'.\n     argument #2"},
        {"node:registerScriptDrawHandler(print, 1)", "error in function 'registerScriptDrawHandler'.\n     argument #3"},
        {"cc.GLNode.registerScriptDrawHandler(nil, print)", "invalid 'self' in function 'registerScriptDrawHandler'"},
        {"cc.GLNode.unregisterScriptDrawHandler(nil)", "invalid 'self' in function 'unregisterScriptDrawHandler'"},
        {"node:unregisterScriptDrawHandler(1)", "error in function 'unregisterScriptDrawHandler'.\n     argument #2"},
        {"cc.GLNode.setShaderProgram(nil, program)", "invalid 'self' in function 'setShaderProgram'"},
        {"node:setShaderProgram(node)", "error in function 'setShaderProgram'.\n     argument #2"},
        {"cc.GLNode.setShaderProgram(cc.Node:create(), program)", "error in function 'setShaderProgram'.\n     argument #1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const std::string error = run(c.call);
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST_F(GLNodeBindingTest, SetShaderProgramHandsTheProgramOrNull) {
    ASSERT_EQ(run("node = cc.GLNode:create() program = cc.GLProgram:create('a.vsh', 'a.fsh')\n"
                  "node:setShaderProgram(program)"),
              "");
    bindings::GLNode* node = global("node");
    lua_getglobal(L, "program");
    void* program = tolua_tousertype(L, -1, nullptr);
    lua_pop(L, 1);
    ASSERT_NE(node->getGLProgram(), nullptr);
    EXPECT_EQ(static_cast<engine::Ref*>(node->getGLProgram()), static_cast<engine::Ref*>(program));
    ASSERT_EQ(run("node:setShaderProgram(nil)"), "");
    EXPECT_EQ(node->getGLProgram(), nullptr);
}

TEST_F(GLNodeBindingTest, HandlerMethodsNeedTheClassTable) {
    EXPECT_EQ(bindings::register_glnode_draw_handler_methods(nullptr), 0);
    lua_pushstring(L, "cc.GLNode");
    lua_pushnumber(L, 3);
    lua_rawset(L, LUA_REGISTRYINDEX);
    const int top = lua_gettop(L);
    EXPECT_EQ(bindings::register_glnode_draw_handler_methods(L), 1);
    EXPECT_EQ(lua_gettop(L), top);
}

// ---- cc.DrawPrimitives

class DrawPrimitivesBindingTest : public BindingStackTest {
protected:
    void TearDown() override {
        run("cc.DrawPrimitives.drawColor4B(255, 255, 255, 255) cc.DrawPrimitives.setPointSize(1)");
        BindingStackTest::TearDown();
        engine::GLProgramCache::destroyInstance();
    }
    // The value last set for a uniform of the draw program.
    std::vector<double> uniform(const GLRecorder& recorder, const char* name, const char* call) {
        double location = -1;
        for (const GLRecordedCall* c : recorder.callsNamed("glGetUniformLocation")) {
            if (c->text == name) location = c->args[1];
        }
        std::vector<double> values;
        for (const GLRecordedCall* c : recorder.callsNamed(call)) {
            if (c->args[0] == location) values.assign(c->args.begin() + 1, c->args.end());
        }
        return values;
    }
};

std::string verticesOf(const GLRecordedCall& draw) {
    const engine::GLRecordedArray* a = draw.array(0);
    if (!a) return "(none)";
    std::string text;
    char buffer[64];
    for (size_t v = 0; v < static_cast<size_t>(draw.args[2]); ++v) {
        std::snprintf(buffer, sizeof buffer, "%s%g,%g", v ? " " : "", std::round(a->floatAt(v, 0) * 1000) / 1000,
                      std::round(a->floatAt(v, 1) * 1000) / 1000);
        text += buffer;
    }
    return text;
}

TEST_F(DrawPrimitivesBindingTest, EachFunctionDrawsItsShape) {
    ASSERT_EQ(run("P = {x = 0, y = 0} Q = {x = 4, y = 2} RED = {r = 1, g = 0, b = 0, a = 1}\n"
                  "TRI = {{x = 0, y = 0}, {x = 4, y = 0}, {x = 0, y = 4}, {x = 9, y = 9}}"),
              "");
    struct Case {
        const char* call;
        GLenum mode;
        const char* vertices;
    };
    const Case cases[] = {
        {"drawPoint({x = 3})", GL_POINTS, "3,0"},
        {"drawPoints(TRI, 2)", GL_POINTS, "0,0 4,0"},
        {"drawLine(P, Q)", GL_LINES, "0,0 4,2"},
        {"drawRect(P, Q)", GL_LINE_LOOP, "0,0 4,0 4,2 0,2"},
        {"drawSolidRect(P, Q, RED)", GL_TRIANGLE_FAN, "0,0 4,0 4,2 0,2"},
        {"drawPoly(TRI, 3, true)", GL_LINE_LOOP, "0,0 4,0 0,4"},
        {"drawPoly(TRI, 3, nil)", GL_LINE_STRIP, "0,0 4,0 0,4"},
        {"drawSolidPoly(TRI, 3, RED)", GL_TRIANGLE_FAN, "0,0 4,0 0,4"},
        {"drawCircle(P, 10, 0, 4, false)", GL_LINE_STRIP, "10,0 0,10 -10,0 -0,-10 10,0"},
        {"drawCircle(P, 10, 0, 4, true, 2, 0.5)", GL_LINE_STRIP, "20,0 0,5 -20,0 -0,-5 20,0 0,0"},
        {"drawSolidCircle(Q, 1, math.pi / 2, 2)", GL_TRIANGLE_FAN, "4,3 4,1"},
        {"drawSolidCircle(P, 1, 0, 2, 3)", GL_TRIANGLE_FAN, "3,0 -3,0"},
        {"drawQuadBezier(P, {x = 4, y = 4}, {x = 8, y = 0}, 2)", GL_LINE_STRIP, "0,0 4,2 8,0"},
        {"drawCubicBezier(P, {x = 0, y = 4}, {x = 4, y = 4}, {x = 4, y = 0}, 2)", GL_LINE_STRIP, "0,0 2,3 4,0"},
        {"drawCatmullRom({P, Q}, 2)", GL_LINE_STRIP, "0,0 2,1 4,2"},
        {"drawCardinalSpline({P, {x = 4, y = 4}, {x = 8, y = 0}}, 1, 4)", GL_LINE_STRIP, "0,0 2,2 4,4 6,2 8,0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        GLRecorder recorder;
        ASSERT_EQ(run(std::string("cc.DrawPrimitives.") + c.call), "");
        ASSERT_EQ(recorder.draws().size(), 1u);
        EXPECT_EQ(recorder.draws()[0]->args[0], c.mode);
        EXPECT_EQ(verticesOf(*recorder.draws()[0]), c.vertices);
    }
}

TEST_F(DrawPrimitivesBindingTest, NothingToDrawIsQuiet) {
    const char* const calls[] = {
        "drawPoints({1, 2}, 0)",
        "drawPoly({7, 'x'}, 0, true)",
        "drawSolidPoly({}, 0, {})",
        "drawCatmullRom({{x = 0, y = 0}, 5}, 4)",
        "drawCardinalSpline({}, 0.5, 4)",
        "drawCircle({x = 0, y = 0}, 10, 0, 0, false)",
        "drawQuadBezier({}, {}, {}, 0)",
    };
    for (const char* call : calls) {
        SCOPED_TRACE(call);
        GLRecorder recorder;
        EXPECT_EQ(run(std::string("cc.DrawPrimitives.") + call), "");
        EXPECT_TRUE(recorder.calls().empty());
    }
}

TEST_F(DrawPrimitivesBindingTest, ArgumentChecksNameTheFunction) {
    struct Case {
        const char* call;
        const char* error;
    };
    const Case cases[] = {
        {"drawPoint(1)", "error in function 'drawPoint'.\n     argument #1 is 'number'; 'table' expected.\n"},
        {"drawPoint({}, 1)", "error in function 'drawPoint'.\n     argument #2"},
        {"drawPoints({}, 'x')", "error in function 'drawPoints'.\n     argument #2"},
        {"drawLine({})", "error in function 'drawLine'.\n     argument #2"},
        {"drawRect({}, 2)", "error in function 'drawRect'.\n     argument #2"},
        {"drawSolidRect({}, {})", "error in function 'drawSolidRect'.\n     argument #3"},
        {"drawPoly({{x = 1}, {x = 2}}, 3, true)", "error in function 'ccDrawPoly'.\n     argument #-1 is 'nil'"},
        {"drawPoly({{x = 1}, 7}, 2, false)", "error in function 'ccDrawPoly'.\n     argument #-1 is 'number'"},
        {"drawPoly({}, 1, 1)", "error in function 'ccDrawPoly'.\n     argument #3"},
        {"drawPoints({}, 4000000000)", "error in function 'drawPoints'.\n     argument #-1 is 'nil'"},
        {"drawSolidPoly({}, 1, {})", "error in function 'drawSolidPoly'.\n     argument #-1"},
        {"drawCircle({}, 1, 0, 4, 'yes')", "error in function 'drawCircle'.\n     argument #5"},
        {"drawCircle({}, 1, 0, 4, false, 1, 1, 1)", "error in function 'drawCircle'.\n     argument #8"},
        {"drawCircle({}, 1, 0, 4, false, 'x')", "error in function 'drawCircle'.\n     argument #6"},
        {"drawSolidCircle({}, 1, 0)", "error in function 'drawSolidCircle'.\n     argument #4"},
        {"drawQuadBezier({}, {}, {})", "error in function 'drawQuadBezier'.\n     argument #4"},
        {"drawCubicBezier({}, {}, {}, {}, {})", "error in function 'drawCubicBezier'.\n     argument #5"},
        {"drawCatmullRom(1, 2)", "error in function 'drawCatmullRom'.\n     argument #1"},
        {"drawCardinalSpline({}, 1)", "error in function 'drawCardinalSpline'.\n     argument #3"},
        {"drawColor4B(1, 2, 3)", "error in function 'drawColor4B'.\n     argument #4"},
        {"drawColor4F(1, 2, 3, {})", "error in function 'drawColor4F'.\n     argument #4"},
        {"setPointSize()", "error in function 'setPointSize'.\n     argument #1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        GLRecorder recorder;
        const std::string error = run(std::string("cc.DrawPrimitives.") + c.call);
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_TRUE(recorder.draws().empty());
    }
}

TEST_F(DrawPrimitivesBindingTest, ColourAndPointSizeReachTheDrawProgram) {
    GLRecorder recorder;
    ASSERT_EQ(run("cc.DrawPrimitives.drawColor4B(256, 255, 0, 51) cc.DrawPrimitives.setPointSize(5)\n"
                  "cc.DrawPrimitives.drawPoint({x = 1, y = 1})"),
              "");
    const std::vector<double> color = uniform(recorder, "u_color", "glUniform4f");
    ASSERT_EQ(color.size(), 4u);
    EXPECT_EQ(color[0], 0.0);   // 256 keeps its low 8 bits
    EXPECT_FLOAT_EQ(static_cast<float>(color[1]), 1.f);
    EXPECT_EQ(color[2], 0.0);
    EXPECT_FLOAT_EQ(static_cast<float>(color[3]), 0.2f);
    EXPECT_EQ(uniform(recorder, "u_pointSize", "glUniform1f"), std::vector<double>{5.0});

    // A solid rectangle draws in its own colour and leaves the draw colour alone.
    recorder.clear();
    ASSERT_EQ(run("cc.DrawPrimitives.drawColor4F(0.5, 0.25, 1, 1)\n"
                  "cc.DrawPrimitives.drawSolidRect({}, {x = 1, y = 1}, {r = 1, b = 1})\n"
                  "cc.DrawPrimitives.drawLine({}, {x = 1})"),
              "");
    const auto sets = recorder.callsNamed("glUniform4f");
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0]->args, (std::vector<double>{sets[0]->args[0], 1, 0, 1, 0}));
    EXPECT_EQ(sets[1]->args, (std::vector<double>{sets[1]->args[0], 0.5, 0.25, 1, 1}));
}

}  // namespace
}  // namespace bindingtest
