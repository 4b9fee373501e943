#include "engine/tilemap/TMXTiledMap.h"

#include "engine/tilemap/TMXLayer.h"

namespace engine {

TMXTiledMap* TMXTiledMap::create(const Size& mapSize, const Size& tileSize) {
    auto* map = new TMXTiledMap;
    map->_mapSize = mapSize;
    map->_tileSize = tileSize;
    return autoreleased(map, true);
}

TMXLayer* TMXTiledMap::getLayer(const std::string& layerName) const {
    for (Node* child : getChildren()) {
        auto* layer = dynamic_cast<TMXLayer*>(child);
        if (layer && layer->getLayerName() == layerName) return layer;
    }
    return nullptr;
}

Value TMXTiledMap::getProperty(const std::string& name) const {
    auto it = _properties.find(name);
    return it != _properties.end() ? it->second : Value();
}

Value TMXTiledMap::getPropertiesForGID(int gid) const {
    auto it = _tileProperties.find(gid);
    return it != _tileProperties.end() ? it->second : Value();
}

}  // namespace engine
