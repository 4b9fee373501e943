#pragma once
// A collision shape of a physics body. So far only its identity exists (ray-cast
// results name the shape they hit); the geometry comes with the physics world.
#include "engine/base/Ref.h"

namespace engine {

class PhysicsShape : public Ref {
public:
    // A new autoreleased shape.
    static PhysicsShape* create();

protected:
    PhysicsShape() = default;
};

}  // namespace engine
