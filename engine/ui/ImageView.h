#pragma once
// A widget that shows one image over its content box (stretched whole, or cut
// in nine slices by the cap insets with scale9 enabled), in its displayed colour
// and opacity. Loading an image sets the content size to the image's.
#include <string>

#include "engine/renderer/Texture2D.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/Widget.h"

namespace engine::ui {

class ImageView : public Widget {
public:
    static ImageView* create();   // autoreleased, no image
    static ImageView* create(const std::string& file, TextureResType type = TextureResType::LOCAL);
    ~ImageView() override;

    // A missing image logs and keeps the one there was (see replaceWidgetImage).
    void loadTexture(const std::string& file, TextureResType type = TextureResType::LOCAL);
    Texture2D* getTexture() const { return _texture; }
    void setScale9Enabled(bool enabled) { _scale9Enabled = enabled; }
    bool isScale9Enabled() const { return _scale9Enabled; }
    void setCapInsets(const Rect& insets) { _capInsets = insets; }
    const Rect& getCapInsets() const { return _capInsets; }

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    ImageView() = default;

private:
    Texture2D* _texture = nullptr;         // retained
    Scale9Sprite* _renderer = nullptr;     // retained, not a child
    bool _scale9Enabled = false;
    Rect _capInsets;
};

}  // namespace engine::ui
