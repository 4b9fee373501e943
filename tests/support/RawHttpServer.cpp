#include "support/RawHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace testsupport {
namespace {

// Headers, then as many body bytes as Content-Length announces.
std::string readRequest(int conn) {
    std::string raw;
    char buf[4096];
    for (;;) {
        const size_t end = raw.find("\r\n\r\n");
        if (end != std::string::npos) {
            size_t length = 0;
            const size_t at = raw.find("Content-Length: ");
            if (at != std::string::npos && at < end) length = std::stoul(raw.substr(at + 16));
            if (raw.size() >= end + 4 + length) return raw;
        }
        pollfd p{conn, POLLIN, 0};
        if (::poll(&p, 1, 2000) <= 0) return raw;
        const ssize_t n = ::recv(conn, buf, sizeof buf, 0);
        if (n <= 0) return raw;
        raw.append(buf, static_cast<size_t>(n));
    }
}

void sendAll(int conn, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(conn, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

}  // namespace

RawHttpServer::RawHttpServer(std::string reply, std::string endlessTail)
    : _reply(std::move(reply)), _tail(std::move(endlessTail)) {
    _fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (_fd < 0 || ::bind(_fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(_fd, 8) != 0 ||
        ::getsockname(_fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        return;
    }
    _port = ntohs(addr.sin_port);
    _thread = std::thread([this] { serve(); });
}

RawHttpServer::~RawHttpServer() {
    _stop = true;
    if (_thread.joinable()) _thread.join();
    if (_fd >= 0) ::close(_fd);
}

std::string RawHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(_port) + path;
}

std::vector<std::string> RawHttpServer::requests() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _requests;
}

void RawHttpServer::serve() {
    while (!_stop) {
        pollfd p{_fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const int conn = ::accept(_fd, nullptr, nullptr);
        if (conn < 0) continue;
        std::string raw = readRequest(conn);
        {
            std::lock_guard<std::mutex> lock(_mutex);
            _requests.push_back(std::move(raw));
        }
        sendAll(conn, _reply);
        if (!_tail.empty()) sendEndless(conn);
        ::close(conn);
    }
}

void RawHttpServer::sendEndless(int conn) {
    size_t at = 0;
    while (!_stop) {
        pollfd p{conn, POLLOUT, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        if (p.revents & (POLLERR | POLLHUP)) return;
        const ssize_t n = ::send(conn, _tail.data() + at, _tail.size() - at, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) return;
        at = (at + static_cast<size_t>(n)) % _tail.size();
    }
}

}  // namespace testsupport
