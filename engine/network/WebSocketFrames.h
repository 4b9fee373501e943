#pragma once
// The WebSocket wire format (RFC 6455) as the client side speaks it.
//
// appendClientFrame writes one frame the way a client must: FIN set, masked with
// the given key. FrameReader takes the bytes a server sends, in pieces of any
// size, and gives back whole events: messages (text or binary, fragments joined),
// ping, pong and close. It refuses what a client must refuse, and stops there:
// a masked frame, reserved bits, an unknown opcode, a fragmented or long control
// frame, a continuation with no message begun, a new message inside a fragmented
// one, a bad close payload (protocol error, 1002), and a message longer than its
// size cap (1009, told from the header before its payload arrives, so an
// announced giant frame costs nothing). Binary messages may have a smaller cap
// of their own. Text is not checked for UTF-8.
// A data frame of kDirectPayload bytes or more whose payload has not all arrived
// is read in place: its message buffer is sized from the header (within the cap)
// and prepare() hands out the rest of its payload, so the socket writes those
// bytes where they are delivered, and the read buffer is empty meanwhile. After
// such a frame the next read asks only for a frame head.
// Not thread-safe; one reader per connection.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace engine::network::ws {

enum Opcode : uint8_t {
    kContinuation = 0x0,
    kText = 0x1,
    kBinary = 0x2,
    kClose = 0x8,
    kPing = 0x9,
    kPong = 0xA,
};

// Close codes used by the client.
constexpr uint16_t kCloseNormal = 1000;
constexpr uint16_t kCloseNoStatus = 1005;   // a close frame without a code
constexpr uint16_t kCloseProtocolError = 1002;
constexpr uint16_t kCloseTooBig = 1009;

// Appends a final, masked frame of that opcode and payload to out.
void appendClientFrame(std::string& out, uint8_t opcode, const char* payload, size_t size, const uint8_t mask[4]);
// The payload of a close frame: the code (big-endian) and the reason.
std::string closePayload(uint16_t code, const std::string& reason = "");

struct FrameEvent {
    enum Kind { Text, Binary, Ping, Pong, Close, Error };
    Kind kind = Error;
    // Text and Binary: the whole message; Ping and Pong: their payload; Close: the
    // reason; Error: what was wrong.
    std::string payload;
    // Close: the peer's code (kCloseNoStatus without one). Error: the code to
    // close the connection with.
    uint16_t code = 0;
};

class FrameReader {
public:
    explicit FrameReader(size_t maxMessageSize) : _maxMessage(maxMessageSize), _maxBinary(maxMessageSize) {}
    // Binary messages capped at the smaller of the two.
    FrameReader(size_t maxMessageSize, size_t maxBinarySize)
        : _maxMessage(maxMessageSize), _maxBinary(maxBinarySize < maxMessageSize ? maxBinarySize : maxMessageSize) {}

    static constexpr size_t kDirectPayload = 8u << 10;
    // The longest frame head a server sends.
    static constexpr size_t kMaxHead = 10;

    struct Room {
        char* data;
        size_t size;
    };

    void feed(const char* data, size_t size);
    // Room for at least one and at most size more bytes (size > 0), written in
    // place (by a socket read); then commit(n) takes the first n of them. Saves
    // the copy feed makes.
    Room prepare(size_t size);
    void commit(size_t size);
    // Takes the next whole event; false when more bytes are needed. After an
    // Error event it answers false for ever. A Text or Binary event's payload
    // may take over the buffer out.payload held (a delivered one, handed back).
    bool next(FrameEvent& out);
    bool failed() const { return _failed; }

private:
    bool fail(FrameEvent& out, uint16_t code, const char* why);
    // A frame's payload is being read into _message, with bytes still to come.
    bool filling() const { return _direct && _directAt < _directEnd; }
    // Hands the gathered message to out and ends it; always true.
    bool finishMessage(FrameEvent& out);

    size_t _maxMessage;
    size_t _maxBinary;
    std::vector<char> _buffer;   // received bytes, not yet taken: [_begin, _end)
    size_t _begin = 0;
    size_t _end = 0;
    std::string _message;  // fragments of the message being joined
    bool _inMessage = false;
    bool _messageBinary = false;
    bool _failed = false;
    // The frame read in place: _message[_directAt, _directEnd) still to come.
    bool _direct = false;
    bool _directFin = false;
    size_t _directAt = 0;
    size_t _directEnd = 0;
    bool _largeFrames = false;   // the last data frame had kDirectPayload bytes or more
};

}  // namespace engine::network::ws
