#include "engine/ui/CheckBox.h"

namespace engine::ui {

CheckBox* CheckBox::create() {
    auto* box = new CheckBox;
    return autoreleased(box, box->init());
}

void CheckBox::onTapped() {
    setSelected(!isSelected());
    if (!_eventListener) return;
    const ccCheckBoxCallback listener = _eventListener;
    listener(this, isSelected() ? EventType::SELECTED : EventType::UNSELECTED);
}

}  // namespace engine::ui
