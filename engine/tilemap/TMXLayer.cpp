#include "engine/tilemap/TMXLayer.h"

#include <algorithm>
#include <cmath>

#include "engine/base/Log.h"

namespace engine {

namespace {

// A whole, non-negative tile count.
float tileCount(float value) { return value > 0 ? std::floor(value) : 0.f; }

}  // namespace

TMXLayer* TMXLayer::create(const std::string& name, const Size& layerSize, const Size& mapTileSize) {
    auto* layer = new TMXLayer;
    return autoreleased(layer, layer->initLayer(name, layerSize, mapTileSize));
}

bool TMXLayer::initLayer(const std::string& name, const Size& layerSize, const Size& mapTileSize) {
    _layerName = name;
    _mapTileSize = mapTileSize;
    return setLayerSize(layerSize);
}

bool TMXLayer::setLayerSize(const Size& size) {
    const Size whole(tileCount(size.width), tileCount(size.height));
    if (static_cast<double>(whole.width) * whole.height > static_cast<double>(kMaxTiles)) {
        log("TMXLayer %s: %g x %g tiles is more than a layer holds", _layerName.c_str(), size.width, size.height);
        return false;
    }
    const size_t oldWidth = static_cast<size_t>(_layerSize.width);
    const size_t oldHeight = static_cast<size_t>(_layerSize.height);
    const size_t width = static_cast<size_t>(whole.width);
    const size_t height = static_cast<size_t>(whole.height);
    std::vector<uint32_t> tiles(width * height, 0);
    for (size_t y = 0; y < std::min(height, oldHeight); ++y) {
        for (size_t x = 0; x < std::min(width, oldWidth); ++x) tiles[x + y * width] = _tiles[x + y * oldWidth];
    }
    _tiles = std::move(tiles);
    _layerSize = whole;
    return true;
}

long TMXLayer::indexOf(const Vec2& position) const {
    if (!(position.x >= 0 && position.y >= 0 && position.x < _layerSize.width && position.y < _layerSize.height)) {
        return -1;
    }
    const long x = static_cast<long>(position.x);
    const long y = static_cast<long>(position.y);
    return x + y * static_cast<long>(_layerSize.width);
}

uint32_t TMXLayer::getTileGIDAt(const Vec2& position, TMXTileFlags* flags) const {
    const long index = indexOf(position);
    const uint32_t stored = index < 0 ? 0 : _tiles[static_cast<size_t>(index)];
    if (flags) *flags = static_cast<TMXTileFlags>(stored & kTMXFlipedAll);
    return stored & kTMXFlippedMask;
}

void TMXLayer::setTileGID(uint32_t gid, const Vec2& position, TMXTileFlags flags) {
    const long index = indexOf(position);
    if (index < 0) {
        log("TMXLayer %s: tile (%g, %g) is outside the layer", _layerName.c_str(), position.x, position.y);
        return;
    }
    _tiles[static_cast<size_t>(index)] = gid | (flags & kTMXFlipedAll);
}

void TMXLayer::setTiles(const std::vector<uint32_t>& ids) {
    const size_t count = std::min(ids.size(), _tiles.size());
    std::copy(ids.begin(), ids.begin() + static_cast<long>(count), _tiles.begin());
    std::fill(_tiles.begin() + static_cast<long>(count), _tiles.end(), 0u);
}

Value TMXLayer::getProperty(const std::string& name) const {
    auto it = _properties.find(name);
    return it != _properties.end() ? it->second : Value();
}

void TMXLayer::removeTileAt(const Vec2& position) {
    if (indexOf(position) >= 0) setTileGID(0, position);
}

Vec2 TMXLayer::getPositionAt(const Vec2& position) const {
    const float column = std::floor(position.x);
    const float row = std::floor(position.y);
    return Vec2(column * _mapTileSize.width, (_layerSize.height - row - 1.f) * _mapTileSize.height);
}

}  // namespace engine
