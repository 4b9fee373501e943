#include "engine/ui/Text.h"

namespace engine::ui {

Text* Text::create() {
    auto* text = new Text;
    return autoreleased(text, text->init());
}

Text* Text::create(const std::string& text, const std::string& fontName, float fontSize) {
    Text* widget = create();
    if (!widget) return nullptr;
    widget->setFontName(fontName);
    widget->setFontSize(fontSize);
    widget->setString(text);
    return widget;
}

Text::~Text() {
    if (_renderer) _renderer->release();
}

bool Text::init() {
    if (!Widget::init()) return false;
    _renderer = Label::create();
    if (!_renderer) return false;
    _renderer->retain();
    setContentSize(_renderer->getContentSize());
    return true;
}

void Text::setString(const std::string& text) {
    _renderer->setString(text);
    setContentSize(_renderer->getContentSize());
}

void Text::setFontSize(float size) {
    _renderer->setSystemFontSize(size);
    setContentSize(_renderer->getContentSize());
}

void Text::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    if (_renderer->getString().empty()) return;
    const Size& size = getContentSize();
    _renderer->setPosition(size.width / 2, size.height / 2);
    _renderer->setGlobalZOrder(getGlobalZOrder());
    _renderer->visit(renderer, transform, flags);
}

}  // namespace engine::ui
