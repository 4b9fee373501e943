// Runs the built program: on the demo project, stopped with SIGTERM or ending by
// itself, and on fixture projects whose scripts end it.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/ClientProcess.h"
#include "support/TestSupport.h"
#include "support/WsPeer.h"

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

// The text after each "[LUA-print] " of a program's output, line by line.
static std::vector<std::string> luaPrints(const std::string& out) {
    std::istringstream lines(out);
    const std::string prefix = "[LUA-print] ";
    std::vector<std::string> prints;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(prefix)) prints.push_back(line.substr(prefix.size()));
    }
    return prints;
}

// Runs the client on the fixture project tests/host/fixtures/<name> with its
// writable folder `writable` until it ends by itself; returns its exit status and
// the text after each "[LUA-print] " in `prints`, its whole output in `out`.
static int runFixture(const testsupport::TempDir& dir, const char* name, const std::string& writable,
                      std::vector<std::string>* prints, std::string* out) {
    testsupport::ClientProcess client(
        {"-workdir", std::string(VEXO_SOURCE_DIR "/tests/host/fixtures/") + name, "-writable-path", writable},
        dir.file(std::string(name) + "-stderr.txt"));
    if (!client.started()) return -1;
    const int code = client.waitForExit(std::chrono::seconds(60));
    *out = client.output();
    *prints = luaPrints(*out);
    return code;
}

// A small game, run twice on one writable folder: the title's image menu is
// tapped, a fade brings the play scene, the hero's frame animation and the coin's
// eased moves end, a touch off the player claims nothing, a drag moves the player
// by the touch's movement, a key scores, and the best score saved by the first run
// is read back by the second.
TEST(ClientProgram, MiniGameFixturePlaysTwoRoundsAndKeepsTheBestScore) {
    testsupport::TempDir dir;
    const std::string writable = dir.file("writable");
    const std::vector<std::string> round = {
        "hero frames loaded: 3", "title scene enter", "play tapped", "title scene exitTransitionStart",
        "play scene shown", "hero shows its last frame: true", "coin landed at 300,200 scale 2",
        "player still at 100,100", "player dropped at 150,110", "score label: Score: 1", "key pressed 60",
        "key pressed 13", "score label: Score: 2", "key released 13"};
    const struct {
        const char* best;
        const char* outcome;
    } runs[] = {{"best before: 0", "new best: 2"}, {"best before: 2", "best kept: 2"}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.best);
        std::vector<std::string> expected = {run.best};
        expected.insert(expected.end(), round.begin(), round.end());
        expected.insert(expected.end(), {run.outcome, "round over"});
        std::vector<std::string> prints;
        std::string out;
        EXPECT_EQ(runFixture(dir, "minigame", writable, &prints, &out), 0) << out;
        EXPECT_EQ(prints, expected) << out;
    }
}

// A game written against the engine's script API as games use it: design
// resolution, search paths, a pulsing title over three-image buttons, scaled and
// layered nodes, a removed child, a paused and resumed spinner, a loading bar
// filling from the right and the best score in the saved settings.
TEST(ClientProgram, ApiGameFixtureRunsToItsEnd) {
    testsupport::TempDir dir;
    std::vector<std::string> prints;
    std::string out;
    EXPECT_EQ(runFixture(dir, "apigame", dir.file("writable"), &prints, &out), 0) << out;
    const std::vector<std::string> expected = {
        "design 640x360 frame 640x360", "visible 640x360 at 0,0", "art found through the search path: true",
        "search paths end with the art folder: true", "best before: 0", "options enabled: false",
        "title scene built", "title label pulsed and is running: true", "pulse lasts 0.5 s", "start pressed",
        "play scene shown", "children, back to front: red spinner bar blue green", "ghost removed: true",
        "red scaled 2.0 x 0.5", "paused spinner holds: true", "resumed spinner turns: true",
        "loading 50% from direction 1", "new best: 2", "round over"};
    EXPECT_EQ(prints, expected) << out;
}

// Listeners of every kind, a layer's touch and keypad handlers, a menu, node and
// scheduler handlers, and input the script raises: each handler hears what the
// dispatch order, claiming and swallowing let through, and nothing else.
TEST(ClientProgram, InputFixtureHearsItsListenersMenuAndHandlersInOrder) {
    testsupport::TempDir dir;
    std::vector<std::string> prints;
    std::string out;
    EXPECT_EQ(runFixture(dir, "inputs", dir.file("writable"), &prints, &out), 0) << out;
    const std::vector<std::string> expected = {
        "node enter", "node enterTransitionFinish",
        // Updates by priority, then a script entry that stops itself.
        "update priority -1", "update priority 2", "tick 1", "tick 2", "tick 3",
        // Fixed below 0, scene-graph front to back, the layer, fixed above 0; the
        // ended phase only to those that claimed.
        "tap: the front listener lets the touch pass", "fixed -1 began", "front began", "back began",
        "watched began", "layer began 10,10", "fixed 1 began", "back ended", "layer ended 10,10",
        "tap: the front listener claims and swallows", "fixed -1 began", "front began", "front ended",
        // The menu claims and swallows a touch on an item: the watched node's listener
        // behind it hears nothing.
        "tap on the second menu item", "fixed -1 began", "menu item 2 tapped",
        // The layer's keypad handler hears the back key on release only.
        "key pressed 7", "layer keypad backClicked", "key released 7",
        "mouse 1 at 12,34 button 0", "mouse 2 at 12,34 button 0", "custom bonus",
        // Removed with cleanup: its events, and its listener leaves with it.
        "node exitTransitionStart", "node exit", "node cleanup", "tap after the watched node left",
        "fixed -1 began", "inputs done"};
    EXPECT_EQ(prints, expected) << out;
}

// A script talks to the local WebSocket peer: text and binary out, their echoes
// back, then its own close; the error handler never runs.
TEST(ClientProgram, WebSocketFixtureEchoesAndCloses) {
    testsupport::WsPeer peer;
    ASSERT_TRUE(peer.ready()) << peer.error();
    testsupport::EnvOverride url("VEXO_WS_PEER", peer.url());
    testsupport::TempDir dir;
    std::vector<std::string> prints;
    std::string out;
    EXPECT_EQ(runFixture(dir, "websocket", dir.file("writable"), &prints, &out), 0) << out;
    const std::vector<std::string> expected = {"connecting, state 0", "open, state 1", "text echo: hello peer",
                                               "binary echo: 98,105,110,0,97,114,121", "closed, state 3"};
    EXPECT_EQ(prints, expected) << out;
}

// Sockets still connecting when the program ends (the peer never answers their
// TLS hello or upgrade): the workers are stopped before the program's clean-up,
// every run ends cleanly.
TEST(ClientProgram, EndsCleanlyWhileSocketsAreConnecting) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), len), 0);
    ASSERT_EQ(::listen(listener, 256), 0);   // never accepts: connections wait in its queue
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &len), 0);
    testsupport::EnvOverride silent("VEXO_WS_SILENT", "127.0.0.1:" + std::to_string(ntohs(address.sin_port)));
    for (int run = 0; run < 20; ++run) {
        SCOPED_TRACE(run);
        testsupport::TempDir dir;
        std::vector<std::string> prints;
        std::string out;
        EXPECT_EQ(runFixture(dir, "websocket_exit", dir.file("writable"), &prints, &out), 0) << out;
        EXPECT_EQ(prints, std::vector<std::string>{"connecting 3 sockets"}) << out;
    }
    ::close(listener);
}

// Sends `line` to the console on 127.0.0.1:`port` and returns what it answers up
// to the first line end ("" when nothing could be read).
static std::string askConsole(int port, const std::string& line) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return "";
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval timeout{30, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::string answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size())) {
        char c = 0;
        while (::recv(fd, &c, 1, 0) == 1) {
            answer += c;
            if (c == '\n') break;
        }
    }
    ::close(fd);
    return answer;
}

// A tile map read through both tables, a box falling onto an edge in a physics
// scene until its contact begins, and a script console command answering a TCP
// client on loopback; the program ends by itself once both have happened.
TEST(ClientProgram, WorldFixtureReadsAMapLandsABoxAndAnswersOnTheConsole) {
    testsupport::TempDir dir;
    testsupport::ClientProcess client(
        {"-workdir", VEXO_SOURCE_DIR "/tests/host/fixtures/world", "-writable-path", dir.file("writable")},
        dir.file("world-stderr.txt"));
    ASSERT_TRUE(client.started());
    const std::string portPrint = "[LUA-print] console port ";
    ASSERT_TRUE(client.waitForOutput(portPrint, std::chrono::seconds(60))) << client.output();
    std::string out = client.output();
    const int port = std::stoi(out.substr(out.find(portPrint) + portPrint.size()));
    EXPECT_EQ(askConsole(port, "ping  \thello world\r\n"), "pong hello world\n");
    EXPECT_EQ(client.waitForExit(std::chrono::seconds(60)), 0) << client.output();
    out = client.output();
    std::vector<std::string> prints = luaPrints(out);
    ASSERT_EQ(prints.size(), 8u) << out;
    const std::vector<std::string> map = {"map meadow 3x2", "tile 4 flags 2147483648", "door door",
                                          "ccexp 4 -2147483648"};
    EXPECT_EQ(std::vector<std::string>(prints.begin(), prints.begin() + 4), map) << out;
    EXPECT_EQ(prints[4], "console port " + std::to_string(port));
    // The landing and the command come in whichever order the frames bring them.
    std::vector<std::string> events(prints.begin() + 5, prints.begin() + 7);
    std::sort(events.begin(), events.end());
    EXPECT_EQ(events, (std::vector<std::string>{"begin: the box landed on the edge, above it: true",
                                                "console ping hello world"}))
        << out;
    EXPECT_EQ(prints[7], "world done");
}
