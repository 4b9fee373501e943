// An atlas whose pages name one image file in several spellings decodes the file
// once: every page shares its texture.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/renderer/TextureCache.h"
#include "skeleton/Atlas.h"
#include "support/HeapPeak.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

namespace {

TEST(SkeletonAtlas, PagesSpellingOneFileShareOneTexture) {
    testsupport::TempDir dir;
    std::vector<unsigned char> png = testsupport::encodeBlankPng(512, 512);   // 1 MB decoded
    dir.write("p.png", std::string(png.begin(), png.end()));
    const char* names[] = {"p.png", "./p.png", "././p.png", "./././p.png", ".//p.png", "sub/../p.png",
                           "././././p.png", "x/./../p.png"};
    std::string text;
    for (const char* name : names) text += std::string(name) + "\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n\n";
    spAtlas* atlas = nullptr;
    std::optional<size_t> peak = testsupport::peakHeapDuring(
        [&] { atlas = spAtlas_create(text.data(), static_cast<int>(text.size()), dir.path().c_str(), nullptr); });
    ASSERT_NE(atlas, nullptr);
    int pages = 0;
    for (spAtlasPage* page = atlas->pages; page; page = page->next, ++pages) {
        EXPECT_EQ(page->rendererObject, atlas->pages->rendererObject) << page->name;
        EXPECT_EQ(page->width, 512) << page->name;
    }
    EXPECT_EQ(pages, 8);
    if (peak) {
        EXPECT_LT(*peak, 3u << 20);   // one decode (1 MB) and the file, not eight
    }
    spAtlas_dispose(atlas);
    engine::TextureCache::destroyInstance();
}

}  // namespace
