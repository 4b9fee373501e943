#include "engine/network/WebSocketFrames.h"

#include <algorithm>
#include <cstring>

namespace engine::network::ws {

void appendClientFrame(std::string& out, uint8_t opcode, const char* payload, size_t size, const uint8_t mask[4]) {
    out.push_back(static_cast<char>(0x80 | (opcode & 0x0F)));
    if (size < 126) {
        out.push_back(static_cast<char>(0x80 | size));
    } else if (size <= 0xFFFF) {
        out.push_back(static_cast<char>(0x80 | 126));
        out.push_back(static_cast<char>((size >> 8) & 0xFF));
        out.push_back(static_cast<char>(size & 0xFF));
    } else {
        out.push_back(static_cast<char>(0x80 | 127));
        for (int shift = 56; shift >= 0; shift -= 8) out.push_back(static_cast<char>((uint64_t(size) >> shift) & 0xFF));
    }
    out.append(reinterpret_cast<const char*>(mask), 4);
    const size_t body = out.size();
    out.resize(body + size);
    char* dst = out.data() + body;
    for (size_t i = 0; i < size; ++i) dst[i] = static_cast<char>(payload[i] ^ static_cast<char>(mask[i & 3]));
}

std::string closePayload(uint16_t code, const std::string& reason) {
    std::string payload;
    payload.push_back(static_cast<char>(code >> 8));
    payload.push_back(static_cast<char>(code & 0xFF));
    payload += reason;
    return payload;
}

void FrameReader::feed(const char* data, size_t size) {
    while (!_failed && size > 0) {
        const Room room = prepare(size);
        std::memcpy(room.data, data, room.size);
        commit(room.size);
        data += room.size;
        size -= room.size;
    }
}

FrameReader::Room FrameReader::prepare(size_t size) {
    if (filling()) return {_message.data() + _directAt, std::min(size, _directEnd - _directAt)};
    if (_begin == _end) {
        _begin = _end = 0;
        // Large frames in a row: read the next head alone, and its payload in place.
        if (_largeFrames) size = std::min(size, kMaxHead);
    }
    if (_buffer.size() - _end < size) {
        // Move the unread bytes to the front, then grow if that is not enough. The
        // buffer holds two reads, so the move comes at most every other read.
        if (_begin > 0) {
            std::memmove(_buffer.data(), _buffer.data() + _begin, _end - _begin);
            _end -= _begin;
            _begin = 0;
        }
        if (_buffer.size() - _end < size) _buffer.resize(std::max(_end + size, 2 * size));
    }
    return {_buffer.data() + _end, size};
}

void FrameReader::commit(size_t size) {
    if (_failed) return;
    if (filling()) {
        _directAt += std::min(size, _directEnd - _directAt);
        return;
    }
    _end += std::min(size, _buffer.size() - _end);
}

bool FrameReader::fail(FrameEvent& out, uint16_t code, const char* why) {
    _failed = true;
    _buffer = std::vector<char>();
    _begin = _end = 0;
    _message.clear();
    _direct = false;
    out.kind = FrameEvent::Error;
    out.code = code;
    out.payload = why;
    return true;
}

namespace {

bool closeCodeAllowed(uint16_t code) {
    if (code >= 3000 && code <= 4999) return true;
    if (code < 1000 || code > 1014) return false;
    return code != 1004 && code != 1005 && code != 1006;
}

}  // namespace

bool FrameReader::next(FrameEvent& out) {
    while (!_failed) {
        if (_direct) {
            if (filling()) return false;
            _direct = false;
            if (!_directFin) continue;
            return finishMessage(out);
        }
        const size_t available = _end - _begin;
        if (available < 2) return false;
        const auto* head = reinterpret_cast<const unsigned char*>(_buffer.data() + _begin);
        const bool fin = (head[0] & 0x80) != 0;
        const uint8_t opcode = head[0] & 0x0F;
        if ((head[0] & 0x70) != 0) return fail(out, kCloseProtocolError, "reserved bits set");
        if ((head[1] & 0x80) != 0) return fail(out, kCloseProtocolError, "masked frame from the server");
        const bool control = (opcode & 0x08) != 0;
        if (opcode != kContinuation && opcode != kText && opcode != kBinary && opcode != kClose && opcode != kPing &&
            opcode != kPong)
            return fail(out, kCloseProtocolError, "unknown opcode");
        uint64_t length = head[1] & 0x7F;
        size_t headerSize = 2;
        if (length == 126) {
            if (available < 4) return false;
            length = (uint64_t(head[2]) << 8) | head[3];
            headerSize = 4;
        } else if (length == 127) {
            if (available < 10) return false;
            length = 0;
            for (int i = 0; i < 8; ++i) length = (length << 8) | head[2 + i];
            headerSize = 10;
            if (length >> 63) return fail(out, kCloseProtocolError, "frame length out of range");
        }
        if (control) {
            if (!fin) return fail(out, kCloseProtocolError, "fragmented control frame");
            if (length > 125) return fail(out, kCloseProtocolError, "control frame longer than 125 bytes");
        } else {
            if (opcode == kContinuation && !_inMessage) return fail(out, kCloseProtocolError, "continuation without a message");
            if (opcode != kContinuation && _inMessage) return fail(out, kCloseProtocolError, "new message inside a fragmented one");
            const uint64_t sofar = opcode == kContinuation ? _message.size() : 0;
            const bool binary = opcode == kContinuation ? _messageBinary : opcode == kBinary;
            const size_t cap = binary ? _maxBinary : _maxMessage;
            if (length > cap || sofar + length > cap)
                return fail(out, kCloseTooBig, "message larger than the size cap");
        }
        if (available - headerSize < length) {
            if (control || length < kDirectPayload) return false;
            // The rest of the payload is read in place (see the header): the
            // message buffer gets the bytes here now.
            const size_t have = available - headerSize;
            size_t base = 0;
            if (opcode == kContinuation) {
                base = _message.size();
            } else {
                _message.swap(out.payload);
                _messageBinary = opcode == kBinary;
            }
            _message.resize(base + static_cast<size_t>(length));
            std::memcpy(_message.data() + base, _buffer.data() + _begin + headerSize, have);
            _begin = _end = 0;
            _inMessage = true;
            _largeFrames = true;
            _direct = true;
            _directFin = fin;
            _directAt = base + have;
            _directEnd = base + static_cast<size_t>(length);
            return false;
        }
        if (!control) _largeFrames = length >= kDirectPayload;

        const char* payload = _buffer.data() + _begin + headerSize;
        const size_t size = static_cast<size_t>(length);
        _begin += headerSize + size;

        if (control) {
            out.code = 0;
            if (opcode == kPing || opcode == kPong) {
                out.kind = opcode == kPing ? FrameEvent::Ping : FrameEvent::Pong;
                out.payload.assign(payload, size);
                return true;
            }
            if (size == 1) return fail(out, kCloseProtocolError, "close payload of one byte");
            out.kind = FrameEvent::Close;
            if (size == 0) {
                out.code = kCloseNoStatus;
                out.payload.clear();
                return true;
            }
            const uint16_t code = static_cast<uint16_t>((static_cast<unsigned char>(payload[0]) << 8) |
                                                        static_cast<unsigned char>(payload[1]));
            if (!closeCodeAllowed(code)) return fail(out, kCloseProtocolError, "close code not allowed");
            out.code = code;
            out.payload.assign(payload + 2, size - 2);
            return true;
        }

        if (opcode != kContinuation) {
            _messageBinary = opcode == kBinary;
            if (fin) {
                // A whole message in one frame: one copy, straight out.
                out.kind = _messageBinary ? FrameEvent::Binary : FrameEvent::Text;
                out.code = 0;
                out.payload.assign(payload, size);
                return true;
            }
            _inMessage = true;
            _message.assign(payload, size);
            continue;
        }
        _message.append(payload, size);
        if (!fin) continue;
        return finishMessage(out);
    }
    return false;
}

bool FrameReader::finishMessage(FrameEvent& out) {
    _inMessage = false;
    out.kind = _messageBinary ? FrameEvent::Binary : FrameEvent::Text;
    out.code = 0;
    out.payload.swap(_message);
    _message.clear();
    return true;
}

}  // namespace engine::network::ws
