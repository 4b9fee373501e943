#include "engine/tilemap/TileMapAtlas.h"

#include <cmath>

#include "engine/base/Data.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"

namespace engine {

namespace {

constexpr size_t kHeaderSize = 18;

}  // namespace

bool parseTileMapImage(std::string_view bytes, TileMapImage* out) {
    if (bytes.size() < kHeaderSize) return false;
    auto byte = [&bytes](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    const size_t idLength = byte(0);
    const uint8_t colourMapType = byte(1), type = byte(2);
    const int width = byte(12) | (byte(13) << 8);
    const int height = byte(14) | (byte(15) << 8);
    const int bits = byte(16);
    const bool topFirst = (byte(17) & 0x20) != 0;
    const bool grey = type == 3 || type == 11;
    const bool runs = type == 10 || type == 11;
    if (colourMapType != 0 || !(type == 2 || type == 3 || type == 10 || type == 11)) return false;
    if ((grey && bits != 8) || (!grey && bits != 24 && bits != 32)) return false;
    if (width <= 0 || height <= 0 || width > TileMapAtlas::kMaxSide || height > TileMapAtlas::kMaxSide) return false;
    const size_t pixelSize = static_cast<size_t>(bits / 8);
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    size_t at = kHeaderSize + idLength;
    std::vector<Color3B> pixels;
    pixels.reserve(count);
    auto readPixel = [&](Color3B* pixel) {
        if (at > bytes.size() || bytes.size() - at < pixelSize) return false;
        if (grey) {
            const uint8_t v = byte(at);
            *pixel = Color3B{v, v, v};
        } else {
            *pixel = Color3B{byte(at + 2), byte(at + 1), byte(at)};   // stored B, G, R
        }
        at += pixelSize;
        return true;
    };
    while (pixels.size() < count) {
        size_t repeat = 1;
        bool packet = false;
        if (runs) {
            if (at >= bytes.size()) return false;
            const uint8_t head = byte(at++);
            repeat = static_cast<size_t>(head & 0x7f) + 1;
            packet = (head & 0x80) != 0;
            if (repeat > count - pixels.size()) return false;
        }
        Color3B pixel;
        if (packet) {
            if (!readPixel(&pixel)) return false;
            pixels.insert(pixels.end(), repeat, pixel);
        } else {
            for (size_t i = 0; i < repeat; ++i) {
                if (!readPixel(&pixel)) return false;
                pixels.push_back(pixel);
            }
        }
    }
    if (topFirst) {
        // Rows top first: turn them to bottom first.
        for (int row = 0; row < height / 2; ++row) {
            std::swap_ranges(pixels.begin() + static_cast<ptrdiff_t>(row) * width,
                             pixels.begin() + static_cast<ptrdiff_t>(row + 1) * width,
                             pixels.begin() + static_cast<ptrdiff_t>(height - 1 - row) * width);
        }
    }
    out->width = width;
    out->height = height;
    out->pixels = std::move(pixels);
    return true;
}

TileMapAtlas* TileMapAtlas::create(const std::string& tile, const std::string& mapFile, int tileWidth,
                                   int tileHeight) {
    auto* atlas = new TileMapAtlas;
    if (!atlas->initWithFiles(tile, mapFile, tileWidth, tileHeight)) {
        delete atlas;
        return nullptr;
    }
    atlas->autorelease();
    return atlas;
}

bool TileMapAtlas::initWithFiles(const std::string& tile, const std::string& mapFile, int tileWidth, int tileHeight) {
    FileUtils* files = FileUtils::getInstance();
    const Data data = files->getDataFromFile(files->fullPathForFilename(mapFile));
    const std::string_view bytes(reinterpret_cast<const char*>(data.getBytes()), data.getSize());
    if (!parseTileMapImage(bytes, &_map)) {
        log("TileMapAtlas: %s is not a map image it can read", mapFile.c_str());
        return false;
    }
    if (!initWithTileFile(tile, tileWidth, tileHeight, 0)) return false;
    updateAtlasValues();
    return true;
}

bool TileMapAtlas::inside(const Vec2& position, int* x, int* y) const {
    if (!(position.x >= 0.f && position.y >= 0.f)) return false;
    *x = static_cast<int>(position.x);
    *y = static_cast<int>(position.y);
    return *x < _map.width && *y < _map.height;
}

Color3B TileMapAtlas::getTileAt(const Vec2& position) const {
    int x = 0, y = 0;
    if (!inside(position, &x, &y)) return Color3B{0, 0, 0};
    return _map.pixels[static_cast<size_t>(y) * static_cast<size_t>(_map.width) + static_cast<size_t>(x)];
}

void TileMapAtlas::setTile(const Color3B& tile, const Vec2& position) {
    int x = 0, y = 0;
    if (!inside(position, &x, &y)) return;
    _map.pixels[static_cast<size_t>(y) * static_cast<size_t>(_map.width) + static_cast<size_t>(x)] = tile;
    updateAtlasValues();
}

void TileMapAtlas::releaseMap() { _map = TileMapImage{}; }

void TileMapAtlas::updateAtlasValues() {
    TextureAtlas* atlas = getTextureAtlas();
    if (!atlas) return;
    int tiles = 0;
    for (const Color3B& pixel : _map.pixels) tiles += pixel.r != 0 ? 1 : 0;
    if (tiles > atlas->getCapacity()) atlas->resizeCapacity(tiles);
    atlas->removeAllQuads();
    int index = 0;
    for (int y = 0; y < _map.height; ++y) {
        for (int x = 0; x < _map.width; ++x) {
            const Color3B& pixel = _map.pixels[static_cast<size_t>(y) * static_cast<size_t>(_map.width) + static_cast<size_t>(x)];
            if (pixel.r == 0) continue;
            AtlasQuad quad;
            quad.bottomLeft = Vec2(static_cast<float>(x * _itemWidth), static_cast<float>(y * _itemHeight));
            quad.topRight = Vec2(static_cast<float>((x + 1) * _itemWidth), static_cast<float>((y + 1) * _itemHeight));
            itemTexCoords(pixel.r, &quad);
            atlas->updateQuad(quad, index++);
        }
    }
    setQuadsToDraw(index);
    setContentSize(Size(static_cast<float>(_map.width * _itemWidth), static_cast<float>(_map.height * _itemHeight)));
}

}  // namespace engine
