#include "engine/ui/Widget.h"

#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/EventListenerFocus.h"
#include "engine/input/EventTouch.h"
#include "engine/input/Touch.h"
#include "engine/ui/LayoutParameter.h"

namespace engine::ui {

namespace {
Widget* focusedWidget = nullptr;   // main thread only
}  // namespace

Widget* Widget::create() {
    auto* widget = new Widget;
    return autoreleased(widget, widget->init());
}

Widget::~Widget() {
    setTouchEnabled(false);
    if (focusedWidget == this) focusedWidget = nullptr;
    if (_layoutParameter) _layoutParameter->release();
}

bool Widget::init() {
    setAnchorPoint(Vec2(0.5f, 0.5f));
    return true;
}

void Widget::setTouchEnabled(bool enabled) {
    if (enabled == _touchEnabled) return;
    _touchEnabled = enabled;
    _highlighted = false;
    if (enabled) {
        _listener = EventListenerTouchOneByOne::create();
        _listener->retain();
        _listener->setSwallowTouches(_swallowTouches);
        _listener->onTouchBegan = [this](Touch* touch, Event* event) { return onTouchBegan(touch, event); };
        _listener->onTouchMoved = [this](Touch* touch, Event* event) { onTouchMoved(touch, event); };
        _listener->onTouchEnded = [this](Touch* touch, Event* event) { onTouchEnded(touch, event); };
        _listener->onTouchCancelled = [this](Touch* touch, Event* event) { onTouchCancelled(touch, event); };
        Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(_listener, this);
    } else if (_listener) {
        // The dispatcher holds its own reference while a touch is being delivered.
        if (_listener->getAssociatedNode()) {
            Director::getInstance()->getEventDispatcher()->removeEventListener(_listener);
        }
        _listener->release();
        _listener = nullptr;
    }
}

void Widget::setSwallowTouches(bool swallow) {
    _swallowTouches = swallow;
    if (_listener) _listener->setSwallowTouches(swallow);
}

bool Widget::hitTest(const Vec2& worldPoint) const {
    const Vec2 local = convertToNodeSpace(worldPoint);
    const Size& size = getContentSize();
    return Rect(0, 0, size.width, size.height).containsPoint(local);
}

bool Widget::isShown() const {
    for (const Node* node = this; node; node = node->getParent()) {
        if (!node->isVisible()) return false;
    }
    return true;
}

bool Widget::insideClippingAncestors(const Vec2& worldPoint) const {
    for (const Node* node = getParent(); node; node = node->getParent()) {
        const auto* widget = dynamic_cast<const Widget*>(node);
        if (widget && widget->isClippingChildren() && !widget->hitTest(worldPoint)) return false;
    }
    return true;
}

Widget* Widget::getParentWidget() const { return dynamic_cast<Widget*>(getParent()); }

void Widget::propagateTouchEvent(TouchEventType type, Widget* sender, Touch* touch) {
    if (!_propagateTouchEvents) return;
    if (Widget* parent = getParentWidget()) parent->interceptTouchEvent(type, sender, touch);
}

void Widget::interceptTouchEvent(TouchEventType type, Widget* sender, Touch* touch) {
    propagateTouchEvent(type, sender, touch);
}

bool Widget::onTouchBegan(Touch* touch, Event*) {
    const Vec2 location = touch->getLocation();
    if (!_enabled || !_touchEnabled || !isShown() || !hitTest(location) || !insideClippingAncestors(location)) {
        return false;
    }
    retain();   // a listener may let go of the widget
    _touchBeganPosition = location;
    _highlighted = true;
    propagateTouchEvent(TouchEventType::BEGAN, this, touch);
    pushDownEvent();
    release();
    return true;
}

void Widget::onTouchMoved(Touch* touch, Event*) {
    retain();
    _touchMovePosition = touch->getLocation();
    _highlighted = hitTest(_touchMovePosition);
    propagateTouchEvent(TouchEventType::MOVED, this, touch);
    moveEvent();
    release();
}

void Widget::onTouchEnded(Touch* touch, Event*) {
    retain();
    _touchEndPosition = touch->getLocation();
    _highlighted = false;
    propagateTouchEvent(TouchEventType::ENDED, this, touch);
    if (hitTest(_touchEndPosition)) {
        releaseUpEvent();
    } else {
        cancelUpEvent();
    }
    release();
}

void Widget::onTouchCancelled(Touch* touch, Event*) {
    retain();
    _touchEndPosition = touch->getLocation();
    _highlighted = false;
    propagateTouchEvent(TouchEventType::CANCELED, this, touch);
    cancelUpEvent();
    release();
}

void Widget::pushDownEvent() { fireTouchEvent(TouchEventType::BEGAN); }
void Widget::moveEvent() { fireTouchEvent(TouchEventType::MOVED); }
void Widget::cancelUpEvent() { fireTouchEvent(TouchEventType::CANCELED); }

void Widget::releaseUpEvent() {
    retain();   // the touch listener may let go of the widget before the click
    fireTouchEvent(TouchEventType::ENDED);
    fireClickEvent();
    release();
}

void Widget::fireTouchEvent(TouchEventType type) {
    if (!_touchListener) return;
    retain();
    const ccWidgetTouchCallback listener = _touchListener;
    listener(this, type);
    release();
}

void Widget::fireClickEvent() {
    if (!_clickListener) return;
    retain();
    const ccWidgetClickCallback listener = _clickListener;
    listener(this);
    release();
}

bool Widget::simulateClick() {
    if (!_enabled || !_touchEnabled || !_clickListener || !isShown()) return false;
    fireClickEvent();
    return true;
}

void Widget::setLayoutParameter(LayoutParameter* parameter) {
    if (parameter) parameter->retain();
    if (_layoutParameter) _layoutParameter->release();
    _layoutParameter = parameter;
}

void Widget::setFocused(bool focused) {
    _focused = focused;
    if (focused) {
        if (focusedWidget && focusedWidget != this) focusedWidget->_focused = false;
        focusedWidget = this;
    } else if (focusedWidget == this) {
        focusedWidget = nullptr;
    }
}

void Widget::requestFocus() {
    if (!_focusEnabled || focusedWidget == this) return;
    Widget* losing = focusedWidget;
    setFocused(true);
    EventFocus event(losing, this);
    Director::getInstance()->getEventDispatcher()->dispatchEvent(&event);
}

Widget* Widget::getCurrentFocusedWidget() { return focusedWidget; }

}  // namespace engine::ui
