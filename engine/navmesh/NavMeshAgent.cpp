#include "engine/navmesh/NavMeshAgent.h"

#include <recastnavigation/DetourCrowd.h>

#include <algorithm>
#include <cmath>

#include "engine/base/Geometry.h"
#include "engine/navmesh/NavMesh.h"
#include "engine/navmesh/NavMeshNodes.h"
#include "engine/scene/Node.h"

namespace engine {

namespace {

// The crowd slows an agent down as it nears its goal; it has arrived once this
// close (across the floor) to the end of its path.
float arrivalDistance(float radius) { return std::max(0.05f, radius * 0.1f); }

dtCrowdAgentParams crowdParams(const NavMeshAgentParam& param, void* user) {
    dtCrowdAgentParams p{};
    p.radius = param.radius;
    p.height = param.height;
    p.maxAcceleration = param.maxAcceleration;
    p.maxSpeed = param.maxSpeed;
    p.collisionQueryRange = param.collisionQueryRange;
    p.pathOptimizationRange = param.pathOptimizationRange;
    p.separationWeight = param.separationWeight;
    p.updateFlags = param.updateFlags;
    p.obstacleAvoidanceType =
        std::min<uint8_t>(param.obstacleAvoidanceType, DT_CROWD_MAX_OBSTAVOIDANCE_PARAMS - 1);
    p.queryFilterType = std::min<uint8_t>(param.queryFilterType, DT_CROWD_MAX_QUERY_FILTER_TYPE - 1);
    p.userData = user;
    return p;
}

}  // namespace

NavMeshAgent* NavMeshAgent::create(const NavMeshAgentParam& param) {
    auto* agent = new NavMeshAgent;
    agent->_param = param;
    agent->setName(getNavMeshAgentComponentName());
    return autoreleased(agent);
}

const std::string& NavMeshAgent::getNavMeshAgentComponentName() {
    static const std::string name = "___NavMeshAgentComponent___";
    return name;
}

NavMeshAgent::~NavMeshAgent() = default;

void NavMeshAgent::setRadius(float radius) { setParam(&NavMeshAgentParam::radius, radius); }
void NavMeshAgent::setHeight(float height) { setParam(&NavMeshAgentParam::height, height); }
void NavMeshAgent::setMaxAcceleration(float maxAcceleration) {
    setParam(&NavMeshAgentParam::maxAcceleration, maxAcceleration);
}
void NavMeshAgent::setMaxSpeed(float maxSpeed) { setParam(&NavMeshAgentParam::maxSpeed, maxSpeed); }
void NavMeshAgent::setSeparationWeight(float weight) { setParam(&NavMeshAgentParam::separationWeight, weight); }
void NavMeshAgent::setObstacleAvoidanceType(uint8_t type) { setParam(&NavMeshAgentParam::obstacleAvoidanceType, type); }

void NavMeshAgent::updateParams() {
    if (_agentId < 0) return;
    const dtCrowdAgentParams params = crowdParams(_param, this);
    _navMesh->getCrowd()->updateAgentParameters(_agentId, &params);
}

void NavMeshAgent::move(const Vec3& destination, const MoveCallback& callback) {
    _destination = destination;
    _callback = callback;
    _moving = true;
    _paused = false;
    _elapsed = 0.f;
    startMove();
}

void NavMeshAgent::startMove() {
    if (_agentId < 0 || !_moving || _paused) return;
    Vec3 target;
    unsigned int ref = 0;
    if (!_navMesh->findNearestPoint(_destination, &target, &ref) &&
        !_navMesh->findNearestPoint(_destination, &target, &ref, true)) {
        // Nowhere on the mesh to go: the move ends where it began, unreported.
        _moving = false;
        _callback = nullptr;
        return;
    }
    dtCrowd* crowd = _navMesh->getCrowd();
    const dtCrowdAgent* agent = crowd->getAgent(_agentId);
    const float pos[3] = {target.x, target.y, target.z};
    float legEnd[3];
    unsigned int legRef = 0;
    _lastLeg = _navMesh->planLeg(agent->npos, agent->corridor.getFirstPoly(), pos, ref, legEnd, &legRef);
    crowd->requestMoveTarget(_agentId, legRef, legEnd);
}

void NavMeshAgent::pause() {
    if (!_moving || _paused) return;
    _paused = true;
    if (_agentId >= 0) _navMesh->getCrowd()->resetMoveTarget(_agentId);
}

void NavMeshAgent::resume() {
    if (!_paused) return;
    _paused = false;
    startMove();
}

void NavMeshAgent::stop() {
    _moving = false;
    _paused = false;
    _callback = nullptr;
    if (_agentId >= 0) _navMesh->getCrowd()->resetMoveTarget(_agentId);
}

Vec3 NavMeshAgent::getVelocity() const {
    if (_agentId < 0) return {};
    const dtCrowdAgent* agent = _navMesh->getCrowd()->getAgent(_agentId);
    return {agent->vel[0], agent->vel[1], agent->vel[2]};
}

Vec3 NavMeshAgent::getCurrentPosition() const {
    if (_agentId < 0) return getOwner() ? nodeWorldPosition(getOwner()) : Vec3{};
    const dtCrowdAgent* agent = _navMesh->getCrowd()->getAgent(_agentId);
    return {agent->npos[0], agent->npos[1], agent->npos[2]};
}

bool NavMeshAgent::isOnOffMeshLink() const {
    return _agentId >= 0 && _navMesh->getCrowd()->getAgent(_agentId)->state == DT_CROWDAGENT_STATE_OFFMESH;
}

void NavMeshAgent::onEnter() {
    if (NavMesh* mesh = navMeshOfNode(getOwner())) mesh->addNavMeshAgent(this);
}

void NavMeshAgent::onExit() {
    if (_navMesh) _navMesh->removeNavMeshAgent(this);
}

void NavMeshAgent::onRemove() {
    if (_navMesh) _navMesh->removeNavMeshAgent(this);
}

void NavMeshAgent::join(NavMesh* navMesh) {
    const Vec3 start = getOwner() ? nodeWorldPosition(getOwner()) : Vec3{};
    _navMesh = navMesh;   // a member even without a place in the crowd (yet)
    _agentId = navMesh->addCrowdMember(start, crowdParams(_param, this));
    startMove();
}

void NavMeshAgent::leave() {
    if (_agentId >= 0) _navMesh->getCrowd()->removeAgent(_agentId);
    _agentId = -1;
    _navMesh = nullptr;
}

void NavMeshAgent::afterCrowdUpdate(float delta) {
    if (_agentId < 0) return;
    dtCrowd* crowd = _navMesh->getCrowd();
    const dtCrowdAgent* agent = crowd->getAgent(_agentId);
    if (Node* owner = getOwner()) {
        placeNodeAtWorld(owner, Vec3(agent->npos[0], agent->npos[1], agent->npos[2]));
        const float vx = agent->vel[0], vz = agent->vel[2];
        if (_autoOrientation && vx * vx + vz * vz > 1e-6f) {
            const float yaw = std::atan2(vx, vz) - std::atan2(_refAxis.x, _refAxis.z);
            owner->setRotationQuat(Quaternion(0.f, std::sin(yaw / 2), 0.f, std::cos(yaw / 2)));
        }
    }
    if (!_moving || _paused) return;
    _elapsed += delta;
    if (agent->targetState == DT_CROWDAGENT_TARGET_FAILED) {
        _moving = false;
        _callback = nullptr;
        return;
    }
    if (agent->targetState != DT_CROWDAGENT_TARGET_VALID || agent->state != DT_CROWDAGENT_STATE_WALKING) return;
    const float* end = agent->corridor.getTarget();
    const float dx = end[0] - agent->npos[0], dz = end[2] - agent->npos[2];
    if (std::sqrt(dx * dx + dz * dz) > arrivalDistance(_param.radius) ||
        std::fabs(end[1] - agent->npos[1]) > _param.height) {
        return;
    }
    if (!_lastLeg) {
        startMove();
        return;
    }
    _moving = false;
    crowd->resetMoveTarget(_agentId);
    MoveCallback callback = std::move(_callback);
    _callback = nullptr;
    if (callback) callback(this, _elapsed);
}

}  // namespace engine
