#include "engine/ui/RadioButton.h"

#include <algorithm>

#include <typeinfo>

namespace engine::ui {

RadioButton* RadioButton::create() {
    auto* button = new RadioButton;
    return autoreleased(button, button->init());
}

RadioButton* RadioButton::create(const std::string& backGround, const std::string& backGroundSelected,
                         const std::string& cross, const std::string& backGroundDisabled,
                         const std::string& frontCrossDisabled, TextureResType type) {
    auto* button = new RadioButton;
    return autoreleased(button, button->initWithImages(backGround, backGroundSelected, cross, backGroundDisabled,
                                                     frontCrossDisabled, type));
}

RadioButton* RadioButton::create(const std::string& backGround, const std::string& cross, TextureResType type) {
    return create(backGround, "", cross, "", "", type);
}

RadioButton::~RadioButton() = default;   // a group retains its buttons: none is in one here

void RadioButton::changeState(bool selected) {
    if (isSelected() == selected) return;
    setSelected(selected);
    if (!_eventListener) return;
    retain();
    const ccRadioButtonCallback listener = _eventListener;
    listener(this, selected ? EventType::SELECTED : EventType::UNSELECTED);
    release();
}

void RadioButton::onTapped() {
    if (isSelected()) return;
    if (_group) {
        _group->select(this, true);
    } else {
        changeState(true);
    }
}

RadioButtonGroup* RadioButtonGroup::create() {
    auto* group = new RadioButtonGroup;
    return autoreleased(group, group->init());
}

RadioButtonGroup::~RadioButtonGroup() { removeAllRadioButtons(); }

void RadioButtonGroup::addRadioButton(RadioButton* button) {
    if (!button || button->_group == this) return;
    if (button->_group) button->_group->removeRadioButton(button);
    button->retain();
    button->_group = this;
    _buttons.push_back(button);
    if (button->isSelected()) {
        select(button, false);
    } else if (!_allowedNoSelection && !_selected) {
        select(button, false);
    }
}

void RadioButtonGroup::removeRadioButton(RadioButton* button) {
    const auto found = std::find(_buttons.begin(), _buttons.end(), button);
    if (found == _buttons.end()) return;
    _buttons.erase(found);
    if (_selected == button) _selected = nullptr;
    button->_group = nullptr;
    button->release();
    if (!_selected && !_allowedNoSelection && !_buttons.empty()) select(_buttons.front(), false);
}

void RadioButtonGroup::removeAllRadioButtons() {
    while (!_buttons.empty()) {
        RadioButton* button = _buttons.back();
        _buttons.pop_back();
        button->_group = nullptr;
        button->release();
    }
    _selected = nullptr;
}

RadioButton* RadioButtonGroup::getRadioButtonByIndex(int index) const {
    return index >= 0 && index < getNumberOfRadioButtons() ? _buttons[static_cast<size_t>(index)] : nullptr;
}

int RadioButtonGroup::getSelectedButtonIndex() const {
    const auto found = std::find(_buttons.begin(), _buttons.end(), _selected);
    return found == _buttons.end() ? -1 : static_cast<int>(found - _buttons.begin());
}

void RadioButtonGroup::setSelectedButton(RadioButton* button) { select(button, true); }
void RadioButtonGroup::setSelectedButton(int index) { select(getRadioButtonByIndex(index), true); }
void RadioButtonGroup::setSelectedButtonWithoutEvent(RadioButton* button) { select(button, false); }
void RadioButtonGroup::setSelectedButtonWithoutEvent(int index) { select(getRadioButtonByIndex(index), false); }

void RadioButtonGroup::select(RadioButton* button, bool withEvent) {
    if (button && button->_group != this) return;
    if (!button && !_allowedNoSelection) return;
    if (button == _selected) return;
    retain();   // listeners may drop the group
    RadioButton* previous = _selected;
    _selected = button;
    if (withEvent) {
        if (previous) previous->changeState(false);
        if (button) button->changeState(true);
    } else {
        if (previous) previous->setSelected(false);
        if (button) button->setSelected(true);
    }
    if (withEvent && button && _selected == button && _eventListener) {
        const ccRadioButtonGroupCallback listener = _eventListener;
        listener(button, getSelectedButtonIndex(), EventType::SELECT_CHANGED);
    }
    release();
}

Widget* RadioButton::createCloneInstance() { return typeid(*this) == typeid(RadioButton) ? RadioButton::create() : nullptr; }

void RadioButton::copySpecialProperties(Widget* model) {
    AbstractCheckButton::copySpecialProperties(model);
    if (auto* button = dynamic_cast<RadioButton*>(model)) _eventListener = button->_eventListener;
}

}  // namespace engine::ui
