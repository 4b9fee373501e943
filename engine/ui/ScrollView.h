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

    virtual void addEventListener(const ccScrollViewCallback& callback) { _scrollListener = callback; }
    const ccScrollViewCallback& getScrollEventListener() const { return _scrollListener; }

    void interceptTouchEvent(TouchEventType type, Widget* sender, Touch* touch) override;

protected:
    ScrollView() = default;
    bool init() override;
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
    Layout* _innerContainer = nullptr;   // a child
    Direction _direction = Direction::VERTICAL;
    bool _bounceEnabled = false;
    bool _dragging = false;
    Vec2 _lastTouch;   // world space
    ccScrollViewCallback _scrollListener;
};

}  // namespace engine::ui
