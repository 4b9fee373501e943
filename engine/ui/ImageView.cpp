#include "engine/ui/ImageView.h"

#include "engine/ui/WidgetImage.h"

namespace engine::ui {

ImageView* ImageView::create() {
    auto* view = new ImageView;
    return autoreleased(view, view->init());
}

ImageView* ImageView::create(const std::string& file, TextureResType type) {
    ImageView* view = create();
    if (view) view->loadTexture(file, type);
    return view;
}

ImageView::~ImageView() {
    if (_texture) _texture->release();
    if (_renderer) _renderer->release();
}

void ImageView::loadTexture(const std::string& file, TextureResType type) {
    if (file.empty() || !replaceWidgetImage(&_texture, file, type, "ImageView")) return;
    if (_renderer) _renderer->release();
    _renderer = Scale9Sprite::createWithTexture(_texture);
    if (_renderer) {
        _renderer->retain();
        _renderer->setAnchorPoint(Vec2(0, 0));
    }
    setContentSize(_texture->getContentSize());
}

void ImageView::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    if (!_renderer) return;
    const Size& original = _renderer->getOriginalSize();
    _renderer->setCapInsets(_scale9Enabled ? _capInsets : Rect(0, 0, original.width, original.height));
    _renderer->setContentSize(getContentSize());
    _renderer->setColor(getDisplayedColor());
    _renderer->setOpacity(getDisplayedOpacity());
    _renderer->setGlobalZOrder(getGlobalZOrder());
    _renderer->visit(renderer, transform, flags);
}

}  // namespace engine::ui
