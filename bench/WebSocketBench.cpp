// Receiving 64 MiB as 64 KiB binary messages over loopback through the WebSocket
// client, up to its delegate on the main thread, against reading the same bytes
// from a plain TCP socket. Both from a sender thread in this process that writes
// as fast as the socket takes it; each iteration is one fresh connection
// (the WebSocket one with its upgrade). Throughput in wall time; the main loop
// is the scheduler polled with a short sleep, as in the other network benchmarks.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/network/WebSocket.h"
#include "engine/network/WebSocketHandshake.h"

namespace {

using engine::network::WebSocket;

constexpr size_t kTotal = 64u << 20;
constexpr size_t kMessage = 64u << 10;

// A listener on a free loopback port; serve(connection) runs on its own thread
// for the next connection.
struct Sender {
    int listener = -1;
    int port = 0;
    std::thread thread;

    Sender() {
        listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && ::listen(listener, 4) == 0 &&
            ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            port = ntohs(addr.sin_port);
    }
    ~Sender() {
        if (thread.joinable()) thread.join();
        ::close(listener);
    }
    template <class Serve>
    void start(Serve serve) {
        if (thread.joinable()) thread.join();
        thread = std::thread([this, serve] {
            const int conn = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (conn < 0) return;
            serve(conn);
            ::close(conn);
        });
    }
};

bool sendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// One unmasked binary frame of kMessage bytes, as a server sends it.
std::string serverFrame() {
    std::string frame = {'\x82', '\x7f', 0, 0, 0, 0, 0, 1, 0, 0};
    frame += std::string(kMessage, 'w');
    return frame;
}

struct Counter : WebSocket::Delegate {
    size_t bytes = 0;
    bool closed = false;
    bool failed = false;
    void onOpen(WebSocket*) override {}
    void onMessage(WebSocket*, const WebSocket::Data& data) override { bytes += static_cast<size_t>(data.len); }
    void onClose(WebSocket*) override { closed = true; }
    void onError(WebSocket*, const WebSocket::ErrorCode&) override { failed = true; }
};

void BM_websocket_recv_vs_tcp_ours(benchmark::State& state) {
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    Sender sender;
    const std::string frame = serverFrame();
    for (auto _ : state) {
        sender.start([&frame](int conn) {
            std::string request;
            char buf[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::recv(conn, buf, sizeof buf, 0);
                if (n <= 0) return;
                request.append(buf, static_cast<size_t>(n));
            }
            const size_t at = request.find("Sec-WebSocket-Key: ");
            const std::string key = at == std::string::npos ? "" : request.substr(at + 19, 24);
            const std::string answer = "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                                       "Sec-WebSocket-Accept: " + engine::network::ws::acceptFor(key) + "\r\n\r\n";
            if (!sendAll(conn, answer.data(), answer.size())) return;
            for (size_t sent = 0; sent < kTotal; sent += kMessage)
                if (!sendAll(conn, frame.data(), frame.size())) return;
            sendAll(conn, "\x88\x02\x03\xe8", 4);
            while (::recv(conn, buf, sizeof buf, 0) > 0) {}   // until the client's close
        });
        Counter counter;
        {
            WebSocket ws;
            ws.init(counter, "ws://127.0.0.1:" + std::to_string(sender.port) + "/");
            while (counter.bytes < kTotal && !counter.closed) {
                scheduler->update(1.f / 60);
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        }
        if (counter.bytes != kTotal || counter.failed) {
            state.SkipWithError("the WebSocket client did not receive everything");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTotal));
}

void BM_websocket_recv_vs_tcp_baseline(benchmark::State& state) {
    Sender sender;
    const std::string block(kMessage, 't');
    std::vector<char> buffer(256u << 10);
    for (auto _ : state) {
        sender.start([&block](int conn) {
            for (size_t sent = 0; sent < kTotal; sent += kMessage)
                if (!sendAll(conn, block.data(), block.size())) return;
        });
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(static_cast<uint16_t>(sender.port));
        size_t received = 0;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
            for (;;) {
                const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
                if (n <= 0) break;
                received += static_cast<size_t>(n);
            }
        }
        ::close(fd);
        benchmark::DoNotOptimize(received);
        if (received != kTotal) {
            state.SkipWithError("the TCP reader did not receive everything");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTotal));
}

}  // namespace

BENCHMARK(BM_websocket_recv_vs_tcp_ours)->Name("BM_websocket_recv_vs_tcp/ours")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_websocket_recv_vs_tcp_baseline)
    ->Name("BM_websocket_recv_vs_tcp/baseline")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
