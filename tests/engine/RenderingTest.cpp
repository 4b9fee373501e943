// The rendering layer through the GL recorder: the state cache, texture upload,
// programs and their built-in uniforms, the render queue, node visits and the
// director's frame, immediate drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/renderer/DrawPrimitives.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/GLRecorder.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Scene.h"

using namespace engine;

namespace {

std::vector<std::string> g_drawn;

struct View : GLView {
    View() { setFrameSize(200, 100); }
};

// A node whose draw queues a command that logs its name when run.
struct Marker : Node {
    static Marker* create(const std::string& name, int localZ = 0, float globalZ = 0) {
        auto* node = new Marker;
        node->name = name;
        node->setLocalZOrder(localZ);
        node->setGlobalZOrder(globalZ);
        node->autorelease();
        return node;
    }
    void draw(Renderer* renderer, const Mat4& transform, uint32_t) override {
        seen = transform;
        command.init(getGlobalZOrder());
        command.func = [this] { g_drawn.push_back(name); };
        renderer->addCommand(&command);
    }
    void update(float dt) override { updates.push_back(dt); }
    std::string name;
    CustomCommand command;
    Mat4 seen;
    std::vector<float> updates;
};

struct RenderingTest : ::testing::Test {
    RenderingTest() { g_drawn.clear(); }
    ~RenderingTest() override {
        Director::destroyInstance();
        GLProgramCache::destroyInstance();
    }
};

TEST_F(RenderingTest, StateCacheReachesGLOnlyOnChanges) {
    GLRecorder gl;
    GL::bindTexture2D(7);
    GL::bindTexture2D(7);
    GL::bindTexture2D(8);
    EXPECT_EQ(gl.count("glBindTexture"), 2u);

    GL::blendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    GL::blendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    GL::blendFunc(GL_ONE, GL_ZERO);   // no blending at all
    std::vector<std::string> names;
    for (const auto& call : gl.calls()) {
        if (call.name.find("Blend") != std::string::npos || call.name == "glEnable" || call.name == "glDisable")
            names.push_back(call.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"glEnable", "glBlendFunc", "glDisable"}));

    GL::bindVAO(0);
    GL::bindVAO(0);
    EXPECT_EQ(gl.count("glBindVertexArray"), 1u);
}

TEST_F(RenderingTest, TexturesUploadOncePerContext) {
    Texture2D* texture = Texture2D::createWithData(std::vector<unsigned char>(2 * 3 * 4, 9), 2, 3,
                                                   Texture2D::PixelFormat::RGBA8888);
    EXPECT_EQ(texture->getName(), 0u) << "no context: nothing to upload to";
    {
        GLRecorder gl;
        GLuint name = texture->getName();
        EXPECT_NE(name, 0u);
        EXPECT_EQ(texture->getName(), name);
        auto uploads = gl.callsNamed("glTexImage2D");
        ASSERT_EQ(uploads.size(), 1u);
        EXPECT_EQ(uploads[0]->args[3], 2);
        EXPECT_EQ(uploads[0]->args[4], 3);
        EXPECT_EQ(uploads[0]->args[6], GL_RGBA);
    }
    {
        GLRecorder gl;   // a new context knows nothing of the old texture
        texture->getName();
        EXPECT_EQ(gl.count("glTexImage2D"), 1u);
        texture->release();
        EXPECT_EQ(gl.count("glDeleteTextures"), 1u);
    }
}

TEST_F(RenderingTest, ProgramLinksOnceWithFixedAttributesAndSetsBuiltins) {
    GLRecorder gl;
    auto* view = new View;
    Director::getInstance()->setOpenGLView(view);
    view->release();
    Director::getInstance()->setProjection2D();
    GLProgram* program =
        GLProgramCache::getInstance()->getGLProgram(GLProgram::SHADER_NAME_POSITION_TEXTURE_COLOR);
    ASSERT_NE(program, nullptr);
    GLProgramState* state = GLProgramState::getOrCreateWithGLProgram(program);
    EXPECT_EQ(GLProgramState::getOrCreateWithGLProgramName(GLProgram::SHADER_NAME_POSITION_TEXTURE_COLOR), state);

    Mat4 modelView;
    Mat4::createTranslation(50, 25, 0, &modelView);
    state->apply(modelView);
    state->apply(modelView);
    EXPECT_EQ(gl.count("glLinkProgram"), 1u);
    EXPECT_EQ(gl.count("glUseProgram"), 1u);
    std::vector<std::pair<double, std::string>> attributes;
    for (const auto* call : gl.callsNamed("glBindAttribLocation")) attributes.emplace_back(call->args[1], call->text);
    EXPECT_EQ(attributes, (std::vector<std::pair<double, std::string>>{{0, "a_position"}, {1, "a_color"}, {2, "a_texCoord"}}));
    for (const auto* call : gl.callsNamed("glShaderSource")) EXPECT_EQ(call->text.rfind("#version 110", 0), 0u);

    // The matrix takes the translated point (0, 0) to the middle of the 200 x 100 view.
    auto matrices = gl.callsNamed("glUniformMatrix4fv");
    ASSERT_EQ(matrices.size(), 2u);
    Mat4 mvp(matrices[0]->floats.data());
    Vec3 p(0, 0, 0);
    mvp.transformPoint(&p);
    EXPECT_NEAR(p.x, -0.5f, 1e-6);
    EXPECT_NEAR(p.y, -0.5f, 1e-6);
}

TEST_F(RenderingTest, QueueRunsByGlobalZStableAmongEquals) {
    Renderer renderer;
    std::vector<std::string> ran;
    CustomCommand a, b, c, late;
    struct Case { CustomCommand* command; float z; const char* name; } cases[] = {
        {&a, 1, "a"}, {&b, -1, "b"}, {&c, 1, "c"}};
    for (auto& k : cases) {
        k.command->init(k.z);
        k.command->func = [&ran, name = k.name] { ran.push_back(name); };
        renderer.addCommand(k.command);
    }
    late.func = [&ran] { ran.push_back("late"); };
    a.func = [&] { ran.push_back("a"); renderer.addCommand(&late); };
    renderer.render();
    EXPECT_EQ(ran, (std::vector<std::string>{"b", "a", "c"}));
    renderer.render();
    EXPECT_EQ(ran.back(), "late");
    EXPECT_EQ(renderer.getQueuedCommandCount(), 0u);
}

TEST_F(RenderingTest, FrameVisitsSceneInZOrderWithTransformsAndRunsUpdates) {
    GLRecorder gl;
    Director* director = Director::getInstance();
    auto* view = new View;
    director->setOpenGLView(view);
    view->release();
    Scene* scene = Scene::create();
    Marker* parent = Marker::create("parent");
    parent->setPosition(10, 20);
    Marker* behind = Marker::create("behind", -1);
    Marker* front = Marker::create("front", 1);
    Marker* top = Marker::create("top", 0, 5);   // first in the tree, last on screen
    Marker* hidden = Marker::create("hidden");
    hidden->setVisible(false);
    scene->addChild(top);
    scene->addChild(parent);
    parent->addChild(front, 1);
    parent->addChild(behind, -1);
    parent->addChild(hidden);
    front->setPosition(1, 2);
    front->scheduleUpdate();
    director->runWithScene(scene);
    director->mainLoop(0.25f);   // switches the scene in, then draws it
    director->mainLoop(0.5f);
    EXPECT_EQ(g_drawn, (std::vector<std::string>{"behind", "parent", "front", "top", "behind", "parent", "front", "top"}));
    Vec3 origin;
    front->seen.transformPoint(&origin);
    EXPECT_EQ(origin.x, 11);
    EXPECT_EQ(origin.y, 22);
    EXPECT_EQ(front->updates, (std::vector<float>{0.25f, 0.5f}));
    EXPECT_EQ(gl.count("glClear"), 2u);
    EXPECT_EQ(gl.callsNamed("glViewport")[0]->args, (std::vector<double>{0, 0, 200, 100}));
    front->unscheduleUpdate();
    director->mainLoop(0.5f);
    EXPECT_EQ(front->updates.size(), 2u);
}

TEST_F(RenderingTest, DrawPrimitivesDrawInModelViewSpaceAndCount) {
    GLRecorder gl;
    Director* director = Director::getInstance();
    Mat4 moved;
    Mat4::createTranslation(3, 4, 0, &moved);
    director->loadMatrix(MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW, moved);
    DrawPrimitives::setDrawColor4B(255, 0, 0, 255);
    DrawPrimitives::drawLine(Vec2(1, 2), Vec2(5, 6));
    const Vec2 square[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    DrawPrimitives::drawPoly(square, 4, true);

    auto draws = gl.draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->args, (std::vector<double>{GL_LINES, 0, 2}));
    EXPECT_EQ(draws[1]->args, (std::vector<double>{GL_LINE_LOOP, 0, 4}));
    const GLRecordedArray* points = draws[0]->array(0);
    ASSERT_NE(points, nullptr);
    EXPECT_EQ(points->floatAt(1, 0), 5);
    EXPECT_EQ(points->floatAt(1, 1), 6);
    auto colours = gl.callsNamed("glUniform4f");
    ASSERT_FALSE(colours.empty());
    EXPECT_EQ(colours[0]->args, (std::vector<double>{colours[0]->args[0], 1, 0, 0, 1}));
    Mat4 mvp(gl.callsNamed("glUniformMatrix4fv")[0]->floats.data());
    EXPECT_EQ(mvp.at(0, 3), 3);   // no view: identity projection, the model-view as is
    EXPECT_EQ(director->getRenderer()->getDrawnBatches(), 2u);
    EXPECT_EQ(director->getRenderer()->getDrawnVertices(), 6u);
}

}  // namespace
