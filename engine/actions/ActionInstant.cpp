#include "engine/actions/ActionInstant.h"

#include "engine/scene/Node.h"
#include "engine/scene/Sprite.h"

namespace engine {

Show* Show::create() { return autoreleased(new Show); }

ActionInstant* Show::reverse() const { return Hide::create(); }

void Show::update(float) {
    if (Node* target = getTarget()) target->setVisible(true);
}

Hide* Hide::create() { return autoreleased(new Hide); }

void Hide::update(float) {
    if (Node* target = getTarget()) target->setVisible(false);
}

ToggleVisibility* ToggleVisibility::create() { return autoreleased(new ToggleVisibility); }

void ToggleVisibility::update(float) {
    if (Node* target = getTarget()) target->setVisible(!target->isVisible());
}

RemoveSelf* RemoveSelf::create(bool cleanup) {
    auto* action = new RemoveSelf;
    action->_cleanup = cleanup;
    return autoreleased(action);
}

void RemoveSelf::update(float) {
    Node* target = getTarget();
    if (target && target->getParent()) target->getParent()->removeChild(target, _cleanup);
}

Place* Place::create(const Vec2& position) {
    auto* action = new Place;
    action->_position = position;
    return autoreleased(action);
}

void Place::update(float) {
    if (Node* target = getTarget()) target->setPosition(_position);
}

FlipX* FlipX::create(bool flipped) {
    auto* action = new FlipX;
    action->_flipped = flipped;
    return autoreleased(action);
}

void FlipX::update(float) {
    if (auto* sprite = dynamic_cast<Sprite*>(getTarget())) sprite->setFlippedX(_flipped);
}

FlipY* FlipY::create(bool flipped) {
    auto* action = new FlipY;
    action->_flipped = flipped;
    return autoreleased(action);
}

void FlipY::update(float) {
    if (auto* sprite = dynamic_cast<Sprite*>(getTarget())) sprite->setFlippedY(_flipped);
}

}  // namespace engine
