#pragma once
// A layer of menu items that answers touches and lays its items out. It draws
// nothing of its own: what shows is its items.
//
// Touches: a one-by-one listener at the menu's scene-graph priority, swallowing
// what it claims. While the menu is enabled, visible (with its ancestors) and not
// already tracking a touch, a touch that begins on a visible, enabled item is
// claimed and selects that item (front-most child first). Moving selects the
// item now under the touch (or none) and unselects the one before; the end
// unselects the item and activates it when the touch ended over it; a cancel or
// the menu leaving the scene only unselects. Other touches are left to the
// listeners after it.
//
// Layout: a menu is as large as the win size, its origin at the win's centre,
// so an item at (0, 0) shows in the middle. The align calls place every child
// by its centre around that origin, by its content size times its scale:
// - vertically: one column, top to bottom, `padding` between children (5 by
//   default);
// - horizontally: one row, left to right, likewise;
// - in columns: counts[i] children in row i (top to bottom), each row's
//   children spread evenly across the win width, rows stacked 5 apart as high
//   as their tallest child, the block centred vertically;
// - in rows: counts[i] children in column i (left to right), each column's
//   children spread evenly down the win height, columns 10 apart as wide as
//   their widest child, the block centred horizontally.
// Counts that do not match the children are logged and what they cover is
// placed: a count <= 0 takes no child, children beyond the counts stay where
// they are, a last group short of children keeps its count's spacing.
#include <vector>

#include "engine/base/Vector.h"
#include "engine/scene/Layer.h"
#include "engine/scene/MenuItem.h"

namespace engine {

class Event;
class EventListenerTouchOneByOne;
class Touch;

class Menu : public Layer {
public:
    static constexpr float kDefaultPadding = 5;
    static constexpr float kColumnsPadding = 5;   // between rows of alignItemsInColumns
    static constexpr float kRowsPadding = 10;     // between columns of alignItemsInRows

    // An empty menu / one holding the items in order (z-order 0), autoreleased.
    static Menu* create();
    static Menu* createWithArray(const Vector<MenuItem*>& items);
    // A menu of one item; a null item makes an empty menu.
    static Menu* createWithItem(MenuItem* item);
    ~Menu() override;

    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    // The item a touch has selected; null while none is.
    MenuItem* getSelectedItem() const { return _selectedItem; }

    void alignItemsVertically() { alignItemsVerticallyWithPadding(kDefaultPadding); }
    void alignItemsHorizontally() { alignItemsHorizontallyWithPadding(kDefaultPadding); }
    void alignItemsVerticallyWithPadding(float padding);
    void alignItemsHorizontallyWithPadding(float padding);
    void alignItemsInColumnsWithArray(const std::vector<int>& counts);
    void alignItemsInRowsWithArray(const std::vector<int>& counts);

    void onExit() override;

    // Sets the menu up (centred on the screen, listening to touches) with the
    // items added as children. On a menu already set up it only adds the items.
    bool initWithArray(const Vector<MenuItem*>& items);

protected:
    Menu() = default;

private:
    bool onTouchBegan(Touch* touch, Event* event);
    void onTouchMoved(Touch* touch, Event* event);
    void onTouchEnded(Touch* touch, Event* event);
    void onTouchCancelled(Touch* touch, Event* event);
    MenuItem* itemForTouch(Touch* touch) const;
    bool shownWithAncestors() const;
    void select(MenuItem* item);   // retains it; unselects and releases the one before

    bool _enabled = true;
    MenuItem* _selectedItem = nullptr;   // retained while selected
    bool _tracking = false;
    bool _listening = false;   // set up once
};

}  // namespace engine
