#include "engine/tilemap/TMXInfo.h"

#include "engine/files/FileUtils.h"
#include "engine/base/Log.h"
#include "engine/tilemap/TMXLayer.h"

namespace engine {

TMXTilesetInfo* TMXTilesetInfo::create(const TMXTilesetData& data) {
    auto* info = new TMXTilesetInfo;
    info->_data = data;
    info->autorelease();
    return info;
}

Rect TMXTilesetInfo::getRectForGID(uint32_t gid) const {
    gid &= kTMXFlippedMask;
    if (gid < _data.firstGid || _data.tileSize.width <= 0 || _data.tileSize.height <= 0) return Rect();
    const uint32_t index = gid - _data.firstGid;
    const float stepX = _data.tileSize.width + static_cast<float>(_data.spacing);
    const float usable = _data.imageSize.width - 2.f * static_cast<float>(_data.margin) + static_cast<float>(_data.spacing);
    const uint32_t columns = usable >= stepX ? static_cast<uint32_t>(usable / stepX) : 1;
    const float x = static_cast<float>(index % columns) * stepX + static_cast<float>(_data.margin);
    const float y = static_cast<float>(index / columns) * (_data.tileSize.height + static_cast<float>(_data.spacing)) +
                    static_cast<float>(_data.margin);
    return Rect(x, y, _data.tileSize.width, _data.tileSize.height);
}

TMXLayerInfo* TMXLayerInfo::create(const TMXLayerData& data) {
    auto* info = new TMXLayerInfo;
    info->_data = data;
    info->autorelease();
    return info;
}

TMXObjectGroup* TMXObjectGroup::create() { return create(TMXObjectGroupData{}); }

TMXObjectGroup* TMXObjectGroup::create(const TMXObjectGroupData& data) {
    auto* group = new TMXObjectGroup;
    group->_data = data;
    group->autorelease();
    return group;
}

Value TMXObjectGroup::getProperty(const std::string& name) const {
    auto it = _data.properties.find(name);
    return it != _data.properties.end() ? it->second : Value();
}

ValueMap TMXObjectGroup::getObject(const std::string& name) const {
    for (const Value& object : _data.objects) {
        if (object.getType() != Value::Type::MAP) continue;
        const ValueMap& fields = object.asValueMap();
        auto it = fields.find("name");
        if (it != fields.end() && it->second.asString() == name) return fields;
    }
    return ValueMap();
}

TMXMapInfo* TMXMapInfo::create(const std::string& tmxFile) {
    FileUtils* files = FileUtils::getInstance();
    const std::string fullPath = files->fullPathForFilename(tmxFile);
    if (fullPath.empty()) {
        log("TMXMapInfo: cannot find '%s'", tmxFile.c_str());
        return nullptr;
    }
    return createWithXML(files->getStringFromFile(fullPath), tmxFile);
}

TMXMapInfo* TMXMapInfo::createWithXML(const std::string& xml, const std::string& resourcePath) {
    auto* info = new TMXMapInfo;
    if (!info->init(xml, resourcePath)) {
        delete info;
        return nullptr;
    }
    info->autorelease();
    return info;
}

bool TMXMapInfo::init(const std::string& xml, const std::string& name) {
    TMXMapData data;
    std::string reason;
    if (!readTMXMap(xml.data(), xml.size(), &data, &reason)) {
        log("TMXMapInfo: cannot read '%s': %s", name.c_str(), reason.c_str());
        return false;
    }
    _fileName = name;
    _mapSize = data.mapSize;
    _tileSize = data.tileSize;
    _properties = std::move(data.properties);
    _tileProperties = std::move(data.tileProperties);
    for (const TMXTilesetData& tileset : data.tilesets) _tilesets.pushBack(TMXTilesetInfo::create(tileset));
    for (const TMXLayerData& layer : data.layers) _layers.pushBack(TMXLayerInfo::create(layer));
    for (const TMXObjectGroupData& group : data.objectGroups) _objectGroups.pushBack(TMXObjectGroup::create(group));
    return true;
}

}  // namespace engine
