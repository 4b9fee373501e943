// The program on a real X display showing an empty scene at 60 frames a second:
// ten seconds of it hold 600 frames, give or take five (a pacer that takes each
// deadline from the frame's own start loses the time it wakes up late at every
// frame and falls to about 57 a second). Skipped without an X display.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/ClientProcess.h"
#include "support/TestSupport.h"

namespace {

TEST(FramePacing, AnEmptySceneKeepsSixtyFramesASecond) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    unsetenv("VEXO_HEADLESS");
    testsupport::TempDir dir;
    const std::string project = dir.file("project");
    std::filesystem::copy(VEXO_SOURCE_DIR "/tests/display/pacingproject", project,
                          std::filesystem::copy_options::recursive);
    std::filesystem::create_directories(dir.file("writable"));
    testsupport::ClientProcess client({"-workdir", project, "-writable-path", dir.file("writable")},
                                      dir.file("stderr.txt"));
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(client.waitForOutput("frames ", std::chrono::seconds(60))) << client.output();
    EXPECT_EQ(client.waitForExit(std::chrono::seconds(30)), 0) << client.output();
    const std::string out = client.output();
    const int frames = std::atoi(out.c_str() + out.find("frames ") + 7);
    EXPECT_GE(frames, 595) << out;
    EXPECT_LE(frames, 605) << out;
}

}  // namespace
