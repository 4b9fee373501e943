#include "engine/navmesh/NavMesh.h"

#include <recastnavigation/DetourCommon.h>
#include <recastnavigation/DetourCrowd.h>
#include <recastnavigation/DetourNavMesh.h>
#include <recastnavigation/DetourNavMeshQuery.h>

#include <algorithm>
#include <cmath>

#include "engine/base/Log.h"
#include "engine/navmesh/NavMeshAgent.h"
#include "engine/navmesh/NavMeshBuildTask.h"
#include "engine/navmesh/NavMeshBuilder.h"
#include "engine/navmesh/NavMeshObstacle.h"

namespace engine {

namespace {

constexpr int kMaxCrowdMembers = 128;
constexpr float kMaxMemberRadius = 4.f;
constexpr float kSearchHalfExtents[3] = {2.f, 4.f, 2.f};
// The search of a leg's path: enough nodes to find kMaxLegPolygons polygons
// ahead on any mesh; a search that runs out still gives the best partial path.
constexpr int kPlannerNodes = 8192;
constexpr int kPlannedPolygons = 1024;

}  // namespace

NavMesh* NavMesh::createWithGeometry(const NavMeshGeometry& geometry) { return createFrom(geometry, "the geometry"); }

NavMesh* NavMesh::createFrom(const NavMeshGeometry& geometry, const std::string& source) {
    std::string error;
    dtNavMesh* detourMesh = buildDetourNavMesh(geometry, &error);
    if (!detourMesh) {
        log("NavMesh: cannot build %s: %s", source.c_str(), error.c_str());
        return nullptr;
    }
    auto* mesh = new NavMesh;
    return autoreleased(mesh, mesh->adopt(detourMesh));
}

bool NavMesh::adopt(dtNavMesh* detourMesh) {
    _navMesh = detourMesh;
    _crowd = dtAllocCrowd();
    _planner = dtAllocNavMeshQuery();
    if (_crowd && _crowd->init(kMaxCrowdMembers, kMaxMemberRadius, detourMesh) && _planner &&
        dtStatusSucceed(_planner->init(detourMesh, kPlannerNodes))) {
        return true;
    }
    log("NavMesh: the crowd cannot be made");
    dtFreeCrowd(_crowd);
    dtFreeNavMeshQuery(_planner);
    dtFreeNavMesh(_navMesh);
    _crowd = nullptr;
    _planner = nullptr;
    _navMesh = nullptr;
    return false;
}

void NavMesh::finishBuild(dtNavMesh* detourMesh, const std::string& error, const std::string& source) {
    _build.reset();
    if (!detourMesh) {
        log("NavMesh: cannot build %s: %s", source.c_str(), error.c_str());
        return;
    }
    if (!adopt(detourMesh)) return;
    // The members that waited take their places (obstacles first, for the
    // agents' first steps to see them); moves asked meanwhile start.
    for (NavMeshObstacle* obstacle : _obstacles) obstacle->join(this);
    for (NavMeshAgent* agent : _agents) agent->join(this);
}

NavMesh::~NavMesh() {
    if (_build) _build->cancel();
    for (NavMeshAgent* agent : _agents) {
        agent->leave();
        agent->release();
    }
    for (NavMeshObstacle* obstacle : _obstacles) {
        obstacle->leave();
        obstacle->release();
    }
    dtFreeCrowd(_crowd);
    dtFreeNavMeshQuery(_planner);
    dtFreeNavMesh(_navMesh);
}

bool NavMesh::findNearestPoint(const Vec3& position, Vec3* nearest, unsigned int* polyRef, bool anywhere) const {
    if (!_crowd) return false;
    const dtNavMeshQuery* query = _crowd->getNavMeshQuery();
    const float center[3] = {position.x, position.y, position.z};
    float extents[3] = {kSearchHalfExtents[0], kSearchHalfExtents[1], kSearchHalfExtents[2]};
    if (anywhere) {
        // A box around the point that holds the whole mesh.
        const dtMeshTile* tile = static_cast<const dtNavMesh*>(_navMesh)->getTile(0);
        if (!tile || !tile->header) return false;
        for (int k = 0; k < 3; ++k) {
            extents[k] = std::max(std::fabs(center[k] - tile->header->bmin[k]), std::fabs(center[k] - tile->header->bmax[k])) + 1.f;
        }
    }
    float point[3];
    dtPolyRef ref = 0;
    if (dtStatusFailed(query->findNearestPoly(center, extents, _crowd->getFilter(0), &ref, point)) || ref == 0) {
        return false;
    }
    *nearest = Vec3(point[0], point[1], point[2]);
    if (polyRef) *polyRef = ref;
    return true;
}

int NavMesh::addCrowdMember(const Vec3& position, const dtCrowdAgentParams& params) {
    if (!_crowd) return -1;
    Vec3 start = position;
    findNearestPoint(position, &start);
    const float pos[3] = {start.x, start.y, start.z};
    return _crowd->addAgent(pos, &params);
}

bool NavMesh::planLeg(const float* start, unsigned int startRef, const float* target, unsigned int targetRef,
                      float* legEnd, unsigned int* legRef) {
    dtVcopy(legEnd, target);
    *legRef = targetRef;
    if (startRef == 0) return true;
    std::vector<dtPolyRef> path(kPlannedPolygons);
    int count = 0;
    if (dtStatusFailed(_planner->findPath(startRef, targetRef, start, target, _crowd->getFilter(0), path.data(), &count,
                                          kPlannedPolygons)) ||
        count <= kMaxLegPolygons) {
        return true;
    }
    const dtPolyRef through = path[kMaxLegPolygons - 1];
    if (dtStatusFailed(_planner->closestPointOnPoly(through, target, legEnd, nullptr))) {
        dtVcopy(legEnd, target);
        return true;
    }
    *legRef = through;
    return false;
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
    if (delta <= 0.f || !_crowd) return;
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
