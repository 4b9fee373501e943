#include "engine/actions/GridAction.h"

namespace engine {

GridAction* GridAction::create(float duration) {
    auto* action = new GridAction;
    action->initWithDuration(duration);
    action->autorelease();
    return action;
}

GridAction* GridAction::clone() const {
    GridAction* copy = create(getDuration());
    copy->_backwards = _backwards;
    return copy;
}

GridAction* GridAction::reverse() const {
    GridAction* copy = clone();
    if (copy) copy->_backwards = !_backwards;
    return copy;
}

}  // namespace engine
