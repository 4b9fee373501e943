#include "engine/ui/WidgetImage.h"

#include "engine/base/Log.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrameCache.h"

namespace engine::ui {

bool WidgetImage::load(const std::string& file, TextureResType type, const char* owner) {
    if (file.empty()) {
        clear();
        return false;
    }
    SpriteFrame* frame = nullptr;
    if (type == TextureResType::PLIST) {
        frame = SpriteFrameCache::getInstance()->getSpriteFrameByName(file);
    } else if (Texture2D* texture = TextureCache::getInstance()->addImage(file)) {
        frame = SpriteFrame::createWithTexture(texture, Rect(0, 0, texture->getContentSize().width, texture->getContentSize().height));
    }
    if (!frame) {
        log("%s: cannot load image '%s'", owner, file.c_str());
        return false;
    }
    assignRetained(_frame, frame);
    return true;
}

void WidgetImage::clear() { assignRetained(_frame, nullptr); }

void WidgetImage::textureCoordinates(float& left, float& top, float& right, float& bottom) const {
    left = top = 0;
    right = bottom = 1;
    Texture2D* texture = this->texture();
    if (!texture) return;
    const Size whole = texture->getContentSize();
    if (whole.width <= 0 || whole.height <= 0) return;
    const Rect& rect = _frame->getRect();
    left = rect.origin.x / whole.width;
    top = rect.origin.y / whole.height;
    right = (rect.origin.x + rect.size.width) / whole.width;
    bottom = (rect.origin.y + rect.size.height) / whole.height;
}

Scale9Sprite* WidgetImage::newRenderer() const {
    Scale9Sprite* renderer = _frame ? Scale9Sprite::createWithSpriteFrame(_frame) : nullptr;
    if (!renderer) return nullptr;
    renderer->retain();
    renderer->setAnchorPoint(Vec2(0, 0));
    return renderer;
}

}  // namespace engine::ui
