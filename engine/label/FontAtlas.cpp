#include "engine/label/FontAtlas.h"

#include "engine/renderer/Texture2D.h"

namespace engine {

namespace {
constexpr uint32_t kNearest = 0x2600, kLinear = 0x2601;
}

FontAtlas* FontAtlas::create(const std::string& fontName) {
    auto* atlas = new FontAtlas;
    atlas->_fontName = fontName;
    atlas->autorelease();
    return atlas;
}

FontAtlas::~FontAtlas() { purgeTexturesAtlas(); }

void FontAtlas::addLetterDefinition(char32_t letter, const FontLetterDefinition& definition) {
    _letters[letter] = definition;
}

bool FontAtlas::getLetterDefinition(char32_t letter, FontLetterDefinition* out) const {
    auto it = _letters.find(letter);
    if (it == _letters.end() || !it->second.validDefinition) return false;
    if (out) *out = it->second;
    return true;
}

void FontAtlas::addTexture(Texture2D* texture, int slot) {
    auto it = _textures.find(slot);
    if (it != _textures.end()) {
        if (it->second == texture) return;
        it->second->release();
        _textures.erase(it);
    }
    if (!texture) return;
    texture->retain();
    applyTexParameters(texture);
    _textures[slot] = texture;
}

Texture2D* FontAtlas::getTexture(int slot) const {
    auto it = _textures.find(slot);
    return it == _textures.end() ? nullptr : it->second;
}

void FontAtlas::purgeTexturesAtlas() {
    for (auto& [slot, texture] : _textures) texture->release();
    _textures.clear();
}

void FontAtlas::applyTexParameters(Texture2D* texture) const {
    Texture2D::_TexParams params = texture->getTexParameters();
    params.minFilter = params.magFilter = _antiAliased ? kLinear : kNearest;
    texture->setTexParameters(params);
}

void FontAtlas::setAliasTexParameters() {
    _antiAliased = false;
    for (auto& [slot, texture] : _textures) applyTexParameters(texture);
}

void FontAtlas::setAntiAliasTexParameters() {
    _antiAliased = true;
    for (auto& [slot, texture] : _textures) applyTexParameters(texture);
}

}  // namespace engine
