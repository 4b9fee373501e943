#include "engine/ui/Button.h"

#include "engine/ui/WidgetImage.h"

namespace engine::ui {

namespace {

// The renderer of an image slot after a load: a new one for the slot's texture.
void renew(Scale9Sprite*& renderer, Texture2D* texture) {
    if (renderer) renderer->release();
    renderer = Scale9Sprite::createWithTexture(texture);
    if (!renderer) return;
    renderer->retain();
    renderer->setAnchorPoint(Vec2(0, 0));
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
    for (Texture2D* texture : {_normal, _pressed, _disabled}) {
        if (texture) texture->release();
    }
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

void Button::loadTextures(const std::string& normal, const std::string& selected, const std::string& disabled,
                          TextureResType type) {
    loadTextureNormal(normal, type);
    loadTexturePressed(selected, type);
    loadTextureDisabled(disabled, type);
}

void Button::loadTextureNormal(const std::string& file, TextureResType type) {
    if (file.empty()) return;
    if (!replaceWidgetImage(&_normal, file, type, "Button")) return;
    renew(_normalRenderer, _normal);
    setContentSize(_normal->getContentSize());
}

void Button::loadTexturePressed(const std::string& file, TextureResType type) {
    if (!file.empty() && replaceWidgetImage(&_pressed, file, type, "Button")) renew(_pressedRenderer, _pressed);
}

void Button::loadTextureDisabled(const std::string& file, TextureResType type) {
    if (!file.empty() && replaceWidgetImage(&_disabled, file, type, "Button")) renew(_disabledRenderer, _disabled);
}

void Button::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    Scale9Sprite* image = _normalRenderer;
    if (!isEnabled() && _disabledRenderer) image = _disabledRenderer;
    if (isEnabled() && isHighlighted() && _pressedRenderer) image = _pressedRenderer;
    if (image) {
        const Size& original = image->getOriginalSize();
        image->setCapInsets(_scale9Enabled ? _capInsets : Rect(0, 0, original.width, original.height));
        image->setContentSize(getContentSize());
        image->setColor(getDisplayedColor());
        image->setOpacity(getDisplayedOpacity());
        image->setGlobalZOrder(getGlobalZOrder());
        image->visit(renderer, transform, flags);
    }
    if (!_title->getString().empty()) {
        _title->setGlobalZOrder(getGlobalZOrder());
        _title->visit(renderer, transform, flags);
    }
}

}  // namespace engine::ui
