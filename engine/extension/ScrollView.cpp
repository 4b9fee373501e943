#include "engine/extension/ScrollView.h"

#include <algorithm>

#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/input/EventTouch.h"
#include "engine/input/Touch.h"

namespace engine::extension {

ScrollView* ScrollView::create() { return create(Size(200, 200)); }

ScrollView* ScrollView::create(const Size& viewSize, Node* container) {
    auto* view = new ScrollView;
    return autoreleased(view, view->initWithViewSize(viewSize, container));
}

bool ScrollView::initWithViewSize(const Size& viewSize, Node* container) {
    if (!Layer::init()) return false;
    setContainer(container ? container : Layer::create());
    setViewSize(viewSize);

    auto* listener = EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = [this](Touch* touch, Event* event) { return onTouchBegan(touch, event); };
    listener->onTouchMoved = [this](Touch* touch, Event* event) { onTouchMoved(touch, event); };
    listener->onTouchEnded = [this](Touch* touch, Event* event) { onTouchEnded(touch, event); };
    listener->onTouchCancelled = [this](Touch* touch, Event* event) { onTouchCancelled(touch, event); };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
    return true;
}

void ScrollView::setViewSize(const Size& size) {
    _viewSize = size;
    Node::setContentSize(size);
}

void ScrollView::setContainer(Node* container) {
    if (!container || container == _container) return;
    stopAnimation();
    if (_container) removeChild(_container);
    _container = container;
    _container->setIgnoreAnchorPointForPosition(false);
    _container->setAnchorPoint(Vec2(0, 0));
    addChild(_container);
    _container->setPosition(0, 0);
}

void ScrollView::setContentSize(const Size& size) {
    // Layer::init sizes the view to the window before there is a container.
    if (!_container) {
        Node::setContentSize(size);
        return;
    }
    _container->setContentSize(size);
}

Size ScrollView::getContainerSize() const { return _container ? _container->getContentSize() : Size(); }

void ScrollView::setTouchEnabled(bool enabled) {
    _touchEnabled = enabled;
    if (!enabled) endTouch();
}

Vec2 ScrollView::minContainerOffset() const {
    const Size size = getContainerSize();
    return Vec2(_viewSize.width - size.width * _container->getScaleX(),
                _viewSize.height - size.height * _container->getScaleY());
}

Vec2 ScrollView::clampedOffset(const Vec2& offset) const {
    const Vec2 low = minContainerOffset();
    const Vec2 high = maxContainerOffset();
    // A container smaller than the view: its top edge at the view's top.
    return Vec2(std::max(std::min(offset.x, high.x), std::min(low.x, high.x)),
                std::max(std::min(offset.y, std::max(low.y, high.y)), low.y));
}

void ScrollView::setContentOffset(const Vec2& offset, bool animated) {
    const Vec2 target = _bounceable ? offset : clampedOffset(offset);
    if (animated) {
        _animating = true;
        _animationFrom = getContentOffset();
        _animationTo = target;
        _animationElapsed = 0;
        scheduleUpdate();
        return;
    }
    stopAnimation();
    _container->setPosition(target);
    onScroll();
}

Vec2 ScrollView::getContentOffset() const { return _container->getPosition(); }

void ScrollView::setZoomScale(float scale) {
    if (_container->getScale() == scale) return;
    _container->setScale(scale);
    if (_delegate) _delegate->scrollViewDidZoom(this);
}

float ScrollView::getZoomScale() const { return _container->getScale(); }

void ScrollView::onScroll() {
    if (_delegate) _delegate->scrollViewDidScroll(this);
}

void ScrollView::update(float delta) {
    if (!_animating) return;
    _animationElapsed += delta;
    const float t = std::min(1.f, _animationElapsed / kAnimationDuration);
    _container->setPosition(_animationFrom + (_animationTo - _animationFrom) * t);
    if (t >= 1.f) stopAnimation();
    onScroll();
}

void ScrollView::stopAnimation() {
    if (!_animating) return;
    _animating = false;
    unscheduleUpdate();
}

void ScrollView::onExit() {
    endTouch();
    stopAnimation();
    Layer::onExit();
}

Rect ScrollView::viewRect() const {
    const Vec2 origin = convertToWorldSpace(Vec2(0, 0));
    const Vec2 corner = convertToWorldSpace(Vec2(_viewSize.width, _viewSize.height));
    return Rect(std::min(origin.x, corner.x), std::min(origin.y, corner.y), std::abs(corner.x - origin.x),
                std::abs(corner.y - origin.y));
}

bool ScrollView::onTouchBegan(Touch* touch, Event*) {
    if (!_touchEnabled || _touch) return false;
    for (const Node* node = this; node; node = node->getParent()) {
        if (!node->isVisible()) return false;
    }
    if (!viewRect().containsPoint(touch->getLocation())) return false;
    stopAnimation();
    _touch = touch;
    _touchPoint = convertToNodeSpace(touch->getLocation());
    _dragging = true;
    _touchMoved = false;
    return true;
}

void ScrollView::onTouchMoved(Touch* touch, Event*) {
    if (touch != _touch || !_dragging) return;
    const Vec2 point = convertToNodeSpace(touch->getLocation());
    Vec2 step = point - _touchPoint;
    if (!_touchMoved) {
        if ((point - convertToNodeSpace(touch->getStartLocation())).length() < kMoveThreshold) return;
        _touchMoved = true;
    }
    _touchPoint = point;
    switch (_direction) {
    case Direction::HORIZONTAL: step.y = 0; break;
    case Direction::VERTICAL: step.x = 0; break;
    case Direction::NONE: return;
    case Direction::BOTH: break;
    }
    setContentOffset(getContentOffset() + step);
}

void ScrollView::onTouchEnded(Touch* touch, Event*) {
    if (touch != _touch) return;
    endTouch();
}

void ScrollView::onTouchCancelled(Touch* touch, Event*) {
    if (touch != _touch) return;
    endTouch();
}

void ScrollView::endTouch() {
    if (!_touch) return;
    _touch = nullptr;
    _dragging = false;
    const Vec2 offset = getContentOffset();
    const Vec2 inBounds = clampedOffset(offset);
    if (inBounds.x != offset.x || inBounds.y != offset.y) setContentOffset(inBounds);
}

}  // namespace engine::extension
