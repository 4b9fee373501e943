#pragma once
// A tile map: its size in tiles, its tile size, its properties, the properties
// of its tiles by gid, and its layers (TMXLayer children, found by name).
//
// Made empty, or from a TMX file through TMXMapReader: the map's sizes and
// properties, the tile properties of its tilesets, and one layer child per
// tile layer, in the file's order, with its ids, properties, visibility and
// opacity, and its object groups. Main thread only, like every node.
#include <string>

#include "engine/base/Value.h"
#include "engine/base/Vector.h"
#include "engine/scene/Node.h"
#include "engine/tilemap/TMXInfo.h"

namespace engine {

class TMXLayer;

class TMXTiledMap : public Node {
public:
    // A new map without layers, autoreleased.
    static TMXTiledMap* create(const Size& mapSize, const Size& tileSize);
    // The map of a TMX file (found through FileUtils); nullptr, with the reason
    // logged, when it cannot be read.
    static TMXTiledMap* create(const std::string& tmxFile);
    // The same from the file's text.
    static TMXTiledMap* createWithXML(const std::string& xml);

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

    // The map's object groups, in the file's order (retained).
    const Vector<TMXObjectGroup*>& getObjectGroups() const { return _objectGroups; }
    void setObjectGroups(const Vector<TMXObjectGroup*>& groups);
    // The first group with that name; nullptr when none.
    TMXObjectGroup* getObjectGroup(const std::string& groupName) const;

protected:
    TMXTiledMap() = default;
    bool initWithFile(const std::string& tmxFile);
    // name: what the log calls the map.
    bool initWithXML(const std::string& xml, const std::string& name);
    // A new layer child for the reader (autoreleased; nullptr when too large).
    virtual TMXLayer* makeLayer(const std::string& name, const Size& layerSize, const Size& mapTileSize);

private:

    Size _mapSize;
    Size _tileSize;
    ValueMap _properties;
    ValueMapIntKey _tileProperties;
    Vector<TMXObjectGroup*> _objectGroups;
};

}  // namespace engine
