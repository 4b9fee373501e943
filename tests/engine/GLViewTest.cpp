// Design-resolution policies of the view and the desktop view's window.
#include <gtest/gtest.h>

#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/app/Application.h"
#include "engine/app/GLView.h"
#include "engine/input/TextInputHooks.h"
#include "platform/NativeWindow.h"
#include "platform/Window.h"
#include "platform/WindowPos.h"
#include "support/TestSupport.h"

using engine::GLViewImpl;
using engine::Rect;
using engine::ResolutionPolicy;
using engine::Size;
using engine::Vec2;

namespace {

struct PlainView : engine::GLView {};

struct PolicyCase {
    const char* name;
    ResolutionPolicy policy;
    Size design;
    float scaleX, scaleY;
    Rect viewport;
    Size designAfter, visible;
    Vec2 visibleOrigin;
};

TEST(GLViewTest, DesignResolutionPolicies) {
    const Size frame(1000, 600);
    const PolicyCase cases[] = {
        {"exact fit", ResolutionPolicy::EXACT_FIT, {500, 500}, 2.f, 1.2f, {0, 0, 1000, 600},
         {500, 500}, {500, 500}, {0, 0}},
        {"no border", ResolutionPolicy::NO_BORDER, {500, 500}, 2.f, 2.f, {0, -200, 1000, 1000},
         {500, 500}, {500, 300}, {0, 100}},
        {"show all", ResolutionPolicy::SHOW_ALL, {500, 500}, 1.2f, 1.2f, {200, 0, 600, 600},
         {500, 500}, {500, 500}, {0, 0}},
        {"fixed height", ResolutionPolicy::FIXED_HEIGHT, {400, 300}, 2.f, 2.f, {0, 0, 1000, 600},
         {500, 300}, {500, 300}, {0, 0}},
        {"fixed width", ResolutionPolicy::FIXED_WIDTH, {500, 400}, 2.f, 2.f, {0, 0, 1000, 600},
         {500, 300}, {500, 300}, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlainView view;
        view.setFrameSize(frame.width, frame.height);
        view.setDesignResolutionSize(c.design.width, c.design.height, c.policy);
        EXPECT_FLOAT_EQ(view.getScaleX(), c.scaleX);
        EXPECT_FLOAT_EQ(view.getScaleY(), c.scaleY);
        const Rect& vp = view.getViewPortRect();
        EXPECT_FLOAT_EQ(vp.origin.x, c.viewport.origin.x);
        EXPECT_FLOAT_EQ(vp.origin.y, c.viewport.origin.y);
        EXPECT_FLOAT_EQ(vp.size.width, c.viewport.size.width);
        EXPECT_FLOAT_EQ(vp.size.height, c.viewport.size.height);
        EXPECT_FLOAT_EQ(view.getDesignResolutionSize().width, c.designAfter.width);
        EXPECT_FLOAT_EQ(view.getDesignResolutionSize().height, c.designAfter.height);
        EXPECT_FLOAT_EQ(view.getVisibleSize().width, c.visible.width);
        EXPECT_FLOAT_EQ(view.getVisibleSize().height, c.visible.height);
        EXPECT_FLOAT_EQ(view.getVisibleOrigin().x, c.visibleOrigin.x);
        EXPECT_FLOAT_EQ(view.getVisibleOrigin().y, c.visibleOrigin.y);
        EXPECT_EQ(view.getResolutionPolicy(), c.policy);
    }
}

TEST(GLViewTest, WithoutAPolicyTheFrameIsEverything) {
    PlainView view;
    view.setFrameSize(800, 450);
    EXPECT_EQ(view.getViewPortRect(), Rect(0, 0, 800, 450));
    EXPECT_EQ(view.getVisibleSize(), Size(800, 450));
    EXPECT_EQ(view.getVisibleOrigin(), Vec2(0, 0));
    EXPECT_EQ(view.getScaleX(), 1.f);
}

TEST(GLViewTest, FrameChangesRecomputeAndBadDesignSizesAreRefused) {
    PlainView view;
    view.setFrameSize(1000, 600);
    view.setDesignResolutionSize(500, 500, ResolutionPolicy::SHOW_ALL);
    view.setFrameSize(500, 1000);
    EXPECT_FLOAT_EQ(view.getScaleX(), 1.f);
    EXPECT_EQ(view.getViewPortRect(), Rect(0, 250, 500, 500));

    testsupport::LogCapture log;
    view.setDesignResolutionSize(0, 100, ResolutionPolicy::EXACT_FIT);
    EXPECT_EQ(view.getDesignResolutionSize(), Size(500, 500));
    EXPECT_EQ(view.getResolutionPolicy(), ResolutionPolicy::SHOW_ALL);
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST(GLViewTest, ContextAttributesAreKept) {
    engine::GLContextAttrs attrs;
    attrs.depthBits = 16;
    attrs.stencilBits = 0;
    engine::GLView::setGLContextAttrs(attrs);
    EXPECT_EQ(engine::GLView::getGLContextAttrs().depthBits, 16);
    EXPECT_EQ(engine::GLView::getGLContextAttrs().stencilBits, 0);
}

struct GLViewImplTest : ::testing::Test {
    ~GLViewImplTest() override {
        engine::Director::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
        platform::resetWindowModel();
    }
};

platform::RECT clientRect(platform::HWND hwnd) {
    platform::RECT r;
    EXPECT_TRUE(platform::getClientRect(hwnd, &r));
    return r;
}

TEST_F(GLViewImplTest, WindowIsTitledAndSizedByFrameAndZoom) {
    struct Case {
        Rect rect;
        float zoom;
        int clientW, clientH;
    };
    const Case cases[] = {
        {{10, 20, 480, 320}, 1.f, 480, 320},
        {{0, 0, 480, 320}, 1.5f, 720, 480},
        {{0, 0, 333, 222}, 1.25f, 416, 278},   // 416.25 and 277.5, rounded
    };
    for (const auto& c : cases) {
        GLViewImpl* view = GLViewImpl::createWithRect("Mộc Hà Lục", c.rect, c.zoom);
        ASSERT_NE(view, nullptr);
        platform::HWND hwnd = view->getWin32Window();
        ASSERT_TRUE(platform::isWindow(hwnd));
        EXPECT_EQ(platform::getWindowText(hwnd), "Mộc Hà Lục");
        EXPECT_EQ(view->getFrameSize(), c.rect.size);
        EXPECT_EQ(view->getFrameZoomFactor(), c.zoom);
        platform::RECT client = clientRect(hwnd);
        EXPECT_EQ(client.width(), c.clientW);
        EXPECT_EQ(client.height(), c.clientH);
        platform::RECT window;
        ASSERT_TRUE(platform::getWindowRect(hwnd, &window));
        EXPECT_EQ(window.left, static_cast<int>(c.rect.origin.x));
        EXPECT_EQ(window.top, static_cast<int>(c.rect.origin.y));
    }
}

TEST_F(GLViewImplTest, ANamedViewAloneGetsTheDefaultFrame) {
    GLViewImpl* view = GLViewImpl::create("game");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(platform::getWindowText(view->getWin32Window()), "game");
    EXPECT_EQ(view->getFrameSize(), engine::Size(960, 640));
    EXPECT_EQ(clientRect(view->getWin32Window()).width(), 960);
}

TEST_F(GLViewImplTest, ZoomAndFrameChangesResizeTheClientArea) {
    GLViewImpl* view = GLViewImpl::createWithRect("view", Rect(50, 60, 400, 300), 1.f);
    platform::HWND hwnd = view->getWin32Window();
    platform::RECT before;
    platform::getWindowRect(hwnd, &before);

    view->setFrameZoomFactor(2.f);
    platform::RECT client = clientRect(hwnd);
    EXPECT_EQ(client.width(), 800);
    EXPECT_EQ(client.height(), 600);
    platform::RECT after;
    platform::getWindowRect(hwnd, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);

    view->setFrameSize(300, 200);
    client = clientRect(hwnd);
    EXPECT_EQ(client.width(), 600);
    EXPECT_EQ(client.height(), 400);

    // The director's viewport is in window pixels: design points times scale and zoom.
    engine::Director::getInstance()->setOpenGLView(view);
    view->setDesignResolutionSize(150, 100, ResolutionPolicy::SHOW_ALL);
    EXPECT_EQ(view->getLastViewPort(), Rect(0, 0, 600, 400));
}

TEST_F(GLViewImplTest, CloseMessageEndsTheDirectorAndTeardownDestroysTheWindow) {
    GLViewImpl* view = GLViewImpl::createWithRect("view", Rect(0, 0, 200, 100), 1.f);
    auto* director = engine::Director::getInstance();
    director->setOpenGLView(view);
    platform::HWND hwnd = view->getWin32Window();

    director->mainLoop(0.f);
    EXPECT_FALSE(view->windowShouldClose());
    ASSERT_TRUE(platform::postMessage(hwnd, platform::WM_CLOSE, 0, 0));
    EXPECT_FALSE(director->isEnding()) << "posted messages wait for the frame's event poll";
    director->mainLoop(0.f);
    EXPECT_TRUE(view->windowShouldClose());
    EXPECT_TRUE(director->isEnding());
    EXPECT_TRUE(platform::isWindow(hwnd)) << "the window stays until the teardown";

    director->mainLoop(0.f);
    EXPECT_TRUE(director->hasEnded());
    EXPECT_FALSE(platform::isWindow(hwnd));
}

TEST_F(GLViewImplTest, WindowDestroyedFromOutsideIsForgotten) {
    GLViewImpl* view = GLViewImpl::createWithRect("view", Rect(0, 0, 200, 100), 1.f);
    view->retain();
    platform::HWND hwnd = view->getWin32Window();
    ASSERT_TRUE(platform::destroyWindow(hwnd));
    EXPECT_EQ(view->getWin32Window(), 0u);
    view->setFrameZoomFactor(2.f);   // no window to resize: harmless
    view->end();
    view->release();
}

TEST_F(GLViewImplTest, ReleasingTheViewDestroysItsWindow) {
    GLViewImpl* view = GLViewImpl::createWithRect("view", Rect(0, 0, 200, 100), 1.f);
    platform::HWND hwnd = view->getWin32Window();
    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_FALSE(platform::isWindow(hwnd));
}

std::vector<std::vector<int>> g_keys;   // key, scancode, action, mods; or {code point}

struct CountingApp : engine::Application {
    bool applicationDidFinishLaunching() override { return true; }
    void applicationDidEnterBackground() override { ++background; }
    void applicationWillEnterForeground() override { ++foreground; }
    int background = 0, foreground = 0;
};

// Keys arrive in virtual-key codes and reach the view's key entry in the display
// layer's numbering; characters as code points; minimising and restoring move the
// application to the background and back, once each way.
TEST_F(GLViewImplTest, WindowMessagesBecomeKeysCharactersAndApplicationStates) {
    ASSERT_FALSE(platform::nativeDisplayAvailable()) << "the suites run headless";
    CountingApp app;
    GLViewImpl* view = GLViewImpl::createWithRect("view", Rect(0, 0, 200, 100), 1.f);
    const platform::HWND hwnd = view->getWin32Window();
    EXPECT_TRUE(view->isOpenGLReady());
    g_keys.clear();
    engine::vexoSetTextInputHooks(
        [](int key, int scancode, int action, int mods) {
            g_keys.push_back({key, scancode, action, mods});
            return true;
        },
        [](unsigned int codePoint) {
            g_keys.push_back({static_cast<int>(codePoint)});
            return true;
        });
    struct Case {
        platform::UINT msg;
        platform::WPARAM wParam;
        platform::LPARAM lParam;
        std::vector<int> seen;
    };
    const Case cases[] = {
        {platform::WM_KEYDOWN, 0x1B, 9 << 16, {256, 9, 1, 0}},           // Escape pressed
        {platform::WM_KEYDOWN, 0x1B, (9 << 16) | (1 << 30), {256, 9, 2, 0}},   // held: a repeat
        {platform::WM_KEYUP, 0x1B, 9 << 16, {256, 9, 0, 0}},
        {platform::WM_KEYDOWN, 'A', 38 << 16, {'A', 38, 1, 0}},
        {platform::WM_KEYDOWN, 0x70, 67 << 16, {290, 67, 1, 0}},          // F1
        {platform::WM_CHAR, 0x1EA1, 0, {0x1EA1}},                         // "ạ"
    };
    for (const Case& c : cases) platform::sendMessage(hwnd, c.msg, c.wParam, c.lParam);
    std::vector<std::vector<int>> expected;
    for (const Case& c : cases) expected.push_back(c.seen);
    EXPECT_EQ(g_keys, expected);
    engine::vexoSetTextInputHooks(nullptr, nullptr);

    platform::showWindowCommand(hwnd, platform::SW_MINIMIZE);
    platform::showWindowCommand(hwnd, platform::SW_MINIMIZE);
    EXPECT_EQ(app.background, 1);
    EXPECT_EQ(app.foreground, 0);
    platform::showWindowCommand(hwnd, platform::SW_RESTORE);
    EXPECT_EQ(app.foreground, 1);
    view->end();
}

}  // namespace
