#include "engine/ui/CheckBox.h"

#include <typeinfo>

namespace engine::ui {

CheckBox* CheckBox::create() {
    auto* box = new CheckBox;
    return autoreleased(box, box->init());
}

CheckBox* CheckBox::create(const std::string& backGround, const std::string& backGroundSelected,
                         const std::string& cross, const std::string& backGroundDisabled,
                         const std::string& frontCrossDisabled, TextureResType type) {
    auto* box = new CheckBox;
    return autoreleased(box, box->initWithImages(backGround, backGroundSelected, cross, backGroundDisabled,
                                                     frontCrossDisabled, type));
}

CheckBox* CheckBox::create(const std::string& backGround, const std::string& cross, TextureResType type) {
    return create(backGround, "", cross, "", "", type);
}

void CheckBox::onTapped() {
    setSelected(!isSelected());
    if (!_eventListener) return;
    const ccCheckBoxCallback listener = _eventListener;
    listener(this, isSelected() ? EventType::SELECTED : EventType::UNSELECTED);
}

Widget* CheckBox::createCloneInstance() { return typeid(*this) == typeid(CheckBox) ? CheckBox::create() : nullptr; }

void CheckBox::copySpecialProperties(Widget* model) {
    AbstractCheckButton::copySpecialProperties(model);
    if (auto* box = dynamic_cast<CheckBox*>(model)) _eventListener = box->_eventListener;
}

}  // namespace engine::ui
