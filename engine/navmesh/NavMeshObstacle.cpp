#include "engine/navmesh/NavMeshObstacle.h"

#include <recastnavigation/DetourCommon.h>
#include <recastnavigation/DetourCrowd.h>

#include "engine/navmesh/NavMesh.h"
#include "engine/navmesh/NavMeshNodes.h"
#include "engine/scene/Node.h"

namespace engine {

namespace {

dtCrowdAgentParams obstacleParams(float radius, float height, void* user) {
    dtCrowdAgentParams p{};
    p.radius = radius;
    p.height = height;
    p.collisionQueryRange = radius * 12.f;
    p.pathOptimizationRange = radius * 30.f;
    p.userData = user;
    return p;   // no speed, no steering: it stands where its node is
}

}  // namespace

NavMeshObstacle* NavMeshObstacle::create(float radius, float height) {
    auto* obstacle = new NavMeshObstacle;
    obstacle->_radius = radius;
    obstacle->_height = height;
    obstacle->setName(getNavMeshObstacleComponentName());
    obstacle->autorelease();
    return obstacle;
}

const std::string& NavMeshObstacle::getNavMeshObstacleComponentName() {
    static const std::string name = "___NavMeshObstacleComponent___";
    return name;
}

NavMeshObstacle::~NavMeshObstacle() = default;

void NavMeshObstacle::setRadius(float radius) {
    _radius = radius;
    rejoin();
}

void NavMeshObstacle::setHeight(float height) {
    _height = height;
    rejoin();
}

void NavMeshObstacle::rejoin() {
    if (_agentId < 0) return;
    const dtCrowdAgentParams params = obstacleParams(_radius, _height, this);
    _navMesh->getCrowd()->updateAgentParameters(_agentId, &params);
}

void NavMeshObstacle::onEnter() {
    if (NavMesh* mesh = navMeshOfNode(getOwner())) mesh->addNavMeshObstacle(this);
}

void NavMeshObstacle::onExit() {
    if (_navMesh) _navMesh->removeNavMeshObstacle(this);
}

void NavMeshObstacle::onRemove() {
    if (_navMesh) _navMesh->removeNavMeshObstacle(this);
}

void NavMeshObstacle::join(NavMesh* navMesh) {
    const Vec3 position = getOwner() ? nodeWorldPosition(getOwner()) : Vec3{};
    _navMesh = navMesh;   // a member even without a place in the crowd (yet)
    _agentId = navMesh->addCrowdMember(position, obstacleParams(_radius, _height, this));
}

void NavMeshObstacle::leave() {
    if (_agentId >= 0) _navMesh->getCrowd()->removeAgent(_agentId);
    _agentId = -1;
    _navMesh = nullptr;
}

void NavMeshObstacle::followNode() {
    if (_agentId < 0 || !getOwner()) return;
    Vec3 position;
    unsigned int ref = 0;
    if (!_navMesh->findNearestPoint(nodeWorldPosition(getOwner()), &position, &ref)) return;
    dtCrowdAgent* agent = _navMesh->getCrowd()->getEditableAgent(_agentId);
    const float pos[3] = {position.x, position.y, position.z};
    agent->corridor.reset(ref, pos);
    dtVcopy(agent->npos, pos);
}

}  // namespace engine
