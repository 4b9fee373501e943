#pragma once
// One layer of a tile map: its name, its size in tiles, the map's tile size, its
// properties and a width x height array of tile ids, row by row from the top
// (the tile at column x, row y is at x + y * width).
//
// A stored id carries the tile's flips in its three high bits (horizontal,
// vertical, diagonal); the rest is the tile's global id (gid), 0 for no tile.
// This is the model the map reader (TMXMapReader) fills; the layer draws
// nothing yet. Main thread only, like every node.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/Value.h"
#include "engine/scene/BlendNodes.h"

namespace engine {

enum TMXTileFlags : uint32_t {
    kTMXTileHorizontalFlag = 0x80000000u,
    kTMXTileVerticalFlag = 0x40000000u,
    kTMXTileDiagonalFlag = 0x20000000u,
    kTMXFlipedAll = kTMXTileHorizontalFlag | kTMXTileVerticalFlag | kTMXTileDiagonalFlag,
    kTMXFlippedMask = ~kTMXFlipedAll,
};

class TMXLayer : public SpriteBatchNode {
public:
    // The most tiles a layer holds (64 MB of ids).
    static constexpr size_t kMaxTiles = size_t{1} << 24;

    // A new layer, autoreleased, every tile 0. Sizes are whole tile counts
    // (fractions dropped, negatives 0); more than kMaxTiles tiles log and give
    // nullptr.
    static TMXLayer* create(const std::string& name, const Size& layerSize, const Size& mapTileSize);

    const std::string& getLayerName() const { return _layerName; }
    void setLayerName(const std::string& name) { _layerName = name; }
    // Width and height in tiles. Setting a new size keeps the ids that still fit
    // at their column and row; new tiles are 0. Past kMaxTiles it logs, changes
    // nothing and answers false.
    const Size& getLayerSize() const { return _layerSize; }
    bool setLayerSize(const Size& size);
    const Size& getMapTileSize() const { return _mapTileSize; }
    void setMapTileSize(const Size& size) { _mapTileSize = size; }

    // The gid at a tile position (column, row; fractions dropped) without its
    // flip bits, which go to *flags when asked. Outside the layer: 0 (flags 0).
    uint32_t getTileGIDAt(const Vec2& position, TMXTileFlags* flags = nullptr) const;
    // Stores gid | flags at the position (only the three flip bits of flags
    // count; a gid carrying flip bits keeps them); outside the layer it logs and
    // changes nothing.
    void setTileGID(uint32_t gid, const Vec2& position, TMXTileFlags flags = static_cast<TMXTileFlags>(0));
    // Empties the tile (gid 0, no flips); outside the layer it changes nothing.
    void removeTileAt(const Vec2& position);
    // The lower-left corner of a tile (column, row; row 0 at the top, fractions
    // dropped) in the layer's points, tiles laid out orthogonally.
    Vec2 getPositionAt(const Vec2& position) const;
    // The whole array, row by row: the layer keeps its own copy of width x height
    // ids; missing ones are 0, extra ones ignored.
    void setTiles(const std::vector<uint32_t>& ids);
    const std::vector<uint32_t>& getTiles() const { return _tiles; }

    const ValueMap& getProperties() const { return _properties; }
    void setProperties(const ValueMap& properties) { _properties = properties; }
    // The property's value; a null value when there is none.
    Value getProperty(const std::string& name) const;

protected:
    TMXLayer() = default;
    bool initLayer(const std::string& name, const Size& layerSize, const Size& mapTileSize);

private:
    // The index of a position inside the layer, or -1.
    long indexOf(const Vec2& position) const;

    std::string _layerName;
    Size _layerSize;
    Size _mapTileSize;
    std::vector<uint32_t> _tiles;
    ValueMap _properties;
};

}  // namespace engine
