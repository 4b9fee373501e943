#include "engine/scene/MenuItemToggle.h"

#include "engine/base/Log.h"

namespace engine {

MenuItemToggle* MenuItemToggle::create() {
    auto* item = new MenuItemToggle;
    return autoreleased(item, item->init());
}

void MenuItemToggle::addSubItem(MenuItem* item) {
    if (item) _subItems.pushBack(item);
}

void MenuItemToggle::setSubItems(const Vector<MenuItem*>& items) {
    if (MenuItem* shown = getSelectedItem()) {
        if (shown->getParent() == this) removeChild(shown, false);
    }
    _selectedIndex = kNoSelection;
    _subItems = items;
    if (!_subItems.empty()) setSelectedIndex(0);
}

MenuItem* MenuItemToggle::getSelectedItem() const {
    return _selectedIndex < _subItems.size() ? _subItems.at(_selectedIndex) : nullptr;
}

void MenuItemToggle::setSelectedIndex(unsigned index) {
    if (index >= _subItems.size()) {
        log("MenuItemToggle: index %u is outside its %zu sub-items", index, _subItems.size());
        return;
    }
    if (MenuItem* shown = getSelectedItem()) {
        if (index == _selectedIndex && shown->getParent() == this) return;
        removeChild(shown, false);
    }
    _selectedIndex = index;
    MenuItem* item = _subItems.at(index);
    if (item->getParent()) item->removeFromParent();
    addChild(item);
    const Size size = item->getContentSize();
    setContentSize(size);
    item->setPosition(size.width / 2, size.height / 2);
}

void MenuItemToggle::activate() {
    if (!isEnabled()) return;
    if (!_subItems.empty()) setSelectedIndex((_selectedIndex + 1) % _subItems.size());
    MenuItem::activate();
}

void MenuItemToggle::selected() {
    MenuItem::selected();
    if (MenuItem* item = getSelectedItem()) item->selected();
}

void MenuItemToggle::unselected() {
    MenuItem::unselected();
    if (MenuItem* item = getSelectedItem()) item->unselected();
}

void MenuItemToggle::setEnabled(bool enabled) {
    MenuItem::setEnabled(enabled);
    for (MenuItem* item : _subItems) item->setEnabled(enabled);
}

}  // namespace engine
