#pragma once
// A navigation obstacle: the component that makes its node a cylinder the
// agents of the scene's navigation mesh steer around. It joins the mesh's crowd
// like an agent (when its node enters a running scene with a mesh, or when a
// mesh still building is ready) but never
// walks; the crowd follows the node's position every frame. Main thread only.
#include <string>

#include "engine/scene/Component.h"

namespace engine {

class NavMesh;

class NavMeshObstacle : public Component {
public:
    // Autoreleased, named getNavMeshObstacleComponentName().
    static NavMeshObstacle* create(float radius, float height);
    static const std::string& getNavMeshObstacleComponentName();
    ~NavMeshObstacle() override;

    void setRadius(float radius);
    float getRadius() const { return _radius; }
    void setHeight(float height);
    float getHeight() const { return _height; }

    void onEnter() override;
    void onExit() override;
    void onRemove() override;

protected:
    NavMeshObstacle() = default;

private:
    friend class NavMesh;
    void join(NavMesh* navMesh);
    void leave();
    void rejoin();
    void followNode();

    float _radius = 1.f;
    float _height = 1.f;
    NavMesh* _navMesh = nullptr;
    int _agentId = -1;
};

}  // namespace engine
