#pragma once
// How navigation components find their mesh and move their nodes: the mesh of
// the scene at the root of the node's tree, and positions in world space.
#include "engine/base/Types.h"

namespace engine {

class NavMesh;
class Node;

// The navigation mesh of the scene the node is in; null when none.
NavMesh* navMeshOfNode(const Node* node);
Vec3 nodeWorldPosition(const Node* node);
// Moves the node so that its origin lands on the world position.
void placeNodeAtWorld(Node* node, const Vec3& world);

}  // namespace engine
