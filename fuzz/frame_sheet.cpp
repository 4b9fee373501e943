// Any bytes as a frame sheet: the reader gives frames with finite values or
// false, never a crash or unbounded recursion.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/scene/FrameSheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    engine::FrameSheet sheet;
    if (!engine::parseFrameSheet(std::string_view(reinterpret_cast<const char*>(data), size), &sheet)) return 0;
    for (const engine::SheetFrame& frame : sheet.frames) {
        if (frame.rect.size.width < 0 || frame.rect.size.height < 0) std::abort();
        if (!std::isfinite(frame.rect.origin.x) || !std::isfinite(frame.offset.y)) std::abort();
    }
    return 0;
}
