// The WebSocket client's reading of what a server sends: the upgrade answer and
// the frames after it. The first byte picks the size cap (1 to 256 bytes, or the
// client's own) and the piece size; the rest is the server's bytes. Read whole
// and read in pieces, the events must be the same; no message may pass the cap,
// no control payload 125 bytes; the reading stops at its first error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/network/WebSocket.h"
#include "engine/network/WebSocketFrames.h"
#include "engine/network/WebSocketHandshake.h"

namespace ws = engine::network::ws;

namespace {

std::vector<ws::FrameEvent> readAll(const uint8_t* data, size_t size, size_t cap, size_t piece) {
    ws::FrameReader reader(cap);
    std::vector<ws::FrameEvent> events;
    ws::FrameEvent event;
    for (size_t at = 0; at < size; at += piece) {
        const size_t n = size - at < piece ? size - at : piece;
        reader.feed(reinterpret_cast<const char*>(data) + at, n);
        while (reader.next(event)) {
            events.push_back(event);
            if (event.kind == ws::FrameEvent::Error && reader.next(event)) std::abort();
        }
    }
    return events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t control = data[0];
    ++data;
    --size;

    // The upgrade answer, as the bytes up to a blank line.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> offered = {"chat", "echo"};
    const ws::HandshakeResult answer = ws::checkUpgradeAnswer(text, "dGhlIHNhbXBsZSBub25jZQ==", offered);
    if (answer.ok && !answer.protocol.empty() && answer.protocol != "chat" && answer.protocol != "echo") std::abort();
    if (!answer.ok && answer.error.empty()) std::abort();

    const size_t cap = (control & 0x80) ? engine::network::WebSocket::kMaxMessageSize : (control & 0x7F) * 2u + 1;
    const size_t piece = (control & 0x0F) + 1;
    const std::vector<ws::FrameEvent> whole = readAll(data, size, cap, size ? size : 1);
    const std::vector<ws::FrameEvent> pieces = readAll(data, size, cap, piece);
    if (whole.size() != pieces.size()) std::abort();
    for (size_t i = 0; i < whole.size(); ++i) {
        const ws::FrameEvent& a = whole[i];
        const ws::FrameEvent& b = pieces[i];
        if (a.kind != b.kind || a.code != b.code || a.payload != b.payload) std::abort();
        switch (a.kind) {
        case ws::FrameEvent::Text:
        case ws::FrameEvent::Binary:
            if (a.payload.size() > cap) std::abort();
            break;
        case ws::FrameEvent::Ping:
        case ws::FrameEvent::Pong:
            if (a.payload.size() > 125) std::abort();
            break;
        case ws::FrameEvent::Close:
            if (a.payload.size() > 123 || a.code < 1000) std::abort();
            break;
        case ws::FrameEvent::Error:
            if (i + 1 != whole.size()) std::abort();
            if (a.code != ws::kCloseProtocolError && a.code != ws::kCloseTooBig) std::abort();
            break;
        }
    }
    return 0;
}
