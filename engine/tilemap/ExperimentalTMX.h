#pragma once
// The experimental tile-map classes: the same model as TMXTiledMap and
// TMXLayer, as classes of their own so that scripts see them under their own
// names. A map of this kind makes layers of this kind. Main thread only.
#include <string>

#include "engine/tilemap/TMXLayer.h"
#include "engine/tilemap/TMXTiledMap.h"

namespace engine::experimental {

class TMXLayer : public engine::TMXLayer {
public:
    // As engine::TMXLayer::create.
    static TMXLayer* create(const std::string& name, const Size& layerSize, const Size& mapTileSize);

protected:
    TMXLayer() = default;
};

class TMXTiledMap : public engine::TMXTiledMap {
public:
    // As engine::TMXTiledMap::create(tmxFile) and createWithXML.
    static TMXTiledMap* create(const std::string& tmxFile);
    static TMXTiledMap* createWithXML(const std::string& xml);

protected:
    TMXTiledMap() = default;
    engine::TMXLayer* makeLayer(const std::string& name, const Size& layerSize, const Size& mapTileSize) override;
};

}  // namespace engine::experimental
