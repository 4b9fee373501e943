#include "engine/tilemap/ExperimentalTMX.h"

namespace engine::experimental {

TMXLayer* TMXLayer::create(const std::string& name, const Size& layerSize, const Size& mapTileSize) {
    auto* layer = new TMXLayer;
    return autoreleased(layer, layer->initLayer(name, layerSize, mapTileSize));
}

TMXTiledMap* TMXTiledMap::create(const std::string& tmxFile) {
    auto* map = new TMXTiledMap;
    return autoreleased(map, map->initWithFile(tmxFile));
}

TMXTiledMap* TMXTiledMap::createWithXML(const std::string& xml) {
    auto* map = new TMXTiledMap;
    return autoreleased(map, map->initWithXML(xml, "(text)"));
}

engine::TMXLayer* TMXTiledMap::makeLayer(const std::string& name, const Size& layerSize, const Size& mapTileSize) {
    return TMXLayer::create(name, layerSize, mapTileSize);
}

}  // namespace engine::experimental
