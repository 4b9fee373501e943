#include "engine/scene/SpriteFrame.h"

#include "engine/renderer/TextureCache.h"

namespace engine {

SpriteFrame* SpriteFrame::createWithTexture(Texture2D* texture, const Rect& rect, bool rotated) {
    return createWithTexture(texture, rect, rotated, Vec2(), rect.size);
}

SpriteFrame* SpriteFrame::createWithTexture(Texture2D* texture, const Rect& rect, bool rotated, const Vec2& offset,
                                            const Size& originalSize) {
    if (!texture) return nullptr;
    auto* frame = new SpriteFrame;
    texture->retain();
    frame->_texture = texture;
    frame->_rect = rect;
    frame->_rotated = rotated;
    frame->_offset = offset;
    frame->_originalSize = originalSize;
    frame->autorelease();
    return frame;
}

SpriteFrame* SpriteFrame::clone() const {
    return createWithTexture(_texture, _rect, _rotated, _offset, _originalSize);
}

SpriteFrame* SpriteFrame::create(const std::string& filename, const Rect& rect) {
    return createWithTexture(TextureCache::getInstance()->addImage(filename), rect);
}

SpriteFrame::~SpriteFrame() {
    if (_texture) _texture->release();
}

}  // namespace engine
