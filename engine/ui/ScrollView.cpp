#include "engine/ui/ScrollView.h"

#include <algorithm>

#include "engine/input/Touch.h"

namespace engine::ui {

ScrollView* ScrollView::create() {
    auto* view = new ScrollView;
    return autoreleased(view, view->init());
}

bool ScrollView::init() {
    if (!Layout::init()) return false;
    _innerContainer = Layout::create();
    addChild(_innerContainer, 1);
    setClippingEnabled(true);
    setTouchEnabled(true);
    return true;
}

void ScrollView::setContentSize(const Size& size) {
    Layout::setContentSize(size);
    if (_innerContainer) setInnerContainerSize(_innerContainer->getContentSize());
}

void ScrollView::setInnerContainerSize(const Size& size) {
    const Size& view = getContentSize();
    const Size fitted(std::max(size.width, view.width), std::max(size.height, view.height));
    const Vec2 position = _innerContainer->getPosition();
    const float top = position.y + _innerContainer->getContentSize().height;
    _innerContainer->setContentSize(fitted);
    // Keep the top of the content in place, then back inside the bounds.
    const Vec2 lowest = lowestPosition();
    _innerContainer->setPosition(std::clamp(position.x, lowest.x, 0.f), std::clamp(top - fitted.height, lowest.y, 0.f));
}

Vec2 ScrollView::lowestPosition() const {
    const Size& view = getContentSize();
    const Size& inner = _innerContainer->getContentSize();
    return Vec2(std::min(0.f, view.width - inner.width), std::min(0.f, view.height - inner.height));
}

void ScrollView::jumpToTop() { _innerContainer->setPositionY(lowestPosition().y); }
void ScrollView::jumpToBottom() { _innerContainer->setPositionY(0); }
void ScrollView::jumpToLeft() { _innerContainer->setPositionX(0); }
void ScrollView::jumpToRight() { _innerContainer->setPositionX(lowestPosition().x); }
void ScrollView::jumpToTopLeft() { _innerContainer->setPosition(positionOfPercent(Vec2(0, 0))); }
void ScrollView::jumpToTopRight() { _innerContainer->setPosition(positionOfPercent(Vec2(100, 0))); }
void ScrollView::jumpToBottomLeft() { _innerContainer->setPosition(positionOfPercent(Vec2(0, 100))); }
void ScrollView::jumpToBottomRight() { _innerContainer->setPosition(positionOfPercent(Vec2(100, 100))); }

void ScrollView::jumpToPercentVertical(float percent) {
    _innerContainer->setPositionY(positionOfPercent(Vec2(0, percent)).y);
}

void ScrollView::jumpToPercentHorizontal(float percent) {
    _innerContainer->setPositionX(positionOfPercent(Vec2(percent, 0)).x);
}

void ScrollView::jumpToPercentBothDirection(const Vec2& percent) {
    _innerContainer->setPosition(positionOfPercent(percent));
}

Vec2 ScrollView::positionOfPercent(const Vec2& percent) const {
    const Vec2 lowest = lowestPosition();
    const float x = std::clamp(percent.x, 0.f, 100.f) / 100.f;
    const float y = std::clamp(percent.y, 0.f, 100.f) / 100.f;
    return Vec2(lowest.x * x, lowest.y * (1.f - y));
}

void ScrollView::scrollToTop(float time, bool attenuated) {
    startAutoScroll(Vec2(_innerContainer->getPositionX(), lowestPosition().y), time, attenuated);
}
void ScrollView::scrollToBottom(float time, bool attenuated) {
    startAutoScroll(Vec2(_innerContainer->getPositionX(), 0), time, attenuated);
}
void ScrollView::scrollToLeft(float time, bool attenuated) {
    startAutoScroll(Vec2(0, _innerContainer->getPositionY()), time, attenuated);
}
void ScrollView::scrollToRight(float time, bool attenuated) {
    startAutoScroll(Vec2(lowestPosition().x, _innerContainer->getPositionY()), time, attenuated);
}
void ScrollView::scrollToTopLeft(float time, bool attenuated) {
    startAutoScroll(positionOfPercent(Vec2(0, 0)), time, attenuated);
}
void ScrollView::scrollToTopRight(float time, bool attenuated) {
    startAutoScroll(positionOfPercent(Vec2(100, 0)), time, attenuated);
}
void ScrollView::scrollToBottomLeft(float time, bool attenuated) {
    startAutoScroll(positionOfPercent(Vec2(0, 100)), time, attenuated);
}
void ScrollView::scrollToBottomRight(float time, bool attenuated) {
    startAutoScroll(positionOfPercent(Vec2(100, 100)), time, attenuated);
}
void ScrollView::scrollToPercentVertical(float percent, float time, bool attenuated) {
    startAutoScroll(Vec2(_innerContainer->getPositionX(), positionOfPercent(Vec2(0, percent)).y), time, attenuated);
}
void ScrollView::scrollToPercentHorizontal(float percent, float time, bool attenuated) {
    startAutoScroll(Vec2(positionOfPercent(Vec2(percent, 0)).x, _innerContainer->getPositionY()), time, attenuated);
}
void ScrollView::scrollToPercentBothDirection(const Vec2& percent, float time, bool attenuated) {
    startAutoScroll(positionOfPercent(percent), time, attenuated);
}

void ScrollView::startAutoScroll(const Vec2& target, float timeInSec, bool attenuated) {
    _autoScrollFrom = _innerContainer->getPosition();
    _autoScrollTo = target;
    _autoScrollTime = timeInSec;
    _autoScrollElapsed = 0;
    _attenuated = attenuated;
    _autoScrolling = true;
    if (timeInSec <= 0) {
        update(0);
        return;
    }
    scheduleUpdate();
}

void ScrollView::stopAutoScroll() {
    if (!_autoScrolling) return;
    _autoScrolling = false;
    unscheduleUpdate();
}

void ScrollView::update(float delta) {
    Layout::update(delta);
    if (!_autoScrolling) return;
    _autoScrollElapsed += delta;
    float t = _autoScrollTime > 0 ? std::min(_autoScrollElapsed / _autoScrollTime, 1.f) : 1.f;
    const bool done = t >= 1.f;
    if (_attenuated) t = 1.f - (1.f - t) * (1.f - t) * (1.f - t);
    const Vec2 now = _autoScrollFrom + (_autoScrollTo - _autoScrollFrom) * t;
    retain();
    if (now != _innerContainer->getPosition()) {
        _innerContainer->setPosition(now);
        fireScrollEvent(EventType::SCROLLING);
    }
    if (done) {
        stopAutoScroll();
        fireEdgeEvents();
    }
    release();
}

void ScrollView::fireEdgeEvents() {
    const Vec2 lowest = lowestPosition();
    const Vec2 at = _innerContainer->getPosition();
    const bool vertical = _direction == Direction::VERTICAL || _direction == Direction::BOTH;
    const bool horizontal = _direction == Direction::HORIZONTAL || _direction == Direction::BOTH;
    if (vertical && at.y == lowest.y) fireScrollEvent(EventType::SCROLL_TO_TOP);
    if (vertical && at.y == 0) fireScrollEvent(EventType::SCROLL_TO_BOTTOM);
    if (horizontal && at.x == 0) fireScrollEvent(EventType::SCROLL_TO_LEFT);
    if (horizontal && at.x == lowest.x) fireScrollEvent(EventType::SCROLL_TO_RIGHT);
}

void ScrollView::fireScrollEvent(EventType type) {
    if (!_scrollListener) return;
    retain();
    const ccScrollViewCallback listener = _scrollListener;
    listener(this, type);
    release();
}

void ScrollView::dragBy(Vec2 delta) {
    if (_direction != Direction::HORIZONTAL && _direction != Direction::BOTH) delta.x = 0;
    if (_direction != Direction::VERTICAL && _direction != Direction::BOTH) delta.y = 0;
    const Vec2 lowest = lowestPosition();
    const Vec2 from = _innerContainer->getPosition();
    Vec2 to = from + delta;
    if (!_bounceEnabled) {
        to.x = std::clamp(to.x, lowest.x, 0.f);
        to.y = std::clamp(to.y, lowest.y, 0.f);
    }
    if (to == from) return;
    _innerContainer->setPosition(to);
    retain();
    fireScrollEvent(EventType::SCROLLING);
    // An edge reached by this step (the edge's side of the bound, arriving from inside).
    if (delta.y < 0 && from.y > lowest.y && to.y <= lowest.y) fireScrollEvent(EventType::SCROLL_TO_TOP);
    if (delta.y > 0 && from.y < 0 && to.y >= 0) fireScrollEvent(EventType::SCROLL_TO_BOTTOM);
    if (delta.x > 0 && from.x < 0 && to.x >= 0) fireScrollEvent(EventType::SCROLL_TO_LEFT);
    if (delta.x < 0 && from.x > lowest.x && to.x <= lowest.x) fireScrollEvent(EventType::SCROLL_TO_RIGHT);
    release();
}

void ScrollView::settle() {
    _dragging = false;
    const Vec2 lowest = lowestPosition();
    const Vec2 from = _innerContainer->getPosition();
    const Vec2 to(std::clamp(from.x, lowest.x, 0.f), std::clamp(from.y, lowest.y, 0.f));
    if (to == from) return;
    _innerContainer->setPosition(to);
    retain();
    if (from.y < lowest.y) fireScrollEvent(EventType::BOUNCE_TOP);
    if (from.y > 0) fireScrollEvent(EventType::BOUNCE_BOTTOM);
    if (from.x > 0) fireScrollEvent(EventType::BOUNCE_LEFT);
    if (from.x < lowest.x) fireScrollEvent(EventType::BOUNCE_RIGHT);
    release();
}

void ScrollView::interceptTouchEvent(TouchEventType type, Widget* sender, Touch* touch) {
    retain();
    switch (type) {
    case TouchEventType::BEGAN: startDrag(touch->getLocation()); break;
    case TouchEventType::MOVED: dragTo(touch->getLocation()); break;
    case TouchEventType::ENDED:
    case TouchEventType::CANCELED: settle(); break;
    }
    Layout::interceptTouchEvent(type, sender, touch);
    release();
}

void ScrollView::startDrag(const Vec2& worldPoint) {
    stopAutoScroll();
    _dragging = true;
    _lastTouch = worldPoint;
}

void ScrollView::dragTo(const Vec2& worldPoint) {
    if (!_dragging) return;
    // The drag is measured in the view's space, so a scaled parent scales it.
    const Vec2 delta = convertToNodeSpace(worldPoint) - convertToNodeSpace(_lastTouch);
    _lastTouch = worldPoint;
    dragBy(delta);
}

void ScrollView::pushDownEvent() {
    startDrag(getTouchBeganPosition());
    Layout::pushDownEvent();
}

void ScrollView::moveEvent() {
    retain();
    Layout::moveEvent();
    dragTo(getTouchMovePosition());
    release();
}

void ScrollView::releaseUpEvent() {
    retain();
    Layout::releaseUpEvent();
    settle();
    release();
}

void ScrollView::cancelUpEvent() {
    retain();
    Layout::cancelUpEvent();
    settle();
    release();
}

}  // namespace engine::ui
