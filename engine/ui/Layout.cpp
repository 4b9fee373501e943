#include "engine/ui/Layout.h"

namespace engine::ui {

Layout* Layout::create() {
    auto* layout = new Layout;
    return autoreleased(layout, layout->init());
}

bool Layout::init() {
    if (!Widget::init()) return false;
    setAnchorPoint(Vec2(0, 0));
    return true;
}

Color4B Layout::getPaintedBackGround() const {
    if (_backGroundColorType == BackGroundColorType::NONE) return Color4B{0, 0, 0, 0};
    return Color4B{_backGroundColor.r, _backGroundColor.g, _backGroundColor.b, _backGroundColorOpacity};
}

}  // namespace engine::ui
