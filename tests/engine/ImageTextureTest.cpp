// Image headers and decoding, and the texture cache built on them.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "engine/3d/Terrain.h"
#include "engine/files/FileUtils.h"
#include "engine/image/Image.h"
#include "engine/image/ImageSize.h"
#include "engine/renderer/GLRecorder.h"
#include "engine/renderer/TextureCache.h"
#include "support/HeapPeak.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

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

using testsupport::PngImage;
using Format = engine::Texture2D::PixelFormat;
using Bytes = std::vector<unsigned char>;

PngImage pngOf(int width, int height, int colorType, int bitDepth, Bytes rows, bool interlaced = false) {
    PngImage image;
    image.width = width;
    image.height = height;
    image.colorType = colorType;
    image.bitDepth = bitDepth;
    image.rows = std::move(rows);
    image.interlaced = interlaced;
    return image;
}

// One row of palette indices packed at bitDepth.
PngImage paletted(int width, int bitDepth, Bytes indices, Bytes palette, Bytes alphas) {
    PngImage image = pngOf(width, 1, 3, bitDepth, std::move(indices));
    image.palette = std::move(palette);
    image.alphas = std::move(alphas);
    return image;
}

// A 3 x 3 RGB image whose pixel i holds 10 i, 10 i + 1, 10 i + 2: interlacing
// scatters these over all seven passes.
Bytes ramp3x3() {
    Bytes out;
    for (unsigned char i = 0; i < 9; ++i) out.insert(out.end(), {static_cast<unsigned char>(10 * i),
                                                                 static_cast<unsigned char>(10 * i + 1),
                                                                 static_cast<unsigned char>(10 * i + 2)});
    return out;
}

TEST(Image, DecodesEveryPngLayoutTo8BitPixels) {
    struct Case { const char* name; PngImage png; Format format; Bytes pixels; };
    const Case cases[] = {
        // Alpha images come out premultiplied (rounded); a fully transparent pixel is all zero.
        {"RGBA", pngOf(3, 1, 6, 8, {255, 0, 0, 255, 200, 100, 50, 128, 10, 20, 30, 0}), Format::RGBA8888,
         {255, 0, 0, 255, 100, 50, 25, 128, 0, 0, 0, 0}},
        {"RGB", pngOf(2, 1, 2, 8, {1, 2, 3, 250, 251, 252}), Format::RGB888, {1, 2, 3, 250, 251, 252}},
        {"grey", pngOf(2, 1, 0, 8, {0, 77}), Format::RGB888, {0, 0, 0, 77, 77, 77}},
        {"grey 1-bit", pngOf(3, 1, 0, 1, {0xA0}), Format::RGB888, {255, 255, 255, 0, 0, 0, 255, 255, 255}},
        {"grey + alpha", pngOf(2, 1, 4, 8, {100, 255, 100, 51}), Format::RGBA8888,
         {100, 100, 100, 255, 20, 20, 20, 51}},
        {"palette", paletted(2, 8, {1, 0}, {10, 20, 30, 40, 50, 60}, {}), Format::RGB888, {40, 50, 60, 10, 20, 30}},
        {"palette 4-bit", paletted(3, 4, {0x20, 0x10}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {}), Format::RGB888,
         {7, 8, 9, 1, 2, 3, 4, 5, 6}},
        {"palette with tRNS", paletted(2, 8, {0, 1}, {10, 20, 30, 200, 100, 50}, {255, 128}), Format::RGBA8888,
         {10, 20, 30, 255, 100, 50, 25, 128}},
        {"RGB 16-bit", pngOf(1, 1, 2, 16, {0x12, 0x12, 0xAB, 0xAB, 0xFF, 0xFF}), Format::RGB888, {0x12, 0xAB, 0xFF}},
        {"RGBA 16-bit", pngOf(1, 1, 6, 16, {0xC8, 0xC8, 0x64, 0x64, 0, 0, 0xFF, 0xFF}), Format::RGBA8888,
         {200, 100, 0, 255}},
        {"interlaced RGB", pngOf(3, 3, 2, 8, ramp3x3(), true), Format::RGB888, ramp3x3()},
    };
    for (const Case& c : cases) {
        Bytes file = testsupport::encodePng(c.png);
        engine::Image image;
        ASSERT_TRUE(image.initWithImageData(file.data(), file.size())) << c.name;
        EXPECT_EQ(image.getFileType(), engine::ImageFileType::PNG) << c.name;
        EXPECT_EQ(image.getWidth(), c.png.width) << c.name;
        EXPECT_EQ(image.getHeight(), c.png.height) << c.name;
        EXPECT_EQ(image.getRenderFormat(), c.format) << c.name;
        EXPECT_EQ(image.hasPremultipliedAlpha(), c.format == Format::RGBA8888) << c.name;
        EXPECT_EQ(Bytes(image.getData(), image.getData() + image.getDataLen()), c.pixels) << c.name;
    }
}

// Every cut of a valid file before the end of its pixel data, and a flipped bit
// in each chunk, fails without a leak or a read past the end and leaves the image
// empty. Only the closing IEND chunk (the last 12 bytes) may be missing: the
// pixels are all there and checked by then.
TEST(Image, RefusesTruncatedAndCorruptPngs) {
    Bytes good = testsupport::encodePng(pngOf(3, 3, 2, 8, ramp3x3(), true));
    engine::Image image;
    ASSERT_TRUE(image.initWithImageData(good.data(), good.size()));
    for (size_t cut = 0; cut < good.size(); ++cut) {
        Bytes bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
        bool pixelsComplete = cut >= good.size() - 12;
        EXPECT_EQ(image.initWithImageData(bytes.data(), bytes.size()), pixelsComplete) << "cut at " << cut;
        EXPECT_EQ(image.getDataLen(), pixelsComplete ? 27u : 0u) << "cut at " << cut;
        EXPECT_EQ(image.getWidth(), pixelsComplete ? 3 : 0) << "cut at " << cut;
    }
    for (size_t at : {size_t{23}, size_t{45}, good.size() - 20}) {
        Bytes bytes = good;
        bytes[at] ^= 0x10;
        EXPECT_FALSE(image.initWithImageData(bytes.data(), bytes.size())) << "flip at " << at;
    }
    EXPECT_FALSE(image.initWithImageData(nullptr, 0));
}

// A header claiming more pixels than the limits, or than the file could hold,
// is refused before any pixel memory is allocated.
TEST(Image, RefusesOversizedHeaders) {
    Bytes wide = testsupport::encodePng(pngOf(engine::Image::kMaxSide + 1, 1, 0, 1, Bytes(2049, 0)));
    Bytes huge = png(engine::Image::kMaxSide, engine::Image::kMaxSide);   // header only
    engine::Image image;
    EXPECT_FALSE(image.initWithImageData(wide.data(), wide.size()));
    EXPECT_FALSE(image.initWithImageData(huge.data(), huge.size()));
    Bytes widest = testsupport::encodePng(pngOf(engine::Image::kMaxSide, 1, 0, 1, Bytes(2048, 0)));
    EXPECT_TRUE(image.initWithImageData(widest.data(), widest.size()));
    EXPECT_EQ(image.getDataLen(), static_cast<size_t>(engine::Image::kMaxSide) * 3);
}

// A small file that claims far more pixels than its bytes could hold is refused
// before its pixels take memory; files just as small that hold what they claim
// still decode.
TEST(Image, SmallFilesClaimingHugeImagesTakeLittleMemory) {
    // 4096 x 4096 one-bit pixels of a palette with transparency: about 2 KB that
    // decode to 64 MB of RGBA; and a JPEG header claiming 8192 x 8192 (192 MB of RGB).
    PngImage flat = pngOf(4096, 4096, 3, 1, Bytes(4096 * 512, 0));
    flat.palette = {1, 2, 3};
    flat.alphas = {128};
    PngImage held = flat;   // the same kind at 256 x 256: 256 KB from a few hundred bytes
    held.width = held.height = 256;
    held.rows.resize(256 * 32);
    Bytes flatJpeg = testsupport::encodeJpeg(64, 64, 3, Bytes(64 * 64 * 3, 90));
    struct Case {
        const char* what;
        Bytes file;
        size_t decoded;   // 0: refused
    };
    const Case cases[] = {
        {"one-bit PNG claiming 64 MB", testsupport::encodePng(flat), 0},
        {"JPEG header claiming 192 MB", jpeg(8192, 8192), 0},
        {"one-bit PNG of 256 KB", testsupport::encodePng(held), 256 * 256 * 4},
        {"flat JPEG", flatJpeg, 64 * 64 * 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_LT(c.file.size(), 4096u);
        engine::Image image;
        bool decoded = false;
        std::optional<size_t> peak =
            testsupport::peakHeapDuring([&] { decoded = image.initWithImageData(c.file.data(), c.file.size()); });
        EXPECT_EQ(decoded, c.decoded != 0);
        EXPECT_EQ(image.getDataLen(), c.decoded);
        if (peak) {
            EXPECT_LT(*peak, c.decoded + (4u << 20));
        }
    }
}

// The pixel budget: 4096 x 4096 pixels, 16384 on the longest side, lowered to the
// GL's largest texture when that is smaller. A grey file of a few KB past it is
// refused before its pixels take memory, as a sprite or as a terrain's height
// map, with a log line naming the file.
TEST(Image, PixelBudgetRefusesLargeImagesNamingTheFile) {
    const auto grey = [](int width, int height) {
        return testsupport::encodePng(pngOf(width, height, 0, 8, Bytes(static_cast<size_t>(width) * height, 0)));
    };
    struct Case {
        const char* what;
        int width, height;
        int textureSide;   // 0: no GL context has told its largest texture
        bool decodes;
    } cases[] = {
        {"one past the pixels", 4097, 4096, 0, false},
        {"the longest side", 16384, 1024, 0, true},
        {"the longest side, one row more", 16384, 1025, 0, false},
        {"within a smaller texture", 2048, 2, 2048, true},
        {"past a smaller texture's side", 2049, 1, 2048, false},
        {"past a smaller texture's pixels", 2048, 2049, 2048, false},
    };
    testsupport::TempDir dir;
    engine::FileUtils::getInstance()->setSearchPaths({dir.path() + "/"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes file = grey(c.width, c.height);
        const std::string path = dir.write("map.png", std::string(file.begin(), file.end()));
        engine::Image::setMaxTextureSide(c.textureSide);
        testsupport::LogCapture log;
        engine::Image image;
        bool decoded = false;
        const std::optional<size_t> peak = testsupport::peakHeapDuring([&] { decoded = image.initWithImageFile(path); });
        EXPECT_EQ(decoded, c.decodes);
        if (c.decodes) {
            EXPECT_EQ(image.getDataLen(), static_cast<size_t>(c.width) * c.height * 3);
            continue;
        }
        const std::string line = "Image: " + path + " is " + std::to_string(c.width) + " x " +
                                 std::to_string(c.height) + " pixels, beyond what one image may take";
        EXPECT_TRUE(log.contains(line)) << log.text();
        if (peak) {
            EXPECT_LT(*peak, 4u << 20);
        }
        engine::Terrain::TerrainData data;
        data._heightMapSrc = path;
        engine::Terrain* terrain = nullptr;
        const std::optional<size_t> terrainPeak =
            testsupport::peakHeapDuring([&] { terrain = engine::Terrain::create(data); });
        EXPECT_EQ(terrain, nullptr);
        EXPECT_TRUE(log.contains("Terrain: cannot read the height map " + path)) << log.text();
        if (terrainPeak) {
            EXPECT_LT(*terrainPeak, 4u << 20);
        }
    }
    engine::Image::setMaxTextureSide(0);
    engine::FileUtils::destroyInstance();
}

TEST(Image, DecodesJpegToRgb) {
    struct Case { const char* name; int components; Bytes sample; Bytes expected; };
    const Case cases[] = {
        {"RGB", 3, {200, 40, 90}, {200, 40, 90}},
        {"grey", 1, {120}, {120, 120, 120}},
    };
    for (const Case& c : cases) {
        Bytes pixels;
        for (int i = 0; i < 16 * 8; ++i) pixels.insert(pixels.end(), c.sample.begin(), c.sample.end());
        Bytes file = testsupport::encodeJpeg(16, 8, c.components, pixels);
        engine::Image image;
        ASSERT_TRUE(image.initWithImageData(file.data(), file.size())) << c.name;
        EXPECT_EQ(image.getFileType(), engine::ImageFileType::JPEG) << c.name;
        EXPECT_EQ(image.getRenderFormat(), Format::RGB888) << c.name;
        EXPECT_FALSE(image.hasPremultipliedAlpha()) << c.name;
        ASSERT_EQ(image.getDataLen(), 16u * 8 * 3) << c.name;
        for (size_t i = 0; i < image.getDataLen(); ++i)   // lossy: a solid colour comes back within a step or two
            ASSERT_NEAR(image.getData()[i], c.expected[i % 3], 3) << c.name << " byte " << i;

        // Cut anywhere (even just the end marker): a failure, never grey filler.
        for (size_t cut = 0; cut < file.size(); ++cut) {
            Bytes bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut));   // exact size for ASan
            EXPECT_FALSE(image.initWithImageData(bytes.data(), bytes.size())) << c.name << " cut at " << cut;
            EXPECT_EQ(image.getDataLen(), 0u) << c.name;
        }
    }
}

TEST(Texture2D, KeepsPixelsOfTheirFormatAndSizeOnly) {
    struct Case { Format format; size_t bytes; bool ok; };
    const Case cases[] = {
        {Format::RGBA8888, 24, true}, {Format::RGB888, 18, true}, {Format::A8, 6, true},
        {Format::RGBA8888, 23, false}, {Format::RGB888, 24, false}, {Format::AUTO, 24, false},
    };
    for (const Case& c : cases) {
        engine::Texture2D* texture = engine::Texture2D::createWithData(Bytes(c.bytes, 7), 3, 2, c.format);
        ASSERT_EQ(texture != nullptr, c.ok) << c.bytes;
        if (!texture) continue;
        EXPECT_EQ(texture->getPixelData(), Bytes(c.bytes, 7));
        EXPECT_EQ(texture->getContentSize().width, 3.f);
        texture->release();
    }
    EXPECT_EQ(engine::Texture2D::createWithData({}, 0, 0, Format::RGBA8888), nullptr);
}

TEST(Image, ReadsFilesThroughFileUtils) {
    testsupport::TempDir dir;
    Bytes file = testsupport::encodePng(pngOf(1, 1, 2, 8, {7, 8, 9}));
    dir.write("art/dot.png", std::string(file.begin(), file.end()));
    engine::FileUtils::getInstance()->addSearchPath(dir.file("art"));
    engine::Image image;
    EXPECT_TRUE(image.initWithImageFile("dot.png"));
    EXPECT_EQ(Bytes(image.getData(), image.getData() + image.getDataLen()), Bytes({7, 8, 9}));
    EXPECT_FALSE(image.initWithImageFile("missing.png"));
    EXPECT_EQ(image.getDataLen(), 0u);
    engine::FileUtils::destroyInstance();
}

TEST(TextureCache, TexturesByFullPath) {
    std::string dir = std::string(VEXO_BINARY_DIR) + "/test-engine/renderer/";
    std::filesystem::create_directories(dir);
    auto write = [&](const std::string& name, const Bytes& bytes) {
        std::ofstream(dir + name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                          static_cast<std::streamsize>(bytes.size()));
    };
    write("a.png", testsupport::encodeBlankPng(8, 4));
    write("rgb.png", testsupport::encodePng(pngOf(2, 1, 2, 8, {1, 2, 3, 4, 5, 6})));
    write("header-only.png", png(8, 4));
    write("broken.png", {'n', 'o', 't'});
    engine::TextureCache* cache = engine::TextureCache::getInstance();
    engine::Texture2D* texture = cache->addImage(dir + "a.png");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getPixelsWide(), 8);
    EXPECT_EQ(texture->getPixelsHigh(), 4);
    EXPECT_EQ(texture->getContentSize().width, 8.f);
    EXPECT_EQ(texture->getPath(), dir + "a.png");
    EXPECT_EQ(texture->getPixelFormat(), Format::RGBA8888);
    EXPECT_EQ(texture->getPixelData(), Bytes(8 * 4 * 4, 0));
    EXPECT_EQ(cache->addImage(dir + "a.png"), texture);
    engine::Texture2D* rgb = cache->addImage(dir + "rgb.png");
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(rgb->getPixelFormat(), Format::RGB888);
    EXPECT_EQ(rgb->getPixelData(), Bytes({1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(rgb->hasPremultipliedAlpha());
    EXPECT_EQ(cache->addImage(dir + "missing.png"), nullptr);
    EXPECT_EQ(cache->addImage(dir + "header-only.png"), nullptr);
    EXPECT_EQ(cache->addImage(dir + "broken.png"), nullptr);
    EXPECT_EQ(cache->addImage(""), nullptr);
    engine::TextureCache::destroyInstance();
}

// However a name spells the file ("./", "//", "a/../"), the cache decodes it once and
// keys it by the one normalised full path.
TEST(TextureCache, OneTexturePerFileHoweverItsNameIsSpelt) {
    testsupport::TempDir dir;
    Bytes file = testsupport::encodeBlankPng(512, 512);   // 1 MB decoded
    dir.write("art/p.png", std::string(file.begin(), file.end()));
    engine::FileUtils::getInstance()->setSearchPaths({dir.path() + "/./"});
    engine::TextureCache* cache = engine::TextureCache::getInstance();
    engine::Texture2D* texture = cache->addImage("art/p.png");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getPath(), dir.path() + "/art/p.png");
    const char* spellings[] = {"./art/p.png", "art/./p.png", "././art//p.png", "art/../art/p.png",
                               "missing/../art/p.png"};
    std::optional<size_t> peak = testsupport::peakHeapDuring([&] {
        for (const char* name : spellings) EXPECT_EQ(cache->addImage(name), texture) << name;
        EXPECT_EQ(cache->addImage(dir.path() + "/art/.//p.png"), texture);
    });
    if (peak) {
        EXPECT_LT(*peak, 64u << 10);
    }
    EXPECT_EQ(cache->getTextureForKey(dir.path() + "/art/p.png"), texture);
    engine::TextureCache::destroyInstance();
    engine::FileUtils::destroyInstance();
}

// An image file's texture gives its pixels to the GL context and decodes the file
// again for a new context; a texture made from pixels keeps them.
TEST(TextureCache, FileTexturesFreeTheirPixelsOnceUploaded) {
    testsupport::TempDir dir;
    Bytes file = testsupport::encodePng(pngOf(2, 1, 2, 8, {1, 2, 3, 4, 5, 6}));
    const std::string path = dir.write("rgb.png", std::string(file.begin(), file.end()));
    engine::Texture2D* fromFile = engine::TextureCache::getInstance()->addImage(path);
    ASSERT_NE(fromFile, nullptr);
    engine::Texture2D* made = engine::Texture2D::createWithData({9, 8, 7}, 1, 1, Format::RGB888);
    for (int context = 0; context < 2; ++context) {
        SCOPED_TRACE(context);
        engine::GLRecorder gl;
        EXPECT_NE(fromFile->getName(), 0u);
        EXPECT_NE(made->getName(), 0u);
        std::vector<const engine::GLRecordedCall*> uploads = gl.callsNamed("glTexImage2D");
        ASSERT_EQ(uploads.size(), 2u);
        EXPECT_EQ(uploads[0]->pixels, Bytes({1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(uploads[1]->pixels, Bytes({9, 8, 7}));
        EXPECT_TRUE(fromFile->getPixelData().empty());
        EXPECT_EQ(made->getPixelData(), Bytes({9, 8, 7}));
        fromFile->getName();   // the same context: nothing uploaded again
        EXPECT_EQ(gl.count("glTexImage2D"), 2u);
    }
    made->release();
    engine::TextureCache::destroyInstance();
}

}  // namespace
