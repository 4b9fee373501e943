// The built program on the staged-start fixture project (no updater files, so the
// scripts start at once): its requires pass through both fix-up scripts' wrappers,
// the stand-in initialiser is staged over many frames, reaches "ready", and the
// boot collection that follows runs to its end.
#include <chrono>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/ClientProcess.h"
#include "support/TestSupport.h"

TEST(AnrBootProgram, StagesTheInitialiserToReadyThenCollects) {
    testsupport::TempDir dir;
    testsupport::ClientProcess client(
        {"-workdir", VEXO_SOURCE_DIR "/tests/host/fixtures/anrboot", "-writable-path", dir.file("writable")},
        dir.file("stderr.txt"));
    ASSERT_TRUE(client.started());
    const bool collected = client.waitForOutput("ANRGC done frames=", std::chrono::seconds(60));
    const std::string out = client.output();
    EXPECT_EQ(client.terminate(), 0) << out;
    ASSERT_TRUE(collected) << out;

    // In this order: both fix-up scripts installed; staged at the call, which
    // returns at once; the slices; the done line; the boot collection; the game
    // sees "ready"; the collection ends.
    size_t at = 0;
    for (const char* line : {"[VEXOClientFix] support UI and guarded Store1011 updater installed",
                             "ANRBOOT staged initialization scheduled", "init returned, status loading",
                             "ANRBOOT done slices=", "ANRGC begin boot", "staged start ready after",
                             "ANRGC done frames="}) {
        const size_t found = out.find(line, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << out;
        at = found;
    }
    // 120 registrations of about 1 ms each cannot fit in one slice of 8 ms.
    const std::string ready = "staged start ready after ";
    const size_t slices = out.find(ready);
    ASSERT_NE(slices, std::string::npos) << out;
    EXPECT_GE(std::atoi(out.c_str() + slices + ready.size()), 10) << out;
    EXPECT_EQ(out.find("ANRBOOT failed"), std::string::npos) << out;
}
