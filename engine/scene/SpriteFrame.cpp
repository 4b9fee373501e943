#include "engine/scene/SpriteFrame.h"

namespace engine {

SpriteFrame* SpriteFrame::createWithTexture(Texture2D* texture, const Rect& rect, bool rotated) {
    if (!texture) return nullptr;
    auto* frame = new SpriteFrame;
    texture->retain();
    frame->_texture = texture;
    frame->_rect = rect;
    frame->_rotated = rotated;
    frame->autorelease();
    return frame;
}

SpriteFrame::~SpriteFrame() {
    if (_texture) _texture->release();
}

}  // namespace engine
