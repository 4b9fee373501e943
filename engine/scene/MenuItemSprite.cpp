#include "engine/scene/MenuItemSprite.h"

#include "engine/base/Log.h"
#include "engine/scene/Sprite.h"

namespace engine {

MenuItemSprite* MenuItemSprite::create(Node* normal, Node* selected, Node* disabled) {
    auto* item = new MenuItemSprite;
    return autoreleased(item, item->initWithImages(normal, selected, disabled));
}

bool MenuItemSprite::initWithImages(Node* normal, Node* selected, Node* disabled) {
    if (!MenuItem::init()) return false;
    setNormalImage(normal);
    setSelectedImage(selected);
    setDisabledImage(disabled);
    return true;
}

void MenuItemSprite::replaceImage(Node** slot, Node* image) {
    if (image == *slot) return;
    if (image && image->getParent()) {
        log("MenuItemSprite: the image already has a parent");
        return;
    }
    if (*slot) removeChild(*slot, true);
    *slot = image;
    if (image) {
        image->setAnchorPoint(Vec2(0, 0));
        image->setPosition(0, 0);
        addChild(image);
    }
    showCurrentImage();
}

void MenuItemSprite::setNormalImage(Node* image) {
    replaceImage(&_normal, image);
    if (_normal == image) setContentSize(image ? image->getContentSize() : Size());
}

void MenuItemSprite::setSelectedImage(Node* image) { replaceImage(&_selectedImage, image); }
void MenuItemSprite::setDisabledImage(Node* image) { replaceImage(&_disabled, image); }

void MenuItemSprite::selected() {
    MenuItem::selected();
    showCurrentImage();
}

void MenuItemSprite::unselected() {
    MenuItem::unselected();
    showCurrentImage();
}

void MenuItemSprite::setEnabled(bool enabled) {
    MenuItem::setEnabled(enabled);
    showCurrentImage();
}

void MenuItemSprite::showCurrentImage() {
    Node* shown = _normal;
    if (!isEnabled() && _disabled) {
        shown = _disabled;
    } else if (isEnabled() && isSelected() && _selectedImage) {
        shown = _selectedImage;
    }
    for (Node* image : {_normal, _selectedImage, _disabled}) {
        if (image) image->setVisible(image == shown);
    }
}

MenuItemImage* MenuItemImage::create() {
    auto* item = new MenuItemImage;
    return autoreleased(item, item->initWithImages(nullptr, nullptr, nullptr));
}

MenuItemImage* MenuItemImage::create(const std::string& normal, const std::string& selected,
                                     const std::string& disabled) {
    auto image = [](const std::string& file) -> Node* { return file.empty() ? nullptr : Sprite::create(file); };
    auto* item = new MenuItemImage;
    return autoreleased(item, item->initWithImages(image(normal), image(selected), image(disabled)));
}

}  // namespace engine
