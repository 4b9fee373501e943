#pragma once
// A tile map drawn from an atlas of tiles: the map is a TGA image whose pixels
// are tiles, the red value of a pixel naming the tile (the tile image's cells
// row by row from the top-left; 0, the first cell, counts as empty and draws
// nothing). Map pixel (x, y), counted from the image's bottom-left, is drawn at
// (x x tileWidth, y x tileHeight). Tiles can be read and changed; a change shows
// at once.
//
// Map files: uncompressed (type 2) or run-length (type 10) true-colour images of
// 24 or 32 bits, or grey (types 3 and 11) of 8 bits; at most 4096 x 4096 pixels.
// Anything else does not load (logged).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/scene/AtlasNode.h"

namespace engine {

// A decoded map: width x height pixels as R, G, B, bottom row first.
struct TileMapImage {
    int width = 0;
    int height = 0;
    std::vector<Color3B> pixels;
};
// Decodes a TGA map; false (out untouched) for anything it does not take.
bool parseTileMapImage(std::string_view bytes, TileMapImage* out);

class TileMapAtlas : public AtlasNode {
public:
    static constexpr int kMaxSide = 4096;

    // Autoreleased; nullptr when either file does not load.
    static TileMapAtlas* create(const std::string& tile, const std::string& mapFile, int tileWidth, int tileHeight);

    // The tile at a map position ({0, 0, 0} outside the map).
    Color3B getTileAt(const Vec2& position) const;
    // Sets the tile at a map position (outside the map: nothing).
    void setTile(const Color3B& tile, const Vec2& position);
    // Lets the map go (the quads drawn stay; tiles read as empty).
    void releaseMap();
    int getMapWidth() const { return _map.width; }
    int getMapHeight() const { return _map.height; }

    void updateAtlasValues() override;

private:
    TileMapAtlas() = default;
    bool initWithFiles(const std::string& tile, const std::string& mapFile, int tileWidth, int tileHeight);
    bool inside(const Vec2& position, int* x, int* y) const;

    TileMapImage _map;
};

}  // namespace engine
