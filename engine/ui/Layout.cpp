#include "engine/ui/Layout.h"

#include <algorithm>
#include <typeinfo>

#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/ClippingRectangleNode.h"
#include "engine/scene/Layer.h"
#include "engine/ui/WidgetImage.h"

namespace engine::ui {

namespace {

// The window pixels that the box (0, 0) .. size under `transform` covers.
Rect clipRectInPixels(const Mat4& transform, const Size& size) {
    return windowRectOf(transform, Rect(0, 0, size.width, size.height));
}

template <typename T>
void drop(T*& node) {
    if (node) node->release();
    node = nullptr;
}

}  // namespace

Layout* Layout::create() {
    auto* layout = new Layout;
    return autoreleased(layout, layout->init());
}

Layout::~Layout() {
    drop(_colorRenderer);
    drop(_gradientRenderer);
    drop(_imageRenderer);
}

bool Layout::init() {
    if (!Widget::init()) return false;
    setAnchorPoint(Vec2(0, 0));
    return true;
}

Color4B Layout::getPaintedBackGround() const {
    if (_backGroundColorType != BackGroundColorType::SOLID) return Color4B{0, 0, 0, 0};
    return Color4B{_backGroundColor.r, _backGroundColor.g, _backGroundColor.b, _backGroundColorOpacity};
}

void Layout::setBackGroundImage(const std::string& file, TextureResType type) {
    if (!_backGroundImage.load(file, type, "Layout") && !file.empty()) return;
    drop(_imageRenderer);
    _imageRenderer = _backGroundImage.newRenderer();
}

void Layout::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!isVisible()) return;
    forceDoLayout();
    const Mat4 transform = parentTransform * getNodeToParentTransform();
    if (_clippingEnabled) {
        const Rect clip = clipRectInPixels(transform, getContentSize());
        _beginClip.init(getGlobalZOrder());
        _beginClip.func = [renderer, clip] {
            renderer->pushScissor(clip.origin.x, clip.origin.y, clip.size.width, clip.size.height);
        };
        renderer->addCommand(&_beginClip);
    }
    visitBackGround(renderer, transform, parentFlags);
    Widget::visit(renderer, parentTransform, parentFlags);
    if (_clippingEnabled) {
        _endClip.init(getGlobalZOrder());
        _endClip.func = [renderer] { renderer->popScissor(); };
        renderer->addCommand(&_endClip);
    }
}

void Layout::visitBackGround(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    const Size& size = getContentSize();
    LayerColor* colour = nullptr;
    if (_backGroundColorType == BackGroundColorType::SOLID) {
        if (!_colorRenderer) {
            _colorRenderer = LayerColor::create();
            _colorRenderer->retain();
        }
        _colorRenderer->setColor(_backGroundColor);
        colour = _colorRenderer;
    } else if (_backGroundColorType == BackGroundColorType::GRADIENT) {
        if (!_gradientRenderer) {
            _gradientRenderer = LayerGradient::create();
            _gradientRenderer->retain();
        }
        _gradientRenderer->setStartColor(_gradientStart);
        _gradientRenderer->setEndColor(_gradientEnd);
        _gradientRenderer->setVector(_gradientVector);
        colour = _gradientRenderer;
    }
    const uint8_t opacity = getDisplayedOpacity();
    if (colour) {
        colour->setContentSize(size);
        colour->setOpacity(static_cast<uint8_t>((_backGroundColorOpacity * opacity + 127) / 255));
        colour->setGlobalZOrder(getGlobalZOrder());
        colour->visit(renderer, transform, flags);
    }
    if (_imageRenderer) {
        const Size& original = _imageRenderer->getOriginalSize();
        if (_backGroundImageScale9Enabled) {
            _imageRenderer->setCapInsets(_backGroundImageCapInsets);
            _imageRenderer->setContentSize(size);
        } else {
            _imageRenderer->setCapInsets(Rect(0, 0, original.width, original.height));
            _imageRenderer->setContentSize(original);
        }
        const Size& shown = _imageRenderer->getContentSize();
        _imageRenderer->setPosition((size.width - shown.width) / 2, (size.height - shown.height) / 2);
        const Color3B& tint = getDisplayedColor();
        _imageRenderer->setColor(Color3B{static_cast<uint8_t>(tint.r * _backGroundImageColor.r / 255),
                                         static_cast<uint8_t>(tint.g * _backGroundImageColor.g / 255),
                                         static_cast<uint8_t>(tint.b * _backGroundImageColor.b / 255)});
        _imageRenderer->setOpacity(static_cast<uint8_t>((_backGroundImageOpacity * opacity + 127) / 255));
        _imageRenderer->setGlobalZOrder(getGlobalZOrder());
        _imageRenderer->visit(renderer, transform, flags);
    }
}

Widget* Layout::createCloneInstance() { return typeid(*this) == typeid(Layout) ? Layout::create() : nullptr; }

void Layout::copySpecialProperties(Widget* model) {
    auto* layout = dynamic_cast<Layout*>(model);
    if (!layout) return;
    _layoutType = layout->_layoutType;
    _backGroundColorType = layout->_backGroundColorType;
    _backGroundColor = layout->_backGroundColor;
    _gradientStart = layout->_gradientStart;
    _gradientEnd = layout->_gradientEnd;
    _gradientVector = layout->_gradientVector;
    _backGroundColorOpacity = layout->_backGroundColorOpacity;
    _clippingEnabled = layout->_clippingEnabled;
    _clippingType = layout->_clippingType;
    _loopFocus = layout->_loopFocus;
    _passFocusToChild = layout->_passFocusToChild;
    _backGroundImage.assign(layout->_backGroundImage);
    drop(_imageRenderer);
    _imageRenderer = _backGroundImage.newRenderer();
    _backGroundImageScale9Enabled = layout->_backGroundImageScale9Enabled;
    _backGroundImageCapInsets = layout->_backGroundImageCapInsets;
    _backGroundImageColor = layout->_backGroundImageColor;
    _backGroundImageOpacity = layout->_backGroundImageOpacity;
}

}  // namespace engine::ui
