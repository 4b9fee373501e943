#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Activation.h"
#include "platform/Button.h"
#include "platform/Paint.h"
#include "platform/WindowClass.h"
#include "platform/WindowPos.h"
#include "support/TestSupport.h"

using namespace platform;

namespace {

std::vector<std::pair<HWND, UINT>> seen;
std::vector<DRAWITEMSTRUCT> drawn;
std::vector<std::pair<HWND, UINT>> commands;

void fill(HDC hdc, double r, double g, double b) {
    cairo_set_source_rgb(hdc, r, g, b);
    cairo_paint(hdc);
}

// Paints red; its owner-drawn children blue (green while selected).
LRESULT panelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
        case WM_PAINT: seen.emplace_back(hwnd, msg); break;
        default: break;
    }
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hdc = beginPaint(hwnd, &ps);
        fill(hdc, 1, 0, 0);
        endPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        drawn.push_back(*item);
        const bool selected = item->itemState & ODS_SELECTED;
        fill(item->hDC, 0, selected ? 1 : 0, selected ? 0 : 1);
        return 1;
    }
    if (msg == WM_COMMAND) commands.emplace_back(static_cast<HWND>(lParam), static_cast<UINT>(wParam));
    return defWindowProc(hwnd, msg, wParam, lParam);
}

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetWindowModel();
        seen.clear();
        drawn.clear();
        commands.clear();
        WNDCLASS wc;
        wc.className = "TestPanel";
        wc.proc = panelProc;
        ASSERT_NE(registerClass(wc), 0);
        EXPECT_EQ(registerClass(wc), 0) << "registered twice";
        WindowDesc desc;
        desc.className = "testpanel";   // names compare without case
        desc.windowRect = {100, 100, 160, 400};
        desc.frameLeft = desc.frameTop = desc.frameRight = desc.frameBottom = 0;
        panel = createWindow(desc);
        WindowDesc button;
        button.className = "BUTTON";
        button.parent = panel;
        button.id = 7456;
        button.style = WS_CHILD | BS_OWNERDRAW;
        button.frameLeft = button.frameTop = button.frameRight = button.frameBottom = 0;
        button.windowRect = {110, 110, 146, 146};
        this->button = createWindow(button);
    }
    void TearDown() override { resetWindowModel(); }

    HWND panel = 0;
    HWND button = 0;
};

TEST_F(PaintTest, ThePumpErasesAndPaintsInvalidWindowsOnce) {
    EXPECT_TRUE(getUpdateRect(panel, nullptr)) << "new windows start invalid";
    pumpMessages();
    EXPECT_EQ(seen, (std::vector<std::pair<HWND, UINT>>{{panel, WM_PAINT}, {panel, WM_ERASEBKGND}}));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].CtlType, ODT_BUTTON);
    EXPECT_EQ(drawn[0].CtlID, 7456u);
    EXPECT_EQ(drawn[0].hwndItem, button);
    EXPECT_EQ(drawn[0].rcItem, (RECT{0, 0, 36, 36}));
    EXPECT_EQ(drawn[0].itemState, 0u);
    seen.clear();
    pumpMessages();
    EXPECT_TRUE(seen.empty());

    // Invalidation without erasing; the update rectangle grows.
    RECT a{0, 0, 5, 5}, b{20, 30, 25, 40};
    invalidateRect(panel, &a, false);
    invalidateRect(panel, &b, false);
    RECT update;
    ASSERT_TRUE(getUpdateRect(panel, &update));
    EXPECT_EQ(update, (RECT{0, 0, 25, 40}));
    pumpMessages();
    EXPECT_EQ(seen, (std::vector<std::pair<HWND, UINT>>{{panel, WM_PAINT}}));

    // Hidden windows wait; showing paints.
    seen.clear();
    showWindow(panel, false);
    redrawWindow(panel, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    pumpMessages();
    EXPECT_TRUE(seen.empty());
    showWindow(panel, true);
    pumpMessages();
    EXPECT_EQ(paintCount(panel), 3);
    EXPECT_EQ(drawn.size(), 2u) << "the child's paint waited too";
}

TEST_F(PaintTest, RedrawWithAllChildrenAndComposeIntoOneImage) {
    pumpMessages();
    const int before = paintCount(button);
    redrawWindow(panel, nullptr, RDW_INVALIDATE);
    pumpMessages();
    EXPECT_EQ(paintCount(button), before) << "children are left alone";
    redrawWindow(panel, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(paintCount(button), before + 1) << "painted at once";

    const WindowImage image = composeWindow(panel);
    ASSERT_EQ(image.width, 60);
    ASSERT_EQ(image.height, 300);
    EXPECT_EQ(image.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(9, 10), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(10, 10), 0xFF0000FFu);   // the button's first pixel
    EXPECT_EQ(image.pixel(45, 45), 0xFF0000FFu);
    EXPECT_EQ(image.pixel(46, 46), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(60, 0), 0u) << "outside";

    testsupport::TempDir dir;
    ASSERT_TRUE(image.writePng(dir.file("panel.png")));
    EXPECT_EQ(testsupport::readFile(dir.file("panel.png")).substr(1, 3), "PNG");

    showWindow(button, false);
    EXPECT_EQ(composeWindow(panel).pixel(20, 20), 0xFFFF0000u) << "hidden children are left out";
}

TEST_F(PaintTest, AButtonIsSelectedWhileHeldAndClicksOnReleaseInside) {
    pumpMessages();
    mouseButtonDown(button, {3, 3});
    EXPECT_EQ(sendMessage(button, BM_GETSTATE, 0, 0), BST_PUSHED);
    EXPECT_EQ(composeWindow(panel).pixel(20, 20), 0xFF00FF00u) << "drawn selected";
    EXPECT_TRUE(drawn.back().itemState & ODS_SELECTED);
    EXPECT_TRUE(commands.empty());
    mouseButtonUp(button, {3, 3});
    EXPECT_EQ(commands, (std::vector<std::pair<HWND, UINT>>{{button, makeWParam(7456, BN_CLICKED)}}));
    EXPECT_EQ(composeWindow(panel).pixel(20, 20), 0xFF0000FFu);

    mouseButtonDown(button, {3, 3});
    mouseButtonUp(button, {40, 3});   // released outside
    EXPECT_EQ(commands.size(), 1u);
    EXPECT_EQ(sendMessage(button, BM_GETSTATE, 0, 0), 0);
    sendMessage(button, BM_CLICK, 0, 0);
    EXPECT_EQ(commands.size(), 2u);
}

}  // namespace
