#include "engine/network/WebSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/network/WebSocketHandshake.h"
#include "support/HeapPeak.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"
#include "support/WsPeer.h"

using engine::Director;
using engine::network::WebSocket;
using testsupport::PatchHost;
using testsupport::WsPeer;
using namespace std::chrono_literals;

namespace {

// What the delegate saw, in order: "open", "text:<bytes>", "binary:<bytes>",
// "close", "error"; each on the main thread with the right socket.
struct Recorder : WebSocket::Delegate {
    std::vector<std::string> events;
    WebSocket* expected = nullptr;
    std::thread::id mainThread = std::this_thread::get_id();
    std::vector<int> statesAtClose;

    void note(WebSocket* ws, std::string event) {
        EXPECT_EQ(ws, expected);
        EXPECT_EQ(std::this_thread::get_id(), mainThread);
        events.push_back(std::move(event));
    }
    void onOpen(WebSocket* ws) override { note(ws, "open"); }
    void onMessage(WebSocket* ws, const WebSocket::Data& data) override {
        note(ws, std::string(data.isBinary ? "binary:" : "text:") + std::string(data.bytes, static_cast<size_t>(data.len)));
    }
    void onClose(WebSocket* ws) override {
        statesAtClose.push_back(static_cast<int>(ws->getReadyState()));
        note(ws, "close");
    }
    void onError(WebSocket* ws, const WebSocket::ErrorCode&) override { note(ws, "error"); }

    bool has(const std::string& event) const { return std::find(events.begin(), events.end(), event) != events.end(); }
    size_t count() const { return events.size(); }
};

class WebSocketTest : public ::testing::Test {
protected:
    void SetUp() override { Director::getInstance(); }
    void TearDown() override { Director::destroyInstance(); }

    std::unique_ptr<WebSocket> open(Recorder& recorder, const std::string& url,
                                    const std::vector<std::string>* protocols = nullptr) {
        auto ws = std::make_unique<WebSocket>();
        recorder.expected = ws.get();
        EXPECT_TRUE(ws->init(recorder, url, protocols)) << url;
        return ws;
    }
    static bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10000ms) {
        return testsupport::pumpMainThreadUntil(done, timeout);
    }
    static bool pumpUntilEvents(const Recorder& recorder, size_t count, std::chrono::milliseconds timeout = 10000ms) {
        return pumpUntil([&] { return recorder.count() >= count; }, timeout);
    }
    // Lets queued main-thread calls run for a while (to see that none comes).
    static void pumpFor(std::chrono::milliseconds time) {
        testsupport::pumpMainThreadUntil([] { return false; }, time);
    }
};

// ---- Against the local peer -------------------------------------------------------

TEST_F(WebSocketTest, MessagesEchoBothWaysOverWsAndWss) {
    WsPeer plain;
    ASSERT_TRUE(plain.ready()) << plain.error();
    const PatchHost::Options tls = PatchHost::trusted();
    WsPeer secure(tls.cert, tls.key);
    ASSERT_TRUE(secure.ready()) << secure.error();

    for (const std::string& url : {plain.url(), secure.url("localhost"), secure.url("127.0.0.1")}) {
        SCOPED_TRACE(url);
        Recorder recorder;
        auto ws = open(recorder, url);
        EXPECT_EQ(ws->getReadyState(), WebSocket::State::CONNECTING);
        ASSERT_TRUE(pumpUntilEvents(recorder, 1));
        ASSERT_EQ(recorder.events, std::vector<std::string>{"open"});
        EXPECT_EQ(ws->getReadyState(), WebSocket::State::OPEN);

        const std::string zeros("a\0b\0", 4);
        const std::string large(200000, 'L');
        const unsigned char bytes[] = {0, 1, 127, 128, 255};
        ws->send("hello");
        ws->send(zeros);
        ws->send(std::string());
        ws->send(bytes, sizeof bytes);
        ws->send(bytes, 0);
        ws->send(reinterpret_cast<const unsigned char*>(large.data()), static_cast<unsigned>(large.size()));
        ws->send("cmd:fragments");
        ASSERT_TRUE(pumpUntilEvents(recorder, 8));
        const std::vector<std::string> expected = {
            "open", "text:hello", "text:" + zeros, "text:", "binary:" + std::string(reinterpret_cast<const char*>(bytes), 5),
            "binary:", "binary:" + large, "text:one-two-three"};
        EXPECT_EQ(recorder.events, expected);

        ws->close();
        // Closing at once; the worker may finish the handshake before we look.
        EXPECT_NE(ws->getReadyState(), WebSocket::State::OPEN);
        ASSERT_TRUE(pumpUntilEvents(recorder, 9));
        EXPECT_EQ(recorder.events.back(), "close");
        EXPECT_EQ(recorder.statesAtClose, std::vector<int>{3});
        ws->send("after close");   // ignored
        pumpFor(200ms);
        EXPECT_EQ(recorder.count(), 9u);
    }
}

TEST_F(WebSocketTest, PeerCommandsPingCloseDropAndOversize) {
    WsPeer peer;
    ASSERT_TRUE(peer.ready()) << peer.error();
    struct Case {
        std::string command;
        std::vector<std::string> after;   // events after "open"
    };
    const Case cases[] = {
        // The peer answers once our pong came back.
        {"cmd:ping:abc", {"text:pong:abc"}},
        {"cmd:close:4000", {"close"}},
        {"cmd:drop", {"error", "close"}},
        {"cmd:big:" + std::to_string(WebSocket::kMaxMessageSize + 1), {"error", "close"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Recorder recorder;
        auto ws = open(recorder, peer.url());
        ASSERT_TRUE(pumpUntilEvents(recorder, 1));
        ws->send(c.command);
        ASSERT_TRUE(pumpUntilEvents(recorder, 1 + c.after.size(), 20000ms));
        pumpFor(100ms);
        std::vector<std::string> expected = {"open"};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(recorder.events, expected);
        if (c.after.back() == "close") {
            EXPECT_EQ(ws->getReadyState(), WebSocket::State::CLOSED);
        }
    }
}

TEST_F(WebSocketTest, SubProtocolIsNegotiated) {
    WsPeer peer;
    ASSERT_TRUE(peer.ready()) << peer.error();
    const std::vector<std::string> offered = {"nope", "echo"};
    Recorder recorder;
    auto ws = open(recorder, peer.url(), &offered);
    ASSERT_TRUE(pumpUntilEvents(recorder, 1));
    EXPECT_EQ(ws->getProtocol(), "echo");
    ws->send("cmd:protocol");
    ASSERT_TRUE(pumpUntilEvents(recorder, 2));
    EXPECT_EQ(recorder.events.back(), "text:protocol:echo");
}

TEST_F(WebSocketTest, FailedConnectionsGiveErrorThenCloseOnce) {
    const PatchHost::Options rogue = PatchHost::rogue();
    WsPeer untrusted(rogue.cert, rogue.key);
    ASSERT_TRUE(untrusted.ready()) << untrusted.error();
    WsPeer plain;
    ASSERT_TRUE(plain.ready()) << plain.error();
    const std::string cases[] = {
        "ws://127.0.0.1:" + std::to_string(PatchHost::closedPort()) + "/",   // refused
        untrusted.url("localhost"),                                          // certificate of an unknown CA
        "wss://127.0.0.1:" + std::to_string(plain.port()) + "/",             // TLS to a plain server
        "ws://no-such-host.invalid/",
    };
    for (const std::string& url : cases) {
        SCOPED_TRACE(url);
        Recorder recorder;
        auto ws = open(recorder, url);
        ASSERT_TRUE(pumpUntilEvents(recorder, 2, 20000ms));
        pumpFor(200ms);
        EXPECT_EQ(recorder.events, (std::vector<std::string>{"error", "close"}));
        EXPECT_EQ(ws->getReadyState(), WebSocket::State::CLOSED);
    }
}

TEST_F(WebSocketTest, BadAddressesStartNothing) {
    for (const char* url : {"http://127.0.0.1/", "", "ws://"}) {
        Recorder recorder;
        WebSocket ws;
        EXPECT_FALSE(ws.init(recorder, url)) << url;
        EXPECT_EQ(ws.getReadyState(), WebSocket::State::CLOSED);
    }
}

// ---- Against a raw loopback server ------------------------------------------------

// Accepts one connection, reads the upgrade request and hands the connection to
// `serve` (with the request's key); keeps what the client sends afterwards.
class RawServer {
public:
    using Serve = std::function<void(int conn, const std::string& key)>;
    explicit RawServer(Serve serve) : _serve(std::move(serve)) {
        _fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (::bind(_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(_fd, 4) != 0 ||
            ::getsockname(_fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
            ADD_FAILURE() << "cannot listen on loopback";
            return;
        }
        _port = ntohs(addr.sin_port);
        _thread = std::thread([this] { run(); });
    }
    ~RawServer() {
        _stop = true;
        if (_thread.joinable()) _thread.join();
        ::close(_fd);
    }
    std::string url() const { return "ws://127.0.0.1:" + std::to_string(_port) + "/"; }
    // The client's bytes after its request, unmasked frame by frame: "<opcode>:<payload>".
    std::vector<std::string> clientFrames() const {
        std::lock_guard<std::mutex> lock(_mutex);
        std::vector<std::string> frames;
        size_t at = 0;
        while (at + 6 <= _after.size()) {
            const auto* p = reinterpret_cast<const unsigned char*>(_after.data() + at);
            if (!(p[1] & 0x80)) {
                frames.push_back("unmasked");
                break;
            }
            const size_t len = p[1] & 0x7F;   // small frames only here
            if (at + 6 + len > _after.size()) break;
            std::string payload = _after.substr(at + 6, len);
            for (size_t i = 0; i < len; ++i) payload[i] = static_cast<char>(payload[i] ^ p[2 + (i & 3)]);
            frames.push_back(std::to_string(p[0] & 0x0F) + ":" + payload);
            at += 6 + len;
        }
        return frames;
    }

    static void sendAll(int conn, const std::string& data) {
        size_t sent = 0;
        while (sent < data.size()) {
            const ssize_t n = ::send(conn, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<size_t>(n);
        }
    }
    static std::string goodAnswer(const std::string& key) {
        return "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
               "Sec-WebSocket-Accept: " + engine::network::ws::acceptFor(key) + "\r\n\r\n";
    }

private:
    void run() {
        pollfd p{_fd, POLLIN, 0};
        while (!_stop && ::poll(&p, 1, 50) == 0) {}
        if (_stop) return;
        const int conn = ::accept4(_fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (conn < 0) return;
        std::string request;
        char buf[4096];
        while (request.find("\r\n\r\n") == std::string::npos && !_stop) {
            pollfd c{conn, POLLIN, 0};
            if (::poll(&c, 1, 50) <= 0) continue;
            const ssize_t n = ::recv(conn, buf, sizeof buf, 0);
            if (n <= 0) break;
            request.append(buf, static_cast<size_t>(n));
        }
        const size_t at = request.find("Sec-WebSocket-Key: ");
        const std::string key = at == std::string::npos ? "" : request.substr(at + 19, 24);
        {
            std::lock_guard<std::mutex> lock(_mutex);
            _after = request.substr(std::min(request.size(), request.find("\r\n\r\n") + 4));
        }
        _serve(conn, key);
        // Keep what the client sends until it closes or the server stops.
        while (!_stop) {
            pollfd c{conn, POLLIN, 0};
            if (::poll(&c, 1, 50) <= 0) continue;
            const ssize_t n = ::recv(conn, buf, sizeof buf, 0);
            if (n <= 0) break;
            std::lock_guard<std::mutex> lock(_mutex);
            _after.append(buf, static_cast<size_t>(n));
        }
        ::close(conn);
    }

    Serve _serve;
    int _fd = -1;
    int _port = 0;
    std::atomic<bool> _stop{false};
    std::thread _thread;
    mutable std::mutex _mutex;
    std::string _after;
};

TEST_F(WebSocketTest, BrokenHandshakesFail) {
    struct Case {
        const char* name;
        std::function<std::string(const std::string& key)> answer;
    };
    const Case cases[] = {
        {"bad accept", [](const std::string&) {
             return std::string("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                                "Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n\r\n");
         }},
        {"not 101", [](const std::string&) { return std::string("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"); }},
        {"sub-protocol not offered", [](const std::string& key) {
             std::string answer = RawServer::goodAnswer(key);
             return answer.insert(answer.size() - 2, "Sec-WebSocket-Protocol: chat\r\n");
         }},
        {"closed before the answer ends", [](const std::string&) { return std::string("HTTP/1.1 101 Swi"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder recorder;
        std::unique_ptr<WebSocket> ws;
        {
            RawServer server([&](int conn, const std::string& key) {
                RawServer::sendAll(conn, c.answer(key));
                ::shutdown(conn, SHUT_WR);
            });
            ws = open(recorder, server.url());
            ASSERT_TRUE(pumpUntilEvents(recorder, 2));
        }
        pumpFor(100ms);
        EXPECT_EQ(recorder.events, (std::vector<std::string>{"error", "close"}));
    }
}

// A bad frame from the server: the client says why in its close frame (masked)
// and reports the error.
TEST_F(WebSocketTest, BadFramesCloseWithTheirCode) {
    struct Case {
        const char* name;
        std::string frames;
        std::string closeFrame;   // the client's: opcode 8, code in two bytes
    };
    const Case cases[] = {
        {"masked server frame", std::string("\x81\x81\0\0\0\0a", 7), std::string("8:\x03\xea", 4)},
        {"unknown opcode", std::string("\x83\x00", 2), std::string("8:\x03\xea", 4)},
        {"oversize frame announced", std::string("\x82\x7f\0\0\x01\0\0\0\0\0", 10), std::string("8:\x03\xf1", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder recorder;
        RawServer server([&](int conn, const std::string& key) {
            RawServer::sendAll(conn, RawServer::goodAnswer(key) + "\x81\x02ok" + c.frames);
        });
        auto ws = open(recorder, server.url());
        ASSERT_TRUE(pumpUntilEvents(recorder, 4));
        EXPECT_EQ(recorder.events, (std::vector<std::string>{"open", "text:ok", "error", "close"}));
        EXPECT_TRUE(pumpUntil([&] { return !server.clientFrames().empty(); }));
        EXPECT_EQ(server.clientFrames(), std::vector<std::string>{c.closeFrame});
    }
}

TEST_F(WebSocketTest, CloseWhileConnectingIsNoError) {
    // The server never answers the upgrade.
    RawServer server([](int, const std::string&) {});
    Recorder recorder;
    auto ws = open(recorder, server.url());
    pumpFor(100ms);
    ws->close();
    ASSERT_TRUE(pumpUntilEvents(recorder, 1));
    pumpFor(100ms);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"close"});
    EXPECT_EQ(ws->getReadyState(), WebSocket::State::CLOSED);
}

TEST_F(WebSocketTest, NothingArrivesAfterTheSocketIsGone) {
    WsPeer peer;
    ASSERT_TRUE(peer.ready()) << peer.error();
    RawServer silent([](int, const std::string&) {});
    struct Case {
        const char* name;
        std::string url;
        bool waitOpen;
    };
    const Case cases[] = {
        {"while connecting", silent.url(), false},
        {"with echoes on their way", peer.url(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder recorder;
        auto ws = open(recorder, c.url);
        if (c.waitOpen) {
            ASSERT_TRUE(pumpUntilEvents(recorder, 1));
            for (int i = 0; i < 20; ++i) ws->send("echo me");
            // Let echoes reach the main thread's queue without running it.
            std::this_thread::sleep_for(300ms);
        } else {
            pumpFor(100ms);
        }
        const size_t before = recorder.count();
        ws.reset();
        pumpFor(300ms);
        EXPECT_EQ(recorder.count(), before);
    }
}

}  // namespace

namespace {

// Closes its socket from inside the first message it hears.
struct ClosingRecorder : Recorder {
    void onMessage(WebSocket* ws, const WebSocket::Data& data) override {
        Recorder::onMessage(ws, data);
        ws->close();
    }
};

}  // namespace

TEST_F(WebSocketTest, AfterCloseInAHandlerOnlyTheCloseFollows) {
    std::string burst;
    for (int i = 0; i < 64000; ++i) burst += "\x81\x01x";
    RawServer server([&](int conn, const std::string& key) { RawServer::sendAll(conn, RawServer::goodAnswer(key) + burst); });
    ClosingRecorder recorder;
    auto ws = open(recorder, server.url());
    ASSERT_TRUE(pumpUntil([&] { return recorder.has("close"); }));
    pumpFor(200ms);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"open", "text:x", "close"}));
}

// A peer that floods pings and reads nothing: the client holds one pending pong
// (the latest ping's), not one per ping.
TEST_F(WebSocketTest, PingFloodKeepsOnePendingPong) {
    constexpr size_t kFrame = 2 + 4 + 125;   // a client pong of 125 bytes, masked
    constexpr int kRounds = 300, kPerRound = 1000;
    const std::string last = "last" + std::string(121, 'z');
    std::atomic<bool> flooded{false};
    size_t pongBytes = 0;
    std::string lastPong;
    RawServer server([&](int conn, const std::string& key) {
        RawServer::sendAll(conn, RawServer::goodAnswer(key));
        std::string chunk;
        for (int round = 0; round < kRounds; ++round) {
            chunk.clear();
            for (int i = 0; i < kPerRound; ++i) {
                const bool isLast = round == kRounds - 1 && i == kPerRound - 1;
                chunk += "\x89\x7d";
                chunk += isLast ? last : std::string(125, static_cast<char>('a' + i % 26));
            }
            RawServer::sendAll(conn, chunk);
        }
        // Now read: the pongs are whole frames of one size; the last one answers
        // the last ping.
        std::string tail;
        char buf[65536];
        for (;;) {
            pollfd p{conn, POLLIN, 0};
            if (::poll(&p, 1, 1000) <= 0) break;
            const ssize_t n = ::recv(conn, buf, sizeof buf, 0);
            if (n <= 0) break;
            pongBytes += static_cast<size_t>(n);
            tail.append(buf, static_cast<size_t>(n));
            if (tail.size() > 4 * kFrame) tail.erase(0, tail.size() - 2 * kFrame);
        }
        if (pongBytes % kFrame == 0 && tail.size() >= kFrame) {
            const auto* f = reinterpret_cast<const unsigned char*>(tail.data() + tail.size() - kFrame);
            if (f[0] == 0x8A && f[1] == (0x80 | 125)) {
                for (size_t i = 0; i < 125; ++i) lastPong += static_cast<char>(f[6 + i] ^ f[2 + (i & 3)]);
            }
        }
        flooded = true;
    });
    Recorder recorder;
    std::unique_ptr<WebSocket> ws;
    const auto peak = testsupport::peakHeapDuring([&] {
        ws = open(recorder, server.url());
        pumpUntil([&] { return flooded.load(); }, 60000ms);
    });
    ASSERT_TRUE(flooded.load());
    EXPECT_EQ(lastPong, last);
    EXPECT_LT(pongBytes, size_t(kRounds) * kPerRound * kFrame / 2) << "fewer pongs than pings";
    if (peak) EXPECT_LT(*peak, size_t(8) << 20);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"open"});
}

// A peer that reads nothing while the script keeps sending: the queue stops at
// its bound and the connection ends as an error.
TEST_F(WebSocketTest, SendQueueIsBounded) {
    std::atomic<bool> release{false};
    RawServer server([&](int conn, const std::string& key) {
        RawServer::sendAll(conn, RawServer::goodAnswer(key));
        for (int i = 0; i < 3000 && !release; ++i) std::this_thread::sleep_for(10ms);
    });
    Recorder recorder;
    auto ws = open(recorder, server.url());
    ASSERT_TRUE(pumpUntilEvents(recorder, 1));
    const std::string message(256 * 1024, 'm');
    const auto peak = testsupport::peakHeapDuring([&] {
        for (int i = 0; i < 256 && !recorder.has("close"); ++i) {
            ws->send(reinterpret_cast<const unsigned char*>(message.data()), static_cast<unsigned>(message.size()));
            pumpFor(2ms);
        }
        pumpUntilEvents(recorder, 3);
    });
    release = true;
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"open", "error", "close"}));
    EXPECT_EQ(ws->getReadyState(), WebSocket::State::CLOSED);
    if (peak) EXPECT_LT(*peak, size_t(40) << 20);
}
