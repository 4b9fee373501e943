#include "engine/scene/Sprite.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/base/Log.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrameCache.h"

namespace engine {

namespace {
Rect wholeOf(const Texture2D* texture) {
    if (!texture) return Rect();
    const Size& size = texture->getContentSize();
    return Rect(0, 0, size.width, size.height);
}
}  // namespace

Sprite* Sprite::create() {
    auto* sprite = new Sprite;
    return autoreleased(sprite, sprite->initWithTexture(nullptr, Rect(), false));
}

Sprite* Sprite::create(const std::string& filename) {
    Texture2D* texture = TextureCache::getInstance()->addImage(filename);
    if (!texture) return nullptr;
    return createWithTexture(texture);
}

Sprite* Sprite::create(const std::string& filename, const Rect& rect) {
    Texture2D* texture = TextureCache::getInstance()->addImage(filename);
    if (!texture) return nullptr;
    return createWithTexture(texture, rect);
}

Sprite* Sprite::createWithTexture(Texture2D* texture) {
    return createWithTexture(texture, wholeOf(texture));
}

Sprite* Sprite::createWithTexture(Texture2D* texture, const Rect& rect, bool rotated) {
    if (!texture) return nullptr;
    auto* sprite = new Sprite;
    return autoreleased(sprite, sprite->initWithTexture(texture, rect, rotated));
}

Sprite* Sprite::createWithSpriteFrame(SpriteFrame* frame) {
    if (!frame) return nullptr;
    Sprite* sprite = create();
    sprite->setSpriteFrame(frame);
    return sprite;
}

Sprite* Sprite::createWithSpriteFrameName(const std::string& name) {
    SpriteFrame* frame = SpriteFrameCache::getInstance()->getSpriteFrameByName(name);
    if (!frame) log("Sprite: no sprite frame '%s'", name.c_str());
    return createWithSpriteFrame(frame);
}

Sprite* Sprite::create(const PolygonInfo& info) {
    auto* sprite = new Sprite;
    return autoreleased(sprite, sprite->initWithPolygon(info));
}

bool Sprite::initWithPolygon(const PolygonInfo& info) {
    Texture2D* texture = TextureCache::getInstance()->addImage(info.filename);
    if (!texture) return false;
    const bool whole = info.rect.size.width <= 0 || info.rect.size.height <= 0;
    setTexture(texture);
    setTextureRect(whole ? wholeOf(texture) : info.rect);
    _polygonInfo = info;
    return true;
}

Sprite::~Sprite() {
    if (_spriteFrame) _spriteFrame->release();
    if (_texture) _texture->release();
}

void Sprite::setSpriteFrame(SpriteFrame* frame) {
    if (!frame) return;
    frame->retain();
    if (_spriteFrame) _spriteFrame->release();
    _spriteFrame = frame;
    setTexture(frame->getTexture());
    setTextureRect(frame->getRect(), frame->isRotated());
    const Size& original = frame->getOriginalSize();
    if (original.width > 0 || original.height > 0) setContentSize(original);
}

void Sprite::setSpriteFrame(const std::string& name) {
    SpriteFrame* frame = SpriteFrameCache::getInstance()->getSpriteFrameByName(name);
    if (!frame) {
        log("Sprite: no sprite frame '%s'", name.c_str());
        return;
    }
    setSpriteFrame(frame);
}

bool Sprite::isFrameDisplayed(const SpriteFrame* frame) const {
    return frame && frame->getTexture() == _texture && frame->getRect() == _rect && frame->isRotated() == _rectRotated;
}

SpriteFrame* Sprite::getSpriteFrame() const {
    if (_spriteFrame && isFrameDisplayed(_spriteFrame)) return _spriteFrame;
    return SpriteFrame::createWithTexture(_texture, _rect, _rectRotated);
}

bool Sprite::initWithTexture(Texture2D* texture, const Rect& rect, bool rotated) {
    setAnchorPoint(Vec2(0.5f, 0.5f));
    setTexture(texture);
    setTextureRect(rect, rotated);
    return true;
}

void Sprite::setTexture(Texture2D* texture) {
    if (texture == _texture) return;
    if (texture) texture->retain();
    if (_texture) _texture->release();
    _texture = texture;
    _uvsDirty = true;
    setTextureRect(wholeOf(texture));
}

void Sprite::setTexture(const std::string& filename) {
    Texture2D* texture = TextureCache::getInstance()->addImage(filename);
    if (!texture) {
        log("Sprite: cannot load image '%s'", filename.c_str());
        return;
    }
    setTexture(texture);
}

void Sprite::setTextureRect(const Rect& rect, bool rotated) {
    _rect = rect;
    _rectRotated = rotated;
    _uvsDirty = true;
    setContentSize(rect.size);
}

const BlendFunc& Sprite::getBlendFunc() const {
    if (_blendFuncSet) return _blendFunc;
    return _texture && !_texture->hasPremultipliedAlpha() ? BlendFunc::ALPHA_NON_PREMULTIPLIED
                                                          : BlendFunc::ALPHA_PREMULTIPLIED;
}

bool Sprite::getQuadTexCoords(float (&uvs)[8]) const {
    const float w = _rect.size.width, h = _rect.size.height;
    if (!_texture || w <= 0 || h <= 0 || _texture->getPixelsWide() <= 0 || _texture->getPixelsHigh() <= 0) return false;
    const float tw = static_cast<float>(_texture->getPixelsWide());
    const float th = static_cast<float>(_texture->getPixelsHigh());
    // The rectangle's sides in texture coordinates (v grows downwards).
    const float left = _rect.origin.x / tw, top = _rect.origin.y / th;
    const float right = (_rect.origin.x + (_rectRotated ? h : w)) / tw;
    const float bottom = (_rect.origin.y + (_rectRotated ? w : h)) / th;
    // Corners bottom-left, bottom-right, top-left, top-right.
    if (_rectRotated) {
        const float turned[8] = {left, top, left, bottom, right, top, right, bottom};
        std::copy(turned, turned + 8, uvs);
    } else {
        const float plain[8] = {left, bottom, right, bottom, left, top, right, top};
        std::copy(plain, plain + 8, uvs);
    }
    if (_flippedX) {
        for (int i : {0, 4}) {
            std::swap(uvs[i], uvs[i + 2]);
            std::swap(uvs[i + 1], uvs[i + 3]);
        }
    }
    if (_flippedY) {
        for (int i : {0, 2}) {
            std::swap(uvs[i], uvs[i + 4]);
            std::swap(uvs[i + 1], uvs[i + 5]);
        }
    }
    return true;
}

Color4B Sprite::getQuadColor() const {
    const bool premultiply = _opacityModifyRGB || (_texture && _texture->hasPremultipliedAlpha());
    return quadColor(getDisplayedColor(), getDisplayedOpacity(), premultiply);
}

void Sprite::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    if (_uvsDirty) {
        _uvsDirty = false;
        _hasQuad = getQuadTexCoords(_uvs);
        _quadBuilt = false;
    }
    if (!_hasQuad) return;
    const Color4B color = getQuadColor();
    if (!_quadBuilt || std::memcmp(transform.m, _quadTransform.m, sizeof(Mat4::m)) != 0) {
        _quad.clearQuads();
        _quad.addQuad(transform, Vec2(0, 0), Vec2(_rect.size.width, _rect.size.height), color, _uvs);
        _quadTransform = transform;
        _quadColor = color;
        _quadBuilt = true;
    } else if (!(color == _quadColor)) {
        _quad.setColor(color);
        _quadColor = color;
    }
    GLProgramState* state = getGLProgramState() ? getGLProgramState() : defaultQuadProgramState();
    _quad.setStyle(getGlobalZOrder(), _texture, state, getBlendFunc());
    renderer->addCommand(&_quad);
}

}  // namespace engine
