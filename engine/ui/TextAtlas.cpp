#include "engine/ui/TextAtlas.h"

#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"

namespace engine::ui {

TextAtlas* TextAtlas::create() {
    auto* atlas = new TextAtlas;
    return autoreleased(atlas, atlas->init());
}

TextAtlas* TextAtlas::create(const std::string& stringValue, const std::string& charMapFile, int itemWidth,
                             int itemHeight, const std::string& startCharMap) {
    TextAtlas* atlas = create();
    if (atlas) atlas->setProperty(stringValue, charMapFile, itemWidth, itemHeight, startCharMap);
    return atlas;
}

TextAtlas::~TextAtlas() {
    if (_texture) _texture->release();
}

void TextAtlas::setProperty(const std::string& stringValue, const std::string& charMapFile, int itemWidth,
                            int itemHeight, const std::string& startCharMap) {
    _charMapFile = charMapFile;
    _itemWidth = itemWidth > 0 ? itemWidth : 0;
    _itemHeight = itemHeight > 0 ? itemHeight : 0;
    _startChar = startCharMap.empty() ? 0 : static_cast<unsigned char>(startCharMap[0]);
    Texture2D* texture = charMapFile.empty() ? nullptr : TextureCache::getInstance()->addImage(charMapFile);
    assignRetained(_texture, texture);
    setString(stringValue);
}

void TextAtlas::setString(const std::string& value) {
    _string = value;
    updateSize();
}

void TextAtlas::updateSize() {
    setContentSize(Size(static_cast<float>(_itemWidth) * static_cast<float>(_string.size()),
                        static_cast<float>(_itemHeight)));
}

bool TextAtlas::cellOf(char c, int* column, int* row) const {
    if (!_texture || _itemWidth <= 0 || _itemHeight <= 0) return false;
    const Size& size = _texture->getContentSize();
    const int columns = static_cast<int>(size.width) / _itemWidth;
    const int rows = static_cast<int>(size.height) / _itemHeight;
    const int index = static_cast<int>(static_cast<unsigned char>(c)) - static_cast<int>(_startChar);
    if (columns <= 0 || index < 0 || index >= columns * rows) return false;
    *column = index % columns;
    *row = index / columns;
    return true;
}

void TextAtlas::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    (void)flags;
    if (!_texture || _string.empty()) return;
    const Size& size = _texture->getContentSize();
    const Color3B tint = getDisplayedColor();
    const Color4B color{tint.r, tint.g, tint.b, getDisplayedOpacity()};
    _quad.init(getGlobalZOrder(), _texture, defaultQuadProgramState(), BlendFunc::ALPHA_PREMULTIPLIED);
    const float w = static_cast<float>(_itemWidth);
    const float h = static_cast<float>(_itemHeight);
    for (size_t i = 0; i < _string.size(); ++i) {
        int column = 0, row = 0;
        if (!cellOf(_string[i], &column, &row)) continue;
        const float u0 = static_cast<float>(column) * w / size.width;
        const float u1 = static_cast<float>(column + 1) * w / size.width;
        const float vTop = static_cast<float>(row) * h / size.height;
        const float vBottom = static_cast<float>(row + 1) * h / size.height;
        const float x = static_cast<float>(i) * w;
        _quad.addQuad(transform, Vec2(x, 0), Vec2(x + w, h), color, u0, vBottom, u1, vTop);
    }
    if (_quad.getQuadCount() > 0) renderer->addCommand(&_quad);
}

}  // namespace engine::ui
