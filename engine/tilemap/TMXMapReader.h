#pragma once
// Reads a tile map in the TMX format (XML) into plain data: the map's size,
// tile size and properties; its tilesets (first gid, name, tile size, spacing,
// margin, image) with the properties of their tiles, filed by gid (first gid +
// the tile's id); its tile layers (name, size, visibility, opacity, offset,
// properties) with their width x height stored ids, row by row from the top.
// A stored id keeps its three flip bits (TMXLayer's flags).
//
// Orthogonal maps only. Layer data is CSV or Base64 (plain, zlib or gzip);
// other encodings, tilesets in separate files, object groups and image layers
// are not read (the last two are skipped). Input is untrusted: malformed XML,
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

struct TMXTilesetInfo {
    std::string name;
    uint32_t firstGid = 1;
    Size tileSize;
    int spacing = 0;
    int margin = 0;
    std::string sourceImage;   // as written in the file, relative to the map
    Size imageSize;
};

struct TMXLayerInfo {
    std::string name;
    Size layerSize;
    std::vector<uint32_t> tiles;
    bool visible = true;
    unsigned char opacity = 255;
    Vec2 offset;
    ValueMap properties;
};

struct TMXMapInfo {
    Size mapSize;
    Size tileSize;
    ValueMap properties;
    std::vector<TMXTilesetInfo> tilesets;
    std::vector<TMXLayerInfo> layers;
    ValueMapIntKey tileProperties;   // gid -> ValueMap
};

// False (with the reason in *error when given) for a map it cannot read.
bool readTMXMap(const char* xml, size_t size, TMXMapInfo* out, std::string* error = nullptr);

}  // namespace engine
