#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "platform/Process.h"
#include "support/TestSupport.h"

using namespace platform;

namespace {

int waitForExit(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string joinWithNul(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& s : items) out += s + '\0';
    return out;
}

// cp copies its own /proc entry, so the copy shows exactly what the child got.
TEST(ProcessTest, ArgumentsArriveIntactWithoutAShell) {
    testsupport::TempDir dir;
    const std::string target = dir.file("it's a \"copy\" with $HOME; *.txt && `x`");
    const std::vector<std::string> args = {"/proc/self/cmdline", target};
    pid_t pid = spawnProcess("/bin/cp", args);
    ASSERT_GT(pid, 0);
    ASSERT_EQ(waitForExit(pid), 0);
    EXPECT_EQ(testsupport::readFile(target), joinWithNul({"/bin/cp", "/proc/self/cmdline", target}));
}

TEST(ProcessTest, ChildInheritsTheEnvironment) {
    testsupport::TempDir dir;
    ASSERT_EQ(setenv("VEXO_SPAWN_PROBE", "value with spaces", 1), 0);
    const std::string target = dir.file("environ");
    pid_t pid = spawnProcess("/bin/cp", {"/proc/self/environ", target});
    unsetenv("VEXO_SPAWN_PROBE");
    ASSERT_GT(pid, 0);
    ASSERT_EQ(waitForExit(pid), 0);
    EXPECT_NE(testsupport::readFile(target).find(std::string("VEXO_SPAWN_PROBE=value with spaces") + '\0'),
              std::string::npos);
}

TEST(ProcessTest, MissingExecutableFails) {
    EXPECT_EQ(spawnProcess("/nonexistent/program", {"a"}), -1);
    EXPECT_EQ(spawnProcess("", {}), -1);
}

}  // namespace
