#include "engine/image/ImageSize.h"

#include <cstdint>
#include <cstring>

namespace engine {
namespace {

uint32_t be32(const unsigned char* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
unsigned be16(const unsigned char* p) { return (unsigned{p[0]} << 8) | p[1]; }

bool pngSize(const unsigned char* data, size_t size, int* width, int* height) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    // Signature, then the IHDR chunk: length, type, width, height.
    if (size < 24 || std::memcmp(data, signature, 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0) return false;
    uint32_t w = be32(data + 16), h = be32(data + 20);
    if (w == 0 || h == 0 || w > 0x7fffffff || h > 0x7fffffff) return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

bool jpegSize(const unsigned char* data, size_t size, int* width, int* height) {
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
    size_t p = 2;
    while (p + 4 <= size) {
        if (data[p] != 0xFF) return false;
        unsigned char marker = data[p + 1];
        if (marker == 0xFF) {
            ++p;
            continue;
        }
        unsigned length = be16(data + p + 2);
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (p + 9 > size) return false;
            unsigned h = be16(data + p + 5), w = be16(data + p + 7);
            if (w == 0 || h == 0) return false;
            *width = static_cast<int>(w);
            *height = static_cast<int>(h);
            return true;
        }
        if (length < 2) return false;
        p += 2 + length;
    }
    return false;
}

}  // namespace

ImageFileType readImageHeader(const unsigned char* data, size_t size, int* width, int* height) {
    if (!data) return ImageFileType::UNKNOWN;
    if (pngSize(data, size, width, height)) return ImageFileType::PNG;
    if (jpegSize(data, size, width, height)) return ImageFileType::JPEG;
    return ImageFileType::UNKNOWN;
}

bool readImageSize(const unsigned char* data, size_t size, int* width, int* height) {
    return readImageHeader(data, size, width, height) != ImageFileType::UNKNOWN;
}

}  // namespace engine
