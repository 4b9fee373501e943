#pragma once
// A navigation agent: the component that walks its node over the scene's
// navigation mesh (engine/navmesh/NavMesh.h). It joins the mesh's crowd when its
// node enters a running scene that has a mesh (or the running scene gets one), at
// the mesh point nearest to the node's world position, and leaves it when the
// node exits or the scene's mesh changes; a mesh still building places it when
// the mesh is ready (NavMesh::isBuilding). While it is a member
// the node follows the agent (its position in its parent's space, turned to face
// the way it walks when auto orientation is on).
//
// move(destination, callback) sends it to the mesh point nearest to the
// destination, however far off the mesh the destination lies (a move asked
// before the agent joins starts when it joins). A long path is walked in legs of
// at most NavMesh::kMaxLegPolygons polygons, each planned from where the last
// one ended, so no path outgrows the crowd's corridor. The move ends when the
// agent stands at the end of its path (the destination, or the nearest
// reachable point); the callback then runs once, with the agent and the seconds
// it walked for the move (frames of the crowd while it was a member and not
// paused). No path ends the move without the callback. A new move, or stop,
// drops the callback of the earlier one.
// Main thread only.
#include <functional>
#include <string>

#include "engine/navmesh/NavMeshRecords.h"
#include "engine/scene/Component.h"

namespace engine {

class NavMesh;

class NavMeshAgent : public Component {
public:
    using MoveCallback = std::function<void(NavMeshAgent* agent, float elapsed)>;

    // Autoreleased, named getNavMeshAgentComponentName().
    static NavMeshAgent* create(const NavMeshAgentParam& param);
    static const std::string& getNavMeshAgentComponentName();
    ~NavMeshAgent() override;

    void setRadius(float radius);
    float getRadius() const { return _param.radius; }
    void setHeight(float height);
    float getHeight() const { return _param.height; }
    void setMaxAcceleration(float maxAcceleration);
    float getMaxAcceleration() const { return _param.maxAcceleration; }
    void setMaxSpeed(float maxSpeed);
    float getMaxSpeed() const { return _param.maxSpeed; }
    void setSeparationWeight(float weight);
    float getSeparationWeight() const { return _param.separationWeight; }
    void setObstacleAvoidanceType(uint8_t type);
    uint8_t getObstacleAvoidanceType() const { return _param.obstacleAvoidanceType; }
    const NavMeshAgentParam& getParam() const { return _param; }

    void move(const Vec3& destination, const MoveCallback& callback = nullptr);
    // pause keeps the destination (resume walks on); stop forgets it.
    void pause();
    void resume();
    void stop();
    bool isMoving() const { return _moving; }

    // The crowd's velocity and position; zero and the node's position while the
    // agent is not a member.
    Vec3 getVelocity() const;
    Vec3 getCurrentPosition() const;
    bool isOnOffMeshLink() const;

    // Auto orientation turns the node about the world's up axis so that its
    // reference axis (default +z) points along the velocity.
    void setAutoOrientation(bool enabled) { _autoOrientation = enabled; }
    bool isAutoOrientation() const { return _autoOrientation; }
    void setOrientationRefAxes(const Vec3& axis) { _refAxis = axis; }

    void onEnter() override;
    void onExit() override;
    void onRemove() override;

protected:
    NavMeshAgent() = default;

private:
    friend class NavMesh;
    void join(NavMesh* navMesh);
    void leave();                    // from the mesh's side
    void startMove();
    void updateParams();
    // Sets one parameter and hands the parameters to the crowd.
    template <class T>
    void setParam(T NavMeshAgentParam::*field, T value) {
        _param.*field = value;
        updateParams();
    }
    void afterCrowdUpdate(float delta);

    NavMeshAgentParam _param;
    NavMesh* _navMesh = nullptr;     // the mesh whose crowd it is in; not retained
    int _agentId = -1;
    Vec3 _destination;
    bool _moving = false;            // a move is asked and has not ended
    bool _lastLeg = true;            // the leg walked ends the move
    bool _paused = false;
    float _elapsed = 0.f;
    MoveCallback _callback;
    bool _autoOrientation = true;
    Vec3 _refAxis{0.f, 0.f, 1.f};
};

}  // namespace engine
