#include "engine/extension/ControlButton.h"

#include <algorithm>

#include "engine/label/Label.h"
#include "engine/ui/Scale9Sprite.h"

namespace engine::extension {

namespace {

template <class T>
const T* stateValue(const std::map<int, T>& values, int state) {
    auto it = values.find(state);
    if (it == values.end()) it = values.find(ControlState::NORMAL);
    return it == values.end() ? nullptr : &it->second;
}

}  // namespace

ControlButton* ControlButton::create() { return create(nullptr, nullptr); }

ControlButton* ControlButton::create(Label* label, ui::Scale9Sprite* backgroundSprite) {
    auto* button = new ControlButton;
    return autoreleased(button, button->initWithLabelAndBackgroundSprite(label, backgroundSprite));
}

ControlButton* ControlButton::create(const std::string& title, const std::string& fontName, float fontSize) {
    return create(Label::createWithSystemFont(title, fontName, fontSize), nullptr);
}

ControlButton* ControlButton::create(ui::Scale9Sprite* backgroundSprite) {
    return create(nullptr, backgroundSprite);
}

ControlButton::~ControlButton() {
    for (auto& [state, sprite] : _backgrounds) sprite->release();
}

bool ControlButton::initWithLabelAndBackgroundSprite(Label* label, ui::Scale9Sprite* backgroundSprite) {
    if (!Control::init()) return false;
    setIgnoreAnchorPointForPosition(false);
    setAnchorPoint(Vec2(0.5f, 0.5f));
    _titleLabel = label ? label : Label::create();
    _titleLabel->setAnchorPoint(Vec2(0.5f, 0.5f));
    addChild(_titleLabel, 1);
    _titles[ControlState::NORMAL] = _titleLabel->getString();
    _titleColors[ControlState::NORMAL] = _titleLabel->getColor();
    setBackgroundSpriteForState(backgroundSprite ? backgroundSprite : ui::Scale9Sprite::create(),
                                ControlState::NORMAL);
    _initialised = true;
    needsLayout();
    return true;
}

void ControlButton::setTitleForState(const std::string& title, int state) {
    _titles[state] = title;
    needsLayout();
}

std::string ControlButton::getTitleForState(int state) const {
    const std::string* title = stateValue(_titles, state);
    return title ? *title : std::string();
}

void ControlButton::setTitleColorForState(const Color3B& color, int state) {
    _titleColors[state] = color;
    needsLayout();
}

Color3B ControlButton::getTitleColorForState(int state) const {
    const Color3B* color = stateValue(_titleColors, state);
    return color ? *color : Color3B{255, 255, 255};
}

void ControlButton::setBackgroundSpriteForState(ui::Scale9Sprite* sprite, int state) {
    auto it = _backgrounds.find(state);
    if (it != _backgrounds.end()) {
        if (it->second == _backgroundSprite) {
            _backgroundSprite->removeFromParent();
            _backgroundSprite = nullptr;
        }
        it->second->release();
        _backgrounds.erase(it);
    }
    if (sprite) {
        sprite->retain();
        _backgrounds[state] = sprite;
    }
    needsLayout();
}

ui::Scale9Sprite* ControlButton::getBackgroundSpriteForState(int state) const {
    ui::Scale9Sprite* const* sprite = stateValue(_backgrounds, state);
    return sprite ? *sprite : nullptr;
}

void ControlButton::setPreferredSize(const Size& size) {
    _preferredSize = size;
    needsLayout();
}

void ControlButton::needsLayout() {
    if (!_initialised) return;
    const int state = getState();
    _titleLabel->setString(getTitleForState(state));
    _titleLabel->setColor(getTitleColorForState(state));

    ui::Scale9Sprite* shown = getBackgroundSpriteForState(state);
    if (shown != _backgroundSprite) {
        if (_backgroundSprite) _backgroundSprite->removeFromParent();
        _backgroundSprite = shown;
        if (shown) {
            shown->setAnchorPoint(Vec2(0.5f, 0.5f));
            addChild(shown, 0);
        }
    }

    const Size titleSize = _titleLabel->getContentSize();
    const Size size(std::max(titleSize.width + 2 * kMarginH, _preferredSize.width),
                    std::max(titleSize.height + 2 * kMarginV, _preferredSize.height));
    setContentSize(size);
    const Vec2 centre(size.width / 2, size.height / 2);
    _titleLabel->setPosition(centre);
    if (_backgroundSprite) {
        _backgroundSprite->setPreferredSize(size);
        _backgroundSprite->setPosition(centre);
    }
}

bool ControlButton::onTouchBegan(Touch* touch, Event*) {
    if (!isTouchInside(touch)) return false;
    _pushed = true;
    setHighlighted(true);
    sendActionsForControlEvents(ControlEvent::TOUCH_DOWN);
    return true;
}

void ControlButton::onTouchMoved(Touch* touch, Event*) {
    if (!isEnabled() || !_pushed || isSelected()) {
        if (isHighlighted()) setHighlighted(false);
        return;
    }
    const bool inside = isTouchInside(touch);
    if (inside && !isHighlighted()) {
        setHighlighted(true);
        sendActionsForControlEvents(ControlEvent::DRAG_ENTER);
    } else if (inside) {
        sendActionsForControlEvents(ControlEvent::DRAG_INSIDE);
    } else if (isHighlighted()) {
        setHighlighted(false);
        sendActionsForControlEvents(ControlEvent::DRAG_EXIT);
    } else {
        sendActionsForControlEvents(ControlEvent::DRAG_OUTSIDE);
    }
}

void ControlButton::onTouchEnded(Touch* touch, Event*) {
    _pushed = false;
    setHighlighted(false);
    sendActionsForControlEvents(isTouchInside(touch) ? ControlEvent::TOUCH_UP_INSIDE
                                                     : ControlEvent::TOUCH_UP_OUTSIDE);
}

void ControlButton::onTouchCancelled(Touch*, Event*) {
    _pushed = false;
    setHighlighted(false);
    sendActionsForControlEvents(ControlEvent::TOUCH_CANCEL);
}

}  // namespace engine::extension
