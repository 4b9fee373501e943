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
// over it, rasterised as any label.
#include <string>

#include "engine/label/Label.h"
#include "engine/renderer/Texture2D.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/Widget.h"

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
    Texture2D* getNormalTexture() const { return _normal; }
    Texture2D* getPressedTexture() const { return _pressed; }
    Texture2D* getDisabledTexture() const { return _disabled; }

    void setTitleText(const std::string& text) { _title->setString(text); }
    const std::string& getTitleText() const { return _title->getString(); }
    void setTitleFontSize(float size) { _title->setSystemFontSize(size); }
    float getTitleFontSize() const { return _title->getSystemFontSize(); }
    void setTitleFontName(const std::string& name) { _title->setSystemFontName(name); }
    void setTitleColor(const Color3B& color) { _title->setColor(color); }
    const Color3B& getTitleColor() const { return _title->getColor(); }
    Label* getTitleRenderer() const { return _title; }

    void setContentSize(const Size& size) override;

    void setScale9Enabled(bool enabled) { _scale9Enabled = enabled; }
    bool isScale9Enabled() const { return _scale9Enabled; }
    // The centre slice in image points (a zero rectangle: the middle third).
    void setCapInsets(const Rect& insets) { _capInsets = insets; }
    const Rect& getCapInsets() const { return _capInsets; }

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    Button() = default;
    bool init() override;

private:
    Texture2D* _normal = nullptr;
    Texture2D* _pressed = nullptr;
    Texture2D* _disabled = nullptr;
    Label* _title = nullptr;
    // The images' drawing, one per loaded image, kept by the button (not children).
    Scale9Sprite* _normalRenderer = nullptr;
    Scale9Sprite* _pressedRenderer = nullptr;
    Scale9Sprite* _disabledRenderer = nullptr;
    bool _scale9Enabled = false;
    Rect _capInsets;
};

}  // namespace engine::ui
