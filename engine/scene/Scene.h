#pragma once
// The root of a scene graph that the director runs. It draws nothing of its own:
// the frame is its nodes. A scene made with createWithPhysics owns a 2D physics
// world, stepped by the director's scheduler every frame while the scene runs.
#include "engine/scene/Node.h"

namespace engine {

class PhysicsWorld;

class Scene : public Node {
public:
    // A new scene the size of the director's win size, autoreleased.
    static Scene* create();
    static Scene* createWithPhysics();
    ~Scene() override;

    // The scene's physics world; null for a scene made without one.
    PhysicsWorld* getPhysicsWorld() const { return _physicsWorld; }

protected:
    Scene() = default;
    bool init() override;
    bool initWithPhysics();

private:
    PhysicsWorld* _physicsWorld = nullptr;  // owned
};

}  // namespace engine
