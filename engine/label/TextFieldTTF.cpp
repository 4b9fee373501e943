#include "engine/label/TextFieldTTF.h"

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

}  // namespace engine
