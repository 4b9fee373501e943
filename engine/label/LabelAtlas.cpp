#include "engine/label/LabelAtlas.h"

namespace engine {

LabelAtlas* LabelAtlas::create() {
    auto* label = new LabelAtlas;
    return autoreleased(label, label->init());
}

LabelAtlas* LabelAtlas::create(const std::string& text, const std::string& charMapFile, int itemWidth, int itemHeight,
                               int startCharMap) {
    auto* label = new LabelAtlas;
    if (!label->initWithString(text, charMapFile, itemWidth, itemHeight, startCharMap)) {
        delete label;
        return nullptr;
    }
    label->autorelease();
    return label;
}

bool LabelAtlas::initWithString(const std::string& text, const std::string& charMapFile, int itemWidth,
                                int itemHeight, int startCharMap) {
    if (!initWithTileFile(charMapFile, itemWidth, itemHeight, static_cast<int>(text.size()))) return false;
    _startChar = startCharMap;
    setString(text);
    return true;
}

void LabelAtlas::setString(const std::string& text) {
    _text = text;
    setContentSize(Size(static_cast<float>(text.size()) * static_cast<float>(_itemWidth), static_cast<float>(_itemHeight)));
    updateAtlasValues();
}

void LabelAtlas::updateAtlasValues() {
    TextureAtlas* atlas = getTextureAtlas();
    if (!atlas) return;
    const int length = static_cast<int>(_text.size());
    if (length > atlas->getCapacity()) atlas->resizeCapacity(length);
    atlas->removeAllQuads();
    const int cells = _itemsPerRow * _itemsPerColumn;
    for (int i = 0; i < length; ++i) {
        AtlasQuad quad;
        quad.bottomLeft = Vec2(static_cast<float>(i * _itemWidth), 0.f);
        quad.topRight = Vec2(static_cast<float>((i + 1) * _itemWidth), static_cast<float>(_itemHeight));
        const int index = static_cast<unsigned char>(_text[static_cast<size_t>(i)]) - _startChar;
        if (index >= 0 && index < cells) {
            itemTexCoords(index, &quad);
        } else {
            quad.color = Color4B{0, 0, 0, 0};   // no cell: room only
        }
        atlas->updateQuad(quad, i);
    }
    setQuadsToDraw(length);
}

}  // namespace engine
