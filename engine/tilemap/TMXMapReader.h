#pragma once
// Reads a tile map in the TMX format (XML) into plain data: the map's size,
// tile size and properties; its tilesets (first gid, name, tile size, spacing,
// margin, image) with the properties of their tiles, filed by gid (first gid +
// the tile's id); its tile layers (name, size, visibility, opacity, offset,
// properties) with their width x height stored ids, row by row from the top.
// A stored id keeps its three flip bits (TMXLayer's flags).
//
// Its object groups (name, offset, properties) with their objects: each object a
// map of its name, type, id, x, y, width, height and its properties, with y
// counted up from the map's bottom edge to the object's bottom (the node
// coordinates of the map); at most kMaxTMXObjects objects in all.
//
// Orthogonal maps only. Layer data is CSV or Base64 (plain, zlib or gzip);
// other encodings, tilesets in separate files and image layers are not read
// (the last are skipped). Input is untrusted: malformed XML,
// a missing or non-positive map size or tile size, a layer of more than
// TMXLayer::kMaxTiles tiles, data whose id count is not width x height, or
// compressed data that does not inflate to exactly that many ids fails the
// whole read with a reason, before any memory of the claimed size is taken.
// All layers together hold at most TMXLayer::kMaxTiles tiles.
//
// Plain functions; safe on any thread.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/Types.h"
#include "engine/base/Value.h"

namespace engine {

struct TMXTilesetData {
    std::string name;
    uint32_t firstGid = 1;
    Size tileSize;
    int spacing = 0;
    int margin = 0;
    std::string sourceImage;   // as written in the file, relative to the map
    Size imageSize;
};

struct TMXLayerData {
    std::string name;
    Size layerSize;
    std::vector<uint32_t> tiles;
    bool visible = true;
    unsigned char opacity = 255;
    Vec2 offset;
    ValueMap properties;
};

struct TMXObjectGroupData {
    std::string name;
    Vec2 positionOffset;
    ValueMap properties;
    ValueVector objects;   // ValueMaps
};

inline constexpr size_t kMaxTMXObjects = 65536;

struct TMXMapData {
    Size mapSize;
    Size tileSize;
    ValueMap properties;
    std::vector<TMXTilesetData> tilesets;
    std::vector<TMXLayerData> layers;
    std::vector<TMXObjectGroupData> objectGroups;
    ValueMapIntKey tileProperties;   // gid -> ValueMap
};

// False (with the reason in *error when given) for a map it cannot read.
bool readTMXMap(const char* xml, size_t size, TMXMapData* out, std::string* error = nullptr);

}  // namespace engine
