#include "engine/3d/BillBoard.h"

#include <cmath>

#include "engine/renderer/TextureCache.h"

namespace engine {

BillBoard* BillBoard::create(Mode mode) {
    auto* board = new BillBoard;
    board->_mode = mode;
    return autoreleased(board, board->initWithTexture(nullptr, Rect(), false));
}

BillBoard* BillBoard::create(const std::string& filename, Mode mode) {
    Texture2D* texture = TextureCache::getInstance()->addImage(filename);
    return texture ? createWithTexture(texture, mode) : nullptr;
}

BillBoard* BillBoard::createWithTexture(Texture2D* texture, Mode mode) {
    if (!texture) return nullptr;
    auto* board = new BillBoard;
    board->_mode = mode;
    const Size& size = texture->getContentSize();
    return autoreleased(board, board->initWithTexture(texture, Rect(0, 0, size.width, size.height), false));
}

Mat4 BillBoard::facingTransform(const Mat4& transform) {
    Mat4 facing = Mat4::IDENTITY;
    // Each axis keeps its length (the scale); the directions become the view's own.
    for (int axis = 0; axis < 3; ++axis) {
        const float* column = transform.m + axis * 4;
        facing.m[axis * 5] = std::sqrt(column[0] * column[0] + column[1] * column[1] + column[2] * column[2]);
    }
    facing.m[12] = transform.m[12];
    facing.m[13] = transform.m[13];
    facing.m[14] = transform.m[14];
    return facing;
}

void BillBoard::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    Sprite::draw(renderer, facingTransform(transform), flags);
}

}  // namespace engine
