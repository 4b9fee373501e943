#include "engine/ui/TextBMFont.h"

#include "engine/ui/TextLength.h"

namespace engine::ui {

TextBMFont* TextBMFont::create() {
    auto* text = new TextBMFont;
    return autoreleased(text, text->init());
}

TextBMFont* TextBMFont::create(const std::string& text, const std::string& fntFile) {
    TextBMFont* widget = create();
    if (!widget) return nullptr;
    widget->setFntFile(fntFile);
    widget->setString(text);
    return widget;
}

int TextBMFont::getStringLength() const { return static_cast<int>(utf8CodePointCount(getString())); }

}  // namespace engine::ui
