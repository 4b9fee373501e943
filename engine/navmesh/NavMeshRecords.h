#pragma once
// Plain records of the navigation mesh: an agent's parameters and an off-mesh link.
#include <cstdint>

#include "engine/base/Types.h"

namespace engine {

struct NavMeshAgentParam {
    float radius = 0.6f;
    float height = 2.0f;
    float maxAcceleration = 8.0f;
    float maxSpeed = 3.5f;
    float collisionQueryRange = 0.6f * 12.0f;
    float pathOptimizationRange = 0.6f * 30.0f;
    float separationWeight = 2.0f;
    uint8_t updateFlags = 27;
    uint8_t obstacleAvoidanceType = 3;
    uint8_t queryFilterType = 0;
};

// The link an agent is crossing between two points of the mesh.
struct OffMeshLinkData {
    Vec3 startPosition;
    Vec3 endPosition;
};

}  // namespace engine
