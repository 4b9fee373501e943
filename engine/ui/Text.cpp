#include "engine/ui/Text.h"

#include <typeinfo>

#include "engine/ui/TextLength.h"

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
    if (_shadow) _shadow->release();
}

bool Text::init() {
    if (!Widget::init()) return false;
    _renderer = Label::create();
    if (!_renderer) return false;
    _renderer->retain();
    adaptToRendererSize();
    return true;
}

void Text::setString(const std::string& text) {
    _renderer->setString(text);
    adaptToRendererSize();
}

size_t Text::getStringLength() const { return utf8CodePointCount(getString()); }

void Text::setFontSize(float size) {
    _renderer->setSystemFontSize(size);
    adaptToRendererSize();
}

void Text::setFontName(const std::string& name) {
    _renderer->setSystemFontName(name);
    const auto endsWith = [&name](const char* tail) {
        const std::string suffix(tail);
        return name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    _type = endsWith(".ttf") || endsWith(".otf") ? Type::TTF : Type::SYSTEM;
    adaptToRendererSize();
}

void Text::setTextAreaSize(const Size& size) {
    _renderer->setDimensions(size.width, size.height);
    adaptToRendererSize();
}

void Text::enableOutline(const Color4B& color, int outlineSize) {
    _outlineEnabled = outlineSize > 0;
    _renderer->enableOutline(color, outlineSize);
    if (!_outlineEnabled) applyGlow();
}

void Text::enableShadow(const Color4B& color, const Size& offset, int blurRadius) {
    _shadowEnabled = true;
    _shadowColor = color;
    _shadowOffset = offset;
    _shadowBlurRadius = blurRadius;
}

void Text::enableGlow(const Color4B& color) {
    _glowEnabled = true;
    _glowColor = color;
    applyGlow();
}

void Text::applyGlow() {
    if (_outlineEnabled) return;
    if (_glowEnabled) {
        _renderer->enableOutline(_glowColor, 1);
    } else {
        _renderer->disableOutline();
    }
}

void Text::disableEffect() {
    _shadowEnabled = _glowEnabled = _outlineEnabled = false;
    _renderer->disableOutline();
}

void Text::draw(Renderer* renderer, const Mat4& parentTransform, uint32_t flags) {
    if (_renderer->getString().empty()) return;
    const Mat4 transform = imageTransform(parentTransform, _touchScaleChange && showsPressed() ? 1.5f : 1.f);
    const Size& size = getContentSize();
    if (_shadowEnabled) {
        if (!_shadow) {
            _shadow = Label::create();
            if (_shadow) _shadow->retain();
        }
        if (_shadow) {
            _shadow->setSystemFontName(_renderer->getSystemFontName());
            _shadow->setSystemFontSize(_renderer->getSystemFontSize());
            _shadow->setDimensions(_renderer->getDimensions().width, _renderer->getDimensions().height);
            _shadow->setAlignment(_renderer->getHorizontalAlignment(), _renderer->getVerticalAlignment());
            _shadow->setString(_renderer->getString());
            _shadow->setTextColor(_shadowColor);
            _shadow->setOpacity(getDisplayedOpacity());
            _shadow->setPosition(size.width / 2 + _shadowOffset.width, size.height / 2 + _shadowOffset.height);
            _shadow->setGlobalZOrder(getGlobalZOrder());
            _shadow->visit(renderer, transform, flags);
        }
    }
    _renderer->setPosition(size.width / 2, size.height / 2);
    _renderer->setGlobalZOrder(getGlobalZOrder());
    _renderer->visit(renderer, transform, flags);
}

Widget* Text::createCloneInstance() { return typeid(*this) == typeid(Text) ? Text::create() : nullptr; }

void Text::copySpecialProperties(Widget* model) {
    auto* text = dynamic_cast<Text*>(model);
    if (!text) return;
    setFontName(text->getFontName());
    setFontSize(text->getFontSize());
    setTextAreaSize(text->getTextAreaSize());
    _renderer->setAlignment(text->getTextHorizontalAlignment(), text->getTextVerticalAlignment());
    setTextColor(text->getTextColor());
    setString(text->getString());
    if (text->_outlineEnabled) enableOutline(text->_renderer->getOutlineColor(), text->_renderer->getOutlineSize());
    if (text->_glowEnabled) enableGlow(text->_glowColor);
    if (text->_shadowEnabled) enableShadow(text->_shadowColor, text->_shadowOffset, text->_shadowBlurRadius);
    _touchScaleChange = text->_touchScaleChange;
}

}  // namespace engine::ui
