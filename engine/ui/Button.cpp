#include "engine/ui/Button.h"

#include "engine/ui/WidgetImage.h"

namespace engine::ui {

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
    if (replaceWidgetImage(&_normal, file, type, "Button")) setContentSize(_normal->getContentSize());
}

void Button::loadTexturePressed(const std::string& file, TextureResType type) {
    if (!file.empty()) replaceWidgetImage(&_pressed, file, type, "Button");
}

void Button::loadTextureDisabled(const std::string& file, TextureResType type) {
    if (!file.empty()) replaceWidgetImage(&_disabled, file, type, "Button");
}

}  // namespace engine::ui
