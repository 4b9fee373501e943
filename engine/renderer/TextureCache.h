#pragma once
// Textures by full path. Main thread only.
#include <map>
#include <string>

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
    // The texture cached under `key`; made from the decoded image (whose pixels it
    // takes) when the key is new. nullptr for a null or empty image or an empty key.
    Texture2D* addImage(Image* image, const std::string& key);
    Texture2D* getTextureForKey(const std::string& key) const;
    // Drops every cached texture (textures still retained elsewhere live on).
    void removeAllTextures();
    // Drops the textures only the cache holds (a sprite, frame or script object
    // that retains one keeps it cached); returns how many went.
    size_t removeUnusedTextures();

private:
    TextureCache() = default;
    ~TextureCache();

    std::map<std::string, Texture2D*> _textures;
};

}  // namespace engine
