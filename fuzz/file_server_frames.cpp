// Any bytes as an upload connection: frames are read, parts inflated or refused,
// names checked, and the stream ends cleanly wherever it stops.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "runtime/UploadReceiver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t at = 0;
    runtime::UploadReceiver receiver([&](void* buffer, size_t n) {
        if (size - at < n) return false;
        std::memcpy(buffer, data + at, n);
        at += n;
        return true;
    });
    runtime::UploadReceiver::Part part;
    runtime::UploadReceiver::Failure failure;
    for (;;) {
        auto outcome = receiver.next(part, failure);
        if (outcome == runtime::UploadReceiver::Outcome::kClosed) break;
        if (outcome == runtime::UploadReceiver::Outcome::kPart) runtime::isSafeFileName(part.message.file_name());
    }
    return 0;
}
