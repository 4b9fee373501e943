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
    // down); false when there is none.
    bool findNearestPoint(const Vec3& position, Vec3* nearest, unsigned int* polyRef = nullptr) const;

    dtCrowd* getCrowd() const { return _crowd; }

private:
    NavMesh() = default;
    int addCrowdMember(const Vec3& position, const dtCrowdAgentParams& params);

    dtNavMesh* _navMesh = nullptr;
    dtCrowd* _crowd = nullptr;
    std::vector<NavMeshAgent*> _agents;
    std::vector<NavMeshObstacle*> _obstacles;
    bool _debugDraw = false;

    friend class NavMeshAgent;
    friend class NavMeshObstacle;
};

}  // namespace engine
