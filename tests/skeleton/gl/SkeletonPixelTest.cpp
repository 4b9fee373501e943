// A skeleton drawn on a real GL 2.1 context (hidden GLFW window on Mesa) and read
// back: inside its region the page's solid colour, outside the clear colour.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <array>

#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"
#include "skeleton/RenderFixture.h"
#include "skeleton/SkeletonRenderer.h"

namespace {

struct View : engine::GLView {
    View() { setFrameSize(64, 64); }
};

std::array<unsigned, 4> pixel(int x, int y) {
    unsigned char rgba[4] = {};
    engine::GL::fn().readPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

TEST(SkeletonPixelTest, RegionDrawsThePageColourOnTheClearColour) {
    if (!glfwInit()) GTEST_SKIP() << "no display for a GL window";
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 1);
    GLFWwindow* window = glfwCreateWindow(64, 64, "skeleton", nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    glfwMakeContextCurrent(window);
    ASSERT_TRUE(engine::GL::useSystemFunctions());
    {
        skeleton_test::RenderFiles files(0x20c040ff);
        // One 20 x 20 region around the node at (32, 32): pixels 22 .. 41.
        std::string json = files.skeleton("s.json", R"({"bones": [{"name": "root"}],
            "slots": [{"name": "s", "bone": "root", "attachment": "quad"}],
            "skins": {"default": {"s": {"quad": {"width": 20, "height": 20}}}}})");
        engine::Director* director = engine::Director::getInstance();
        auto* view = new View;
        director->setOpenGLView(view);
        view->release();
        engine::Scene* scene = engine::Scene::create();
        auto* node = skeleton::SkeletonRenderer::createWithFile(json, files.atlas());
        node->setPosition(32, 32);
        scene->addChild(node);
        director->runWithScene(scene);
        director->mainLoop(0);
        engine::GL::fn().finish();

        EXPECT_EQ(engine::GL::fn().getError(), GLenum(GL_NO_ERROR));
        using P = std::array<unsigned, 4>;
        for (auto [x, y] : {std::pair{32, 32}, {23, 23}, {40, 40}}) EXPECT_EQ(pixel(x, y), (P{0x20, 0xc0, 0x40, 0xff}));
        for (auto [x, y] : {std::pair{5, 5}, {20, 32}, {32, 44}, {60, 60}}) EXPECT_EQ(pixel(x, y), (P{0, 0, 0, 0xff}));

        engine::Director::destroyInstance();
        engine::TextureCache::destroyInstance();
        engine::GLProgramCache::destroyInstance();
    }
    engine::GL::setFunctions(engine::GL::noopFunctions());
    glfwDestroyWindow(window);
    glfwTerminate();
}

}  // namespace
