#include "engine/ui/AbstractCheckButton.h"

namespace engine::ui {

AbstractCheckButton::~AbstractCheckButton() {
    for (Image& image : _images) {
        if (image.renderer) image.renderer->release();
    }
}

bool AbstractCheckButton::init() {
    if (!Widget::init()) return false;
    setTouchEnabled(true);
    return true;
}

bool AbstractCheckButton::initWithImages(const std::string& backGround, const std::string& backGroundSelected,
                                         const std::string& cross, const std::string& backGroundDisabled,
                                         const std::string& frontCrossDisabled, TextureResType type) {
    if (!init()) return false;
    loadTextures(backGround, backGroundSelected, cross, backGroundDisabled, frontCrossDisabled, type);
    return true;
}

void AbstractCheckButton::loadTextures(const std::string& backGround, const std::string& backGroundSelected,
                                       const std::string& cross, const std::string& backGroundDisabled,
                                       const std::string& frontCrossDisabled, TextureResType type) {
    loadTextureBackGround(backGround, type);
    loadTextureBackGroundSelected(backGroundSelected, type);
    loadTextureFrontCross(cross, type);
    loadTextureBackGroundDisabled(backGroundDisabled, type);
    loadTextureFrontCrossDisabled(frontCrossDisabled, type);
}

void AbstractCheckButton::loadTextureBackGround(const std::string& file, TextureResType type) {
    load(BACKGROUND, file, type);
    if (!file.empty() && !_images[BACKGROUND].image.empty()) adaptToRendererSize();
}

void AbstractCheckButton::loadTextureBackGroundSelected(const std::string& file, TextureResType type) {
    load(BACKGROUND_SELECTED, file, type);
}

void AbstractCheckButton::loadTextureFrontCross(const std::string& file, TextureResType type) {
    load(CROSS, file, type);
}

void AbstractCheckButton::loadTextureBackGroundDisabled(const std::string& file, TextureResType type) {
    load(BACKGROUND_DISABLED, file, type);
}

void AbstractCheckButton::loadTextureFrontCrossDisabled(const std::string& file, TextureResType type) {
    load(CROSS_DISABLED, file, type);
}

void AbstractCheckButton::load(Slot slot, const std::string& file, TextureResType type) {
    Image& image = _images[slot];
    if (file.empty() || !image.image.load(file, type, "CheckBox")) return;
    if (image.renderer) image.renderer->release();
    image.renderer = image.image.newRenderer();
}

void AbstractCheckButton::releaseUpEvent() {
    retain();
    fireTouchEvent(TouchEventType::ENDED);
    onTapped();
    fireClickEvent();
    release();
}

Node* AbstractCheckButton::getVirtualRenderer() {
    Scale9Sprite* background = _images[BACKGROUND].renderer;
    return background ? static_cast<Node*>(background) : this;
}

void AbstractCheckButton::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    const Mat4 shown = imageTransform(transform, showsPressed() ? 1.f + _zoomScale : 1.f);
    Slot back = BACKGROUND;
    if (showsDisabled() && _images[BACKGROUND_DISABLED].renderer) back = BACKGROUND_DISABLED;
    if (showsPressed() && _images[BACKGROUND_SELECTED].renderer) back = BACKGROUND_SELECTED;
    drawImage(back, renderer, shown, flags);
    if (!_selected) return;
    drawImage(showsDisabled() && _images[CROSS_DISABLED].renderer ? CROSS_DISABLED : CROSS, renderer, shown, flags);
}

void AbstractCheckButton::drawImage(Slot slot, Renderer* renderer, const Mat4& transform, uint32_t flags) {
    Scale9Sprite* image = _images[slot].renderer;
    if (!image) return;
    const Size& original = image->getOriginalSize();
    image->setCapInsets(Rect(0, 0, original.width, original.height));
    image->setContentSize(getContentSize());
    image->setColor(getDisplayedColor());
    image->setOpacity(getDisplayedOpacity());
    image->setGlobalZOrder(getGlobalZOrder());
    image->visit(renderer, transform, flags);
}

void AbstractCheckButton::copySpecialProperties(Widget* model) {
    auto* button = dynamic_cast<AbstractCheckButton*>(model);
    if (!button) return;
    for (int slot = 0; slot < SLOTS; ++slot) {
        Image& image = _images[slot];
        image.image.assign(button->_images[slot].image);
        if (image.renderer) image.renderer->release();
        image.renderer = image.image.newRenderer();
    }
    _selected = button->_selected;
    _zoomScale = button->_zoomScale;
}

}  // namespace engine::ui
