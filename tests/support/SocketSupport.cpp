#include "support/SocketSupport.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>

namespace testsupport {

std::string receiveFor(int fd, std::chrono::milliseconds wait, size_t until) {
    std::string got;
    auto deadline = std::chrono::steady_clock::now() + wait;
    while (got.size() < until) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        char buf[4096];
        size_t want = std::min(sizeof buf, until - got.size());
        ssize_t n = recv(fd, buf, want, 0);
        if (n <= 0) return got + "<closed>";
        got.append(buf, static_cast<size_t>(n));
    }
    return got;
}

}  // namespace testsupport
