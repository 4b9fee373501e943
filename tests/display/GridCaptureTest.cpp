// The program on a real X display drawing a grid node whose FlipX3D is over:
// the captured frame shows the node's picture mirrored through the grid (the
// red left half on the right, the blue right half on the left). Runs under its
// own virtual display; skipped without one.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/image/Image.h"
#include "support/ClientProcess.h"
#include "support/TestSupport.h"

// Last: Xlib's macros would spoil the headers above.
#include <X11/Xlib.h>

namespace {

constexpr int kDesignWidth = 640, kDesignHeight = 360;
constexpr int kTolerance = 10;

using Rgb = std::array<int, 3>;

// The pixel at a design point (origin bottom-left) of an image of the whole frame.
Rgb at(const engine::Image& image, float x, float y) {
    const int px = static_cast<int>(x * image.getWidth() / kDesignWidth);
    const int py = static_cast<int>((kDesignHeight - y) * image.getHeight() / kDesignHeight);
    const int channels = image.getRenderFormat() == engine::Texture2D::PixelFormat::RGB888 ? 3 : 4;
    const unsigned char* p = image.getData() + (static_cast<size_t>(py) * image.getWidth() + px) * channels;
    return {p[0], p[1], p[2]};
}

std::string show(const Rgb& c) {
    return std::to_string(c[0]) + "," + std::to_string(c[1]) + "," + std::to_string(c[2]);
}

TEST(GridCapture, AFlippedGridShowsThePictureMirrored) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) GTEST_SKIP() << "no X display";
    XCloseDisplay(display);
    unsetenv("VEXO_HEADLESS");
    testsupport::TempDir dir;
    const std::string project = dir.file("project");
    std::filesystem::copy(VEXO_SOURCE_DIR "/tests/display/gridproject", project, std::filesystem::copy_options::recursive);
    std::filesystem::create_directories(dir.file("writable"));
    testsupport::ClientProcess client({"-workdir", project, "-writable-path", dir.file("writable")},
                                      dir.file("stderr.txt"));
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(client.waitForOutput("captured ", std::chrono::seconds(60))) << client.output();
    EXPECT_EQ(client.waitForExit(std::chrono::seconds(30)), 0) << client.output();
    const std::string path = dir.file("writable/grid.png");
    EXPECT_NE(client.output().find("captured true " + path), std::string::npos) << client.output();
    EXPECT_EQ(client.output().find("LUA ERROR"), std::string::npos) << client.output();

    engine::Image image;
    ASSERT_TRUE(image.initWithImageFile(path));
    EXPECT_NEAR(static_cast<double>(image.getWidth()) / image.getHeight(), double{kDesignWidth} / kDesignHeight, 0.01);
    struct Probe {
        const char* what;
        float x, y;
        Rgb colour;
    };
    const Probe probes[] = {
        {"far left: the blue half turned over", 40, 180, {0, 0, 255}},
        {"left of the middle", 300, 60, {0, 0, 255}},
        {"right of the middle: the red half", 340, 300, {255, 0, 0}},
        {"far right", 600, 180, {255, 0, 0}},
    };
    for (const Probe& p : probes) {
        const Rgb got = at(image, p.x, p.y);
        bool near = true;
        for (int i = 0; i < 3; ++i) near = near && std::abs(got[i] - p.colour[i]) <= kTolerance;
        EXPECT_TRUE(near) << p.what << ": " << show(got) << " instead of " << show(p.colour);
    }
}

}  // namespace
