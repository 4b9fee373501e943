#include "engine/tilemap/TMXTiledMap.h"

#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/tilemap/TMXInfo.h"
#include "engine/tilemap/TMXLayer.h"
#include "engine/tilemap/TMXMapReader.h"

namespace engine {

TMXTiledMap* TMXTiledMap::create(const Size& mapSize, const Size& tileSize) {
    auto* map = new TMXTiledMap;
    map->_mapSize = mapSize;
    map->_tileSize = tileSize;
    return autoreleased(map, true);
}

TMXTiledMap* TMXTiledMap::create(const std::string& tmxFile) {
    auto* map = new TMXTiledMap;
    return autoreleased(map, map->initWithFile(tmxFile));
}

bool TMXTiledMap::initWithFile(const std::string& tmxFile) {
    FileUtils* files = FileUtils::getInstance();
    const std::string fullPath = files->fullPathForFilename(tmxFile);
    if (fullPath.empty()) {
        log("TMXTiledMap: cannot find '%s'", tmxFile.c_str());
        return false;
    }
    return initWithXML(files->getStringFromFile(fullPath), tmxFile);
}

TMXTiledMap* TMXTiledMap::createWithXML(const std::string& xml) {
    auto* map = new TMXTiledMap;
    return autoreleased(map, map->initWithXML(xml, "(text)"));
}

TMXLayer* TMXTiledMap::makeLayer(const std::string& name, const Size& layerSize, const Size& mapTileSize) {
    return TMXLayer::create(name, layerSize, mapTileSize);
}

bool TMXTiledMap::initWithXML(const std::string& xml, const std::string& name) {
    TMXMapData info;
    std::string reason;
    if (!readTMXMap(xml.data(), xml.size(), &info, &reason)) {
        log("TMXTiledMap: cannot read '%s': %s", name.c_str(), reason.c_str());
        return false;
    }
    _mapSize = info.mapSize;
    _tileSize = info.tileSize;
    _properties = std::move(info.properties);
    _tileProperties = std::move(info.tileProperties);
    for (const TMXObjectGroupData& group : info.objectGroups) _objectGroups.pushBack(TMXObjectGroup::create(group));
    setContentSize(Size(_mapSize.width * _tileSize.width, _mapSize.height * _tileSize.height));
    int z = 0;
    for (TMXLayerData& layerInfo : info.layers) {
        TMXLayer* layer = makeLayer(layerInfo.name, layerInfo.layerSize, _tileSize);
        if (!layer) return false;
        layer->setTiles(layerInfo.tiles);
        layer->setProperties(layerInfo.properties);
        layer->setVisible(layerInfo.visible);
        layer->setOpacity(layerInfo.opacity);
        layer->setPosition(layerInfo.offset.x, -layerInfo.offset.y);
        addChild(layer, z++);
    }
    return true;
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

void TMXTiledMap::setObjectGroups(const Vector<TMXObjectGroup*>& groups) { _objectGroups = groups; }

TMXObjectGroup* TMXTiledMap::getObjectGroup(const std::string& groupName) const {
    for (TMXObjectGroup* group : _objectGroups) {
        if (group->getGroupName() == groupName) return group;
    }
    return nullptr;
}

}  // namespace engine
