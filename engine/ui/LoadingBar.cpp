#include "engine/ui/LoadingBar.h"

#include <algorithm>

#include "engine/renderer/Renderer.h"
#include "engine/ui/WidgetImage.h"

namespace engine::ui {

LoadingBar* LoadingBar::create() {
    auto* bar = new LoadingBar;
    return autoreleased(bar, bar->init());
}

LoadingBar* LoadingBar::create(const std::string& textureName, float percentage) {
    LoadingBar* bar = create();
    if (!bar) return nullptr;
    bar->loadTexture(textureName);
    bar->setPercent(percentage);
    return bar;
}

LoadingBar::~LoadingBar() {
    if (_texture) _texture->release();
}

void LoadingBar::loadTexture(const std::string& textureName, TextureResType type) {
    if (replaceWidgetImage(&_texture, textureName, type, "LoadingBar")) {
        setContentSize(_texture->getContentSize());
    }
}

void LoadingBar::setPercent(float percent) {
    _percent = std::clamp(percent, 0.f, 100.f);
}

void LoadingBar::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    const Size& size = getContentSize();
    const float shown = _percent / 100.f;
    if (!_texture || shown <= 0 || size.width <= 0 || size.height <= 0) return;
    const bool premultiplied = _texture->hasPremultipliedAlpha();
    GLProgramState* state = getGLProgramState() ? getGLProgramState() : defaultQuadProgramState();
    _quad.init(getGlobalZOrder(), _texture, state,
               premultiplied ? BlendFunc::ALPHA_PREMULTIPLIED : BlendFunc::ALPHA_NON_PREMULTIPLIED);
    const Color4B color = quadColor(getDisplayedColor(), getDisplayedOpacity(), premultiplied);
    if (_direction == Direction::LEFT) {
        _quad.addQuad(transform, Vec2(0, 0), Vec2(size.width * shown, size.height), color, 0, 1, shown, 0);
    } else {
        _quad.addQuad(transform, Vec2(size.width * (1 - shown), 0), Vec2(size.width, size.height), color, 1 - shown,
                      1, 1, 0);
    }
    renderer->addCommand(&_quad);
}

}  // namespace engine::ui
