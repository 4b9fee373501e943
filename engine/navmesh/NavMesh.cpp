#include "engine/navmesh/NavMesh.h"

#include <recastnavigation/DetourCrowd.h>
#include <recastnavigation/DetourNavMesh.h>
#include <recastnavigation/DetourNavMeshQuery.h>

#include <algorithm>

#include "engine/base/Log.h"
#include "engine/navmesh/NavMeshAgent.h"
#include "engine/navmesh/NavMeshBuilder.h"
#include "engine/navmesh/NavMeshObstacle.h"

namespace engine {

namespace {

constexpr int kMaxCrowdMembers = 128;
constexpr float kMaxMemberRadius = 4.f;
constexpr float kSearchHalfExtents[3] = {2.f, 4.f, 2.f};

}  // namespace

NavMesh* NavMesh::createWithGeometry(const NavMeshGeometry& geometry) {
    std::string error;
    dtNavMesh* detourMesh = buildDetourNavMesh(geometry, &error);
    if (!detourMesh) {
        log("NavMesh: %s", error.c_str());
        return nullptr;
    }
    auto* mesh = new NavMesh;
    mesh->_navMesh = detourMesh;
    mesh->_crowd = dtAllocCrowd();
    if (!mesh->_crowd || !mesh->_crowd->init(kMaxCrowdMembers, kMaxMemberRadius, detourMesh)) {
        log("NavMesh: the crowd cannot be made");
        delete mesh;
        return nullptr;
    }
    mesh->autorelease();
    return mesh;
}

NavMesh::~NavMesh() {
    for (NavMeshAgent* agent : _agents) {
        agent->leave();
        agent->release();
    }
    for (NavMeshObstacle* obstacle : _obstacles) {
        obstacle->leave();
        obstacle->release();
    }
    dtFreeCrowd(_crowd);
    dtFreeNavMesh(_navMesh);
}

bool NavMesh::findNearestPoint(const Vec3& position, Vec3* nearest, unsigned int* polyRef) const {
    const dtNavMeshQuery* query = _crowd->getNavMeshQuery();
    const float center[3] = {position.x, position.y, position.z};
    float point[3];
    dtPolyRef ref = 0;
    if (dtStatusFailed(query->findNearestPoly(center, kSearchHalfExtents, _crowd->getFilter(0), &ref, point)) ||
        ref == 0) {
        return false;
    }
    *nearest = Vec3(point[0], point[1], point[2]);
    if (polyRef) *polyRef = ref;
    return true;
}

int NavMesh::addCrowdMember(const Vec3& position, const dtCrowdAgentParams& params) {
    Vec3 start = position;
    findNearestPoint(position, &start);
    const float pos[3] = {start.x, start.y, start.z};
    return _crowd->addAgent(pos, &params);
}

void NavMesh::addNavMeshAgent(NavMeshAgent* agent) {
    if (!agent || std::find(_agents.begin(), _agents.end(), agent) != _agents.end()) return;
    if (agent->_navMesh) agent->_navMesh->removeNavMeshAgent(agent);   // one crowd at a time
    agent->retain();
    _agents.push_back(agent);
    agent->join(this);
}

void NavMesh::removeNavMeshAgent(NavMeshAgent* agent) {
    auto it = std::find(_agents.begin(), _agents.end(), agent);
    if (it == _agents.end()) return;
    _agents.erase(it);
    agent->leave();
    agent->release();
}

void NavMesh::addNavMeshObstacle(NavMeshObstacle* obstacle) {
    if (!obstacle || std::find(_obstacles.begin(), _obstacles.end(), obstacle) != _obstacles.end()) return;
    if (obstacle->_navMesh) obstacle->_navMesh->removeNavMeshObstacle(obstacle);
    obstacle->retain();
    _obstacles.push_back(obstacle);
    obstacle->join(this);
}

void NavMesh::removeNavMeshObstacle(NavMeshObstacle* obstacle) {
    auto it = std::find(_obstacles.begin(), _obstacles.end(), obstacle);
    if (it == _obstacles.end()) return;
    _obstacles.erase(it);
    obstacle->leave();
    obstacle->release();
}

void NavMesh::update(float delta) {
    if (delta <= 0.f) return;
    for (NavMeshObstacle* obstacle : _obstacles) obstacle->followNode();
    _crowd->update(delta, nullptr);
    // A finished move's callback may add or remove members: walk a held copy.
    const std::vector<NavMeshAgent*> agents = _agents;
    for (NavMeshAgent* agent : agents) agent->retain();
    for (NavMeshAgent* agent : agents) {
        if (agent->_navMesh == this) agent->afterCrowdUpdate(delta);
    }
    for (NavMeshAgent* agent : agents) agent->release();
}

}  // namespace engine
