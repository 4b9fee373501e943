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
//
// The item model: a widget the list keeps (retained) and copies (Widget::clone)
// for each default item pushed or inserted; without a model, or with one that
// cannot be copied, nothing is added. "In the current view" means the items'
// boxes as they sit in the container against the view's box; the closest item
// to a place is the one whose anchor point (as given, in the item's box) is
// nearest to it, and scrolling to an item glides (or jumps, for no time) so that
// the item's anchor point lands on the view's point at the given ratio, as far
// as the container can go.
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
    void setItemModel(Widget* model);
    Widget* getItemModel() const { return _model; }
    void pushBackDefaultItem();
    void insertDefaultItem(int index);
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
    void refreshView() { doLayout(); }
    void requestRefreshView() { doLayout(); }

    // Items against the view (null for an empty list). Ratios and anchors are
    // fractions of the view's and the item's boxes.
    Widget* getClosestItemToPosition(const Vec2& targetPosition, const Vec2& itemAnchorPoint) const;
    Widget* getClosestItemToPositionInCurrentView(const Vec2& positionRatioInView, const Vec2& itemAnchorPoint) const;
    Widget* getCenterItemInCurrentView() const;
    Widget* getLeftmostItemInCurrentView() const;
    Widget* getRightmostItemInCurrentView() const;
    Widget* getTopmostItemInCurrentView() const;
    Widget* getBottommostItemInCurrentView() const;
    void jumpToItem(int index, const Vec2& positionRatioInView, const Vec2& itemAnchorPoint);
    void scrollToItem(int index, const Vec2& positionRatioInView, const Vec2& itemAnchorPoint, float timeInSec = 1.f);
    // Kept for the look and feel: where a released list settles its items.
    void setMagneticAllowedOutOfBoundary(bool allowed) { _magneticAllowedOutOfBoundary = allowed; }
    bool getMagneticAllowedOutOfBoundary() const { return _magneticAllowedOutOfBoundary; }
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
    // Where the container's corner goes for the item's anchor to sit at the ratio.
    Vec2 containerPositionFor(const Widget* item, const Vec2& ratio, const Vec2& anchor) const;
    std::vector<Widget*> _items;   // retained
    Widget* _model = nullptr;      // retained
    bool _magneticAllowedOutOfBoundary = true;
    Gravity _gravity = Gravity::CENTER_HORIZONTAL;
    float _itemsMargin = 0;
    int _curSelectedIndex = -1;
    bool _touchedItem = false;   // a touch that began on an item is under way
    ccListViewCallback _listListener;
};

}  // namespace engine::ui
