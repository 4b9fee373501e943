// The program on a real X display: the fixture project's scene read back from the
// screen at the places its script puts each node, a click reaching the script's
// touch handler, a key, mouse moves, buttons and the wheel reaching its keyboard
// and mouse listeners, and the window manager's close request ending the program
// with status 0. Runs under its own virtual display (xvfb-run); skipped without one.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/ClientProcess.h"
#include "support/TestSupport.h"
#include "XScreen.h"

// Last: Xlib's macros (None, Bool, Status) would spoil the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr const char* kTitle = "Mộc Hà Lục";
constexpr int kDesignWidth = 640, kDesignHeight = 360;
// Every channel within this of the expected value (Mesa's rasteriser and linear
// filtering at the edges of texture rectangles).
constexpr int kTolerance = 10;

using Rgb = xscreen::Rgb;
using xscreen::click;
using xscreen::requestClose;
using xscreen::show;
using xscreen::xdotool;

// The viewable top-level window of that title, 0 when there is none yet.
Window findWindow(Display* display, const std::string& title = kTitle) { return xscreen::findWindow(display, title); }

bool near(const Rgb& a, const Rgb& b) { return xscreen::near(a, b, kTolerance); }

struct Shot {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    // A design point (origin bottom-left) in the window's pixels.
    Rgb at(float x, float y) const {
        const int px = static_cast<int>(x * width / kDesignWidth);
        const int py = static_cast<int>((kDesignHeight - y) * height / kDesignHeight);
        return pixels[static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px)];
    }
};

// The window's area of the root window, as the screen shows it.
Shot screenshot(Display* display, Window window, int* screenX, int* screenY) {
    XWindowAttributes attrs;
    XGetWindowAttributes(display, window, &attrs);
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, screenX, screenY, &child);
    Shot shot;
    XImage* image = XGetImage(display, DefaultRootWindow(display), *screenX, *screenY,
                              static_cast<unsigned>(attrs.width), static_cast<unsigned>(attrs.height), AllPlanes,
                              ZPixmap);
    if (!image) return shot;
    shot.width = attrs.width;
    shot.height = attrs.height;
    for (int y = 0; y < attrs.height; ++y) {
        for (int x = 0; x < attrs.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            shot.pixels.push_back({static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                                   static_cast<int>(p & 0xFF)});
        }
    }
    XDestroyImage(image);
    return shot;
}

struct Probe {
    const char* what;
    float x, y;
    Rgb colour;
};
const Probe kProbes[] = {
    {"background layer", 600, 20, {40, 40, 40}},
    {"coloured layer", 70, 60, {200, 30, 30}},
    {"sprite", 200, 60, {0, 0, 255}},
    {"nine-slice centre", 480, 80, {255, 0, 255}},
    {"nine-slice left edge", 424, 80, {0, 200, 0}},
    {"nine-slice corner", 536, 106, {0, 200, 0}},
    {"nine-slice outside", 480, 116, {40, 40, 40}},
    {"loading bar, filled half", 290, 180, {255, 220, 0}},
    {"loading bar, empty half", 350, 180, {40, 40, 40}},
    {"draw node rectangle", 70, 230, {0, 255, 255}},
    {"skeleton", 600, 130, {224, 144, 48}},
    {"below the skeleton", 600, 105, {40, 40, 40}},
    {"gradient, top", 190, 258, {247, 0, 8}},
    {"gradient, middle", 190, 230, {128, 0, 128}},
    {"gradient, bottom", 190, 202, {8, 0, 247}},
    {"button image, centre slice", 156, 130, {255, 0, 255}},
    {"button image, left edge", 143, 130, {0, 200, 0}},
    {"button image, top-right corner", 256, 147, {0, 200, 0}},
    {"clipping layout's background", 160, 335, {30, 90, 200}},
    {"clipped child, inside", 190, 310, {255, 255, 0}},
    {"clipped child, cut on the left", 130, 310, {40, 40, 40}},
    {"clipped child, cut on the right", 250, 310, {40, 40, 40}},
    {"stencil-clipped child, inside", 320, 80, {255, 128, 0}},
    {"stencil-clipped child, cut on the left", 290, 80, {40, 40, 40}},
    {"stencil-clipped child, cut on the right", 350, 80, {40, 40, 40}},
    {"the stencil itself shows nothing", 320, 65, {40, 40, 40}},
};

void expectScene(const Shot& shot) {
    for (const Probe& p : kProbes) {
        const Rgb got = shot.at(p.x, p.y);
        EXPECT_TRUE(near(got, p.colour)) << p.what << ": " << show(got) << " instead of " << show(p.colour);
    }
    // The label's box (8 characters of 12 points, 24 high, around (320, 300)) holds
    // light text pixels; the same area beside it holds none.
    auto lightPixels = [&shot](float x0, float x1, float y0 = 289, float y1 = 311) {
        int count = 0;
        for (float y = y0; y < y1; y += 1) {
            for (float x = x0; x < x1; x += 1) {
                const Rgb c = shot.at(x, y);
                if (c[0] > 150 && c[1] > 150 && c[2] > 150) ++count;
            }
        }
        return count;
    };
    EXPECT_GT(lightPixels(273, 367), 40);
    EXPECT_EQ(lightPixels(400, 494), 0);
    // The button's title ("OK", 24 high, centred on (200, 130)) over its magenta
    // centre, and none in the centre beside it; the text widget ("Hello", 24 high
    // around (450, 240)), and none beside it.
    EXPECT_GT(lightPixels(185, 215, 120, 140), 20) << "button title";
    EXPECT_EQ(lightPixels(150, 170, 120, 140), 0);
    EXPECT_GT(lightPixels(420, 480, 230, 250), 30) << "text widget";
    EXPECT_EQ(lightPixels(300, 360, 230, 250), 0);
}

TEST(ClientWindow, ShowsEveryNodeTakesInputAndClosesWithStatusZero) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) GTEST_SKIP() << "no X display";
    unsetenv("VEXO_HEADLESS");
    testsupport::TempDir dir;
    const std::string project = dir.file("project");
    std::filesystem::copy(VEXO_SOURCE_DIR "/tests/display/project", project, std::filesystem::copy_options::recursive);
    std::filesystem::create_directories(dir.file("writable"));
    testsupport::ClientProcess client({"-workdir", project, "-writable-path", dir.file("writable")},
                                      dir.file("stderr.txt"));
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(client.waitForOutput("display scene built", std::chrono::seconds(60))) << client.output();

    Window window = 0;
    for (int i = 0; i < 200 && !window; ++i) {
        window = findWindow(display);
        if (!window) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_NE(window, 0u) << client.output();
    // A few frames for the scene to reach the screen: the first frames of a start
    // on a busy machine can take seconds, so wait until the background shows.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    int left = 0, top = 0;
    Shot shot = screenshot(display, window, &left, &top);
    for (int i = 0; i < 100 && shot.width > 0 && !near(shot.at(kProbes[0].x, kProbes[0].y), kProbes[0].colour); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        shot = screenshot(display, window, &left, &top);
    }
    ASSERT_GT(shot.width, 0);
    // The frame fills the window at the window's zoom, keeping its shape.
    EXPECT_NEAR(static_cast<double>(shot.width) / shot.height, double{kDesignWidth} / kDesignHeight, 0.01);

    expectScene(shot);

    // A click on the touch target (a widget around (540 .. 640, 250 .. 330) or
    // centred on (540, 250), whichever its anchor gives: (560, 270) is in both).
    const int clickX = left + 560 * shot.width / kDesignWidth;
    const int clickY = top + (kDesignHeight - 270) * shot.height / kDesignHeight;
    ASSERT_TRUE(click(clickX, clickY));
    EXPECT_TRUE(client.waitForOutput("touch ended on the target", std::chrono::seconds(20))) << client.output();
    EXPECT_NE(client.output().find("touch began on the target"), std::string::npos);

    // The pointer over a design point, the right button, the wheel turned away
    // from the user (button 4: a scroll of -1) and a key, each heard by the
    // listeners; the letter A is the engine's key code 60.
    struct Input {
        std::string xdotool, heard;
    };
    const int pointX = left + 100 * shot.width / kDesignWidth;
    const int pointY = top + (kDesignHeight - 300) * shot.height / kDesignHeight;
    const Input inputs[] = {
        {"mousemove " + std::to_string(pointX) + " " + std::to_string(pointY), "mouse move to 100,300"},
        {"click 3", "mouse down 1 at 100,300"},
        {"click 4", "mouse scroll -1 at 100,300"},
        {"key a", "key pressed 60"},
    };
    for (const Input& input : inputs) {
        ASSERT_TRUE(xdotool(input.xdotool)) << input.xdotool;
        EXPECT_TRUE(client.waitForOutput(input.heard, std::chrono::seconds(20))) << input.heard << "\n" << client.output();
    }

    // The sidebar beside the window: its second button zooms in by 1 / 0.9; the
    // window grows, the frame is drawn at the new scale and the zoom is saved.
    const Window sidebar = findWindow(display, "VEXO");
    ASSERT_NE(sidebar, 0u);
    XWindowAttributes bar;
    XGetWindowAttributes(display, sidebar, &bar);
    int barLeft = 0, barTop = 0;
    Window child = 0;
    XTranslateCoordinates(display, sidebar, DefaultRootWindow(display), 0, 0, &barLeft, &barTop, &child);
    EXPECT_EQ(barLeft, left + shot.width) << "glued to the window's right edge";
    EXPECT_EQ(barTop, top);
    // Its picture on screen: the gold border and, below the buttons, the brown
    // gradient's middle.
    {
        XImage* image = XGetImage(display, DefaultRootWindow(display), barLeft, barTop,
                                  static_cast<unsigned>(bar.width), static_cast<unsigned>(bar.height), AllPlanes,
                                  ZPixmap);
        ASSERT_NE(image, nullptr);
        auto pixel = [image](int x, int y) {
            const unsigned long p = XGetPixel(image, x, y);
            return Rgb{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                       static_cast<int>(p & 0xFF)};
        };
        const Rgb border = pixel(0, bar.height / 2), middle = pixel(bar.width / 2, bar.height - 3);
        XDestroyImage(image);
        EXPECT_TRUE(near(border, {179, 127, 48})) << "sidebar border: " << show(border);
        EXPECT_TRUE(near(middle, {36, 22, 17})) << "sidebar gradient: " << show(middle);
    }
    const int buttonHeight = std::min((bar.height - 6) / 7, 58);
    ASSERT_TRUE(click(barLeft + bar.width / 2, barTop + 3 + buttonHeight + buttonHeight / 2));
    XWindowAttributes grown{};
    for (int i = 0; i < 100; ++i) {
        XGetWindowAttributes(display, window, &grown);
        if (grown.width != shot.width) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(grown.width, 711);   // 640 / 0.9
    EXPECT_EQ(grown.height, 400);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const Shot zoomed = screenshot(display, window, &left, &top);
    expectScene(zoomed);
    std::string settings;   // written by the file writer's worker
    for (int i = 0; i < 100 && settings.find("ZoomPermille=") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        settings = testsupport::readFile(dir.file("writable/pc_window.ini"));
    }
    EXPECT_NE(settings.find("ZoomPermille=1111"), std::string::npos) << settings;

    requestClose(display, window);
    EXPECT_EQ(client.waitForExit(std::chrono::seconds(30)), 0) << client.output();
    EXPECT_EQ(client.output().find("LUA ERROR"), std::string::npos) << client.output();
    XCloseDisplay(display);
}

}  // namespace
