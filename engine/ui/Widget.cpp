#include "engine/ui/Widget.h"

#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/input/EventTouch.h"
#include "engine/input/Touch.h"

namespace engine::ui {

Widget* Widget::create() {
    auto* widget = new Widget;
    return autoreleased(widget, widget->init());
}

Widget::~Widget() { setTouchEnabled(false); }

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
        _listener->setSwallowTouches(true);
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

bool Widget::onTouchBegan(Touch* touch, Event*) {
    if (!_enabled || !_touchEnabled || !isShown() || !hitTest(touch->getLocation())) return false;
    _highlighted = true;
    fireTouch(TouchEventType::BEGAN);
    return true;
}

void Widget::onTouchMoved(Touch* touch, Event*) {
    _highlighted = hitTest(touch->getLocation());
    fireTouch(TouchEventType::MOVED);
}

void Widget::onTouchEnded(Touch* touch, Event*) {
    _highlighted = false;
    if (!hitTest(touch->getLocation())) {
        fireTouch(TouchEventType::CANCELED);
        return;
    }
    retain();   // the touch listener may let go of the widget before the click
    fireTouch(TouchEventType::ENDED);
    fireClick();
    release();
}

void Widget::onTouchCancelled(Touch*, Event*) {
    _highlighted = false;
    fireTouch(TouchEventType::CANCELED);
}

void Widget::fireTouch(TouchEventType type) {
    if (!_touchListener) return;
    retain();
    const ccWidgetTouchCallback listener = _touchListener;
    listener(this, type);
    release();
}

void Widget::fireClick() {
    if (!_clickListener) return;
    retain();
    const ccWidgetClickCallback listener = _clickListener;
    listener(this);
    release();
}

bool Widget::simulateClick() {
    if (!_enabled || !_touchEnabled || !_clickListener || !isShown()) return false;
    fireClick();
    return true;
}

}  // namespace engine::ui
