// The runtime host as a development tool sees it: files uploaded in parts, the
// file-info record read over the console, one file removed, then "shutdownapp".
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RuntimeTestSupport.h"
#include "platform/Socket.h"
#include "support/TestSupport.h"

extern char** environ;

using namespace std::chrono_literals;
using runtimetest::partFrame;
using runtimetest::partMessage;

namespace {

int connectWithin(int port, std::chrono::milliseconds wait) {
    auto deadline = std::chrono::steady_clock::now() + wait;
    while (std::chrono::steady_clock::now() < deadline) {
        int fd = platform::connectTcp("127.0.0.1", port);
        if (fd >= 0) return fd;
        std::this_thread::sleep_for(20ms);
    }
    return -1;
}

// Sends one request line and returns the reply's JSON text ("" when none came).
std::string request(int console, const std::string& json) {
    const std::string line = "sendrequest " + json + "\n";
    if (!platform::sendAll(console, line.data(), line.size())) return "";
    std::string head;
    while (head.empty() || head.back() != ':') {
        std::string c = runtimetest::receiveFor(console, 5s, 1);
        if (c.size() != 1) return "";
        head += c;
    }
    if (head[0] != '\x01') return "";
    size_t length = std::stoul(head.substr(1, head.size() - 2));
    return runtimetest::receiveFor(console, 5s, length);
}

}  // namespace

TEST(RuntimeHost, UploadsQueriesRemovesAndShutsDown) {
    testsupport::TempDir dir;
    const int consolePort = runtimetest::freePort();
    const int uploadPort = runtimetest::freePort();
    const std::string proj = dir.file("proj");
    dir.write("proj/config.json", R"({"init_cfg":{"consolePort":)" + std::to_string(consolePort) +
                                      R"(,"uploadPort":)" + std::to_string(uploadPort) + "}}");
    dir.write("proj/src/main.csb", "");

    const std::string program = VEXO_BINARY_DIR "/bin/vexo-runtime-host";
    std::vector<std::string> args = {program, "-workdir", proj, "-entry", proj + "/src/main.csb",
                                     "-debugger", "codeide", "-writable-path", dir.file("w")};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    // The upload folder is fixed before the project's writable path is set: it lies
    // in the default writable folder.
    std::vector<std::string> env = {"XDG_DATA_HOME=" + dir.file("xdg")};
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("XDG_DATA_HOME=", 0) != 0) env.push_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()), 0);

    int console = connectWithin(consolePort, 20s);
    int upload = connectWithin(uploadPort, 5s);
    EXPECT_GE(console, 0);
    EXPECT_GE(upload, 0);
    if (console >= 0 && upload >= 0) {
        const std::string parts[] = {"print(", "'hello'", ")"};
        for (int i = 0; i < 3; ++i) {
            std::string frame = partFrame(partMessage("src/app.lua", i + 1, parts[i].size(), 111), parts[i]);
            ASSERT_TRUE(platform::sendAll(upload, frame.data(), frame.size()));
        }
        std::string frame = partFrame(partMessage("res/b.txt", 1, 2, 222), "bb");
        ASSERT_TRUE(platform::sendAll(upload, frame.data(), frame.size()));
        runtimetest::Reply first, second;
        ASSERT_TRUE(runtimetest::readReply(upload, first));
        ASSERT_TRUE(runtimetest::readReply(upload, second));
        EXPECT_EQ(first.fileName, "src/app.lua");
        EXPECT_EQ(second.fileName, "res/b.txt");
        EXPECT_EQ(second.result, 0);

        const std::string writePath = dir.file("xdg/vexo-client/debugruntime/");
        EXPECT_EQ(request(console, R"({"cmd":"getfileinfo","seq":1})"),
                  R"({"cmd":"getfileinfo","seq":1,"body":{"src/app.lua":"111","res/b.txt":"222"},"code":0})");
        EXPECT_EQ(testsupport::readFile(writePath + "src/app.lua"), "print('hello')");

        EXPECT_EQ(request(console, R"({"cmd":"remove","files":["res/b.txt"]})"),
                  R"({"cmd":"remove","body":{},"code":0})");
        EXPECT_NE(access((writePath + "res/b.txt").c_str(), F_OK), 0);
        EXPECT_EQ(request(console, R"({"cmd":"getfileinfo"})"),
                  R"({"cmd":"getfileinfo","body":{"src/app.lua":"111"},"code":0})");
        EXPECT_EQ(request(console, R"({"cmd":"shutdownapp"})"), R"({"cmd":"shutdownapp"})");
    }
    platform::closeSocket(console);
    platform::closeSocket(upload);

    int status = -1;
    for (int i = 0; i < 500 && waitpid(pid, &status, WNOHANG) == 0; ++i) std::this_thread::sleep_for(20ms);
    if (status == -1) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "the runtime host did not end";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
