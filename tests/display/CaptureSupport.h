#pragma once
// What the capture tests share: running the client on a copy of a fixture
// project until its script reports the PNG it wrote, and probing the colours of
// that frame at design points (640 x 360, origin bottom-left). A test of the
// CaptureTest fixture is skipped without an X display.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "engine/image/Image.h"
#include "support/ClientProcess.h"
#include "support/TestSupport.h"

// Last: Xlib's macros would spoil the headers above.
#include <X11/Xlib.h>

namespace capturetest {

constexpr int kDesignWidth = 640, kDesignHeight = 360;
constexpr int kTolerance = 10;

using Rgb = std::array<int, 3>;

// The pixel at a design point (origin bottom-left) of an image of the whole frame.
inline Rgb at(const engine::Image& image, float x, float y) {
    const int px = static_cast<int>(x * image.getWidth() / kDesignWidth);
    const int py = static_cast<int>((kDesignHeight - y) * image.getHeight() / kDesignHeight);
    const int channels = image.getRenderFormat() == engine::Texture2D::PixelFormat::RGB888 ? 3 : 4;
    const unsigned char* p = image.getData() + (static_cast<size_t>(py) * image.getWidth() + px) * channels;
    return {p[0], p[1], p[2]};
}

inline std::string show(const Rgb& c) {
    return std::to_string(c[0]) + "," + std::to_string(c[1]) + "," + std::to_string(c[2]);
}

// Runs the client on a copy of tests/display/<fixture> in dir, with
// tests/display/capture.lua beside its main.lua; its script captures the frame to <writable>/<png>, prints "captured true <path>" and
// ends. Loads that frame into image.
inline void captureFixture(const testsupport::TempDir& dir, const char* fixture, const char* png,
                           engine::Image* image) {
    unsetenv("VEXO_HEADLESS");
    const std::string project = dir.file("project");
    std::filesystem::copy(std::string(VEXO_SOURCE_DIR "/tests/display/") + fixture, project,
                          std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(VEXO_SOURCE_DIR "/tests/display/capture.lua", project + "/src/capture.lua");
    std::filesystem::create_directories(dir.file("writable"));
    testsupport::ClientProcess client({"-workdir", project, "-writable-path", dir.file("writable")},
                                      dir.file("stderr.txt"));
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(client.waitForOutput("captured ", std::chrono::seconds(60))) << client.output();
    EXPECT_EQ(client.waitForExit(std::chrono::seconds(30)), 0) << client.output();
    const std::string path = dir.file(std::string("writable/") + png);
    EXPECT_NE(client.output().find("captured true " + path), std::string::npos) << client.output();
    EXPECT_EQ(client.output().find("LUA ERROR"), std::string::npos) << client.output();

    ASSERT_TRUE(image->initWithImageFile(path));
    EXPECT_NEAR(static_cast<double>(image->getWidth()) / image->getHeight(), double{kDesignWidth} / kDesignHeight,
                0.01);
}

struct Probe {
    const char* what;
    float x, y;
    Rgb colour;
};

// Each probe's pixel within kTolerance of its colour in every channel.
inline void expectProbes(const engine::Image& image, std::initializer_list<Probe> probes) {
    for (const Probe& p : probes) {
        const Rgb got = at(image, p.x, p.y);
        bool near = true;
        for (int i = 0; i < 3; ++i) near = near && std::abs(got[i] - p.colour[i]) <= kTolerance;
        EXPECT_TRUE(near) << p.what << ": " << show(got) << " instead of " << show(p.colour);
    }
}

// A temporary folder and the frame to probe; skipped without an X display.
class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        Display* display = XOpenDisplay(nullptr);
        if (!display) GTEST_SKIP() << "no X display";
        XCloseDisplay(display);
    }

    // Runs the fixture's capture into _image; ends the test at its first fatal failure.
    void capture(const char* fixture, const char* png) { captureFixture(_dir, fixture, png, &_image); }

    testsupport::TempDir _dir;
    engine::Image _image;
};

}  // namespace capturetest
