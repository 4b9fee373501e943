#pragma once
// Pixel size of an encoded image from its header alone (PNG and JPEG), without
// decoding it. The first piece of the engine's image reading.
#include <cstddef>

namespace engine {

// True with width and height set when the bytes start a PNG or JPEG image with a
// positive size; false for anything else (nothing is read past size).
bool readImageSize(const unsigned char* data, size_t size, int* width, int* height);

}  // namespace engine
