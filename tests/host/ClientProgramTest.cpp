// Runs the built program on the demo project and stops it with SIGTERM.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

TEST(ClientProgram, RunsTheDemoAndEndsCleanlyOnSigterm) {
    testsupport::TempDir dir;
    const std::string program = VEXO_BINARY_DIR "/bin/vexo-client";
    const std::string errPath = dir.file("stderr.txt");
    std::vector<std::string> args = {program, "-workdir", VEXO_SOURCE_DIR "/examples/demo",
                                     "-writable-path", dir.file("writable")};

    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        int fd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) _exit(126);
        dup2(fd, STDERR_FILENO);
        close(fd);
        execv(argv[0], argv.data());
        _exit(127);
    }

    // The configuration dump comes after the signal handlers are in place; give a
    // slow (instrumented) start-up time to get there, and the loop a second to run.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (testsupport::readFile(errPath).find("Project Config:") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);

    const std::string err = testsupport::readFile(errPath);
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status << "\n" << err;
    EXPECT_EQ(WEXITSTATUS(status), 0) << err;
    EXPECT_NE(err.find("    frame size: 1280 x 720"), std::string::npos) << err;
}
