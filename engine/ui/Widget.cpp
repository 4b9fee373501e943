#include "engine/ui/Widget.h"

#include <typeinfo>

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

Widget* Widget::clone() {
    Widget* copy = createCloneInstance();
    if (!copy) return nullptr;
    copy->setName(getName());
    copy->setTag(getTag());
    copy->setAnchorPoint(getAnchorPoint());
    copy->setPosition(getPosition());
    copy->setScaleX(getScaleX());
    copy->setScaleY(getScaleY());
    copy->setRotation(getRotation());
    copy->setSkewX(getSkewX());
    copy->setSkewY(getSkewY());
    copy->setVisible(isVisible());
    copy->setLocalZOrder(getLocalZOrder());
    copy->setColor(getColor());
    copy->setOpacity(getOpacity());
    copy->_enabled = _enabled;
    copy->setTouchEnabled(_touchEnabled);
    copy->_swallowTouches = _swallowTouches;
    copy->_propagateTouchEvents = _propagateTouchEvents;
    copy->_focusEnabled = _focusEnabled;
    copy->_bright = _bright;
    copy->_brightStyle = _brightStyle;
    copy->_unifySize = _unifySize;
    copy->_flippedX = _flippedX;
    copy->_flippedY = _flippedY;
    copy->_actionTag = _actionTag;
    copy->_callbackName = _callbackName;
    copy->_callbackType = _callbackType;
    copy->_sizePercent = _sizePercent;
    copy->_positionPercent = _positionPercent;
    copy->_layoutRule = _layoutRule;
    copy->_touchListener = _touchListener;
    copy->_clickListener = _clickListener;
    copy->setLayoutParameter(_layoutParameter);
    copy->copySpecialProperties(this);
    copy->_ignoreSize = _ignoreSize;
    copy->setContentSize(getContentSize());
    copy->_customSize = _customSize;
    for (Node* child : getChildren()) {
        auto* widget = dynamic_cast<Widget*>(child);
        if (Widget* childCopy = widget ? widget->clone() : nullptr) copy->addChild(childCopy);
    }
    return copy;
}

Widget* Widget::createCloneInstance() { return typeid(*this) == typeid(Widget) ? Widget::create() : nullptr; }

void Widget::copySpecialProperties(Widget*) {}

void Widget::setBright(bool bright) {
    _bright = bright;
    if (bright) _brightStyle = BrightStyle::NORMAL;
}

void Widget::setContentSize(const Size& size) {
    _customSize = size;
    Node::setContentSize(size);
}

void Widget::ignoreContentAdaptWithSize(bool ignore) {
    _ignoreSize = ignore;
    const Size custom = _customSize;
    setContentSize(ignore ? getVirtualRendererSize() : custom);
    _customSize = custom;
}

void Widget::adaptToRendererSize() {
    if (!_ignoreSize) return;
    const Size custom = _customSize;
    setContentSize(getVirtualRendererSize());
    _customSize = custom;
}

void Widget::setSizeType(SizeType type) {
    if (type == SizeType::PERCENT) {
        _layoutRule.percentSize = Size(_sizePercent.x, _sizePercent.y);
        updateSizeAndPosition();
    } else if (_layoutRule.percentSize) {
        _sizePercent = Vec2(_layoutRule.percentSize->width, _layoutRule.percentSize->height);
        _layoutRule.percentSize.reset();
    }
}

void Widget::setSizePercent(const Vec2& percent) {
    _sizePercent = percent;
    if (!_layoutRule.percentSize) return;
    _layoutRule.percentSize = Size(percent.x, percent.y);
    updateSizeAndPosition();
}

Vec2 Widget::getSizePercent() const {
    if (!_layoutRule.percentSize) return _sizePercent;
    return Vec2(_layoutRule.percentSize->width, _layoutRule.percentSize->height);
}

void Widget::setPositionType(PositionType type) {
    if (type == PositionType::PERCENT) {
        _layoutRule.percentPosition = _positionPercent;
        updateSizeAndPosition();
    } else if (_layoutRule.percentPosition) {
        _positionPercent = *_layoutRule.percentPosition;
        _layoutRule.percentPosition.reset();
    }
}

void Widget::setPositionPercent(const Vec2& percent) {
    _positionPercent = percent;
    if (!_layoutRule.percentPosition) return;
    _layoutRule.percentPosition = percent;
    updateSizeAndPosition();
}

Vec2 Widget::getPositionPercent() const { return _layoutRule.percentPosition.value_or(_positionPercent); }

void Widget::updateSizeAndPosition() {
    if (Node* parent = getParent()) updateSizeAndPosition(parent->getContentSize());
}

void Widget::updateSizeAndPosition(const Size& parentSize) {
    if (_layoutRule.percentSize) {
        setContentSize(Size(parentSize.width * _layoutRule.percentSize->width,
                            parentSize.height * _layoutRule.percentSize->height));
    }
    if (_layoutRule.percentPosition) {
        setPosition(parentSize.width * _layoutRule.percentPosition->x, parentSize.height * _layoutRule.percentPosition->y);
    }
}

float Widget::getLeftBoundary() const { return getPosition().x - getAnchorPoint().x * getContentSize().width; }

float Widget::getBottomBoundary() const { return getPosition().y - getAnchorPoint().y * getContentSize().height; }

Vec2 Widget::getWorldPosition() const {
    const Size& size = getContentSize();
    return convertToWorldSpace(Vec2(getAnchorPoint().x * size.width, getAnchorPoint().y * size.height));
}

Mat4 Widget::imageTransform(const Mat4& transform, float zoom) const {
    const float sx = zoom * (_flippedX ? -1.f : 1.f);
    const float sy = zoom * (_flippedY ? -1.f : 1.f);
    if (sx == 1.f && sy == 1.f) return transform;
    const Size& size = getContentSize();
    Mat4 about;   // scales about the centre of the content box
    about.m[0] = sx;
    about.m[5] = sy;
    about.m[12] = size.width * 0.5f * (1.f - sx);
    about.m[13] = size.height * 0.5f * (1.f - sy);
    return transform * about;
}

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
