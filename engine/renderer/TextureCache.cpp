#include "engine/renderer/TextureCache.h"

#include <utility>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
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

TextureCache::~TextureCache() {
    _alive.reset();
    _workers.joinAll();
    _pending.clear();
    removeAllTextures();
}

std::string TextureCache::keyFor(const std::string& path) {
    if (path.empty()) return {};
    // One key per file however the name is spelt ("p.png", "./p.png", "a/../p.png"),
    // and the file read is the one the key names.
    FileUtils* files = FileUtils::getInstance();
    return platform::lexicallyNormal(files->fullPathForFilename(platform::lexicallyNormal(path)));
}

Texture2D* TextureCache::addImage(const std::string& path) {
    std::string fullPath = keyFor(path);
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

void TextureCache::addImageAsync(const std::string& path, AsyncCallback callback) {
    _workers.joinFinished();
    Scheduler* scheduler = Director::getInstance()->getScheduler();
    const uint64_t id = _nextLoadId++;
    _pending.emplace(id, std::move(callback));
    std::weak_ptr<TextureCache*> alive = _alive;
    // Every outcome reaches the callback the same way, from a later update.
    auto deliver = [scheduler, alive, id](std::string key, std::shared_ptr<Image> image) {
        scheduler->performFunctionInEngineThread([alive, id, key = std::move(key), image = std::move(image)] {
            if (std::shared_ptr<TextureCache*> cache = alive.lock()) (*cache)->finishAsync(id, key, image.get());
        });
    };
    std::string key = keyFor(path);
    if (key.empty() || _textures.count(key)) {
        deliver(std::move(key), nullptr);
        return;
    }
    // The worker reads only the full path, which touches no shared state of the
    // file utilities.
    FileUtils* files = FileUtils::getInstance();
    std::string error;
    const bool started = _workers.start(
        [files, key, deliver] {
            auto image = std::make_shared<Image>();
            Data data = files->getDataFromFile(key);
            if (data.isNull() || !image->initWithImageData(data.getBytes(), static_cast<size_t>(data.getSize())))
                image.reset();
            deliver(key, std::move(image));
        },
        &error);
    if (!started) {
        log("TextureCache: cannot start a loading thread: %s", error.c_str());
        deliver(key, nullptr);
    }
}

void TextureCache::finishAsync(uint64_t id, const std::string& key, Image* image) {
    auto found = _pending.find(id);
    if (found == _pending.end()) return;
    AsyncCallback callback = std::move(found->second);
    _pending.erase(found);
    // A texture cached meanwhile (by another load of the file) is the one given.
    Texture2D* texture = getTextureForKey(key);
    if (!texture && image) {
        texture = addImage(image, key);
        if (texture) texture->setPath(key);
    }
    if (callback) callback(texture);
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

void TextureCache::removeTexture(Texture2D* texture) {
    for (auto it = _textures.begin(); it != _textures.end(); ++it) {
        if (it->second == texture) {
            _textures.erase(it);
            texture->release();
            return;
        }
    }
}

void TextureCache::removeTextureForKey(const std::string& key) {
    auto found = _textures.find(key);
    if (found == _textures.end()) return;
    Texture2D* texture = found->second;
    _textures.erase(found);
    texture->release();
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
