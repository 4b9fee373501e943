#pragma once
// A node showing a rectangle of a texture. The sprite retains its texture; its
// content size is the size of the texture rectangle; its anchor is its centre.
// Images come through the texture cache, so a file is decoded once.
#include <string>

#include "engine/renderer/Texture2D.h"
#include "engine/renderer/RenderRecords.h"
#include "engine/scene/Node.h"

namespace engine {

class Sprite : public Node, public BlendProtocol {
public:
    // The blend function it draws with; alpha premultiplied by default.
    void setBlendFunc(const BlendFunc& blendFunc) override { _blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const override { return _blendFunc; }

    // An empty sprite: no texture, zero size.
    static Sprite* create();
    // The whole image / a rectangle of it; nullptr when the image cannot be read.
    static Sprite* create(const std::string& filename);
    static Sprite* create(const std::string& filename, const Rect& rect);
    // The whole texture / a rectangle of it; nullptr for a null texture.
    static Sprite* createWithTexture(Texture2D* texture);
    static Sprite* createWithTexture(Texture2D* texture, const Rect& rect, bool rotated = false);
    ~Sprite() override;

    // Retains the new texture and releases the old one; the rectangle becomes the
    // whole of the new texture (zero without one).
    void setTexture(Texture2D* texture);
    // Loads the image through the texture cache; a missing image leaves the sprite
    // as it was and logs.
    void setTexture(const std::string& filename);
    Texture2D* getTexture() const { return _texture; }
    // The rectangle in texture points; the content size follows it.
    void setTextureRect(const Rect& rect, bool rotated = false);
    const Rect& getTextureRect() const { return _rect; }
    bool isTextureRectRotated() const { return _rectRotated; }

    void setFlippedX(bool flipped) { _flippedX = flipped; }
    void setFlippedY(bool flipped) { _flippedY = flipped; }
    bool isFlippedX() const { return _flippedX; }
    bool isFlippedY() const { return _flippedY; }
    void setOpacityModifyRGB(bool modify) override { _opacityModifyRGB = modify; }
    bool isOpacityModifyRGB() const override { return _opacityModifyRGB; }

protected:
    Sprite() = default;
    bool initWithTexture(Texture2D* texture, const Rect& rect, bool rotated);

private:
    Texture2D* _texture = nullptr;
    Rect _rect;
    bool _rectRotated = false;
    bool _flippedX = false;
    bool _flippedY = false;
    bool _opacityModifyRGB = false;
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
};

}  // namespace engine
