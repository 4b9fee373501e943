#pragma once
// Hand-made skeleton fixtures shared by the skeleton tests: a two-page atlas
// (the second page without a size line), PNG pages written on demand and
// a skeleton document that uses every attachment and timeline kind.
#include <string>

namespace skeleton_test {

// Writes a transparent RGBA PNG file of the given pixel size.
void writePng(const std::string& path, int width, int height);

// A fresh folder of this process under the build tree holding page1.png (64 x 32; its atlas
// size line claims 100 x 50) and page2.png (128 x 64). Returns it with a
// trailing "/".
std::string makeAtlasFolder(const std::string& name);

extern const char* const kAtlas;
extern const char* const kSkeleton;

}  // namespace skeleton_test
