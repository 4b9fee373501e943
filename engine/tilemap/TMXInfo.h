#pragma once
// The parts of a tile map as objects scripts can hold: a tileset, a layer's
// description, an object group and the whole map description, each made from
// what the TMX reader read (engine/tilemap/TMXMapReader.h). TMXMapInfo reads a
// file itself; the map node keeps its object groups (TMXTiledMap). Main thread
// only.
#include <string>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/base/Value.h"
#include "engine/base/Vector.h"
#include "engine/tilemap/TMXMapReader.h"

namespace engine {

class TMXTilesetInfo : public Ref {
public:
    static TMXTilesetInfo* create(const TMXTilesetData& data);  // autoreleased

    const TMXTilesetData& getData() const { return _data; }
    // The rectangle of a tile of this set in its image, in pixels (the flip bits
    // of gid ignored); a zero rectangle for a gid below the set's first.
    Rect getRectForGID(uint32_t gid) const;

private:
    TMXTilesetData _data;
};

class TMXLayerInfo : public Ref {
public:
    static TMXLayerInfo* create(const TMXLayerData& data);  // autoreleased

    const TMXLayerData& getData() const { return _data; }
    const std::string& getName() const { return _data.name; }
    const ValueMap& getProperties() const { return _data.properties; }
    void setProperties(const ValueMap& properties) { _data.properties = properties; }

private:
    TMXLayerData _data;
};

class TMXObjectGroup : public Ref {
public:
    static TMXObjectGroup* create();  // an empty group, autoreleased
    static TMXObjectGroup* create(const TMXObjectGroupData& data);

    const std::string& getGroupName() const { return _data.name; }
    void setGroupName(const std::string& name) { _data.name = name; }
    const Vec2& getPositionOffset() const { return _data.positionOffset; }
    void setPositionOffset(const Vec2& offset) { _data.positionOffset = offset; }
    const ValueMap& getProperties() const { return _data.properties; }
    void setProperties(const ValueMap& properties) { _data.properties = properties; }
    // The property's value; a null value when there is none.
    Value getProperty(const std::string& name) const;
    // The first object with that name (a map); an empty map when none.
    ValueMap getObject(const std::string& name) const;
    const ValueVector& getObjects() const { return _data.objects; }
    void setObjects(const ValueVector& objects) { _data.objects = objects; }

private:
    TMXObjectGroupData _data;
};

class TMXMapInfo : public Ref {
public:
    // The description of a TMX file (found through FileUtils); nullptr, with the
    // reason logged, when it cannot be read.
    static TMXMapInfo* create(const std::string& tmxFile);
    // The same from the file's text; resourcePath names it in the log.
    static TMXMapInfo* createWithXML(const std::string& xml, const std::string& resourcePath);

    const std::string& getTMXFileName() const { return _fileName; }
    const Size& getMapSize() const { return _mapSize; }
    void setMapSize(const Size& size) { _mapSize = size; }
    const Size& getTileSize() const { return _tileSize; }
    void setTileSize(const Size& size) { _tileSize = size; }
    const ValueMap& getProperties() const { return _properties; }
    void setProperties(const ValueMap& properties) { _properties = properties; }
    const ValueMapIntKey& getTileProperties() const { return _tileProperties; }

    const Vector<TMXLayerInfo*>& getLayers() const { return _layers; }
    void setLayers(const Vector<TMXLayerInfo*>& layers) { _layers = layers; }
    const Vector<TMXTilesetInfo*>& getTilesets() const { return _tilesets; }
    void setTilesets(const Vector<TMXTilesetInfo*>& tilesets) { _tilesets = tilesets; }
    const Vector<TMXObjectGroup*>& getObjectGroups() const { return _objectGroups; }
    void setObjectGroups(const Vector<TMXObjectGroup*>& groups) { _objectGroups = groups; }

private:
    TMXMapInfo() = default;
    bool init(const std::string& xml, const std::string& name);

    std::string _fileName;
    Size _mapSize;
    Size _tileSize;
    ValueMap _properties;
    ValueMapIntKey _tileProperties;
    Vector<TMXLayerInfo*> _layers;
    Vector<TMXTilesetInfo*> _tilesets;
    Vector<TMXObjectGroup*> _objectGroups;
};

}  // namespace engine
