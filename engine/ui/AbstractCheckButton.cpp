#include "engine/ui/AbstractCheckButton.h"

namespace engine::ui {

bool AbstractCheckButton::init() {
    if (!Widget::init()) return false;
    setTouchEnabled(true);
    return true;
}

void AbstractCheckButton::releaseUpEvent() {
    retain();
    fireTouchEvent(TouchEventType::ENDED);
    onTapped();
    fireClickEvent();
    release();
}

}  // namespace engine::ui
