#include "skeleton/RenderFixture.h"

#include <fstream>
#include <vector>

#include "support/ImageEncoder.h"

namespace skeleton_test {
namespace {

const char* const kRenderAtlas =
    "\n"
    "page1.png\n"
    "size: 64,64\n"
    "format: RGBA8888\n"
    "filter: Linear,Linear\n"
    "repeat: none\n"
    "quad\n"
    "  rotate: false\n"
    "  xy: 0, 0\n"
    "  size: 8, 4\n"
    "  orig: 8, 4\n"
    "  offset: 0, 0\n"
    "  index: -1\n"
    "sheet\n"
    "  rotate: false\n"
    "  xy: 0, 32\n"
    "  size: 32, 32\n"
    "  orig: 32, 32\n"
    "  offset: 0, 0\n"
    "  index: -1\n"
    "\n"
    "page2.png\n"
    "size: 16,16\n"
    "format: RGBA8888\n"
    "filter: Linear,Linear\n"
    "repeat: none\n"
    "other\n"
    "  rotate: false\n"
    "  xy: 0, 0\n"
    "  size: 16, 16\n"
    "  orig: 16, 16\n"
    "  offset: 0, 0\n"
    "  index: -1\n";

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

RenderFiles::RenderFiles(unsigned int page1Rgba) {
    if (page1Rgba) {
        testsupport::PngImage image;
        image.width = image.height = 64;
        for (int i = 0; i < 64 * 64; ++i) {
            for (int shift = 24; shift >= 0; shift -= 8) image.rows.push_back(static_cast<unsigned char>(page1Rgba >> shift));
        }
        writeBytes(_dir.file("page1.png"), testsupport::encodePng(image));
    } else {
        writeBytes(_dir.file("page1.png"), testsupport::encodeBlankPng(64, 64));
    }
    writeBytes(_dir.file("page2.png"), testsupport::encodeBlankPng(16, 16));
    _dir.write("parts.atlas", kRenderAtlas);
}

std::string RenderFiles::skeleton(const std::string& name, const std::string& json) const {
    return _dir.write(name, json);
}

}  // namespace skeleton_test
