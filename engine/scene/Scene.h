#pragma once
// The root of a scene graph that the director runs. It draws nothing of its own:
// the frame is its nodes. A scene made with createWithPhysics owns a 2D and a 3D
// physics world, stepped by the director's scheduler every frame while the scene runs.
#include "engine/scene/Node.h"

namespace engine {

class Camera;
class NavMesh;
class Physics3DWorld;
class PhysicsWorld;

class Scene : public Node {
public:
    // A new scene the size of the director's win size, autoreleased.
    static Scene* create();
    static Scene* createWithPhysics();
    ~Scene() override;

    // The scene's physics world; null for a scene made without one.
    PhysicsWorld* getPhysicsWorld() const { return _physicsWorld; }
    // The scene's 3D physics world, made with the 2D one by createWithPhysics; null
    // otherwise. Its debug drawing uses the camera given (retained; null: none).
    Physics3DWorld* getPhysics3DWorld() const { return _physics3DWorld; }
    void setPhysics3DDebugCamera(Camera* camera);
    // The navigation mesh of the scene (retained; null: none): its agents and
    // obstacles move with the scheduler while the scene runs. Its debug drawing uses
    // the camera given (retained; null: none).
    void setNavMesh(NavMesh* navMesh);
    NavMesh* getNavMesh() const { return _navMesh; }
    void setNavMeshDebugCamera(Camera* camera);

protected:
    Scene() = default;
    bool init() override;
    bool initWithPhysics();

private:
    PhysicsWorld* _physicsWorld = nullptr;  // owned
    Physics3DWorld* _physics3DWorld = nullptr;
    Camera* _physics3DDebugCamera = nullptr;
    NavMesh* _navMesh = nullptr;
    Camera* _navMeshDebugCamera = nullptr;
};

}  // namespace engine
