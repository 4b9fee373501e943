#include "engine/ui/Scale9Sprite.h"

#include <algorithm>

#include "engine/base/Log.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrameCache.h"

namespace engine::ui {

Scale9Sprite* Scale9Sprite::create() {
    auto* sprite = new Scale9Sprite;
    return autoreleased(sprite, sprite->initWithTexture(nullptr));
}

Scale9Sprite* Scale9Sprite::create(const std::string& file) {
    Texture2D* texture = TextureCache::getInstance()->addImage(file);
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
    auto* sprite = new Scale9Sprite;
    return autoreleased(sprite, sprite->initWithTexture(frame->getTexture(), frame->getRect()));
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

}  // namespace engine::ui
