#pragma once
// Reading of the upload protocol's frames from a connection. A frame is the 12 bytes
// "RuntimeSend:", a 16-bit little-endian protocol number, a 16-bit little-endian
// message length N, N bytes of a serialized message and, on input, the part's
// content of the message's content_length bytes. The bytes come from an untrusted
// client: every length is checked before anything is allocated for it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "runtime/Messages.pb.h"

namespace runtime {

inline constexpr char kFrameMagic[] = "RuntimeSend:";
inline constexpr size_t kFrameMagicSize = 12;
inline constexpr size_t kFrameHeaderSize = 16;
inline constexpr uint16_t kFrameProtoNumber = 2;

// The whole frame for a serialized message; "" when the message does not fit the
// 16-bit length.
std::string makeFrame(const std::string& message, uint16_t protoNumber = kFrameProtoNumber);

// A name a client may write or remove under the write folder: not empty, no NUL,
// not absolute, and no ".." part between "/" or "\" separators.
bool isSafeFileName(const std::string& name);

// An allocator whose growing leaves new elements uninitialised: content is read
// straight into them, so zero-filling first would only cost time.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <class U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// A part's content.
using Bytes = std::vector<char, UninitialisedAllocator<char>>;

class UploadReceiver {
public:
    // Largest content a part may claim, compressed or inflated.
    static constexpr uint64_t kMaxPartLength = 128ull << 20;
    // Content is read in steps of this size, so memory grows only with bytes that arrive.
    static constexpr size_t kChunkSize = 64 * 1024;
    // Room set aside up front for a part's content, whatever it claims.
    static constexpr size_t kReserveLimit = 1 << 20;

    // Fills exactly n bytes; false when the connection is gone.
    using ReadExact = std::function<bool(void* buffer, size_t n)>;

    struct Part {
        FileSendProtos message;
        Bytes content;   // inflated when the part was compressed
    };
    struct Failure {
        std::string fileName;
        FileSendComplete::RESULTTYPE result = FileSendComplete::RESULT_OK;
        int errorCode = 0;
    };
    enum class Outcome {
        kPart,      // `part` holds the next part to write
        kFailed,    // `failure` is to be answered; later parts of the file are dropped
                    // (the content of a part refused for its size is skipped by the next call)
        kDropped,   // a later part of a failed file, read and discarded
        kClosed,    // the connection ended (a part in flight is lost)
    };

    explicit UploadReceiver(ReadExact read) : _read(std::move(read)) {}

    // Reads the next frame. Bytes before a frame that do not start with the magic
    // text are skipped 12 at a time.
    Outcome next(Part& part, Failure& failure);

private:
    bool discard(uint64_t n);
    bool readContent(uint64_t n, Bytes& out);

    ReadExact _read;
    std::string _failedName;
    uint64_t _pendingDiscard = 0;
    std::vector<char> _scratch;
};

}  // namespace runtime
