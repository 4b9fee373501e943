#pragma once
// A menu item that steps through its sub-items on each tap: it shows the
// selected sub-item (its only child, centred on the toggle, whose content size
// is that sub-item's) and activation moves to the next one, wrapping round,
// before the tap reaches the toggle's own handler. Selection and the enabled
// state are passed on to the sub-items. The toggle itself draws nothing: what
// shows is the selected sub-item.
#include "engine/base/Vector.h"
#include "engine/scene/MenuItem.h"

namespace engine {

class MenuItemToggle : public MenuItem {
public:
    static constexpr unsigned kNoSelection = static_cast<unsigned>(-1);

    // A toggle without sub-items (nothing selected), autoreleased.
    static MenuItemToggle* create();

    // Appends a sub-item (retained); a null one is ignored. Selects nothing.
    void addSubItem(MenuItem* item);
    const Vector<MenuItem*>& getSubItems() const { return _subItems; }
    // Replaces the sub-items: the one shown is taken down and the first of the
    // new ones (if any) is selected.
    void setSubItems(const Vector<MenuItem*>& items);
    // kNoSelection while nothing is selected. An index outside the sub-items is
    // logged and changes nothing.
    unsigned getSelectedIndex() const { return _selectedIndex; }
    void setSelectedIndex(unsigned index);
    MenuItem* getSelectedItem() const;

    void activate() override;
    void selected() override;
    void unselected() override;
    void setEnabled(bool enabled) override;

protected:
    MenuItemToggle() = default;

private:
    Vector<MenuItem*> _subItems;
    unsigned _selectedIndex = kNoSelection;
};

}  // namespace engine
