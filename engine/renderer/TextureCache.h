#pragma once
// Textures by full path. Main thread only, but for the decoding of
// addImageAsync, which runs on worker threads of the cache's own.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "engine/base/WorkerThreads.h"
#include "engine/renderer/Texture2D.h"

namespace engine {

class Image;

class TextureCache {
public:
    static TextureCache* getInstance();
    static void destroyInstance();

    // The texture of the image at path (resolved through FileUtils), decoded once
    // per full path and kept by the cache; nullptr for a missing or unreadable
    // image. The name and the full path are spelt one way first
    // (platform::lexicallyNormal), so every spelling of a file shares one texture.
    Texture2D* addImage(const std::string& path);
    // The same without blocking: the image is decoded on a worker thread and
    // callback runs on the main thread (through the director's scheduler)
    // exactly once, with the cached texture, or nullptr for a missing or
    // unreadable image. Never called after the cache is destroyed: a cache
    // destroyed with loads in flight waits for their workers, then drops their
    // callbacks uncalled (destroyed on the main thread). The director's
    // scheduler must outlive the cache.
    using AsyncCallback = std::function<void(Texture2D*)>;
    void addImageAsync(const std::string& path, AsyncCallback callback);
    // The texture cached under `key`; made from the decoded image (whose pixels it
    // takes) when the key is new. nullptr for a null or empty image or an empty key.
    Texture2D* addImage(Image* image, const std::string& key);
    Texture2D* getTextureForKey(const std::string& key) const;
    // Drops one texture from the cache (it lives on while retained elsewhere), by
    // itself or by its key as getTextureForKey takes it; a texture or key the cache
    // does not hold changes nothing.
    void removeTexture(Texture2D* texture);
    void removeTextureForKey(const std::string& key);
    // Drops every cached texture (textures still retained elsewhere live on).
    void removeAllTextures();
    // Drops the textures only the cache holds (a sprite, frame or script object
    // that retains one keeps it cached); returns how many went.
    size_t removeUnusedTextures();

private:
    TextureCache() = default;
    ~TextureCache();
    // The full path the cache keys a name by ("" when the file is not found).
    static std::string keyFor(const std::string& path);
    // On the main thread: the texture of a finished load goes into the cache and
    // to its callback.
    void finishAsync(uint64_t id, const std::string& key, Image* image);

    std::map<std::string, Texture2D*> _textures;
    // The callbacks of loads in flight, by load id.
    std::map<uint64_t, AsyncCallback> _pending;
    uint64_t _nextLoadId = 1;
    // Expires with the cache: queued completions check it first.
    std::shared_ptr<TextureCache*> _alive = std::make_shared<TextureCache*>(this);
    WorkerThreads _workers;
};

}  // namespace engine
