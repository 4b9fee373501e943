#pragma once
// A scroll view that lines its items up in the inner container: vertically
// (the default) from the top down, or horizontally from the left, with the
// items' margin between neighbours and each item's own layout-parameter margin
// around it; across the line each item sits by the gravity. The inner container
// grows to hold them all. Items are widgets; the list keeps them as children of
// its container.
//
// Selection: a touch that begins on an item (on it or on a widget inside it)
// makes it the current selected item and tells the list's event listener
// ON_SELECTED_ITEM_START; the end of that touch, inside or not, tells
// ON_SELECTED_ITEM_END. The inherited scroll-view listener still hears the
// scrolling.
#include <functional>
#include <vector>

#include "engine/ui/ScrollView.h"

namespace engine::ui {

class ListView : public ScrollView {
public:
    enum class Gravity { LEFT = 0, RIGHT, CENTER_HORIZONTAL, TOP, BOTTOM, CENTER_VERTICAL };
    enum class EventType { ON_SELECTED_ITEM_START = 0, ON_SELECTED_ITEM_END = 1 };
    using ccListViewCallback = std::function<void(Ref*, EventType)>;

    static ListView* create();   // autoreleased, vertical, gravity centre, no margin
    ~ListView() override;

    void pushBackCustomItem(Widget* item);
    // At index (clamped to the end).
    void insertCustomItem(Widget* item, int index);
    void removeItem(int index);
    void removeLastItem();
    void removeAllItems();
    // Null out of range.
    Widget* getItem(int index) const;
    const std::vector<Widget*>& getItems() const { return _items; }
    // -1 for a widget that is not an item.
    int getIndex(Widget* item) const;
    void setGravity(Gravity gravity);
    Gravity getGravity() const { return _gravity; }
    void setItemsMargin(float margin);
    float getItemsMargin() const { return _itemsMargin; }
    // -1 until an item is touched.
    int getCurSelectedIndex() const { return _curSelectedIndex; }
    // Places the items again (after an item changed its size).
    void doLayout();
    void setContentSize(const Size& size) override;

    using ScrollView::addEventListener;
    void addEventListener(const ccListViewCallback& callback) { _listListener = callback; }
    const ccListViewCallback& getListEventListener() const { return _listListener; }

    void interceptTouchEvent(TouchEventType type, Widget* sender, Touch* touch) override;

protected:
    ListView() = default;
    bool init() override;
    void pushDownEvent() override;
    void releaseUpEvent() override;
    void cancelUpEvent() override;

private:
    int itemHolding(Node* node) const;
    int itemAt(const Vec2& worldPoint) const;
    void selectionStep(TouchEventType type, int item);
    std::vector<Widget*> _items;   // retained
    Gravity _gravity = Gravity::CENTER_HORIZONTAL;
    float _itemsMargin = 0;
    int _curSelectedIndex = -1;
    bool _touchedItem = false;   // a touch that began on an item is under way
    ccListViewCallback _listListener;
};

}  // namespace engine::ui
