// Screen capture: the frame read back after the director renders it and written
// as a PNG (top row first), the completion reported once from the next update;
// without a GL context or a view the capture reports failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/base/Utils.h"
#include "engine/image/Image.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgramCache.h"
#include "support/TestSupport.h"

namespace {

using engine::Director;

struct BareView : engine::GLView {};

// A context whose frame has pixel (x, y) = (x, y, 7, 0), y counted from the bottom.
engine::GLFunctions patternContext() {
    engine::GLFunctions table = engine::GL::noopFunctions();
    table.hasContext = true;
    table.readPixels = [](GLint, GLint, GLsizei w, GLsizei h, GLenum, GLenum, void* pixels) {
        auto* out = static_cast<unsigned char*>(pixels);
        for (GLsizei y = 0; y < h; ++y) {
            for (GLsizei x = 0; x < w; ++x) {
                unsigned char* p = out + 4 * (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x));
                p[0] = static_cast<unsigned char>(x);
                p[1] = static_cast<unsigned char>(y);
                p[2] = 7;
                p[3] = 0;   // written opaque
            }
        }
    };
    return table;
}

struct CaptureScreenTest : ::testing::Test {
    ~CaptureScreenTest() override {
        Director::destroyInstance();
        engine::GLProgramCache::destroyInstance();
        engine::GL::setFunctions(engine::GL::noopFunctions());
        if (view) view->release();
    }
    std::vector<std::string> calls;
    std::function<void(bool, const std::string&)> record() {
        return [this](bool ok, const std::string& path) { calls.push_back((ok ? "true " : "false ") + path); };
    }
    testsupport::TempDir dir;
    engine::GLView* view = nullptr;
};

TEST_F(CaptureScreenTest, RenderedFrameIsWrittenTopRowFirstAndReportedOnce) {
    view = new BareView;
    view->setFrameSize(5, 3);
    Director::getInstance()->setOpenGLView(view);
    engine::GL::setFunctions(patternContext());
    const std::string path = dir.file("shot.png");
    engine::utils::captureScreen(record(), path);
    Director::getInstance()->mainLoop(0.f);   // renders, captures, queues the report
    EXPECT_TRUE(calls.empty());
    Director::getInstance()->mainLoop(0.f);
    Director::getInstance()->mainLoop(0.f);
    ASSERT_EQ(calls, std::vector<std::string>{"true " + path});

    engine::Image image;
    ASSERT_TRUE(image.initWithImageFile(path));
    ASSERT_EQ(image.getWidth(), 5);
    ASSERT_EQ(image.getHeight(), 3);
    const unsigned char* top = image.getData();
    const unsigned char* bottomRight = image.getData() + 4 * (2 * 5 + 4);
    EXPECT_EQ(std::vector<int>(top, top + 4), (std::vector<int>{0, 2, 7, 255}));
    EXPECT_EQ(std::vector<int>(bottomRight, bottomRight + 4), (std::vector<int>{4, 0, 7, 255}));
}

TEST_F(CaptureScreenTest, WithoutAContextOrAViewItReportsFailure) {
    struct Case {
        bool context;
        bool withView;
    };
    for (const Case c : {Case{false, true}, Case{true, false}}) {
        SCOPED_TRACE(c.context);
        calls.clear();
        if (c.withView && !view) {
            view = new BareView;
            view->setFrameSize(5, 3);
        }
        Director::getInstance()->setOpenGLView(c.withView ? view : nullptr);
        engine::GL::setFunctions(c.context ? patternContext() : engine::GL::noopFunctions());
        const std::string path = dir.file("none.png");
        engine::utils::captureScreen(record(), path);
        Director::getInstance()->mainLoop(0.f);
        Director::getInstance()->mainLoop(0.f);
        EXPECT_EQ(calls, std::vector<std::string>{"false " + path});
        EXPECT_TRUE(testsupport::readFile(path).empty());
    }
}

TEST_F(CaptureScreenTest, UnwritablePathReportsFailure) {
    view = new BareView;
    view->setFrameSize(2, 2);
    Director::getInstance()->setOpenGLView(view);
    engine::GL::setFunctions(patternContext());
    const std::string path = dir.file("missing-folder/shot.png");
    engine::utils::captureScreen(record(), path);
    for (int i = 0; i < 3; ++i) Director::getInstance()->mainLoop(0.f);
    EXPECT_EQ(calls, std::vector<std::string>{"false " + path});
}

}  // namespace
