#pragma once
// A navigation mesh and the crowd that walks it. create reads the walkable
// triangles from an OBJ file and, when a second file is named, the off-mesh
// links (engine/navmesh/NavMeshGeometry.h), and builds the Detour mesh at once
// (engine/navmesh/NavMeshBuilder.h). Agents and obstacles join the crowd while
// their nodes are in a running scene whose mesh this is (Scene::setNavMesh);
// update, which the scene's scheduler runs every frame, steps the crowd, moves
// the agents' nodes and reports finished moves. Obstacles are still members of
// the crowd: agents steer around them (they do not cut the mesh). The debug
// drawing flag is kept for the scene's debug camera. Main thread only.
#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/navmesh/NavMeshGeometry.h"

class dtCrowd;
class dtNavMesh;
class dtNavMeshQuery;
struct dtCrowdAgentParams;

namespace engine {

class NavMeshAgent;
class NavMeshObstacle;

class NavMesh : public Ref {
public:
    // Autoreleased; null (with a log line) when a file cannot be read or the mesh
    // cannot be built.
    static NavMesh* create(const std::string& meshFile, const std::string& linksFile = "");
    static NavMesh* createWithGeometry(const NavMeshGeometry& geometry);
    // As createWithGeometry; a refusal's log line names source.
    static NavMesh* createFrom(const NavMeshGeometry& geometry, const std::string& source);
    ~NavMesh() override;

    void update(float delta);

    // Retained while they are members; adding twice, or null, does nothing. A
    // member of another mesh leaves that one first.
    void addNavMeshAgent(NavMeshAgent* agent);
    void removeNavMeshAgent(NavMeshAgent* agent);
    void addNavMeshObstacle(NavMeshObstacle* obstacle);
    void removeNavMeshObstacle(NavMeshObstacle* obstacle);

    void setDebugDrawEnable(bool enable) { _debugDraw = enable; }
    bool isDebugDrawEnabled() const { return _debugDraw; }

    // The point of the mesh nearest to position (within 2 units across, 4 up or
    // down; anywhere on the mesh when anywhere); false when there is none.
    bool findNearestPoint(const Vec3& position, Vec3* nearest, unsigned int* polyRef = nullptr,
                          bool anywhere = false) const;

    // The longest stretch of path an agent is sent along at once.
    static constexpr int kMaxLegPolygons = 128;

    dtCrowd* getCrowd() const { return _crowd; }

private:
    NavMesh() = default;
    int addCrowdMember(const Vec3& position, const dtCrowdAgentParams& params);
    // The next leg of a walk from (start, startRef) to (target, targetRef): the
    // target itself (true) when its path crosses at most kMaxLegPolygons
    // polygons or cannot be planned, else (false) the point nearest the target
    // on the path's kMaxLegPolygons-th polygon.
    bool planLeg(const float* start, unsigned int startRef, const float* target, unsigned int targetRef,
                 float* legEnd, unsigned int* legRef);

    dtNavMesh* _navMesh = nullptr;
    dtCrowd* _crowd = nullptr;
    dtNavMeshQuery* _planner = nullptr;   // plans agents' legs
    std::vector<NavMeshAgent*> _agents;
    std::vector<NavMeshObstacle*> _obstacles;
    bool _debugDraw = false;

    friend class NavMeshAgent;
    friend class NavMeshObstacle;
};

}  // namespace engine
