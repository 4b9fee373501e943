#pragma once
// A clipping layout that shows part of a larger inner container (a layout child
// of its own, at least the view's size; what scrolls goes into it: scripts'
// addChild puts children there) and moves it with the finger. Touch-enabled from
// the start.
//
// Scrolling: a touch on the view, or one claimed by a widget inside it (offered
// to the view through interceptTouchEvent), drags the inner container along the
// view's direction. The container's lower-left corner stays between
// (viewWidth - innerWidth, viewHeight - innerHeight) and (0, 0); with bounce
// enabled a drag may pull it past those bounds and the release puts it back.
//
// Events, to the event listener: SCROLLING for every drag step that moves the
// container; SCROLL_TO_TOP / BOTTOM / LEFT / RIGHT when a drag brings it to that
// edge (the top edge of the content at the top of the view, and so on);
// BOUNCE_TOP / BOTTOM / LEFT / RIGHT when a release puts it back from past that
// edge. The jumps move it without events.
//
// Scrolls to a place: the container glides there over the time given (at once
// for a time of zero or less), at an even pace or, attenuated, slowing down
// towards the end (ease-out, cubic); it tells SCROLLING at each step and the
// edge events when it arrives at an edge. A touch stops the glide. Percents run
// from 0 at the top (vertical) or left (horizontal) to 100 at the other end.
//
// Kept for the look and feel of the view, not drawn or acted on by it: the
// inertia flag, the scroll bar's settings and the touch time threshold.
#include <functional>

#include "engine/ui/Layout.h"

namespace engine::ui {

class ScrollView : public Layout {
public:
    enum class Direction { NONE = 0, VERTICAL = 1, HORIZONTAL = 2, BOTH = 3 };
    enum class EventType {
        SCROLL_TO_TOP = 0, SCROLL_TO_BOTTOM, SCROLL_TO_LEFT, SCROLL_TO_RIGHT, SCROLLING,
        BOUNCE_TOP, BOUNCE_BOTTOM, BOUNCE_LEFT, BOUNCE_RIGHT
    };
    using ccScrollViewCallback = std::function<void(Ref*, EventType)>;

    static ScrollView* create();   // autoreleased, vertical, clipping, no bounce

    void setDirection(Direction direction) { _direction = direction; }
    Direction getDirection() const { return _direction; }
    Layout* getInnerContainer() const { return _innerContainer; }
    // Never smaller than the view; the content's top stays where it was.
    void setInnerContainerSize(const Size& size);
    const Size& getInnerContainerSize() const { return _innerContainer->getContentSize(); }
    void setInnerContainerPosition(const Vec2& position) { _innerContainer->setPosition(position); }
    const Vec2& getInnerContainerPosition() const { return _innerContainer->getPosition(); }
    void setBounceEnabled(bool enabled) { _bounceEnabled = enabled; }
    bool isBounceEnabled() const { return _bounceEnabled; }
    void setContentSize(const Size& size) override;

    void jumpToTop();
    void jumpToBottom();
    void jumpToLeft();
    void jumpToRight();
    void jumpToTopLeft();
    void jumpToTopRight();
    void jumpToBottomLeft();
    void jumpToBottomRight();
    void jumpToPercentVertical(float percent);
    void jumpToPercentHorizontal(float percent);
    void jumpToPercentBothDirection(const Vec2& percent);

    void scrollToTop(float timeInSec, bool attenuated);
    void scrollToBottom(float timeInSec, bool attenuated);
    void scrollToLeft(float timeInSec, bool attenuated);
    void scrollToRight(float timeInSec, bool attenuated);
    void scrollToTopLeft(float timeInSec, bool attenuated);
    void scrollToTopRight(float timeInSec, bool attenuated);
    void scrollToBottomLeft(float timeInSec, bool attenuated);
    void scrollToBottomRight(float timeInSec, bool attenuated);
    void scrollToPercentVertical(float percent, float timeInSec, bool attenuated);
    void scrollToPercentHorizontal(float percent, float timeInSec, bool attenuated);
    void scrollToPercentBothDirection(const Vec2& percent, float timeInSec, bool attenuated);
    // Whether a glide is under way.
    bool isAutoScrolling() const { return _autoScrolling; }
    void update(float delta) override;

    void setInertiaScrollEnabled(bool enabled) { _inertiaScrollEnabled = enabled; }
    bool isInertiaScrollEnabled() const { return _inertiaScrollEnabled; }
    void setScrollBarEnabled(bool enabled) { _scrollBarEnabled = enabled; }
    bool isScrollBarEnabled() const { return _scrollBarEnabled; }
    void setScrollBarWidth(float width) { _scrollBarWidth = width; }
    float getScrollBarWidth() const { return _scrollBarWidth; }
    void setScrollBarOpacity(uint8_t opacity) { _scrollBarOpacity = opacity; }
    uint8_t getScrollBarOpacity() const { return _scrollBarOpacity; }
    void setScrollBarColor(const Color3B& color) { _scrollBarColor = color; }
    const Color3B& getScrollBarColor() const { return _scrollBarColor; }
    void setScrollBarPositionFromCorner(const Vec2& position) { _scrollBarPositionFromCorner = position; }
    const Vec2& getScrollBarPositionFromCorner() const { return _scrollBarPositionFromCorner; }
    void setScrollBarAutoHideEnabled(bool enabled) { _scrollBarAutoHide = enabled; }
    bool isScrollBarAutoHideEnabled() const { return _scrollBarAutoHide; }
    void setTouchTotalTimeThreshold(float seconds) { _touchTotalTimeThreshold = seconds; }
    float getTouchTotalTimeThreshold() const { return _touchTotalTimeThreshold; }

    virtual void addEventListener(const ccScrollViewCallback& callback) { _scrollListener = callback; }
    const ccScrollViewCallback& getScrollEventListener() const { return _scrollListener; }

    void interceptTouchEvent(TouchEventType type, Widget* sender, Touch* touch) override;

protected:
    ScrollView() = default;
    bool init() override;
    // Scroll views are not copied: their children live in the inner container.
    Widget* createCloneInstance() override { return nullptr; }
    void pushDownEvent() override;
    void moveEvent() override;
    void releaseUpEvent() override;
    void cancelUpEvent() override;
    // The lowest corner positions of the container (its highest are 0, 0).
    Vec2 lowestPosition() const;
    void fireScrollEvent(EventType type);

private:
    void startDrag(const Vec2& worldPoint);
    void dragTo(const Vec2& worldPoint);
    void dragBy(Vec2 delta);
    void settle();
    // The container's corner for percents (0..100 each, x from the left, y from the top).
    Vec2 positionOfPercent(const Vec2& percent) const;
    void startAutoScroll(const Vec2& target, float timeInSec, bool attenuated);
    void stopAutoScroll();
    void fireEdgeEvents();
    bool _autoScrolling = false;
    bool _attenuated = false;
    Vec2 _autoScrollFrom;
    Vec2 _autoScrollTo;
    float _autoScrollTime = 0;
    float _autoScrollElapsed = 0;
    bool _inertiaScrollEnabled = true;
    bool _scrollBarEnabled = true;
    float _scrollBarWidth = 4;
    uint8_t _scrollBarOpacity = 100;
    Color3B _scrollBarColor{52, 65, 87};
    Vec2 _scrollBarPositionFromCorner{20, 20};
    bool _scrollBarAutoHide = true;
    float _touchTotalTimeThreshold = 0.5f;
    Layout* _innerContainer = nullptr;   // a child
    Direction _direction = Direction::VERTICAL;
    bool _bounceEnabled = false;
    bool _dragging = false;
    Vec2 _lastTouch;   // world space
    ccScrollViewCallback _scrollListener;
};

}  // namespace engine::ui
