// Any bytes as an image header: a size or a refusal, never a read past the end.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/image/ImageSize.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<unsigned char> copy(data, data + size);   // exact-size buffer for the sanitizer
    int width = 0, height = 0;
    engine::readImageSize(copy.data(), copy.size(), &width, &height);
    return 0;
}
