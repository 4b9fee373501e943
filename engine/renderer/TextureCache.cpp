#include "engine/renderer/TextureCache.h"

#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/image/Image.h"
#include "platform/Paths.h"

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
    // One key per file however the name is spelt ("p.png", "./p.png", "a/../p.png"),
    // and the file read is the one the key names.
    FileUtils* files = FileUtils::getInstance();
    std::string fullPath = platform::lexicallyNormal(files->fullPathForFilename(platform::lexicallyNormal(path)));
    if (fullPath.empty()) return nullptr;
    auto found = _textures.find(fullPath);
    if (found != _textures.end()) return found->second;
    Image image;
    if (!image.initWithImageFile(fullPath)) return nullptr;
    Texture2D* texture = Texture2D::createWithData(image.takeData(), image.getWidth(), image.getHeight(),
                                                   image.getRenderFormat(), image.hasPremultipliedAlpha());
    if (!texture) return nullptr;
    texture->setPath(fullPath);
    _textures[fullPath] = texture;
    return texture;
}

Texture2D* TextureCache::addImage(Image* image, const std::string& key) {
    if (!image || key.empty() || image->getWidth() <= 0 || image->getHeight() <= 0) return nullptr;
    auto found = _textures.find(key);
    if (found != _textures.end()) return found->second;
    Texture2D* texture = Texture2D::createWithData(image->takeData(), image->getWidth(), image->getHeight(),
                                                   image->getRenderFormat(), image->hasPremultipliedAlpha());
    if (!texture) return nullptr;
    _textures[key] = texture;
    return texture;
}

Texture2D* TextureCache::getTextureForKey(const std::string& key) const {
    auto found = _textures.find(key);
    return found == _textures.end() ? nullptr : found->second;
}

void TextureCache::removeAllTextures() {
    for (auto& entry : _textures) entry.second->release();
    _textures.clear();
}

}  // namespace engine

namespace engine {

size_t TextureCache::removeUnusedTextures() {
    size_t removed = 0;
    for (auto it = _textures.begin(); it != _textures.end();) {
        if (it->second->getReferenceCount() == 1) {
            it->second->release();
            it = _textures.erase(it);
            ++removed;
        } else {
            ++it;
        }
    }
    if (removed) log("TextureCache: removed %zu unused textures", removed);
    return removed;
}

}  // namespace engine
