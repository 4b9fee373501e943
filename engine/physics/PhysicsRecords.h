#pragma once
// Plain records of the 2D physics world: a body's material, the points of a contact
// and the result of a ray cast.
#include <cstdint>

#include "engine/base/Types.h"

namespace engine {

class PhysicsShape;

struct PhysicsMaterial {
    float density = 0.f;
    float restitution = 0.f;
    float friction = 0.f;
};

// Where two shapes touch: up to POINT_MAX points, of which count are used.
struct PhysicsContactData {
    static constexpr int POINT_MAX = 4;
    Vec2 points[POINT_MAX];
    int32_t count = 0;
    Vec2 normal;
};

// One hit of a ray cast; data is the caller's pointer handed through the cast.
struct PhysicsRayCastInfo {
    PhysicsShape* shape = nullptr;
    Vec2 start;
    Vec2 end;
    Vec2 contact;
    Vec2 normal;
    float fraction = 0.f;
    void* data = nullptr;
};

}  // namespace engine
