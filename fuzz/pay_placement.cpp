// Any bytes as the pay window's saved placement: refused, or a rectangle of at
// least 300 x 300 on a monitor.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/Monitor.h"
#include "portal/PayWindowPlacement.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    platform::RECT rect;
    if (portal::parsePayWindowPlacement(text, &rect)) {
        fuzzsupport::check(rect.width() >= 300 && rect.height() >= 300, "placement at least 300 x 300");
        fuzzsupport::check(platform::monitorFromRect(rect, nullptr), "placement on a monitor");
    }
    return 0;
}
