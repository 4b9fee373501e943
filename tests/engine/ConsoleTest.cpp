#include "engine/console/Console.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Socket.h"
#include "support/SocketSupport.h"

using engine::Console;
using testing::ElementsAre;
using namespace std::chrono_literals;

TEST(ConsoleLineSplitter, SplitsLinesAndRefusesOverlongOnes) {
    const size_t max = Console::kMaxLineLength;
    struct Case {
        std::vector<std::string> feeds;
        std::vector<std::string> lines;
        bool ok;
    };
    const Case cases[] = {
        {{"a\nb\r\n"}, {"a", "b"}, true},
        {{"ab", "c\r", "\nd"}, {"abc"}, true},
        {{"x\ry\n"}, {"x\ry"}, true},
        {{"\n\r\n"}, {"", ""}, true},
        {{std::string(max, 'x') + "\n"}, {std::string(max, 'x')}, true},
        {{std::string(max, 'x') + "\r\n"}, {}, false},
        {{std::string(max, 'x'), "y"}, {}, false},
        {{"ok\n", std::string(max / 2, 'x'), std::string(max / 2 + 1, 'x')}, {"ok"}, false},
    };
    for (const Case& tc : cases) {
        Console::LineSplitter splitter;
        std::vector<std::string> lines;
        bool ok = true;
        for (const std::string& f : tc.feeds) ok = ok && splitter.feed(f.data(), f.size(), lines);
        EXPECT_EQ(ok, tc.ok) << tc.feeds[0].substr(0, 20);
        EXPECT_EQ(lines, tc.lines) << tc.feeds[0].substr(0, 20);
    }
}

namespace {

// A console on a free loopback port with an "echo" command that answers its
// arguments in brackets, and a "quiet" command that records them.
class ConsoleOverLoopback : public testing::Test {
protected:
    void SetUp() override {
        console.addCommand({"echo", "answers its arguments", [this](int fd, const std::string& args) {
                                std::string reply = "[" + args + "]";
                                console.sendToClient(fd, console.clientSerial(fd), reply.data(), reply.size());
                            }});
        console.addCommand({"quiet", "says nothing", [this](int, const std::string& args) {
                                std::lock_guard<std::mutex> lock(mutex);
                                quietArgs.push_back(args);
                            }});
        ASSERT_TRUE(console.listenOnTCP(0));
    }
    // The thread stops before the members its commands use are gone.
    void TearDown() override { console.stop(); }
    int connect() { return platform::connectTcp("127.0.0.1", console.getListenPort()); }
    static void send(int fd, const std::string& text) { ASSERT_TRUE(platform::sendAll(fd, text.data(), text.size())); }
    static std::string receive(int fd, std::chrono::milliseconds wait, size_t until = SIZE_MAX) {
        return testsupport::receiveFor(fd, wait, until);
    }

    Console console;
    std::mutex mutex;
    std::vector<std::string> quietArgs;
};

}  // namespace

TEST_F(ConsoleOverLoopback, CommandsGetTheTextAfterTheWordAndItsBlanks) {
    int fd = connect();
    send(fd, "echo  two  blanks\r\necho\necho x\necho \t y \necho   \n");
    EXPECT_EQ(receive(fd, 2s, 24), "[two  blanks][][x][y ][]");
    platform::closeSocket(fd);
}

TEST_F(ConsoleOverLoopback, HelpListsCommandsAndUnknownNamesGetOneLine) {
    int fd = connect();
    send(fd, "help\n");
    std::string help = receive(fd, 300ms);
    EXPECT_THAT(help, testing::HasSubstr("echo\tanswers its arguments\n"));
    EXPECT_THAT(help, testing::HasSubstr("quiet\tsays nothing\n"));
    send(fd, "nosuch a b\n");
    std::string unknown = receive(fd, 300ms);
    EXPECT_EQ(std::count(unknown.begin(), unknown.end(), '\n'), 1);
    EXPECT_THAT(unknown, testing::HasSubstr("nosuch"));
    // No prompt and no echo: a command without an answer, or an empty line, writes nothing.
    send(fd, "quiet 1\n\n");
    EXPECT_EQ(receive(fd, 300ms), "");
    platform::closeSocket(fd);
}

TEST_F(ConsoleOverLoopback, ServesSeveralClientsAtOnce) {
    int a = connect(), b = connect();
    send(a, "echo a1\n");
    send(b, "echo b1\n");
    send(a, "echo a2\n");
    EXPECT_EQ(receive(b, 2s, 4), "[b1]");
    EXPECT_EQ(receive(a, 2s, 8), "[a1][a2]");
    platform::closeSocket(a);
    send(b, "echo b2\n");
    EXPECT_EQ(receive(b, 2s, 4), "[b2]");
    platform::closeSocket(b);
}

TEST_F(ConsoleOverLoopback, OverlongLineClosesOnlyThatClient) {
    int bad = connect(), good = connect();
    send(bad, "quiet " + std::string(Console::kMaxLineLength, 'x'));
    EXPECT_EQ(receive(bad, 2s), "<closed>");
    send(good, "echo still\n");
    EXPECT_EQ(receive(good, 2s, 7), "[still]");
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_TRUE(quietArgs.empty());
    platform::closeSocket(bad);
    platform::closeSocket(good);
}

TEST_F(ConsoleOverLoopback, ReplyForAGoneClientIsDropped) {
    int fd = connect();
    send(fd, "quiet x\n");
    // Find the server-side descriptor and serial of this client through a command.
    std::atomic<int> serverFd{-1};
    std::atomic<uint64_t> serial{0};
    console.addCommand({"who", "", [&](int f, const std::string&) {
                            serial = console.clientSerial(f);
                            serverFd = f;
                        }});
    send(fd, "who\n");
    for (int i = 0; i < 200 && serverFd < 0; ++i) std::this_thread::sleep_for(5ms);
    ASSERT_GE(serverFd.load(), 0);
    EXPECT_NE(serial.load(), 0u);
    platform::closeSocket(fd);
    for (int i = 0; i < 200 && console.clientSerial(serverFd) == serial; ++i) std::this_thread::sleep_for(5ms);
    // A new client may reuse the descriptor; the old serial no longer reaches it.
    int next = connect();
    send(next, "quiet y\n");
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(console.sendToClient(serverFd, serial, "old", 3));
    EXPECT_EQ(receive(next, 200ms), "");
    platform::closeSocket(next);
}

TEST_F(ConsoleOverLoopback, ListeningTwiceFailsAndStopEndsPromptly) {
    EXPECT_FALSE(console.listenOnTCP(0));
    int fd = connect();
    send(fd, "quiet held\n");
    auto start = std::chrono::steady_clock::now();
    console.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_FALSE(console.isListening());
    EXPECT_EQ(receive(fd, 1s), "<closed>");
    platform::closeSocket(fd);
    EXPECT_TRUE(console.listenOnTCP(0));   // listening may start again
}

TEST_F(ConsoleOverLoopback, ClientsBeyondTheCapAreClosed) {
    std::vector<int> clients;
    for (size_t i = 0; i < Console::kMaxClients; ++i) {
        clients.push_back(connect());
        send(clients.back(), "echo " + std::to_string(i) + "\n");
        const std::string expected = "[" + std::to_string(i) + "]";
        ASSERT_EQ(receive(clients.back(), 2s, expected.size()), expected);
    }
    int extra = connect();
    EXPECT_EQ(receive(extra, 2s), "<closed>");
    platform::closeSocket(extra);

    // A place that comes free is taken by the next client.
    platform::closeSocket(clients.back());
    clients.pop_back();
    std::string answer;
    for (int attempt = 0; attempt < 50 && answer != "[again]"; ++attempt) {
        int next = connect();
        send(next, "echo again\n");
        answer = receive(next, 200ms, 7);
        if (answer == "[again]") {
            clients.push_back(next);
        } else {
            platform::closeSocket(next);
        }
    }
    EXPECT_EQ(answer, "[again]");
    for (int fd : clients) platform::closeSocket(fd);
}

// CPU time of the whole process, in seconds.
double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TEST_F(ConsoleOverLoopback, OutOfDescriptorsTheListenerRestsAndServesAgainLater) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    // A low limit, then every descriptor below it taken but one, which the client
    // takes: the console's accept fails with EMFILE.
    int probe = open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(probe, 0);
    close(probe);
    rlimit low = saved;
    low.rlim_cur = static_cast<rlim_t>(probe + 64);
    const int port = console.getListenPort();
    const std::string line = "echo back\n";
    // While no descriptor is free, the test calls no member of its fixture: the
    // sanitizers' type check of such a call needs descriptors of its own.
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> fillers;
    fillers.reserve(64);
    for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) fillers.push_back(fd);
    close(fillers.back());
    fillers.pop_back();
    const int client = platform::connectTcp("127.0.0.1", port);
    const bool sent = client >= 0 && platform::sendAll(client, line.data(), line.size());

    const double before = processCpuSeconds();
    std::this_thread::sleep_for(1s);
    const double spent = processCpuSeconds() - before;
    for (int fd : fillers) close(fd);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
    ASSERT_TRUE(sent);
    EXPECT_LT(spent, 0.05) << "the console's thread spins while it cannot accept";

    EXPECT_EQ(receive(client, 2s, 6), "[back]");
    platform::closeSocket(client);
}
