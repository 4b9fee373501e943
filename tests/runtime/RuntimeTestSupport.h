#pragma once
// Helpers for the runtime's tests: upload frames, a loopback client of the file
// server, and reading what a socket receives within a time.
#include <chrono>
#include <cstdint>
#include <string>

#include "runtime/Messages.pb.h"
#include "support/SocketSupport.h"

namespace runtimetest {

// A part's frame: magic, proto number, message length, message, content.
std::string partFrame(const runtime::FileSendProtos& message, const std::string& content);
// A message for part `index` of `name` with `content` (uncompressed).
runtime::FileSendProtos partMessage(const std::string& name, int index, uint64_t length,
                                    uint64_t modifiedTime = 0);
std::string deflate(const std::string& data);

using testsupport::receiveFor;

struct Reply {
    std::string fileName;
    int result = -1;
    int errorCode = 0;
};
// Reads one FileSendComplete frame; false when none arrives in time.
bool readReply(int fd, Reply& reply, std::chrono::milliseconds wait = std::chrono::milliseconds(5000));

}  // namespace runtimetest

namespace runtimetest {
// A loopback port that was free a moment ago.
int freePort();
}  // namespace runtimetest
