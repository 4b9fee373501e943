// The sidebar as painted after the real start-up, read back pixel by pixel. The
// images are also written under the build folder for a person to look at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/app/SimulatorWin.h"
#include "platform/Activation.h"
#include "platform/Monitor.h"
#include "platform/Paint.h"
#include "support/TestSupport.h"

using namespace platform;
using host::SimulatorWin;

namespace {

constexpr uint32_t kBorder = 0xFFB37F30;
constexpr uint32_t kClear = 0xFF231611;
constexpr uint32_t kText = 0xFFF8D48F;
constexpr uint32_t kTextHighlighted = 0xFF301909;

uint32_t red(uint32_t argb) { return (argb >> 16) & 0xFF; }

class SidebarPixels : public ::testing::Test {
protected:
    void start(int dpi, RECT rect, const char* settings, std::vector<std::string> extra = {}) {
        MonitorInfo m;
        m.rect = rect;
        m.workArea = RECT{rect.left, rect.top, rect.right, rect.bottom - 40};
        m.dpiX = m.dpiY = dpi;
        setMonitors({m});
        if (settings) dir.write("save/pc_window.ini", settings);
        std::vector<std::string> args = {SimulatorWin::getApplicationExePath(), "-workdir", dir.path(),
                                         "-writable-path", dir.file("save")};
        args.insert(args.end(), extra.begin(), extra.end());
        host = SimulatorWin::getInstance();
        host->startUp(args);
        sidebar = host->getSidebarWindow();
        ASSERT_NE(sidebar, 0u);
    }
    WindowImage image() const { return composeWindow(sidebar); }
    // Whether a light (text-coloured) pixel lies in the rectangle.
    static bool anyLight(const WindowImage& img, int left, int top, int right, int bottom) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (red(img.pixel(x, y)) >= 0xC0) return true;
            }
        }
        return false;
    }

    testsupport::TempDir dir;
    SimulatorWin* host = nullptr;
    HWND sidebar = 0;
};

TEST_F(SidebarPixels, At96Dpi) {
    start(96, {0, 0, 1920, 1080}, nullptr);
    WindowImage img = image();
    ASSERT_EQ(img.width, 62);
    ASSERT_EQ(img.height, 412);
    EXPECT_TRUE(img.writePng(VEXO_BINARY_DIR "/sidebar-96.png"));

    EXPECT_EQ(img.pixel(0, 0), kBorder);
    EXPECT_EQ(img.pixel(61, 411), kBorder);
    EXPECT_NE(img.pixel(1, 410), kBorder) << "one pixel wide";
    EXPECT_EQ(img.pixel(3, 3), kClear) << "a button's corner";
    // Buttons 56 x 58 at (3, 3 + 58 i); icons 24 wide at (16, 7), 2-pixel lines.
    EXPECT_EQ(img.pixel(31, 22), kText) << "zoom out's line";
    EXPECT_EQ(img.pixel(24, 128), kTextHighlighted) << "fit is highlighted while automatic";
    EXPECT_EQ(img.pixel(31, 186), kText) << "pin is not";
    EXPECT_TRUE(anyLight(img, 9, 3 + 37, 53, 3 + 53)) << "labels under the icons";

    // A held button is highlighted; pinning and a zoom of its own swap the two.
    const HWND zoomOut = getDlgItem(sidebar, 7456);
    mouseButtonDown(zoomOut, {5, 5});
    EXPECT_EQ(image().pixel(31, 22), kTextHighlighted);
    mouseButtonUp(zoomOut, {500, 5});   // released outside: no command
    sendMessage(host->getMainWindow(), WM_COMMAND, 7488, 0);
    sendMessage(host->getMainWindow(), WM_COMMAND, 7456, 0);
    img = image();
    EXPECT_EQ(img.pixel(31, 22), kText);
    EXPECT_EQ(img.pixel(24, 128), kText);
    EXPECT_EQ(img.pixel(31, 186), kTextHighlighted);
}

TEST_F(SidebarPixels, At144DpiPinnedAndMuted) {
    start(144, {0, 0, 2560, 1440}, "[Window]\nPinned=1\nMusicMuted=1\n");
    const WindowImage img = image();
    ASSERT_EQ(img.width, 93);
    ASSERT_EQ(img.height, 618);
    EXPECT_TRUE(img.writePng(VEXO_BINARY_DIR "/sidebar-144-pinned-muted.png"));

    EXPECT_EQ(img.pixel(1, 1), kBorder) << "two pixels wide";
    EXPECT_EQ(img.pixel(46, 616), kBorder);
    EXPECT_NE(img.pixel(46, 615), kBorder);
    EXPECT_EQ(img.pixel(5, 5), kClear);
    // Buttons 83 x 86 at (5, 5 + 86 i); icons 36 wide at (23, 10), 4-pixel lines.
    EXPECT_EQ(img.pixel(46, 33), kText) << "zoom out's line";
    EXPECT_EQ(img.pixel(46, 277), kTextHighlighted) << "pin is highlighted while pinned";
    EXPECT_TRUE(anyLight(img, 10, 5 + 57, 78, 5 + 81)) << "labels under the icons";
}

TEST_F(SidebarPixels, NoLabelUnderTheHeightThreshold) {
    start(96, {0, 0, 1920, 1080}, nullptr, {"-resolution", "450x300"});
    const WindowImage img = image();
    ASSERT_EQ(img.height, 300);
    // Buttons 42 high: the icon is centred in the whole button, no band is kept.
    EXPECT_EQ(img.pixel(31, 3 + 21), kText);
    EXPECT_FALSE(anyLight(img, 9, 3 + 24, 53, 3 + 37));
}

}  // namespace
