// Image sizes read from headers, and the texture cache built on them.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/files/FileUtils.h"
#include "engine/image/ImageSize.h"
#include "engine/renderer/TextureCache.h"

namespace {

std::vector<unsigned char> png(uint32_t width, uint32_t height) {
    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
    out.insert(out.end(), {8, 6, 0, 0, 0});
    uint32_t crc = static_cast<uint32_t>(crc32(0, out.data() + 12, 17));
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(crc >> shift));
    return out;
}

std::vector<unsigned char> jpeg(unsigned width, unsigned height) {
    // SOI, an APP0 segment, then a baseline frame header.
    return {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 'J', 'F', 0xFF, 0xC0, 0x00, 0x11, 0x08,
            static_cast<unsigned char>(height >> 8), static_cast<unsigned char>(height),
            static_cast<unsigned char>(width >> 8), static_cast<unsigned char>(width), 0x03};
}

TEST(ImageSize, ReadsPngAndJpegHeaders) {
    struct Case { std::vector<unsigned char> bytes; bool ok; int width, height; };
    std::vector<unsigned char> cutPng = png(64, 32);
    cutPng.resize(23);
    std::vector<unsigned char> cutJpeg = jpeg(300, 200);
    cutJpeg.resize(16);
    std::vector<unsigned char> badMarker = jpeg(1, 1);
    badMarker[8] = 0x00;
    const Case cases[] = {
        {png(64, 32), true, 64, 32},
        {png(1, 0x7fffffff), true, 1, 0x7fffffff},
        {png(0, 5), false, 0, 0},
        {png(0x80000000u, 5), false, 0, 0},
        {cutPng, false, 0, 0},
        {jpeg(300, 200), true, 300, 200},
        {cutJpeg, false, 0, 0},
        {badMarker, false, 0, 0},
        {{'G', 'I', 'F', '8', '9', 'a'}, false, 0, 0},
        {{}, false, 0, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        int w = 0, h = 0;
        EXPECT_EQ(engine::readImageSize(c.bytes.data(), c.bytes.size(), &w, &h), c.ok) << i;
        if (c.ok) {
            EXPECT_EQ(w, c.width) << i;
            EXPECT_EQ(h, c.height) << i;
        }
    }
}

TEST(TextureCache, TexturesByFullPath) {
    std::string dir = std::string(VEXO_BINARY_DIR) + "/test-engine/renderer/";
    std::filesystem::create_directories(dir);
    std::vector<unsigned char> bytes = png(8, 4);
    std::ofstream(dir + "a.png", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                         static_cast<std::streamsize>(bytes.size()));
    std::ofstream(dir + "broken.png") << "not an image";
    engine::TextureCache* cache = engine::TextureCache::getInstance();
    engine::Texture2D* texture = cache->addImage(dir + "a.png");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getPixelsWide(), 8);
    EXPECT_EQ(texture->getPixelsHigh(), 4);
    EXPECT_EQ(texture->getContentSize().width, 8.f);
    EXPECT_EQ(texture->getPath(), dir + "a.png");
    EXPECT_EQ(cache->addImage(dir + "a.png"), texture);
    EXPECT_EQ(cache->addImage(dir + "missing.png"), nullptr);
    EXPECT_EQ(cache->addImage(dir + "broken.png"), nullptr);
    EXPECT_EQ(cache->addImage(""), nullptr);
    engine::TextureCache::destroyInstance();
}

}  // namespace
