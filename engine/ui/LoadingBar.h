#pragma once
// A progress bar widget: an image shown from one side up to a percentage. Drawn
// as one quad: the bar image over the content box, cut at the percentage from the
// left (direction LEFT) or from the right (RIGHT). With scale9 enabled the shown
// part is instead the whole image laid out in nine slices (cap insets) over the
// shown width. The image is a file or a sprite-sheet frame (WidgetImage).
#include <string>

#include "engine/renderer/QuadCommand.h"
#include "engine/renderer/Texture2D.h"
#include "engine/ui/Widget.h"
#include "engine/ui/WidgetImage.h"

namespace engine::ui {

class LoadingBar : public Widget {
public:
    // Numbered as scripts see them.
    enum class Direction { LEFT = 0, RIGHT = 1 };

    static LoadingBar* create();
    // With the bar image and a starting percentage.
    static LoadingBar* create(const std::string& textureName, float percentage = 0.f);
    static LoadingBar* create(const std::string& textureName, TextureResType type, float percentage = 0.f);
    ~LoadingBar() override;

    // The bar image; the content size becomes its size. A missing image keeps the
    // previous one and logs.
    void loadTexture(const std::string& textureName, TextureResType type = TextureResType::LOCAL);
    Texture2D* getTexture() const { return _image.texture(); }
    // Clamped to 0..100.
    void setPercent(float percent);
    float getPercent() const { return _percent; }
    void setDirection(Direction direction) { _direction = direction; }
    Direction getDirection() const { return _direction; }
    void setScale9Enabled(bool enabled) { _scale9Enabled = enabled; }
    bool isScale9Enabled() const { return _scale9Enabled; }
    // The centre slice in image points (a zero rectangle: the middle third).
    void setCapInsets(const Rect& insets) { _capInsets = insets; }
    const Rect& getCapInsets() const { return _capInsets; }
    Node* getVirtualRenderer() override { return _renderer ? static_cast<Node*>(_renderer) : this; }
    Size getVirtualRendererSize() const override { return _image.size(); }
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    Widget* createCloneInstance() override;
    void copySpecialProperties(Widget* model) override;
    LoadingBar() = default;

private:
    WidgetImage _image;
    Scale9Sprite* _renderer = nullptr;   // retained, for scale9 drawing
    float _percent = 0.f;
    Direction _direction = Direction::LEFT;
    bool _scale9Enabled = false;
    Rect _capInsets;
    QuadCommand _quad;
};

}  // namespace engine::ui
