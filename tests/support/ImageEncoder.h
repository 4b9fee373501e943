#pragma once
// Encodes small images for tests: PNG in any colour type, bit depth and interlace
// through libpng's writer, JPEG through libjpeg. A writer error aborts the test
// process.
#include <vector>

namespace testsupport {

struct PngImage {
    int width = 0;
    int height = 0;
    int colorType = 6;   // PNG colour type: 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    int bitDepth = 8;
    bool interlaced = false;
    // Rows as stored in the file before filtering: samples packed to bitDepth, 16-bit
    // samples big-endian, each row starting on a byte.
    std::vector<unsigned char> rows;
    std::vector<unsigned char> palette;    // RGB triples (colour type 3)
    std::vector<unsigned char> alphas;     // tRNS entries, one per palette index
};

std::vector<unsigned char> encodePng(const PngImage& image);

// width x height fully transparent RGBA pixels.
std::vector<unsigned char> encodeBlankPng(int width, int height);

// components 3 (RGB) or 1 (grey), rows packed; quality 1 to 100.
std::vector<unsigned char> encodeJpeg(int width, int height, int components, const std::vector<unsigned char>& pixels,
                                      int quality = 100);

}  // namespace testsupport
