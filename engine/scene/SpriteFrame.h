#pragma once
// A named piece of a texture: the texture (retained) and the rectangle of it, in
// texture points. Sprites and nine-slice sprites can be made from one.
#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/renderer/Texture2D.h"

namespace engine {

class SpriteFrame : public Ref {
public:
    // Autoreleased; nullptr for a null texture.
    static SpriteFrame* createWithTexture(Texture2D* texture, const Rect& rect, bool rotated = false);
    ~SpriteFrame() override;

    Texture2D* getTexture() const { return _texture; }
    const Rect& getRect() const { return _rect; }
    bool isRotated() const { return _rotated; }

private:
    SpriteFrame() = default;

    Texture2D* _texture = nullptr;
    Rect _rect;
    bool _rotated = false;
};

}  // namespace engine
