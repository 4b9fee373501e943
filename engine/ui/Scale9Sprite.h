#pragma once
// A nine-slice sprite: an image cut by its cap insets into corners that keep their
// size, edges that stretch along one axis and a centre that stretches along both,
// laid out at the content size (the preferred size). Drawn as up to nine quads of
// its texture in the displayed colour and opacity; when the content size is
// smaller than the corners, the corners shrink to share it.
#include <string>

#include "engine/renderer/QuadCommand.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Node.h"
#include "engine/scene/SpriteFrame.h"

namespace engine::ui {

class Scale9Sprite : public Node {
public:
    // An empty one: no image, zero sizes.
    static Scale9Sprite* create();
    // The whole image, the content size its size, the default insets; nullptr when
    // the image cannot be read.
    static Scale9Sprite* create(const std::string& file);
    // The whole of a texture (retained), as create(file) does; nullptr without one.
    static Scale9Sprite* createWithTexture(Texture2D* texture);
    // The same from a frame of the sprite-frame cache (its rectangle of the
    // texture); nullptr, with a log line, when no frame has that name.
    static Scale9Sprite* createWithSpriteFrameName(const std::string& name);
    // The same from a frame (its texture and rectangle); nullptr without one.
    static Scale9Sprite* createWithSpriteFrame(SpriteFrame* frame);
    ~Scale9Sprite() override;

    Texture2D* getTexture() const { return _texture; }
    // The part of the texture sliced: the whole of it, or the frame's rectangle.
    const Rect& getTextureRect() const { return _textureRect; }
    // The image's own size.
    const Size& getOriginalSize() const { return _originalSize; }
    // The centre slice in image points. A zero rectangle selects the default, the
    // middle third in each direction; any other is cut to the image (a slice never
    // reaches outside it nor has a negative side).
    void setCapInsets(const Rect& insets);
    const Rect& getCapInsets() const { return _capInsets; }
    // One side of the centre slice at a time: its distance from that edge of the
    // image (y down: top is the upper edge).
    void setInsetLeft(float inset);
    void setInsetRight(float inset);
    void setInsetTop(float inset);
    void setInsetBottom(float inset);
    float getInsetLeft() const { return _capInsets.origin.x; }
    float getInsetTop() const { return _capInsets.origin.y; }
    float getInsetRight() const { return _originalSize.width - _capInsets.origin.x - _capInsets.size.width; }
    float getInsetBottom() const { return _originalSize.height - _capInsets.origin.y - _capInsets.size.height; }
    // Off: the image stretches whole over the content size (default on).
    void setScale9Enabled(bool enabled) { _scale9Enabled = enabled; }
    bool isScale9Enabled() const { return _scale9Enabled; }
    // Shows this frame instead (the content size stays; insets back to the default).
    void setSpriteFrame(SpriteFrame* frame);
    void setPreferredSize(const Size& size) { setContentSize(size); }
    const Size& getPreferredSize() const { return getContentSize(); }
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    Scale9Sprite() = default;
    bool initWithTexture(Texture2D* texture);
    bool initWithTexture(Texture2D* texture, const Rect& rect);

private:
    Texture2D* _texture = nullptr;
    Rect _textureRect;
    Size _originalSize;
    Rect _capInsets;
    bool _scale9Enabled = true;
    QuadCommand _quad;
};

}  // namespace engine::ui
