// Any bytes as a TMX map: the reader gives a map or a refusal, never a crash, a
// leak or memory out of proportion; a map that loads is then used as a script
// would use it: every layer walked, every tile's gid and flags read, the tile
// properties of the gids met looked up, every object group's objects found by
// name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/base/AutoreleasePool.h"
#include "engine/tilemap/TMXLayer.h"
#include "engine/tilemap/TMXTiledMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string xml(reinterpret_cast<const char*>(data), size);
    engine::TMXTiledMap* map = engine::TMXTiledMap::createWithXML(xml);
    if (map) {
        for (engine::Node* child : map->getChildren()) {
            auto* layer = dynamic_cast<engine::TMXLayer*>(child);
            if (!layer || map->getLayer(layer->getLayerName()) == nullptr) std::abort();
            const engine::Size& layerSize = layer->getLayerSize();
            const auto width = static_cast<size_t>(layerSize.width);
            const auto height = static_cast<size_t>(layerSize.height);
            if (layer->getTiles().size() != width * height) std::abort();
            for (size_t y = 0; y < height; ++y) {
                for (size_t x = 0; x < width; ++x) {
                    engine::TMXTileFlags flags{};
                    const uint32_t gid = layer->getTileGIDAt(engine::Vec2(static_cast<float>(x), static_cast<float>(y)), &flags);
                    if ((gid & engine::kTMXFlipedAll) != 0 || (flags & engine::kTMXFlippedMask) != 0) std::abort();
                    if (gid != 0 && x == y) map->getPropertiesForGID(static_cast<int>(gid));
                }
            }
        }
        for (engine::TMXObjectGroup* group : map->getObjectGroups()) {
            if (map->getObjectGroup(group->getGroupName()) == nullptr) std::abort();
            for (const engine::Value& object : group->getObjects()) {
                const engine::ValueMap& fields = object.asValueMap();
                if (group->getObject(fields.at("name").asString()).empty()) std::abort();
            }
        }
    }
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
