#include "engine/actions/ActionFollow.h"

#include <algorithm>

#include "engine/base/Director.h"
#include "engine/scene/Node.h"

namespace engine {

Follow* Follow::create(Node* followedNode, const Rect& boundary) {
    if (!followedNode) return nullptr;
    auto* action = new Follow;
    action->_followed = followedNode;
    followedNode->retain();
    action->_boundary = boundary;
    action->_hasBoundary = boundary.size.width > 0.f && boundary.size.height > 0.f;
    action->_boundarySet = action->_hasBoundary;
    action->autorelease();
    return action;
}

Follow::~Follow() {
    if (_followed) _followed->release();
}

Follow* Follow::clone() const {
    Follow* copy = create(_followed, _boundary);
    if (copy) copy->_boundarySet = _boundarySet;
    return copy;
}

namespace {
// The layer offset on one axis that keeps [low, low + length] over a screen of
// the given side: the offset asked for, held between the edges.
float clampAxis(float wanted, float low, float length, float side) {
    if (length <= side) return side / 2.f - (low + length / 2.f);
    return std::clamp(wanted, side - (low + length), -low);
}
}  // namespace

void Follow::step(float) {
    Node* target = getTarget();
    if (!target || !_followed) return;
    const Size screen = Director::getInstance()->getWinSize();
    const Vec2 followed = _followed->getPosition();
    Vec2 position(screen.width / 2.f - followed.x, screen.height / 2.f - followed.y);
    if (_boundarySet) {
        position.x = clampAxis(position.x, _boundary.origin.x, _boundary.size.width, screen.width);
        position.y = clampAxis(position.y, _boundary.origin.y, _boundary.size.height, screen.height);
    }
    target->setPosition(position);
}

bool Follow::isDone() const { return !_followed || !_followed->isRunning(); }

}  // namespace engine
