#include "engine/ui/LoadingBar.h"

#include <algorithm>

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

}  // namespace engine::ui
