#pragma once
// A push button: normal, pressed and disabled images, and a title. The content size
// is the normal image's size (zero without one). Touch-enabled from the start, so
// simulateClick() reaches its click listener. The title is a label the button keeps
// for itself (not one of its children), centred on the button.
//
// Drawn: the image of its state (disabled when not enabled, pressed while
// highlighted; the normal image where that state has none) over the content box,
// in the button's displayed colour and opacity: stretched whole, or with scale9
// enabled cut by the cap insets into nine slices (Scale9Sprite); then the title
// over it, rasterised as any label. With the pressed action enabled, a pressed
// button draws its image and title zoomed about the centre by 1 + the zoom scale.
// Images are files or sprite-sheet frames (WidgetImage).
#include <string>

#include "engine/label/Label.h"
#include "engine/renderer/Texture2D.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/Widget.h"
#include "engine/ui/WidgetImage.h"

namespace engine::ui {

class Button : public Widget {
public:
    static Button* create();
    static Button* create(const std::string& normalImage, const std::string& selectedImage = "",
                          const std::string& disableImage = "", TextureResType type = TextureResType::LOCAL);
    ~Button() override;

    // Each image is loaded when named; a missing one logs and leaves that image as it
    // was, an empty name leaves none.
    void loadTextures(const std::string& normal, const std::string& selected, const std::string& disabled,
                      TextureResType type = TextureResType::LOCAL);
    void loadTextureNormal(const std::string& file, TextureResType type = TextureResType::LOCAL);
    void loadTexturePressed(const std::string& file, TextureResType type = TextureResType::LOCAL);
    void loadTextureDisabled(const std::string& file, TextureResType type = TextureResType::LOCAL);
    Texture2D* getNormalTexture() const { return _normal.texture(); }
    Texture2D* getPressedTexture() const { return _pressed.texture(); }
    Texture2D* getDisabledTexture() const { return _disabled.texture(); }
    // The normal image's size (zero without one).
    Size getNormalTextureSize() const { return _normal.size(); }
    // Each state's drawing (nullptr before its image is loaded).
    Scale9Sprite* getRendererNormal() const { return _normalRenderer; }
    Scale9Sprite* getRendererClicked() const { return _pressedRenderer; }
    Scale9Sprite* getRendererDisabled() const { return _disabledRenderer; }

    void setTitleText(const std::string& text) { _title->setString(text); }
    const std::string& getTitleText() const { return _title->getString(); }
    void setTitleFontSize(float size) { _title->setSystemFontSize(size); }
    float getTitleFontSize() const { return _title->getSystemFontSize(); }
    void setTitleFontName(const std::string& name) { _title->setSystemFontName(name); }
    void setTitleColor(const Color3B& color) { _title->setColor(color); }
    const Color3B& getTitleColor() const { return _title->getColor(); }
    Label* getTitleRenderer() const { return _title; }
    Label* getTitleLabel() const { return _title; }
    // Replaces the title label (retained; null keeps the current one).
    void setTitleLabel(Label* label);
    void setTitleAlignment(TextHAlignment hAlignment) { _title->setHorizontalAlignment(hAlignment); }
    void setTitleAlignment(TextHAlignment hAlignment, TextVAlignment vAlignment) {
        _title->setAlignment(hAlignment, vAlignment);
    }

    // Whether a pressed button zooms (default off), and by how much (default 0.1).
    void setPressedActionEnabled(bool enabled) { _pressedActionEnabled = enabled; }
    bool isPressedActionEnabled() const { return _pressedActionEnabled; }
    void setZoomScale(float scale) { _zoomScale = scale; }
    float getZoomScale() const { return _zoomScale; }

    void setContentSize(const Size& size) override;
    // The image of the state shown (the button itself before one is loaded); the
    // normal image's size.
    Node* getVirtualRenderer() override;
    Size getVirtualRendererSize() const override { return _normal.size(); }

    void setScale9Enabled(bool enabled) { _scale9Enabled = enabled; }
    bool isScale9Enabled() const { return _scale9Enabled; }
    // The centre slice in image points (a zero rectangle: the middle third), for
    // every state at once or one state's image.
    void setCapInsets(const Rect& insets) { _normalInsets = _pressedInsets = _disabledInsets = insets; }
    const Rect& getCapInsets() const { return _normalInsets; }
    void setCapInsetsNormalRenderer(const Rect& insets) { _normalInsets = insets; }
    void setCapInsetsPressedRenderer(const Rect& insets) { _pressedInsets = insets; }
    void setCapInsetsDisabledRenderer(const Rect& insets) { _disabledInsets = insets; }
    const Rect& getCapInsetsNormalRenderer() const { return _normalInsets; }
    const Rect& getCapInsetsPressedRenderer() const { return _pressedInsets; }
    const Rect& getCapInsetsDisabledRenderer() const { return _disabledInsets; }

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    Widget* createCloneInstance() override;
    void copySpecialProperties(Widget* model) override;
    Button() = default;
    bool init() override;

private:
    WidgetImage _normal;
    WidgetImage _pressed;
    WidgetImage _disabled;
    Label* _title = nullptr;
    // The images' drawing, one per loaded image, kept by the button (not children).
    Scale9Sprite* _normalRenderer = nullptr;
    Scale9Sprite* _pressedRenderer = nullptr;
    Scale9Sprite* _disabledRenderer = nullptr;
    bool _scale9Enabled = false;
    bool _pressedActionEnabled = false;
    float _zoomScale = 0.1f;
    Rect _normalInsets;
    Rect _pressedInsets;
    Rect _disabledInsets;
};

}  // namespace engine::ui
