#pragma once
// A named piece of a texture: the texture (retained) and the rectangle of it, in
// texture points, whether it is stored turned a quarter clockwise, and for a
// trimmed frame its offset and the size it had before trimming (the rectangle's
// size when not trimmed). Sprites and nine-slice sprites can be made from one.
#include <string>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/renderer/Texture2D.h"

namespace engine {

class SpriteFrame : public Ref {
public:
    // Autoreleased; nullptr for a null texture.
    static SpriteFrame* createWithTexture(Texture2D* texture, const Rect& rect, bool rotated = false);
    static SpriteFrame* createWithTexture(Texture2D* texture, const Rect& rect, bool rotated, const Vec2& offset,
                                          const Size& originalSize);
    // A rectangle of an image loaded through the texture cache; nullptr when the
    // image cannot be read.
    static SpriteFrame* create(const std::string& filename, const Rect& rect);
    ~SpriteFrame() override;

    // A frame of the same texture (retained by both) and settings, autoreleased.
    SpriteFrame* clone() const;

    // Sprites made from the frame later see a change; those made before keep what
    // they took. A null texture is refused.
    Texture2D* getTexture() const { return _texture; }
    void setTexture(Texture2D* texture) {
        if (texture) assignRetained(_texture, texture);
    }
    const Rect& getRect() const { return _rect; }
    void setRect(const Rect& rect) { _rect = rect; }
    bool isRotated() const { return _rotated; }
    void setRotated(bool rotated) { _rotated = rotated; }
    const Vec2& getOffset() const { return _offset; }
    void setOffset(const Vec2& offset) { _offset = offset; }
    const Size& getOriginalSize() const { return _originalSize; }
    void setOriginalSize(const Size& size) { _originalSize = size; }
    // Texture points are texture pixels here (textures are never rescaled), so
    // these are the values above.
    const Rect& getRectInPixels() const { return _rect; }
    const Size& getOriginalSizeInPixels() const { return _originalSize; }

private:
    SpriteFrame() = default;

    Texture2D* _texture = nullptr;
    Rect _rect;
    bool _rotated = false;
    Vec2 _offset;
    Size _originalSize;
};

}  // namespace engine
