#pragma once
// A widget that shows one image over its content box (stretched whole, or cut
// in nine slices by the cap insets with scale9 enabled), in its displayed colour
// and opacity. Loading an image sets the content size to the image's. The image
// is a file or a sprite-sheet frame (WidgetImage).
#include <string>

#include "engine/renderer/Texture2D.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/Widget.h"
#include "engine/ui/WidgetImage.h"

namespace engine::ui {

class ImageView : public Widget {
public:
    static ImageView* create();   // autoreleased, no image
    static ImageView* create(const std::string& file, TextureResType type = TextureResType::LOCAL);
    ~ImageView() override;

    // A missing image logs and keeps the one there was.
    void loadTexture(const std::string& file, TextureResType type = TextureResType::LOCAL);
    Texture2D* getTexture() const { return _image.texture(); }
    // Shows only this rectangle of the image (image points, y down); the content
    // size becomes its size. Without an image, nothing.
    void setTextureRect(const Rect& rect);
    void setScale9Enabled(bool enabled) { _scale9Enabled = enabled; }
    bool isScale9Enabled() const { return _scale9Enabled; }
    void setCapInsets(const Rect& insets) { _capInsets = insets; }
    const Rect& getCapInsets() const { return _capInsets; }

    Node* getVirtualRenderer() override { return _renderer ? static_cast<Node*>(_renderer) : this; }
    Size getVirtualRendererSize() const override { return _rendererSize; }

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    Widget* createCloneInstance() override;
    void copySpecialProperties(Widget* model) override;
    ImageView() = default;

private:
    WidgetImage _image;
    Scale9Sprite* _renderer = nullptr;     // retained, not a child
    Size _rendererSize;
    bool _scale9Enabled = false;
    Rect _capInsets;
};

}  // namespace engine::ui
