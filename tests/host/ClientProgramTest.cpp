// Runs the built program on the demo project and stops it with SIGTERM.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "support/ClientProcess.h"
#include "support/TestSupport.h"

// Runs the client on the demo with its writable folder in `dir`, lets its loop run
// for a second after the configuration dump and ends it with SIGTERM; returns the
// exit code (-1 when it did not end) with its output in `err`.
static int runDemoUntilSigterm(const testsupport::TempDir& dir, std::string* err) {
    testsupport::ClientProcess client(
        {"-workdir", VEXO_SOURCE_DIR "/examples/demo", "-writable-path", dir.file("writable")},
        dir.file("stderr.txt"));
    if (!client.started()) return -1;
    // The configuration dump comes after the signal handlers are in place; give a
    // slow (instrumented) start-up time to get there, and the loop a second to run.
    client.waitForOutput("Project Config:", std::chrono::seconds(20));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    int status = 0;
    const int code = client.terminate(&status);
    *err = client.output() + "\nstatus " + std::to_string(status);
    return code;
}

TEST(ClientProgram, RunsTheDemoAndEndsCleanlyOnSigterm) {
    testsupport::TempDir dir;
    std::string err;
    EXPECT_EQ(runDemoUntilSigterm(dir, &err), 0) << err;
    EXPECT_NE(err.find("    frame size: 1280 x 720"), std::string::npos) << err;
}

// The window settings file is read at each start and written only by a command:
// neither a hand-written file nor one of random bytes changes, and neither stops
// the program.
TEST(ClientProgram, LeavesTheWindowSettingsFileAsItWas) {
    std::string noise(512, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    const std::string contents[] = {"[Window]\r\nZoomPermille=800\r\nPinned=1\r\nMusicMuted=1\r\n", noise};
    for (const std::string& content : contents) {
        testsupport::TempDir dir;
        const std::string settings = dir.write("writable/pc_window.ini", content);
        std::string err;
        EXPECT_EQ(runDemoUntilSigterm(dir, &err), 0) << err;
        EXPECT_EQ(testsupport::readFile(settings), content);
    }
}

// The demo's own scripts, on a copy of the project without its gateway file (so no
// update runs): they build the scene, play the skeleton's wave, hear its
// notifications and end the director themselves when it completes.
TEST(ClientProgram, DemoScriptsPlayTheWaveAndEndTheProgram) {
    testsupport::TempDir dir;
    const std::string project = dir.file("demo");
    std::filesystem::copy(VEXO_SOURCE_DIR "/examples/demo", project, std::filesystem::copy_options::recursive);
    std::filesystem::remove(project + "/fenk/gateway");
    testsupport::ClientProcess client({"-workdir", project, "-writable-path", dir.file("writable")},
                                      dir.file("stderr.txt"));
    ASSERT_TRUE(client.started());
    EXPECT_EQ(client.waitForExit(std::chrono::seconds(60)), 0) << client.output();
    const std::string out = client.output();
    size_t at = 0;
    for (const char* line : {"demo scene built with 1 child node(s)", "skeleton start track 0 animation wave loops 0",
                             "skeleton event track 0 animation wave loops 0 event wave (1, 0, 'xin chao')",
                             "skeleton complete track 0 animation wave loops 1"}) {
        at = out.find(std::string("[LUA-print] ") + line, at);
        EXPECT_NE(at, std::string::npos) << line << "\n" << out;
    }
    EXPECT_EQ(out.find("LUA ERROR"), std::string::npos) << out;
    // Its memory warning starts a sliced collection. Whether that ends before the
    // wave does depends on the machine's load (the wave keeps time, the collection
    // works a few milliseconds a frame), so its end is checked where the program
    // waits for it (AnrBootProgramTest) and frame by frame in AnrGcTest.
    EXPECT_NE(out.find("ANRGC begin memory"), std::string::npos) << out;
}

// A failing entry script is heard and ends the program with status 1: an error
// raised after the script installed its traceback handler goes through it, one
// without a handler or a syntax error is logged by the client.
TEST(ClientProgram, AFailingEntryScriptIsReportedAndEndsTheProgram) {
    const struct {
        const char* name;
        const char* mainLua;
        const char* expected[2];
    } cases[] = {
        {"handler defined, then an error",
         "function __G__TRACKBACK__(m) release_print('TRACKED ' .. tostring(m)) return m end\n"
         "error('boom at start')\n",
         {"[LUA-print] TRACKED ", "boom at start"}},
        {"no handler", "local t = nil\nt.field = 1\n", {"[LUA ERROR] ", "attempt to index local 't'"}},
        {"syntax error", "local = 1\n", {"[LUA ERROR] ", "main.lua\"]:1: '<name>' expected near '='"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir dir;
        const std::string project = dir.file("demo");
        std::filesystem::copy(VEXO_SOURCE_DIR "/examples/demo", project, std::filesystem::copy_options::recursive);
        std::filesystem::remove(project + "/fenk/gateway");
        dir.write("demo/src/main.lua", c.mainLua);
        testsupport::ClientProcess client({"-workdir", project, "-writable-path", dir.file("writable")},
                                          dir.file("stderr.txt"));
        ASSERT_TRUE(client.started());
        EXPECT_EQ(client.waitForExit(std::chrono::seconds(60)), 1) << client.output();
        const std::string out = client.output();
        const size_t at = out.find(c.expected[0]);
        ASSERT_NE(at, std::string::npos) << out;
        EXPECT_NE(out.find(c.expected[1], at), std::string::npos) << out;
    }
}
