#include "platform/Socket.h"

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// A listener on a free loopback port with one connected client.
struct Pair {
    Pair() {
        listener = platform::listenTcp("", 0, 1).fd;
        port = platform::boundPort(listener);
        client = platform::connectTcp("127.0.0.1", port);
        server = platform::acceptClient(listener);
    }
    ~Pair() {
        platform::closeSocket(client);
        platform::closeSocket(server);
        platform::closeSocket(listener);
    }
    int listener = -1, port = 0, client = -1, server = -1;
};

}  // namespace

TEST(Socket, ListenAcceptsOnlyIpv4TextAndDefaultsToLoopback) {
    struct Case {
        const char* address;
        int port;
        const char* boundTo;      // nullptr: the listen fails
        const char* failedStep;
    };
    const Case cases[] = {
        {"", 0, "127.0.0.1", ""},
        {"127.0.0.1", 0, "127.0.0.1", ""},
        {"0.0.0.0", 0, "0.0.0.0", ""},
        {"::1", 0, nullptr, "resolve"},
        {"localhost", 0, nullptr, "resolve"},
        {"10.0.0.300", 0, nullptr, "resolve"},
        {"", 70000, nullptr, "resolve"},
        {"", -1, nullptr, "resolve"},
    };
    for (const Case& tc : cases) {
        platform::ListenResult r = platform::listenTcp(tc.address, tc.port, 1);
        if (tc.boundTo) {
            ASSERT_GE(r.fd, 0) << tc.address << " " << r.error;
            EXPECT_EQ(platform::boundAddress(r.fd), tc.boundTo);
            EXPECT_GT(platform::boundPort(r.fd), 0);
        } else {
            EXPECT_EQ(r.fd, -1) << tc.address;
            EXPECT_EQ(r.failedStep, tc.failedStep) << tc.address;
            EXPECT_FALSE(r.error.empty());
        }
        platform::closeSocket(r.fd);
    }
}

TEST(Socket, PortInUseFailsTheBind) {
    platform::ListenResult first = platform::listenTcp("", 0, 1);
    ASSERT_GE(first.fd, 0);
    platform::ListenResult second = platform::listenTcp("", platform::boundPort(first.fd), 1);
    EXPECT_EQ(second.fd, -1);
    EXPECT_EQ(second.failedStep, "bind");
    platform::closeSocket(first.fd);
}

TEST(Socket, ExactLengthReceiveAcrossPiecesAndCloseEndsIt) {
    Pair p;
    ASSERT_GE(p.server, 0);
    std::thread writer([&] {
        for (char c : std::string("hello world")) {
            ASSERT_TRUE(platform::sendAll(p.client, &c, 1));
            std::this_thread::sleep_for(1ms);
        }
        platform::shutdownSocket(p.client);
    });
    char buf[11];
    ASSERT_TRUE(platform::recvAll(p.server, buf, sizeof buf));
    EXPECT_EQ(std::string(buf, sizeof buf), "hello world");
    writer.join();
    char more;
    EXPECT_FALSE(platform::recvAll(p.server, &more, 1));   // peer closed: no spinning
}

TEST(Socket, SendToAClosedPeerFailsWithoutSignal) {
    Pair p;
    platform::closeSocket(p.client);
    p.client = -1;
    std::string big(1 << 20, 'x');
    bool ok = true;
    for (int i = 0; i < 8 && ok; ++i) ok = platform::sendAll(p.server, big.data(), big.size());
    EXPECT_FALSE(ok);
}

TEST(Socket, ShutdownWakesBlockedAcceptReceiveAndSend) {
    Pair p, q;
    auto acceptor = std::async(std::launch::async, [&] { return platform::acceptClient(p.listener); });
    auto receiver = std::async(std::launch::async, [&] {
        char c;
        return platform::recvAll(p.server, &c, 1);   // nobody sends on p
    });
    auto sender = std::async(std::launch::async, [&] {
        std::string big(1 << 20, 'x');
        for (;;)   // nobody reads on q: this blocks once the buffers are full
            if (!platform::sendAll(q.client, big.data(), big.size())) return false;
    });
    std::this_thread::sleep_for(50ms);
    platform::shutdownSocket(p.listener);
    platform::shutdownSocket(p.server);
    platform::shutdownSocket(q.client);
    ASSERT_EQ(acceptor.wait_for(2s), std::future_status::ready);
    ASSERT_EQ(receiver.wait_for(2s), std::future_status::ready);
    ASSERT_EQ(sender.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(acceptor.get(), -1);
    EXPECT_FALSE(receiver.get());
    EXPECT_FALSE(sender.get());
}

TEST(Socket, SendTimeoutGivesUpOnAPeerThatNeverReads) {
    Pair p;
    platform::setSendTimeout(p.server, 100);
    std::string big(1 << 20, 'x');
    auto start = std::chrono::steady_clock::now();
    bool ok = true;
    for (int i = 0; i < 64 && ok; ++i) ok = platform::sendAll(p.server, big.data(), big.size());
    EXPECT_FALSE(ok);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}
