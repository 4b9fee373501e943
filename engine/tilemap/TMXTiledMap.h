#pragma once
// A tile map: its size in tiles, its tile size, its properties, the properties
// of its tiles by gid, and its layers (TMXLayer children, found by name).
//
// This is the model a map reader fills; it reads no file yet. Main thread
// only, like every node.
#include <string>

#include "engine/base/Value.h"
#include "engine/scene/Node.h"

namespace engine {

class TMXLayer;

class TMXTiledMap : public Node {
public:
    // A new map without layers, autoreleased.
    static TMXTiledMap* create(const Size& mapSize, const Size& tileSize);

    const Size& getMapSize() const { return _mapSize; }
    void setMapSize(const Size& size) { _mapSize = size; }
    const Size& getTileSize() const { return _tileSize; }
    void setTileSize(const Size& size) { _tileSize = size; }

    // The first layer child with that name; nullptr when none.
    TMXLayer* getLayer(const std::string& layerName) const;

    const ValueMap& getProperties() const { return _properties; }
    void setProperties(const ValueMap& properties) { _properties = properties; }
    // The property's value; a null value when there is none.
    Value getProperty(const std::string& name) const;

    // The properties of the tile with that gid (a map value); a null value when
    // the tile has none.
    Value getPropertiesForGID(int gid) const;
    void setTileProperties(const ValueMapIntKey& properties) { _tileProperties = properties; }

private:
    TMXTiledMap() = default;

    Size _mapSize;
    Size _tileSize;
    ValueMap _properties;
    ValueMapIntKey _tileProperties;
};

}  // namespace engine
