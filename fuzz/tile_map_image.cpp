// Any bytes as a tile map image: the reader gives a map whose pixel count is its
// width times its height within the size limit, or false, never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/tilemap/TileMapAtlas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    engine::TileMapImage map;
    if (!engine::parseTileMapImage(std::string_view(reinterpret_cast<const char*>(data), size), &map)) return 0;
    if (map.width <= 0 || map.height <= 0 || map.width > engine::TileMapAtlas::kMaxSide ||
        map.height > engine::TileMapAtlas::kMaxSide) {
        std::abort();
    }
    if (map.pixels.size() != static_cast<size_t>(map.width) * static_cast<size_t>(map.height)) std::abort();
    // Use what was read: count the tiles a map would draw.
    size_t tiles = 0;
    for (const engine::Color3B& pixel : map.pixels) tiles += pixel.r != 0 ? 1 : 0;
    if (tiles > map.pixels.size()) std::abort();
    return 0;
}
