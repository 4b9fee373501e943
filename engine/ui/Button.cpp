#include "engine/ui/Button.h"

#include <typeinfo>

namespace engine::ui {

namespace {

// The renderer of an image slot after a load: a new one for the slot's image.
void renew(Scale9Sprite*& renderer, const WidgetImage& image) {
    if (renderer) renderer->release();
    renderer = image.newRenderer();
}

}  // namespace

Button* Button::create() {
    auto* button = new Button;
    return autoreleased(button, button->init());
}

Button* Button::create(const std::string& normalImage, const std::string& selectedImage,
                       const std::string& disableImage, TextureResType type) {
    Button* button = create();
    if (button) button->loadTextures(normalImage, selectedImage, disableImage, type);
    return button;
}

Button::~Button() {
    for (Scale9Sprite* renderer : {_normalRenderer, _pressedRenderer, _disabledRenderer}) {
        if (renderer) renderer->release();
    }
    if (_title) _title->release();
}

bool Button::init() {
    if (!Widget::init()) return false;
    _title = Label::create();
    if (!_title) return false;
    _title->retain();
    setTouchEnabled(true);
    return true;
}

void Button::setContentSize(const Size& size) {
    Widget::setContentSize(size);
    if (_title) _title->setPosition(size.width * 0.5f, size.height * 0.5f);
}

Node* Button::getVirtualRenderer() {
    if (showsDisabled() && _disabledRenderer) return _disabledRenderer;
    if (showsPressed() && _pressedRenderer) return _pressedRenderer;
    return _normalRenderer ? static_cast<Node*>(_normalRenderer) : this;
}

void Button::setTitleLabel(Label* label) {
    if (!label) return;
    assignRetained(_title, label);
    const Size& size = getContentSize();
    _title->setPosition(size.width * 0.5f, size.height * 0.5f);
}

void Button::loadTextures(const std::string& normal, const std::string& selected, const std::string& disabled,
                          TextureResType type) {
    loadTextureNormal(normal, type);
    loadTexturePressed(selected, type);
    loadTextureDisabled(disabled, type);
}

void Button::loadTextureNormal(const std::string& file, TextureResType type) {
    if (file.empty() || !_normal.load(file, type, "Button")) return;
    renew(_normalRenderer, _normal);
    adaptToRendererSize();
}

void Button::loadTexturePressed(const std::string& file, TextureResType type) {
    if (!file.empty() && _pressed.load(file, type, "Button")) renew(_pressedRenderer, _pressed);
}

void Button::loadTextureDisabled(const std::string& file, TextureResType type) {
    if (!file.empty() && _disabled.load(file, type, "Button")) renew(_disabledRenderer, _disabled);
}

void Button::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    Scale9Sprite* image = _normalRenderer;
    const Rect* insets = &_normalInsets;
    if (showsDisabled() && _disabledRenderer) {
        image = _disabledRenderer;
        insets = &_disabledInsets;
    }
    if (showsPressed() && _pressedRenderer) {
        image = _pressedRenderer;
        insets = &_pressedInsets;
    }
    const Mat4 shown = imageTransform(transform, _pressedActionEnabled && showsPressed() ? 1.f + _zoomScale : 1.f);
    if (image) {
        const Size& original = image->getOriginalSize();
        image->setCapInsets(_scale9Enabled ? *insets : Rect(0, 0, original.width, original.height));
        image->setContentSize(getContentSize());
        image->setColor(getDisplayedColor());
        image->setOpacity(getDisplayedOpacity());
        image->setGlobalZOrder(getGlobalZOrder());
        image->visit(renderer, shown, flags);
    }
    if (!_title->getString().empty()) {
        _title->setGlobalZOrder(getGlobalZOrder());
        _title->visit(renderer, shown, flags);
    }
}

Widget* Button::createCloneInstance() { return typeid(*this) == typeid(Button) ? Button::create() : nullptr; }

void Button::copySpecialProperties(Widget* model) {
    auto* button = dynamic_cast<Button*>(model);
    if (!button) return;
    _normal.assign(button->_normal);
    _pressed.assign(button->_pressed);
    _disabled.assign(button->_disabled);
    renew(_normalRenderer, _normal);
    renew(_pressedRenderer, _pressed);
    renew(_disabledRenderer, _disabled);
    _title->setString(button->_title->getString());
    _title->setSystemFontName(button->_title->getSystemFontName());
    _title->setSystemFontSize(button->_title->getSystemFontSize());
    _title->setColor(button->_title->getColor());
    _scale9Enabled = button->_scale9Enabled;
    _pressedActionEnabled = button->_pressedActionEnabled;
    _zoomScale = button->_zoomScale;
    _normalInsets = button->_normalInsets;
    _pressedInsets = button->_pressedInsets;
    _disabledInsets = button->_disabledInsets;
}

}  // namespace engine::ui
