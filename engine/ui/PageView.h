#pragma once
// A clipping layout that shows one page at a time: pages are layouts, each
// resized to the view and put side by side, left to right, in an inner
// container. Touch-enabled from the start.
//
// Turning: a horizontal drag on the view, or one claimed by a widget on a page
// (offered through interceptTouchEvent), moves the pages with the finger (not
// past the first or last page). When the touch ends or is cancelled, a drag of
// more than the turning threshold (a fraction of the view's width, default 0.15)
// to the left shows the next page, to the right the previous one, else the
// same page again; then the event listener hears TURNING. setCurrentPageIndex
// and scrollToPage move at once, without an event.
#include <functional>
#include <vector>

#include "engine/ui/Layout.h"

namespace engine::ui {

class PageView : public Layout {
public:
    enum class EventType { TURNING = 0 };
    using ccPageViewCallback = std::function<void(Ref*, EventType)>;

    static PageView* create();   // autoreleased, no pages
    ~PageView() override;

    void addPage(Layout* page);
    // At index (clamped to the end).
    void insertPage(Layout* page, int index);
    void removePage(Layout* page);
    void removePageAtIndex(int index);
    void removeAllPages();
    const std::vector<Layout*>& getPages() const { return _pages; }
    // Null out of range.
    Layout* getPage(int index) const;
    // -1 without pages.
    int getCurrentPageIndex() const { return _pages.empty() ? -1 : _currentPage; }
    // Clamped to the pages there are.
    void setCurrentPageIndex(int index);
    void scrollToPage(int index) { setCurrentPageIndex(index); }
    void setCustomScrollThreshold(float fraction) { _threshold = fraction; }
    float getCustomScrollThreshold() const { return _threshold; }
    Layout* getInnerContainer() const { return _innerContainer; }
    void setContentSize(const Size& size) override;

    void addEventListener(const ccPageViewCallback& callback) { _eventListener = callback; }
    const ccPageViewCallback& getEventListener() const { return _eventListener; }

    void interceptTouchEvent(TouchEventType type, Widget* sender, Touch* touch) override;

protected:
    PageView() = default;
    bool init() override;
    void pushDownEvent() override;
    void moveEvent() override;
    void releaseUpEvent() override;
    void cancelUpEvent() override;

private:
    void placePages();
    void startDrag(const Vec2& worldPoint);
    void dragTo(const Vec2& worldPoint);
    void endDrag();
    Layout* _innerContainer = nullptr;   // a child
    std::vector<Layout*> _pages;         // retained
    int _currentPage = 0;
    float _threshold = 0.15f;
    bool _dragging = false;
    Vec2 _dragStart;   // world space
    ccPageViewCallback _eventListener;
};

}  // namespace engine::ui
