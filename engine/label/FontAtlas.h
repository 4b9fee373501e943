#pragma once
// The glyph store of a font: texture pages (retained, by page number) and, per
// character code, where its glyph lies on a page and how it is placed. Labels
// look glyphs up here; a character without a definition is not drawn.
#include <cstdint>
#include <map>
#include <string>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class Texture2D;

struct FontLetterDefinition {
    float U = 0.f, V = 0.f;            // top-left of the glyph on its page, in pixels
    float width = 0.f, height = 0.f;
    float offsetX = 0.f, offsetY = 0.f;
    int textureID = 0;                 // the page
    bool validDefinition = false;
    int xAdvance = 0;
};

class FontAtlas : public Ref {
public:
    // Autoreleased, empty: no pages, no letters, line height 0.
    static FontAtlas* create(const std::string& fontName = "");
    ~FontAtlas() override;

    const std::string& getFontName() const { return _fontName; }
    void addLetterDefinition(char32_t letter, const FontLetterDefinition& definition);
    // False (out untouched) when the letter has no valid definition.
    bool getLetterDefinition(char32_t letter, FontLetterDefinition* out) const;
    size_t getLetterCount() const { return _letters.size(); }

    // Replaces (and lets go) the page's texture; null removes the page.
    void addTexture(Texture2D* texture, int slot);
    Texture2D* getTexture(int slot) const;
    size_t getTextureCount() const { return _textures.size(); }
    void purgeTexturesAtlas();

    float getLineHeight() const { return _lineHeight; }
    void setLineHeight(float height) { _lineHeight = height; }
    // Sampling of every page: nearest (alias) or linear (anti-alias).
    void setAliasTexParameters();
    void setAntiAliasTexParameters();
    bool isAntiAliased() const { return _antiAliased; }

private:
    FontAtlas() = default;
    void applyTexParameters(Texture2D* texture) const;

    std::string _fontName;
    std::map<char32_t, FontLetterDefinition> _letters;
    std::map<int, Texture2D*> _textures;
    float _lineHeight = 0.f;
    bool _antiAliased = true;
};

}  // namespace engine
