#include "engine/actions/ActionInstant.h"

#include "engine/scene/Node.h"
#include "engine/scene/Sprite.h"

namespace engine {

namespace {

template <class T>
T* autoreleasedAction(T* action) {
    action->autorelease();
    return action;
}

}  // namespace

Show* Show::create() { return autoreleasedAction(new Show); }

void Show::update(float) {
    if (Node* target = getTarget()) target->setVisible(true);
}

Hide* Hide::create() { return autoreleasedAction(new Hide); }

void Hide::update(float) {
    if (Node* target = getTarget()) target->setVisible(false);
}

ToggleVisibility* ToggleVisibility::create() { return autoreleasedAction(new ToggleVisibility); }

void ToggleVisibility::update(float) {
    if (Node* target = getTarget()) target->setVisible(!target->isVisible());
}

RemoveSelf* RemoveSelf::create(bool cleanup) {
    auto* action = new RemoveSelf;
    action->_cleanup = cleanup;
    return autoreleasedAction(action);
}

void RemoveSelf::update(float) {
    Node* target = getTarget();
    if (target && target->getParent()) target->getParent()->removeChild(target, _cleanup);
}

Place* Place::create(const Vec2& position) {
    auto* action = new Place;
    action->_position = position;
    return autoreleasedAction(action);
}

void Place::update(float) {
    if (Node* target = getTarget()) target->setPosition(_position);
}

FlipX* FlipX::create(bool flipped) {
    auto* action = new FlipX;
    action->_flipped = flipped;
    return autoreleasedAction(action);
}

void FlipX::update(float) {
    if (auto* sprite = dynamic_cast<Sprite*>(getTarget())) sprite->setFlippedX(_flipped);
}

FlipY* FlipY::create(bool flipped) {
    auto* action = new FlipY;
    action->_flipped = flipped;
    return autoreleasedAction(action);
}

void FlipY::update(float) {
    if (auto* sprite = dynamic_cast<Sprite*>(getTarget())) sprite->setFlippedY(_flipped);
}

}  // namespace engine
