#pragma once
// Writes 8-bit RGBA pixels to a PNG file. Rows are given bottom row first (as GL
// reads a frame back); the file has the top row first. False, with a log line,
// when the file cannot be written (a partly written file is removed).
#include <string>

namespace engine {

bool writePngBottomUp(const std::string& path, const unsigned char* rgba, int width, int height);

}  // namespace engine
