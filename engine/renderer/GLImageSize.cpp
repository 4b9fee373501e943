#include "engine/renderer/GLImageSize.h"

#include <cstdint>

namespace engine::GL {
namespace {

uint64_t components(GLenum format) {
    switch (format) {
        case GL_ALPHA:
        case GL_LUMINANCE:
        case GL_RED:
        case GL_GREEN:
        case GL_BLUE:
        case GL_DEPTH_COMPONENT:
        case GL_STENCIL_INDEX: return 1;
        case GL_LUMINANCE_ALPHA:
        case GL_RG:
        case GL_DEPTH_STENCIL: return 2;
        case GL_RGB:
        case GL_BGR: return 3;
        default: return 4;
    }
}

// Bytes of one pixel.
uint64_t pixelBytes(GLenum format, GLenum type) {
    switch (type) {
        case GL_UNSIGNED_BYTE:
        case GL_BYTE: return components(format);
        case GL_UNSIGNED_SHORT:
        case GL_SHORT:
        case GL_HALF_FLOAT: return 2 * components(format);
        case GL_UNSIGNED_SHORT_5_6_5:
        case GL_UNSIGNED_SHORT_4_4_4_4:
        case GL_UNSIGNED_SHORT_5_5_5_1: return 2;
        case GL_UNSIGNED_INT_8_8_8_8:
        case GL_UNSIGNED_INT_8_8_8_8_REV:
        case GL_UNSIGNED_INT_2_10_10_10_REV:
        case GL_UNSIGNED_INT_24_8: return 4;
        default: return 4 * components(format);
    }
}

}  // namespace

size_t imageBytes(GLsizei width, GLsizei height, GLenum format, GLenum type, GLint alignment) {
    if (width <= 0 || height <= 0) return 0;
    const uint64_t align = (alignment == 2 || alignment == 4 || alignment == 8) ? static_cast<uint64_t>(alignment) : 1;
    // At most 2^31 x 16 bytes a row and 2^31 rows: fits in 64 bits.
    const uint64_t row = (static_cast<uint64_t>(width) * pixelBytes(format, type) + align - 1) / align * align;
    const uint64_t rows = static_cast<uint64_t>(height);
    if (row > SIZE_MAX / rows) return SIZE_MAX;
    return static_cast<size_t>(row * rows);
}

}  // namespace engine::GL
