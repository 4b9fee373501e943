// A 64 MiB loopback download through the asynchronous HTTP request object (its
// transfer thread, the scheduler polled in a loop as the main loop does) against a
// bare libcurl easy transfer of the same reply into a vector.
#include <arpa/inet.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/network/extra/HTTPRequest.h"

namespace {

constexpr size_t kBodySize = 64u << 20;

// Plain HTTP on an ephemeral loopback port: every connection gets the same reply.
class LoopbackServer {
public:
    LoopbackServer() : _body(kBodySize, 'v') {
        _fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(_fd, reinterpret_cast<sockaddr*>(&addr), len);
        ::listen(_fd, 8);
        ::getsockname(_fd, reinterpret_cast<sockaddr*>(&addr), &len);
        _url = "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/body";
        _header = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(_body.size()) +
                  "\r\nConnection: close\r\n\r\n";
        _thread = std::thread([this] { serve(); });
    }
    ~LoopbackServer() {
        _stop = true;
        _thread.join();
        ::close(_fd);
    }
    const std::string& url() const { return _url; }

private:
    void serve() {
        while (!_stop) {
            pollfd p{_fd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            const int conn = ::accept(_fd, nullptr, nullptr);
            if (conn < 0) continue;
            std::string request;
            char buf[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::recv(conn, buf, sizeof buf, 0);
                if (n <= 0) break;
                request.append(buf, static_cast<size_t>(n));
            }
            sendAll(conn, _header);
            sendAll(conn, _body);
            ::close(conn);
        }
    }
    static void sendAll(int conn, const std::string& data) {
        size_t sent = 0;
        while (sent < data.size()) {
            const ssize_t n = ::send(conn, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<size_t>(n);
        }
    }

    std::string _body;
    std::string _header;
    std::string _url;
    int _fd = -1;
    std::atomic<bool> _stop{false};
    std::thread _thread;
};

LoopbackServer& server() {
    static LoopbackServer s;
    return s;
}

void BM_httprequest_vs_curl_ours(benchmark::State& state) {
    engine::Director* director = engine::Director::getInstance();
    engine::Scheduler* scheduler = director->getScheduler();
    for (auto _ : state) {
        using engine::extra::HTTPRequest;
        HTTPRequest* request = HTTPRequest::createWithUrl(nullptr, server().url(), HTTPRequest::kGET);
        request->retain();
        request->start();
        while (request->getReferenceCount() > 2) {   // ours, the pool's, and its own until done
            scheduler->update(1.f / 60);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        if (request->getState() != HTTPRequest::kCompleted || request->getResponseDataLength() != kBodySize) {
            state.SkipWithError("transfer failed");
        }
        request->release();
        engine::AutoreleasePool::getInstance()->clear();
    }
}

size_t appendToVector(char* data, size_t size, size_t count, void* userdata) {
    auto* out = static_cast<std::vector<char>*>(userdata);
    out->insert(out->end(), data, data + size * count);
    return size * count;
}

void BM_httprequest_vs_curl_baseline(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<char> body;
        CURL* curl = curl_easy_init();
        curl_easy_setopt(curl, CURLOPT_URL, server().url().c_str());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendToVector);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        const CURLcode rc = curl_easy_perform(curl);
        curl_easy_cleanup(curl);
        if (rc != CURLE_OK || body.size() != kBodySize) state.SkipWithError("transfer failed");
    }
}

}  // namespace

BENCHMARK(BM_httprequest_vs_curl_ours)->Name("BM_httprequest_vs_curl/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_httprequest_vs_curl_baseline)->Name("BM_httprequest_vs_curl/baseline")->Unit(benchmark::kMillisecond);
