#pragma once
// TCP sockets for the remote-debug services: listening on an IPv4 address, accepting,
// moving exact byte counts, and waking threads blocked on a socket. Descriptors are
// plain ints (-1 for none). Sends never raise SIGPIPE.
#include <cstddef>
#include <string>

namespace platform {

struct ListenResult {
    int fd = -1;
    // On failure, which step failed ("resolve", "bind") and the system's error text.
    std::string failedStep;
    std::string error;
};

// Listens on `address`:`port` (port 0: a free one). The address must be IPv4 text;
// an empty address means 127.0.0.1. The address-reuse option is set before binding.
ListenResult listenTcp(const std::string& address, int port, int backlog);

// The port and address text a socket is bound to (0 / "" when unknown).
int boundPort(int fd);
std::string boundAddress(int fd);

// Waits for a client; -1 when the listening socket was shut down, closed or failed.
int acceptClient(int listenFd);

// Connects to host:port (IPv4 text); -1 on failure.
int connectTcp(const std::string& host, int port);

// Move exactly n bytes. A call that moves nothing is retried after 1 ms; false when
// the peer closed the connection, the socket was shut down, a send timed out, or a
// call failed.
bool recvAll(int fd, void* buffer, size_t n);
bool sendAll(int fd, const void* buffer, size_t n);

// Bounds how long one send may block (milliseconds); sendAll then gives up.
void setSendTimeout(int fd, int milliseconds);

// sendAll with a bound on the whole transfer: false when the n bytes are not all
// taken within `milliseconds` (a peer that reads a trickle cannot hold it longer),
// or as sendAll.
bool sendAllWithin(int fd, const void* buffer, size_t n, int milliseconds);

// Wakes every thread blocked on the socket (accept, receive, send); the descriptor
// stays open until closeSocket.
void shutdownSocket(int fd);
void closeSocket(int fd);

}  // namespace platform
