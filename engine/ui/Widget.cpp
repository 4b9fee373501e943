#include "engine/ui/Widget.h"

namespace engine::ui {

Widget* Widget::create() {
    auto* widget = new Widget;
    return autoreleased(widget, widget->init());
}

bool Widget::init() {
    setAnchorPoint(Vec2(0.5f, 0.5f));
    return true;
}

bool Widget::simulateClick() {
    if (!_enabled || !_touchEnabled || !_clickListener) return false;
    for (const Node* node = this; node; node = node->getParent()) {
        if (!node->isVisible()) return false;
    }
    retain();
    const ccWidgetClickCallback listener = _clickListener;
    listener(this);
    release();
    return true;
}

}  // namespace engine::ui
