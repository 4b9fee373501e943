// The bytes of one client-memory image as GL reads or writes them: pixel sizes
// by format and type, rows padded to the alignment, and the sizes that cannot be.
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/renderer/GLImageSize.h"

namespace {

TEST(GLImageSizeTest, RowsArePaddedToTheAlignment) {
    const struct {
        GLsizei width, height;
        GLenum format, type;
        GLint alignment;
        size_t bytes;
    } cases[] = {
        {1, 1, GL_RGBA, GL_UNSIGNED_BYTE, 4, 4},
        {3, 2, GL_RGB, GL_UNSIGNED_BYTE, 4, 24},            // rows of 9 padded to 12
        {3, 2, GL_RGB, GL_UNSIGNED_BYTE, 1, 18},
        {1, 2, GL_RGB, GL_UNSIGNED_BYTE, 8, 16},
        {5, 1, GL_ALPHA, GL_UNSIGNED_BYTE, 2, 6},
        {3, 1, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, 8, 8},
        {3, 3, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 4, 24},     // 2 bytes a pixel, rows of 6 padded to 8
        {2, 1, GL_RGBA, GL_FLOAT, 4, 32},
        {2, 2, GL_BGRA, GL_UNSIGNED_BYTE, 3, 16},           // an alignment GL refuses counts as 1
        {1, 1, 0x1234, 0x5678, 1, 16},                      // unknown: the widest pixel
        {0, 5, GL_RGBA, GL_UNSIGNED_BYTE, 4, 0},
        {-1, 5, GL_RGBA, GL_UNSIGNED_BYTE, 4, 0},
        {2147483647, 2147483647, GL_RGBA, GL_FLOAT, 8, SIZE_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(engine::GL::imageBytes(c.width, c.height, c.format, c.type, c.alignment), c.bytes)
            << c.width << " x " << c.height << " format " << c.format << " type " << c.type;
    }
}

}  // namespace
