#include "engine/physics/PhysicsShape.h"

namespace engine {

PhysicsShape* PhysicsShape::create() {
    auto* shape = new PhysicsShape();
    shape->autorelease();
    return shape;
}

}  // namespace engine
