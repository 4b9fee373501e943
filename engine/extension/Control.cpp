#include "engine/extension/Control.h"

#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/input/EventTouch.h"
#include "engine/input/Touch.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"

namespace engine::extension {

Control* Control::create() {
    auto* control = new Control;
    return autoreleased(control, control->init());
}

bool Control::init() {
    if (!Layer::init()) return false;
    auto* listener = EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = [this](Touch* touch, Event* event) {
        if (!_enabled || !hasVisibleParents()) return false;
        return onTouchBegan(touch, event);
    };
    listener->onTouchMoved = [this](Touch* touch, Event* event) { onTouchMoved(touch, event); };
    listener->onTouchEnded = [this](Touch* touch, Event* event) { onTouchEnded(touch, event); };
    listener->onTouchCancelled = [this](Touch* touch, Event* event) { onTouchCancelled(touch, event); };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
    return true;
}

void Control::setEnabled(bool enabled) {
    _enabled = enabled;
    needsLayout();
}

void Control::setSelected(bool selected) {
    _selected = selected;
    needsLayout();
}

void Control::setHighlighted(bool highlighted) {
    _highlighted = highlighted;
    needsLayout();
}

int Control::getState() const {
    if (!_enabled) return ControlState::DISABLED;
    if (_highlighted) return ControlState::HIGHLIGHTED;
    if (_selected) return ControlState::SELECTED;
    return ControlState::NORMAL;
}

void Control::addTargetWithActionForControlEvents(Ref* target, Action action, int events) {
    for (int i = 0; i < ControlEvent::COUNT; ++i) {
        if (events & (1 << i)) _targets[i].push_back(Target{target, action});
    }
}

void Control::removeTargetWithActionForControlEvents(Ref* target, int events) {
    for (int i = 0; i < ControlEvent::COUNT; ++i) {
        if (!(events & (1 << i))) continue;
        std::erase_if(_targets[i], [target](const Target& t) { return !target || t.target == target; });
    }
}

void Control::sendActionsForControlEvents(int events) {
    // A target or handler may release the control's last owner.
    retain();
    for (int i = 0; i < ControlEvent::COUNT; ++i) {
        if (!(events & (1 << i))) continue;
        int event = 1 << i;
        // Copied: an action may add or remove targets.
        const std::vector<Target> targets = _targets[i];
        for (const Target& t : targets) {
            if (t.action) t.action(this, event);
        }
        if (ScriptEngineProtocol* script = ScriptEngineManager::getInstance()->getScriptEngine()) {
            BasicScriptData data(this, &event);
            ScriptEvent scriptEvent(CONTROL_EVENT, &data);
            script->sendEvent(&scriptEvent);
        }
    }
    release();
}

Vec2 Control::getTouchLocation(Touch* touch) const { return convertToNodeSpace(touch->getLocation()); }

bool Control::isTouchInside(Touch* touch) const {
    const Vec2 point = getTouchLocation(touch);
    const Size& size = getContentSize();
    return Rect(0, 0, size.width, size.height).containsPoint(point);
}

bool Control::hasVisibleParents() const {
    for (const Node* node = this; node; node = node->getParent()) {
        if (!node->isVisible()) return false;
    }
    return true;
}

bool Control::onTouchBegan(Touch*, Event*) { return false; }
void Control::onTouchMoved(Touch*, Event*) {}
void Control::onTouchEnded(Touch*, Event*) {}
void Control::onTouchCancelled(Touch*, Event*) {}

}  // namespace engine::extension
