#include "RuntimeTestSupport.h"

#include <zlib.h>

#include "runtime/UploadReceiver.h"

namespace runtimetest {

std::string partFrame(const runtime::FileSendProtos& message, const std::string& content) {
    return runtime::makeFrame(message.SerializePartialAsString()) + content;
}

runtime::FileSendProtos partMessage(const std::string& name, int index, uint64_t length, uint64_t modifiedTime) {
    runtime::FileSendProtos m;
    m.set_file_name(name);
    m.set_part_index(index);
    m.set_part_count(1);
    m.set_content_length(length);
    m.set_compression(runtime::FileSendProtos::COMPRESS_NONE);
    if (modifiedTime) m.set_modified_time(modifiedTime);
    return m;
}

std::string deflate(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
             static_cast<uLong>(data.size()));
    out.resize(size);
    return out;
}

bool readReply(int fd, Reply& reply, std::chrono::milliseconds wait) {
    std::string head = receiveFor(fd, wait, runtime::kFrameHeaderSize);
    if (head.size() != runtime::kFrameHeaderSize || head.compare(0, 12, "RuntimeSend:") != 0) return false;
    size_t length = static_cast<unsigned char>(head[14]) | (static_cast<unsigned char>(head[15]) << 8);
    std::string body = receiveFor(fd, wait, length);
    runtime::FileSendComplete message;
    if (body.size() != length || !message.ParseFromString(body)) return false;
    reply = {message.file_name(), static_cast<int>(message.result()), message.error_code()};
    return true;
}

}  // namespace runtimetest

#include "platform/Socket.h"

namespace runtimetest {
int freePort() {
    platform::ListenResult r = platform::listenTcp("", 0, 1);
    int port = platform::boundPort(r.fd);
    platform::closeSocket(r.fd);
    return port;
}
}  // namespace runtimetest

