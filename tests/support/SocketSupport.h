#pragma once
// Reading what a test's socket receives within a time.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace testsupport {

// Everything the socket receives until `until` bytes arrived or the time is up;
// "<closed>" is appended when the peer closed the connection.
std::string receiveFor(int fd, std::chrono::milliseconds wait, size_t until = SIZE_MAX);

}  // namespace testsupport
