#pragma once
// Menu items shown as images: MenuItemSprite takes three nodes (normal,
// selected, disabled; the last two optional), MenuItemImage makes them as
// sprites from image files through the texture cache.
//
// The images are children placed on the item's box (anchored at their lower-left
// corner at the item's origin); the item takes the normal image's content size.
// One image shows at a time: the disabled one while disabled, the selected one
// while selected, else the normal one; a missing one falls back to the normal.
#include <string>

#include "engine/scene/MenuItem.h"

namespace engine {

class MenuItemSprite : public MenuItem {
public:
    // An item with those images (any may be null), autoreleased.
    static MenuItemSprite* create(Node* normal, Node* selected, Node* disabled = nullptr);

    // Each replaces its image (a null one removes it). A node that already has
    // another parent is refused with a log line.
    void setNormalImage(Node* image);
    Node* getNormalImage() const { return _normal; }
    void setSelectedImage(Node* image);
    Node* getSelectedImage() const { return _selectedImage; }
    void setDisabledImage(Node* image);
    Node* getDisabledImage() const { return _disabled; }

    void selected() override;
    void unselected() override;
    void setEnabled(bool enabled) override;

protected:
    MenuItemSprite() = default;
    bool initWithImages(Node* normal, Node* selected, Node* disabled);

private:
    void replaceImage(Node** slot, Node* image);
    void showCurrentImage();

    Node* _normal = nullptr;          // children
    Node* _selectedImage = nullptr;
    Node* _disabled = nullptr;
};

class MenuItemImage : public MenuItemSprite {
public:
    // An item without images.
    static MenuItemImage* create();
    // Images from files; an empty name gives no image of that kind, a file that
    // cannot be read is logged and gives none either.
    static MenuItemImage* create(const std::string& normal, const std::string& selected,
                                 const std::string& disabled = "");

protected:
    MenuItemImage() = default;
};

}  // namespace engine
