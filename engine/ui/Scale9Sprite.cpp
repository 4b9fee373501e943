#include "engine/ui/Scale9Sprite.h"

#include <algorithm>

#include "engine/base/Log.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrameCache.h"

namespace engine::ui {

Scale9Sprite* Scale9Sprite::create() {
    auto* sprite = new Scale9Sprite;
    return autoreleased(sprite, sprite->initWithTexture(nullptr));
}

Scale9Sprite* Scale9Sprite::create(const std::string& file) {
    return createWithTexture(TextureCache::getInstance()->addImage(file));
}

Scale9Sprite* Scale9Sprite::createWithTexture(Texture2D* texture) {
    if (!texture) return nullptr;
    auto* sprite = new Scale9Sprite;
    return autoreleased(sprite, sprite->initWithTexture(texture));
}

Scale9Sprite* Scale9Sprite::createWithSpriteFrameName(const std::string& name) {
    SpriteFrame* frame = SpriteFrameCache::getInstance()->getSpriteFrameByName(name);
    if (!frame) {
        log("Scale9Sprite: no sprite frame named '%s'", name.c_str());
        return nullptr;
    }
    return createWithSpriteFrame(frame);
}

Scale9Sprite* Scale9Sprite::createWithSpriteFrame(SpriteFrame* frame) {
    if (!frame || !frame->getTexture()) return nullptr;
    auto* sprite = new Scale9Sprite;
    return autoreleased(sprite, sprite->initWithTexture(frame->getTexture(), frame->getRect()));
}

void Scale9Sprite::setSpriteFrame(SpriteFrame* frame) {
    if (!frame || !frame->getTexture()) return;
    const Size size = getContentSize();
    assignRetained(_texture, frame->getTexture());
    _textureRect = frame->getRect();
    _originalSize = _textureRect.size;
    setCapInsets(Rect());
    setContentSize(size);
}

void Scale9Sprite::setInsetLeft(float inset) {
    setCapInsets(Rect(inset, _capInsets.origin.y, _originalSize.width - inset - getInsetRight(), _capInsets.size.height));
}

void Scale9Sprite::setInsetRight(float inset) {
    setCapInsets(Rect(_capInsets.origin.x, _capInsets.origin.y, _originalSize.width - _capInsets.origin.x - inset,
                      _capInsets.size.height));
}

void Scale9Sprite::setInsetTop(float inset) {
    setCapInsets(Rect(_capInsets.origin.x, inset, _capInsets.size.width, _originalSize.height - inset - getInsetBottom()));
}

void Scale9Sprite::setInsetBottom(float inset) {
    setCapInsets(Rect(_capInsets.origin.x, _capInsets.origin.y, _capInsets.size.width,
                      _originalSize.height - _capInsets.origin.y - inset));
}

Scale9Sprite::~Scale9Sprite() {
    if (_texture) _texture->release();
}

bool Scale9Sprite::initWithTexture(Texture2D* texture) {
    Rect whole;
    if (texture) whole.size = texture->getContentSize();
    return initWithTexture(texture, whole);
}

bool Scale9Sprite::initWithTexture(Texture2D* texture, const Rect& rect) {
    setAnchorPoint(Vec2(0.5f, 0.5f));
    if (texture) {
        texture->retain();
        _texture = texture;
        _textureRect = rect;
        _originalSize = rect.size;
    }
    setContentSize(_originalSize);
    setCapInsets(Rect());
    return true;
}

void Scale9Sprite::setCapInsets(const Rect& insets) {
    const float w = _originalSize.width, h = _originalSize.height;
    if (insets == Rect()) {
        _capInsets = Rect(w / 3, h / 3, w / 3, h / 3);
        return;
    }
    const float x = std::clamp(insets.origin.x, 0.f, w);
    const float y = std::clamp(insets.origin.y, 0.f, h);
    _capInsets = Rect(x, y, std::clamp(insets.size.width, 0.f, w - x), std::clamp(insets.size.height, 0.f, h - y));
}

void Scale9Sprite::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    const Size& size = getContentSize();
    if (!_texture || size.width <= 0 || size.height <= 0 || _originalSize.width <= 0 || _originalSize.height <= 0 ||
        _texture->getPixelsWide() <= 0 || _texture->getPixelsHigh() <= 0)
        return;
    const float ow = _originalSize.width, oh = _originalSize.height;
    // Source cuts in image points, x from the left and y from the top.
    // Without nine slices the whole image is the centre: it stretches whole.
    const Rect insets = _scale9Enabled ? _capInsets : Rect(0, 0, ow, oh);
    const float sx[4] = {0, insets.origin.x, insets.origin.x + insets.size.width, ow};
    const float sy[4] = {0, insets.origin.y, insets.origin.y + insets.size.height, oh};
    const float leftW = sx[1], rightW = ow - sx[2], topH = sy[1], bottomH = oh - sy[2];
    const float fx = leftW + rightW > size.width ? size.width / (leftW + rightW) : 1.f;
    const float fy = topH + bottomH > size.height ? size.height / (topH + bottomH) : 1.f;
    // Destination cuts in node points: x from the left, rows from the top (top row first).
    const float dx[4] = {0, leftW * fx, size.width - rightW * fx, size.width};
    const float dy[4] = {size.height, size.height - topH * fy, bottomH * fy, 0};
    const float tw = static_cast<float>(_texture->getPixelsWide());
    const float th = static_cast<float>(_texture->getPixelsHigh());
    const bool premultiplied = _texture->hasPremultipliedAlpha();
    GLProgramState* state = getGLProgramState() ? getGLProgramState() : defaultQuadProgramState();
    _quad.init(getGlobalZOrder(), _texture, state,
               premultiplied ? BlendFunc::ALPHA_PREMULTIPLIED : BlendFunc::ALPHA_NON_PREMULTIPLIED);
    const Color4B color = quadColor(getDisplayedColor(), getDisplayedOpacity(), premultiplied);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (sx[col + 1] <= sx[col] || sy[row + 1] <= sy[row] || dx[col + 1] <= dx[col] || dy[row] <= dy[row + 1])
                continue;
            const float u0 = (_textureRect.origin.x + sx[col]) / tw, u1 = (_textureRect.origin.x + sx[col + 1]) / tw;
            const float vTop = (_textureRect.origin.y + sy[row]) / th;
            const float vBottom = (_textureRect.origin.y + sy[row + 1]) / th;
            _quad.addQuad(transform, Vec2(dx[col], dy[row + 1]), Vec2(dx[col + 1], dy[row]), color, u0, vBottom, u1,
                          vTop);
        }
    }
    renderer->addCommand(&_quad);
}

}  // namespace engine::ui
