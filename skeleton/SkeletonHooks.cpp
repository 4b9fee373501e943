// Engine glue of the skeleton runtime: page textures through the engine's texture
// cache (a shared blank texture when an image cannot be loaded) and files through
// the engine's file utilities.
#include <cstring>
#include <vector>

#include "engine/files/FileUtils.h"
#include "engine/renderer/TextureCache.h"
#include "skeleton/Atlas.h"
#include "skeleton/extension.h"

namespace {

// A 2 x 2 transparent RGBA8888 texture, made once and kept for the process.
engine::Texture2D* blankTexture() {
    static engine::Texture2D* blank = engine::Texture2D::createWithData(std::vector<unsigned char>(16), 2, 2,
                                                                          engine::Texture2D::PixelFormat::RGBA8888);
    return blank;
}

}  // namespace

void skeleton_createTexture(spAtlasPage* page, const char* path) {
    engine::Texture2D* texture = engine::TextureCache::getInstance()->addImage(path ? path : "");
    if (!texture) texture = blankTexture();
    if (!texture) {
        page->rendererObject = nullptr;
        page->width = page->height = 1;
        return;
    }
    texture->retain();
    page->rendererObject = texture;
    page->width = texture->getPixelsWide();
    page->height = texture->getPixelsHigh();
}

void skeleton_disposeTexture(spAtlasPage* page) {
    if (!page->rendererObject) return;
    static_cast<engine::Texture2D*>(page->rendererObject)->release();
    page->rendererObject = nullptr;
}

char* skeleton_readFileHook(const char* path, int* length) {
    *length = 0;
    if (!path) return nullptr;
    engine::FileUtils* files = engine::FileUtils::getInstance();
    std::string fullPath = files->fullPathForFilename(path);
    if (fullPath.empty()) return nullptr;
    engine::Data data = files->getDataFromFile(fullPath);
    if (data.getBytes() == nullptr || data.getSize() > 0x7fffffff) return nullptr;
    auto size = static_cast<size_t>(data.getSize());
    char* buffer = static_cast<char*>(skeleton_malloc(size > 0 ? size : 1, "skeleton-engine", __LINE__));
    if (size) std::memcpy(buffer, data.getBytes(), size);
    *length = static_cast<int>(size);
    return buffer;
}
