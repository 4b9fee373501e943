// Memory of dropped textures goes back to the system, not only to the allocator.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "engine/base/MemoryTrim.h"
#include "engine/renderer/Texture2D.h"

namespace {

size_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    size_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

// 200 textures of 1 MiB each are made and dropped: the resident size comes back to
// within one trim interval of where it was.
TEST(MemoryTrim, DroppedTexturesGiveTheirMemoryBack) {
    constexpr int kSide = 512;
    constexpr size_t kMiB = size_t{1} << 20;
    const size_t before = residentBytes();
    std::vector<engine::Texture2D*> textures;
    for (int i = 0; i < 200; ++i) {
        std::vector<unsigned char> pixels(kSide * kSide * 4, static_cast<unsigned char>(i | 1));
        textures.push_back(engine::Texture2D::createWithData(std::move(pixels), kSide, kSide,
                                                             engine::Texture2D::PixelFormat::RGBA8888));
        ASSERT_NE(textures.back(), nullptr);
    }
    const size_t loaded = residentBytes();
    for (engine::Texture2D* texture : textures) texture->release();
    const size_t after = residentBytes();
    std::printf("resident: %zu MiB before, %zu MiB with 200 textures, %zu MiB after dropping them\n",
                before / kMiB, loaded / kMiB, after / kMiB);
    EXPECT_GT(loaded, before + 150 * kMiB);
    EXPECT_LT(after, before + engine::kTrimAfterBytes + 16 * kMiB);
}

}  // namespace
