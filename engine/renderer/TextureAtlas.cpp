#include "engine/renderer/TextureAtlas.h"

#include <algorithm>

#include "engine/base/Log.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"

namespace engine {

TextureAtlas* TextureAtlas::create(const std::string& file, int capacity) {
    Texture2D* texture = TextureCache::getInstance()->addImage(file);
    return texture ? createWithTexture(texture, capacity) : nullptr;
}

TextureAtlas* TextureAtlas::createWithTexture(Texture2D* texture, int capacity) {
    if (capacity > kMaxCapacity) {
        log("TextureAtlas: capacity %d is past the limit of %d quads", capacity, kMaxCapacity);
        return nullptr;
    }
    auto* atlas = new TextureAtlas;
    atlas->setTexture(texture);
    atlas->_capacity = std::max(capacity, 0);
    atlas->_quads.reserve(static_cast<size_t>(std::min(atlas->_capacity, 4096)));
    atlas->autorelease();
    return atlas;
}

TextureAtlas::~TextureAtlas() {
    if (_texture) _texture->release();
}

void TextureAtlas::setTexture(Texture2D* texture) {
    if (texture == _texture) return;
    assignRetained(_texture, texture);
    _dirty = true;
}

bool TextureAtlas::updateQuad(const AtlasQuad& quad, int index) {
    if (index < 0 || index > getTotalQuads() || index >= _capacity) return false;
    if (index == getTotalQuads()) {
        _quads.push_back(quad);
    } else {
        _quads[static_cast<size_t>(index)] = quad;
    }
    _dirty = true;
    return true;
}

bool TextureAtlas::insertQuad(const AtlasQuad& quad, int index) {
    if (index < 0 || index > getTotalQuads() || getTotalQuads() >= _capacity) return false;
    _quads.insert(_quads.begin() + index, quad);
    _dirty = true;
    return true;
}

bool TextureAtlas::insertQuadFromIndex(int from, int to) {
    const int total = getTotalQuads();
    if (from < 0 || from >= total || to < 0 || to >= total) return false;
    const AtlasQuad quad = _quads[static_cast<size_t>(from)];
    _quads.erase(_quads.begin() + from);
    _quads.insert(_quads.begin() + to, quad);
    _dirty = true;
    return true;
}

bool TextureAtlas::removeQuadAtIndex(int index) { return removeQuadsAtIndex(index, 1); }

bool TextureAtlas::removeQuadsAtIndex(int index, int amount) {
    if (index < 0 || amount < 0 || amount > getTotalQuads() - index) return false;
    _quads.erase(_quads.begin() + index, _quads.begin() + index + amount);
    _dirty = true;
    return true;
}

void TextureAtlas::removeAllQuads() {
    _quads.clear();
    _dirty = true;
}

bool TextureAtlas::resizeCapacity(int capacity) {
    if (capacity < 0 || capacity > kMaxCapacity) return false;
    _capacity = capacity;
    if (getTotalQuads() > capacity) _quads.resize(static_cast<size_t>(capacity));
    _dirty = true;
    return true;
}

bool TextureAtlas::increaseTotalQuadsWith(int amount) {
    if (amount < 0 || amount > _capacity - getTotalQuads()) return false;
    _quads.resize(_quads.size() + static_cast<size_t>(amount));
    _dirty = true;
    return true;
}

bool TextureAtlas::moveQuadsFromIndex(int oldIndex, int amount, int newIndex) {
    const int total = getTotalQuads();
    if (oldIndex < 0 || newIndex < 0 || amount < 0 || amount > total - oldIndex || amount > total - newIndex) {
        return false;
    }
    std::vector<AtlasQuad> moved(_quads.begin() + oldIndex, _quads.begin() + oldIndex + amount);
    _quads.erase(_quads.begin() + oldIndex, _quads.begin() + oldIndex + amount);
    _quads.insert(_quads.begin() + newIndex, moved.begin(), moved.end());
    _dirty = true;
    return true;
}

bool TextureAtlas::fillWithEmptyQuadsFromIndex(int index, int amount) {
    if (index < 0 || amount < 0 || amount > getTotalQuads() - index) return false;
    std::fill(_quads.begin() + index, _quads.begin() + index + amount, AtlasQuad{});
    _dirty = true;
    return true;
}

}  // namespace engine
