#pragma once
// A navigation mesh and the crowd that walks it. create reads the walkable
// triangles from an OBJ file and, when a second file is named, the off-mesh
// links (engine/navmesh/NavMeshGeometry.h), and builds the Detour mesh on a
// worker thread (engine/navmesh/NavMeshBuildTask.h) while frames go on;
// createWithGeometry builds it at once (engine/navmesh/NavMeshBuilder.h).
// Until a build's result reaches the main thread, and for good when the build
// is refused, the mesh is empty: queries find nothing, update does nothing, and
// agents and obstacles added wait as members without a place in the crowd;
// they are placed (and moves asked meanwhile start) when the mesh is ready.
// Agents and obstacles join the crowd while their nodes are in a running scene
// whose mesh this is (Scene::setNavMesh); update, which the scene's scheduler
// runs every frame, steps the crowd, moves the agents' nodes and reports
// finished moves. Obstacles are still members of the crowd: agents steer
// around them (they do not cut the mesh). The debug drawing flag is kept for
// the scene's debug camera. Main thread only; a mesh destroyed while it builds
// stops its build and drops the result.
#include <memory>
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
class NavMeshBuildTask;
class NavMeshObstacle;

class NavMesh : public Ref {
public:
    // Autoreleased and building; null (with a log line) when a file cannot be
    // read. A refused build is logged when its result arrives, naming meshFile;
    // the mesh then stays empty.
    static NavMesh* create(const std::string& meshFile, const std::string& linksFile = "");
    // Autoreleased and ready; null (with a log line) when the mesh cannot be built.
    static NavMesh* createWithGeometry(const NavMeshGeometry& geometry);
    // As createWithGeometry; a refusal's log line names source.
    static NavMesh* createFrom(const NavMeshGeometry& geometry, const std::string& source);
    ~NavMesh() override;

    // True until the result of create's build has reached the main thread.
    bool isBuilding() const { return _build != nullptr; }

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
    // down; anywhere on the mesh when anywhere); false when there is none (always
    // while the mesh is empty).
    bool findNearestPoint(const Vec3& position, Vec3* nearest, unsigned int* polyRef = nullptr,
                          bool anywhere = false) const;

    // The longest stretch of path an agent is sent along at once.
    static constexpr int kMaxLegPolygons = 128;

    // Null while the mesh is empty.
    dtCrowd* getCrowd() const { return _crowd; }

private:
    NavMesh() = default;
    // Takes detourMesh and makes its crowd; false (everything freed, the mesh
    // empty) when the crowd cannot be made.
    bool adopt(dtNavMesh* detourMesh);
    // The build's result on the main thread: the mesh is ready, or stays empty.
    void finishBuild(dtNavMesh* detourMesh, const std::string& error, const std::string& source);
    // The crowd's id of a new member; -1 when the crowd is full or the mesh empty.
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
    std::shared_ptr<NavMeshBuildTask> _build;   // create's build until its result arrives

    friend class NavMeshAgent;
    friend class NavMeshObstacle;
};

}  // namespace engine
