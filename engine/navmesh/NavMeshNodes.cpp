#include "engine/navmesh/NavMeshNodes.h"

#include "engine/base/Mat4.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"

namespace engine {

NavMesh* navMeshOfNode(const Node* node) {
    if (!node) return nullptr;
    while (node->getParent()) node = node->getParent();
    const auto* scene = dynamic_cast<const Scene*>(node);
    return scene ? scene->getNavMesh() : nullptr;
}

Vec3 nodeWorldPosition(const Node* node) {
    Vec3 position;
    node->getNodeToWorldTransform().getTranslation(&position);
    return position;
}

void placeNodeAtWorld(Node* node, const Vec3& world) {
    Vec3 local = world;
    if (Node* parent = node->getParent()) parent->getWorldToNodeTransform().transformPoint(&local);
    node->setPosition3D(local);
}

}  // namespace engine
