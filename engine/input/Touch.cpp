#include "engine/input/Touch.h"

#include "engine/base/Director.h"

namespace engine {

Vec2 Touch::getLocation() const { return Director::getInstance()->convertToGL(_point); }
Vec2 Touch::getPreviousLocation() const { return Director::getInstance()->convertToGL(_previousPoint); }
Vec2 Touch::getStartLocation() const { return Director::getInstance()->convertToGL(_startPoint); }
Vec2 Touch::getDelta() const { return getLocation() - getPreviousLocation(); }

}  // namespace engine
