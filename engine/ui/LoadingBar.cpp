#include "engine/ui/LoadingBar.h"

#include <algorithm>
#include <typeinfo>

#include "engine/renderer/Renderer.h"

namespace engine::ui {

LoadingBar* LoadingBar::create() {
    auto* bar = new LoadingBar;
    return autoreleased(bar, bar->init());
}

LoadingBar* LoadingBar::create(const std::string& textureName, float percentage) {
    return create(textureName, TextureResType::LOCAL, percentage);
}

LoadingBar* LoadingBar::create(const std::string& textureName, TextureResType type, float percentage) {
    LoadingBar* bar = create();
    if (!bar) return nullptr;
    bar->loadTexture(textureName, type);
    bar->setPercent(percentage);
    return bar;
}

LoadingBar::~LoadingBar() {
    if (_renderer) _renderer->release();
}

void LoadingBar::loadTexture(const std::string& textureName, TextureResType type) {
    if (!_image.load(textureName, type, "LoadingBar")) return;
    if (_renderer) _renderer->release();
    _renderer = _image.newRenderer();
    adaptToRendererSize();
}

void LoadingBar::setPercent(float percent) {
    _percent = std::clamp(percent, 0.f, 100.f);
}

void LoadingBar::draw(Renderer* renderer, const Mat4& parentTransform, uint32_t flags) {
    const Mat4 transform = imageTransform(parentTransform);
    const Size& size = getContentSize();
    const float shown = _percent / 100.f;
    Texture2D* texture = _image.texture();
    if (!texture || shown <= 0 || size.width <= 0 || size.height <= 0) return;
    if (_scale9Enabled && _renderer) {
        _renderer->setCapInsets(_capInsets);
        _renderer->setContentSize(Size(size.width * shown, size.height));
        _renderer->setPosition(_direction == Direction::LEFT ? 0.f : size.width * (1 - shown), 0.f);
        _renderer->setColor(getDisplayedColor());
        _renderer->setOpacity(getDisplayedOpacity());
        _renderer->setGlobalZOrder(getGlobalZOrder());
        _renderer->visit(renderer, transform, flags);
        return;
    }
    float left, top, right, bottom;
    _image.textureCoordinates(left, top, right, bottom);
    const float cut = left + (right - left) * (_direction == Direction::LEFT ? shown : 1 - shown);
    const bool premultiplied = texture->hasPremultipliedAlpha();
    GLProgramState* state = getGLProgramState() ? getGLProgramState() : defaultQuadProgramState();
    _quad.init(getGlobalZOrder(), texture, state,
               premultiplied ? BlendFunc::ALPHA_PREMULTIPLIED : BlendFunc::ALPHA_NON_PREMULTIPLIED);
    const Color4B color = quadColor(getDisplayedColor(), getDisplayedOpacity(), premultiplied);
    if (_direction == Direction::LEFT) {
        _quad.addQuad(transform, Vec2(0, 0), Vec2(size.width * shown, size.height), color, left, bottom, cut, top);
    } else {
        _quad.addQuad(transform, Vec2(size.width * (1 - shown), 0), Vec2(size.width, size.height), color, cut,
                      bottom, right, top);
    }
    renderer->addCommand(&_quad);
}

Widget* LoadingBar::createCloneInstance() { return typeid(*this) == typeid(LoadingBar) ? LoadingBar::create() : nullptr; }

void LoadingBar::copySpecialProperties(Widget* model) {
    auto* bar = dynamic_cast<LoadingBar*>(model);
    if (!bar) return;
    _image.assign(bar->_image);
    if (_renderer) _renderer->release();
    _renderer = _image.newRenderer();
    _percent = bar->_percent;
    _direction = bar->_direction;
    _scale9Enabled = bar->_scale9Enabled;
    _capInsets = bar->_capInsets;
}

}  // namespace engine::ui
