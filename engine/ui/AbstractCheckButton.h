#pragma once
// The base of the two-state widgets (check boxes, radio buttons): a selected
// flag that a tap released inside turns over, after the touch listener heard the
// end and before the click listener runs. Touch-enabled from the start. What a
// turn means (and which event it sends) is the subclass's: onTapped().
//
// Images (files or sprite-sheet frames, WidgetImage): a background, drawn over the
// content box as the background-disabled image when not enabled, the
// background-selected one while pressed, else the plain one (a state without its
// image shows the plain one); over it, when selected, the front cross (its
// disabled image when not enabled, where there is one). Loading the background
// sets the content size to its size. An empty name leaves that image as it was.
#include <string>

#include "engine/ui/Widget.h"
#include "engine/ui/WidgetImage.h"

namespace engine::ui {

class AbstractCheckButton : public Widget {
public:
    ~AbstractCheckButton() override;

    // Sets the state without an event.
    void setSelected(bool selected) { _selected = selected; }
    bool isSelected() const { return _selected; }

    void loadTextures(const std::string& backGround, const std::string& backGroundSelected,
                      const std::string& cross, const std::string& backGroundDisabled,
                      const std::string& frontCrossDisabled, TextureResType type = TextureResType::LOCAL);
    void loadTextureBackGround(const std::string& file, TextureResType type = TextureResType::LOCAL);
    void loadTextureBackGroundSelected(const std::string& file, TextureResType type = TextureResType::LOCAL);
    void loadTextureFrontCross(const std::string& file, TextureResType type = TextureResType::LOCAL);
    void loadTextureBackGroundDisabled(const std::string& file, TextureResType type = TextureResType::LOCAL);
    void loadTextureFrontCrossDisabled(const std::string& file, TextureResType type = TextureResType::LOCAL);
    Texture2D* getBackGroundTexture() const { return _images[BACKGROUND].image.texture(); }
    Texture2D* getBackGroundSelectedTexture() const { return _images[BACKGROUND_SELECTED].image.texture(); }
    Texture2D* getFrontCrossTexture() const { return _images[CROSS].image.texture(); }
    Texture2D* getBackGroundDisabledTexture() const { return _images[BACKGROUND_DISABLED].image.texture(); }
    Texture2D* getFrontCrossDisabledTexture() const { return _images[CROSS_DISABLED].image.texture(); }
    // How much larger a pressed button is drawn (default 0.1; the images zoom about
    // the centre while pressed).
    void setZoomScale(float scale) { _zoomScale = scale; }
    float getZoomScale() const { return _zoomScale; }

    Node* getVirtualRenderer() override;
    Size getVirtualRendererSize() const override { return _images[BACKGROUND].image.size(); }
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    AbstractCheckButton() = default;
    bool init() override;
    // Loads the images of a create() with images.
    bool initWithImages(const std::string& backGround, const std::string& backGroundSelected,
                        const std::string& cross, const std::string& backGroundDisabled,
                        const std::string& frontCrossDisabled, TextureResType type);
    void copySpecialProperties(Widget* model) override;
    void releaseUpEvent() override;
    // A tap released inside: the subclass changes the state and reports it.
    virtual void onTapped() = 0;

private:
    enum Slot { BACKGROUND, BACKGROUND_SELECTED, CROSS, BACKGROUND_DISABLED, CROSS_DISABLED, SLOTS };
    struct Image {
        WidgetImage image;
        Scale9Sprite* renderer = nullptr;   // retained, not a child
    };
    void load(Slot slot, const std::string& file, TextureResType type);
    void drawImage(Slot slot, Renderer* renderer, const Mat4& transform, uint32_t flags);

    bool _selected = false;
    float _zoomScale = 0.1f;
    Image _images[SLOTS];
};

}  // namespace engine::ui
