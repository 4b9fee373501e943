#pragma once
// A node showing a rectangle of a texture. The sprite retains its texture; its
// content size is the size of the texture rectangle; its anchor is its centre.
// Images come through the texture cache, so a file is decoded once.
// A sprite may carry a polygon info: the triangles of its image that hold
// pixels (see AutoPolygon). The sprite keeps it for whoever draws by triangles;
// it is itself drawn as one quad of the texture rectangle (flips swap its sides; a rotated
// rectangle lies turned a quarter clockwise in the texture) in the displayed
// colour and opacity, premultiplied when the texture's alpha is or the sprite
// asks for it; the blend function is the one set, else the one the texture's
// alpha calls for.
#include <string>

#include "engine/renderer/PolygonInfo.h"
#include "engine/renderer/QuadCommand.h"
#include "engine/renderer/RenderRecords.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Node.h"
#include "engine/scene/SpriteFrame.h"

namespace engine {

class Sprite : public Node, public BlendProtocol {
public:
    // An empty sprite: no texture, zero size.
    static Sprite* create();
    // The whole image / a rectangle of it; nullptr when the image cannot be read.
    static Sprite* create(const std::string& filename);
    static Sprite* create(const std::string& filename, const Rect& rect);
    // The whole texture / a rectangle of it; nullptr for a null texture.
    static Sprite* createWithTexture(Texture2D* texture);
    static Sprite* createWithTexture(Texture2D* texture, const Rect& rect, bool rotated = false);
    // Showing a frame; nullptr for a null frame / a name the frame cache lacks (logged).
    static Sprite* createWithSpriteFrame(SpriteFrame* frame);
    static Sprite* createWithSpriteFrameName(const std::string& name);
    // The image named by the info's file name, its rectangle the info's rect (the
    // whole image for an empty rect), keeping the info; nullptr when the image
    // cannot be read.
    static Sprite* create(const PolygonInfo& info);
    ~Sprite() override;

    // Shows the info's image and rectangle as create(info) does and keeps the
    // info; false (the sprite unchanged) when the image cannot be read.
    bool initWithPolygon(const PolygonInfo& info);
    // Replaces the polygon info; texture and rectangle stay.
    void setPolygonInfo(const PolygonInfo& info) { _polygonInfo = info; }
    const PolygonInfo& getPolygonInfo() const { return _polygonInfo; }

    // Shows the frame (retained): its texture and rectangle; the content size is
    // the frame's size before trimming. A null frame or an unknown name changes
    // nothing (the name is logged).
    void setSpriteFrame(SpriteFrame* frame);
    void setSpriteFrame(const std::string& name);
    // The frame last set while the texture and rectangle are still its own;
    // otherwise a new frame of the current texture and rectangle (nullptr
    // without a texture), autoreleased.
    SpriteFrame* getSpriteFrame() const;
    bool isFrameDisplayed(const SpriteFrame* frame) const;

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

    void setFlippedX(bool flipped) {
        _flippedX = flipped;
        _uvsDirty = true;
    }
    void setFlippedY(bool flipped) {
        _flippedY = flipped;
        _uvsDirty = true;
    }
    bool isFlippedX() const { return _flippedX; }
    bool isFlippedY() const { return _flippedY; }
    void setOpacityModifyRGB(bool modify) override { _opacityModifyRGB = modify; }
    bool isOpacityModifyRGB() const override { return _opacityModifyRGB; }
    void setBlendFunc(const BlendFunc& blendFunc) override {
        _blendFunc = blendFunc;
        _blendFuncSet = true;
    }
    const BlendFunc& getBlendFunc() const override;

    // The texture coordinates of the content box's corners (bottom-left,
    // bottom-right, top-left, top-right; u then v), flips and rotation applied;
    // false without a texture or rectangle to show.
    bool getQuadTexCoords(float (&uvs)[8]) const;
    // The colour bytes its quad is drawn in.
    Color4B getQuadColor() const;

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    Sprite() = default;
    bool initWithTexture(Texture2D* texture, const Rect& rect, bool rotated);

private:
    Texture2D* _texture = nullptr;
    SpriteFrame* _spriteFrame = nullptr;
    Rect _rect;
    bool _rectRotated = false;
    bool _flippedX = false;
    bool _flippedY = false;
    bool _opacityModifyRGB = false;
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
    bool _blendFuncSet = false;
    PolygonInfo _polygonInfo;
    // The kept quad. Texture coordinates are worked out again when the texture,
    // rectangle or flips changed, positions when the transform drawn with did, the
    // colour when the displayed one did.
    QuadCommand _quad;
    bool _uvsDirty = true;
    bool _hasQuad = false;     // a texture and rectangle to show
    bool _quadBuilt = false;   // _quad holds the quad of _uvs, _quadTransform and _quadColor
    float _uvs[8] = {};
    Mat4 _quadTransform;
    Color4B _quadColor;
};

}  // namespace engine
