#include "platform/ChildProcess.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace {

using platform::ChildProcess;

TEST(ChildProcessTest, CommandLinesSplitByTheWindowsRules) {
    struct Case {
        const char* text;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"  lead  trail  ", {"lead", "trail"}},
        {R"("a b" c)", {"a b", "c"}},
        {R"(x"y z"w)", {"xy zw"}},
        {R"("")", {""}},
        {R"(a "" b)", {"a", "", "b"}},
        {R"(a\"b)", {"a\"b"}},
        {R"(a\\"b c")", {"a\\b c"}},
        {R"(a\\\"b)", {"a\\\"b"}},
        {R"(C:\dir\file.txt)", {"C:\\dir\\file.txt"}},
        {R"("C:\my dir\\" next)", {"C:\\my dir\\", "next"}},
        {R"("say ""hi""")", {"say \"hi\""}},
        {R"("unterminated arg)", {"unterminated arg"}},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::splitCommandLine(c.text), c.args) << c.text;
}

TEST(ChildProcessTest, ProgramsAreFoundOnThePath) {
    EXPECT_EQ(platform::findOnPath("/bin/sh"), "/bin/sh");
    const std::string sh = platform::findOnPath("sh");
    EXPECT_FALSE(sh.empty());
    EXPECT_EQ(sh.back(), 'h');
    EXPECT_EQ(platform::findOnPath("vexo-no-such-program"), "");
    EXPECT_EQ(platform::findOnPath(""), "");

    ChildProcess missing;
    EXPECT_FALSE(missing.start("vexo-no-such-program", {}));
    EXPECT_EQ(missing.error(), ENOENT);
    EXPECT_FALSE(missing.started());
}

// Waits for the child's end, collecting its output.
int finish(ChildProcess& child, std::string* output) {
    int code = -1;
    char buffer[4096];
    for (int i = 0; i < 5000; ++i) {
        ssize_t n;
        while ((n = child.readOutput(buffer, sizeof buffer)) > 0) output->append(buffer, static_cast<size_t>(n));
        if (child.pollExit(&code)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ssize_t n;
    while ((n = child.readOutput(buffer, sizeof buffer)) > 0) output->append(buffer, static_cast<size_t>(n));
    return code;
}

TEST(ChildProcessTest, OutputAndErrorShareAPipeAndExitCodesArrive) {
    struct Case {
        const char* script;
        const char* output;
        int code;
    };
    const Case cases[] = {
        {"printf out; printf err >&2; exit 3", "outerr", 3},
        {"test -p /dev/stdin && printf pipe", "pipe", 0},
        {"printf x; kill -9 $$", "x", 128 + 9},
    };
    for (const Case& c : cases) {
        ChildProcess child;
        ASSERT_TRUE(child.start("sh", {"-c", c.script})) << c.script;
        std::string output;
        const int code = finish(child, &output);
        EXPECT_EQ(code, c.code) << c.script;
        EXPECT_EQ(output, c.output) << c.script;
    }
}

TEST(ChildProcessTest, NothingWaitingReadsAsZeroAndKillReaps) {
    ChildProcess child;
    ASSERT_TRUE(child.start("sleep", {"30"}));
    char buffer[16];
    EXPECT_EQ(child.readOutput(buffer, sizeof buffer), 0);
    EXPECT_EQ(child.availableOutput(), 0u);
    int code = 0;
    EXPECT_FALSE(child.pollExit(&code));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(child.kill());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_FALSE(child.kill());
    EXPECT_EQ(::kill(child.pid(), 0), -1);   // reaped: the pid is gone
}

}  // namespace
