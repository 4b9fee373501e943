#include "engine/label/TextFieldTTF.h"

#include "engine/label/Label.h"

namespace engine {

TextFieldTTF* TextFieldTTF::create() {
    auto* field = new TextFieldTTF;
    field->autorelease();
    return field;
}

void TextFieldTTF::insertText(const char* text, size_t length) {
    if (text && length) _content.append(text, length);
}

void TextFieldTTF::deleteBackward() {
    if (_content.empty()) return;
    size_t end = _content.size() - 1;
    // Back over continuation bytes to the code point's first byte.
    while (end > 0 && (static_cast<unsigned char>(_content[end]) & 0xC0) == 0x80) --end;
    _content.erase(end);
}

TextFieldTTF::~TextFieldTTF() {
    if (_renderer) _renderer->release();
}

void TextFieldTTF::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    if (_content.empty()) return;
    if (!_renderer) {
        _renderer = Label::create();
        if (!_renderer) return;
        _renderer->retain();
        _renderer->setAnchorPoint(Vec2(0, 0));
    }
    std::string shown;
    if (isTextHidden()) {
        for (char c : _content) {
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) shown += "\u2022";
        }
    } else {
        shown = _content;
    }
    // The label rasterises again only when what it shows changed.
    if (_renderer->getString() != shown) _renderer->setString(shown);
    if (!(_renderer->getTextColor() == _textColor)) _renderer->setTextColor(_textColor);
    _renderer->setColor(getDisplayedColor());
    _renderer->setOpacity(getDisplayedOpacity());
    _renderer->setGlobalZOrder(getGlobalZOrder());
    _renderer->visit(renderer, transform, flags);
}

}  // namespace engine
