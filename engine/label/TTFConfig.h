#pragma once
// How a TrueType label loads its font: file, size, glyph set, distance field and
// outline.
#include <cstdint>
#include <string>

namespace engine {

// Which glyphs the font atlas prepares.
enum class GlyphCollection : int32_t { DYNAMIC, NEHE, ASCII, CUSTOM };

struct TTFConfig {
    std::string fontFilePath;
    int32_t fontSize = 12;
    GlyphCollection glyphs = GlyphCollection::DYNAMIC;
    // The characters of a CUSTOM collection; borrowed, never owned by the record.
    const char* customGlyphs = nullptr;
    bool distanceFieldEnabled = false;
    int32_t outlineSize = 0;
};

}  // namespace engine
