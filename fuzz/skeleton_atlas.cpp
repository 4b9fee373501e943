// Any bytes as texture atlas text: an atlas or null, never a fault.
#include <cstddef>
#include <cstdint>

#include "skeleton/Atlas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    spAtlas* atlas = spAtlas_create(reinterpret_cast<const char*>(data), static_cast<int>(size), "", nullptr);
    if (atlas) spAtlas_findRegion(atlas, "r");
    spAtlas_dispose(atlas);
    return 0;
}
