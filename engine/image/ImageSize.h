#pragma once
// Type and pixel size of an encoded image from its header alone (PNG and JPEG),
// without decoding it: the cheap first step of the engine's image reading (Image
// decodes only what passes it).
#include <cstddef>

namespace engine {

enum class ImageFileType { UNKNOWN, PNG, JPEG };

// The type with width and height set when the bytes start a PNG or JPEG image with
// a positive size; UNKNOWN for anything else (nothing is read past size).
ImageFileType readImageHeader(const unsigned char* data, size_t size, int* width, int* height);

// readImageHeader as a yes or no.
bool readImageSize(const unsigned char* data, size_t size, int* width, int* height);

}  // namespace engine
