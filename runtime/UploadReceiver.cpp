#include "runtime/UploadReceiver.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <zlib.h>

namespace runtime {

std::string makeFrame(const std::string& message, uint16_t protoNumber) {
    if (message.size() > 0xFFFF) return "";
    std::string frame(kFrameMagic, kFrameMagicSize);
    const uint16_t length = static_cast<uint16_t>(message.size());
    frame += static_cast<char>(protoNumber & 0xFF);
    frame += static_cast<char>(protoNumber >> 8);
    frame += static_cast<char>(length & 0xFF);
    frame += static_cast<char>(length >> 8);
    frame += message;
    return frame;
}

bool isSafeFileName(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\') return false;
    if (name.find('\0') != std::string::npos) return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return true;
}

namespace {

// Inflates a zlib stream into at most `limit` bytes, growing the output only as
// bytes come out. The results are zlib's one-shot ones: Z_OK, Z_BUF_ERROR when the
// stream holds more than `limit` bytes, Z_DATA_ERROR when it is corrupt or cut
// short, Z_MEM_ERROR.
int inflateBounded(const Bytes& input, uint64_t limit, Bytes& out) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return Z_MEM_ERROR;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream.avail_in = static_cast<uInt>(input.size());
    unsigned char chunk[64 * 1024];
    int rc;
    for (;;) {
        stream.next_out = chunk;
        stream.avail_out = sizeof chunk;
        int ret = inflate(&stream, Z_NO_FLUSH);
        const size_t produced = sizeof chunk - stream.avail_out;
        if (produced > limit - out.size()) {
            rc = Z_BUF_ERROR;
            break;
        }
        out.insert(out.end(), reinterpret_cast<char*>(chunk), reinterpret_cast<char*>(chunk) + produced);
        if (ret == Z_STREAM_END) {
            rc = Z_OK;
            break;
        }
        if (ret == Z_NEED_DICT || (ret == Z_BUF_ERROR && stream.avail_in == 0)) {
            rc = Z_DATA_ERROR;
            break;
        }
        if (ret != Z_OK) {
            rc = ret;
            break;
        }
    }
    inflateEnd(&stream);
    return rc;
}

}  // namespace

bool UploadReceiver::discard(uint64_t n) {
    if (_scratch.empty()) _scratch.resize(kChunkSize);
    while (n > 0) {
        size_t step = static_cast<size_t>(std::min<uint64_t>(n, kChunkSize));
        if (!_read(_scratch.data(), step)) return false;
        n -= step;
    }
    return true;
}

bool UploadReceiver::readContent(uint64_t n, Bytes& out) {
    // Grows with the bytes that actually arrive, not with the claim.
    out.clear();
    out.reserve(static_cast<size_t>(std::min<uint64_t>(n, kReserveLimit)));
    while (n > 0) {
        size_t step = static_cast<size_t>(std::min<uint64_t>(n, kChunkSize));
        size_t at = out.size();
        out.resize(at + step);
        if (!_read(out.data() + at, step)) return false;
        n -= step;
    }
    return true;
}

UploadReceiver::Outcome UploadReceiver::next(Part& part, Failure& failure) {
    // The content of a refused part is skipped after its failure was answered.
    if (_pendingDiscard > 0) {
        uint64_t n = _pendingDiscard;
        _pendingDiscard = 0;
        if (!discard(n)) return Outcome::kClosed;
    }
    char magic[kFrameMagicSize];
    if (!_read(magic, sizeof magic)) return Outcome::kClosed;
    while (std::memcmp(magic, kFrameMagic, kFrameMagicSize) != 0) {
        if (!_read(magic, sizeof magic)) return Outcome::kClosed;
    }
    unsigned char header[4];
    if (!_read(header, sizeof header)) return Outcome::kClosed;
    const size_t messageLength = header[2] | (static_cast<size_t>(header[3]) << 8);
    std::string message(messageLength, '\0');
    if (messageLength > 0 && !_read(message.data(), messageLength)) return Outcome::kClosed;

    // Absent fields keep their defaults; an enum value out of range leaves its field unset.
    part.message.Clear();
    part.content.clear();
    part.message.ParsePartialFromArray(message.data(), static_cast<int>(messageLength));
    const FileSendProtos& m = part.message;

    if (m.part_index() == 1) {
        _failedName.clear();
    } else if (m.file_name() == _failedName) {
        return discard(m.content_length()) ? Outcome::kDropped : Outcome::kClosed;
    }

    const bool compressed = m.compression() == FileSendProtos::COMPRESS_ZLIB;
    if (m.content_length() > kMaxPartLength || (compressed && m.uncompressed_length() > kMaxPartLength)) {
        _failedName = m.file_name();
        failure = {m.file_name(), FileSendComplete::RESULT_RECEIVE_ERROR, EFBIG};
        _pendingDiscard = m.content_length();
        return Outcome::kFailed;
    }
    if (!readContent(m.content_length(), part.content)) return Outcome::kClosed;

    if (compressed) {
        Bytes inflated;
        int rc = inflateBounded(part.content, m.uncompressed_length(), inflated);
        if (rc != Z_OK) {
            _failedName = m.file_name();
            failure = {m.file_name(), FileSendComplete::RESULT_UNCOMPRESS_ERROR, rc};
            return Outcome::kFailed;
        }
        part.content = std::move(inflated);
    }
    return Outcome::kPart;
}

}  // namespace runtime
