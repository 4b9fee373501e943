#include "engine/ui/ImageView.h"

#include <typeinfo>

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
    if (_renderer) _renderer->release();
}

void ImageView::loadTexture(const std::string& file, TextureResType type) {
    if (file.empty() || !_image.load(file, type, "ImageView")) return;
    if (_renderer) _renderer->release();
    _renderer = _image.newRenderer();
    _rendererSize = _image.size();
    adaptToRendererSize();
}

void ImageView::setTextureRect(const Rect& rect) {
    if (_image.empty()) return;
    const Rect& frame = _image.frame()->getRect();
    SpriteFrame* part = SpriteFrame::createWithTexture(
        _image.texture(), Rect(frame.origin.x + rect.origin.x, frame.origin.y + rect.origin.y, rect.size.width,
                               rect.size.height));
    Scale9Sprite* renderer = part ? Scale9Sprite::createWithSpriteFrame(part) : nullptr;
    if (!renderer) return;
    renderer->setAnchorPoint(Vec2(0, 0));
    assignRetained(_renderer, renderer);
    _rendererSize = rect.size;
    adaptToRendererSize();
}

void ImageView::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    if (!_renderer) return;
    const Size& original = _renderer->getOriginalSize();
    _renderer->setCapInsets(_scale9Enabled ? _capInsets : Rect(0, 0, original.width, original.height));
    _renderer->setContentSize(getContentSize());
    _renderer->setColor(getDisplayedColor());
    _renderer->setOpacity(getDisplayedOpacity());
    _renderer->setGlobalZOrder(getGlobalZOrder());
    _renderer->visit(renderer, imageTransform(transform), flags);
}

Widget* ImageView::createCloneInstance() { return typeid(*this) == typeid(ImageView) ? ImageView::create() : nullptr; }

void ImageView::copySpecialProperties(Widget* model) {
    auto* view = dynamic_cast<ImageView*>(model);
    if (!view) return;
    _image.assign(view->_image);
    Scale9Sprite* renderer = nullptr;
    if (view->_renderer) {
        SpriteFrame* shown =
            SpriteFrame::createWithTexture(view->_renderer->getTexture(), view->_renderer->getTextureRect());
        renderer = shown ? Scale9Sprite::createWithSpriteFrame(shown) : nullptr;
        if (renderer) renderer->setAnchorPoint(Vec2(0, 0));
    }
    assignRetained(_renderer, renderer);
    _rendererSize = view->_rendererSize;
    _scale9Enabled = view->_scale9Enabled;
    _capInsets = view->_capInsets;
}

}  // namespace engine::ui
