#include "platform/Socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace platform {
namespace {

void pauseBeforeRetry() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

}  // namespace

ListenResult listenTcp(const std::string& address, int port, int backlog) {
    ListenResult result;
    const std::string host = address.empty() ? "127.0.0.1" : address;
    const std::string service = std::to_string(port);

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    int rc = (port < 0 || port > 65535) ? EAI_SERVICE
                                        : getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
    if (rc != 0) {
        result.failedStep = "resolve";
        result.error = gai_strerror(rc);
        return result;
    }

    int lastErrno = 0;
    for (addrinfo* ai = found; ai; ai = ai->ai_next) {
        int fd = socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) {
            lastErrno = errno;
            continue;
        }
        int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (bind(fd, ai->ai_addr, ai->ai_addrlen) == 0 && listen(fd, backlog) == 0) {
            result.fd = fd;
            break;
        }
        lastErrno = errno;
        close(fd);
    }
    freeaddrinfo(found);
    if (result.fd < 0) {
        result.failedStep = "bind";
        result.error = std::strerror(lastErrno);
    }
    return result;
}

int boundPort(int fd) {
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return 0;
    return ntohs(addr.sin_port);
}

std::string boundAddress(int fd) {
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return "";
    char text[INET_ADDRSTRLEN] = {};
    if (!inet_ntop(AF_INET, &addr.sin_addr, text, sizeof text)) return "";
    return text;
}

int acceptClient(int listenFd) {
    for (;;) {
        int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) return fd;
        if (errno == EINTR || errno == ECONNABORTED) continue;
        return -1;
    }
}

int connectTcp(const std::string& host, int port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1) return -1;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool recvAll(int fd, void* buffer, size_t n) {
    char* p = static_cast<char*>(buffer);
    while (n > 0) {
        ssize_t got = recv(fd, p, n, 0);
        if (got > 0) {
            p += got;
            n -= static_cast<size_t>(got);
        } else if (got == 0) {
            return false;   // orderly close (or shut down)
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool sendAll(int fd, const void* buffer, size_t n) {
    const char* p = static_cast<const char*>(buffer);
    while (n > 0) {
        ssize_t sent = send(fd, p, n, MSG_NOSIGNAL);
        if (sent > 0) {
            p += sent;
            n -= static_cast<size_t>(sent);
        } else if (sent == 0) {
            pauseBeforeRetry();
        } else if (errno != EINTR) {
            return false;   // includes a send time-out (EAGAIN)
        }
    }
    return true;
}

bool sendAllWithin(int fd, const void* buffer, size_t n, int milliseconds) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    const char* p = static_cast<const char*>(buffer);
    while (n > 0) {
        const ssize_t sent = send(fd, p, n, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            p += sent;
            n -= static_cast<size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd writable{fd, POLLOUT, 0};
        if (poll(&writable, 1, static_cast<int>(left)) < 0 && errno != EINTR) return false;
    }
    return true;
}

void setSendTimeout(int fd, int milliseconds) {
    timeval tv{};
    tv.tv_sec = milliseconds / 1000;
    tv.tv_usec = (milliseconds % 1000) * 1000;
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

void shutdownSocket(int fd) {
    if (fd >= 0) shutdown(fd, SHUT_RDWR);
}

void closeSocket(int fd) {
    if (fd >= 0) close(fd);
}

}  // namespace platform
