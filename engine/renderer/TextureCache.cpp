#include "engine/renderer/TextureCache.h"

#include "engine/files/FileUtils.h"
#include "engine/image/ImageSize.h"

namespace engine {

namespace {
TextureCache* instance = nullptr;
}

TextureCache* TextureCache::getInstance() {
    if (!instance) instance = new TextureCache();
    return instance;
}

void TextureCache::destroyInstance() {
    delete instance;
    instance = nullptr;
}

TextureCache::~TextureCache() { removeAllTextures(); }

Texture2D* TextureCache::addImage(const std::string& path) {
    if (path.empty()) return nullptr;
    FileUtils* files = FileUtils::getInstance();
    std::string fullPath = files->fullPathForFilename(path);
    if (fullPath.empty()) return nullptr;
    auto found = _textures.find(fullPath);
    if (found != _textures.end()) return found->second;
    Data data = files->getDataFromFile(fullPath);
    int width = 0, height = 0;
    if (data.isNull() || !readImageSize(data.getBytes(), static_cast<size_t>(data.getSize()), &width, &height))
        return nullptr;
    Texture2D* texture = Texture2D::create(width, height, Texture2D::PixelFormat::RGBA8888);
    texture->setPath(fullPath);
    _textures[fullPath] = texture;
    return texture;
}

void TextureCache::removeAllTextures() {
    for (auto& entry : _textures) entry.second->release();
    _textures.clear();
}

}  // namespace engine
