#pragma once
// The 3D physics world: rigid bodies and constraints simulated by Bullet. A scene
// made with physics owns one and steps it with the director's scheduler while it
// runs (engine/scene/Scene.h); it may also be made and stepped on its own.
//
// A step: the components that follow nodes take their nodes' transforms, the world
// advances by the time given (in fixed steps of 1/60 s, a remainder carried to
// the next step; at most ten steps, a longer time is lost), the collision callbacks run (see
// engine/physics3d/Physics3DObject.h) and the components move their nodes. The
// world retains what it holds. Main thread only.
#include <memory>
#include <vector>

#include "engine/base/Mat4.h"
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

class btBroadphaseInterface;
class btCollisionDispatcher;
class btDefaultCollisionConfiguration;
class btDiscreteDynamicsWorld;
class btSequentialImpulseConstraintSolver;

namespace engine {

class Physics3DComponent;
class Physics3DConstraint;
class Physics3DObject;
class Physics3DShape;

struct Physics3DWorldDes {
    bool isDebugDrawEnabled = false;
    Vec3 gravity = Vec3(0.f, -9.8f, 0.f);
};

class Physics3DWorld : public Ref {
public:
    struct HitResult {
        Vec3 hitPosition;
        Vec3 hitNormal;
        Physics3DObject* hitObj = nullptr;
    };

    static Physics3DWorld* create(Physics3DWorldDes* info);  // autoreleased; null info: the defaults
    ~Physics3DWorld() override;

    void setGravity(const Vec3& gravity);
    Vec3 getGravity() const;

    // Adding an object already in a world (this or another) does nothing.
    void addPhysics3DObject(Physics3DObject* physicsObj);
    void removePhysics3DObject(Physics3DObject* physicsObj);
    void removeAllPhysics3DObjects();
    const std::vector<Physics3DObject*>& getPhysicsObjects() const { return _objects; }

    void addPhysics3DConstraint(Physics3DConstraint* constraint, bool disableCollisionsBetweenLinkedObjs = true);
    void removePhysics3DConstraint(Physics3DConstraint* constraint);
    void removeAllPhysics3DConstraints();

    // A time that is not a positive finite number steps nothing.
    void stepSimulate(float dt);

    void setDebugDrawEnable(bool enableDebugDraw) { _debugDrawEnabled = enableDebugDraw; }
    bool isDebugDrawEnabled() const { return _debugDrawEnabled; }

    // The nearest object the segment from startPos to endPos meets: true and the
    // result filled; false and the result untouched when it meets none.
    bool rayCast(const Vec3& startPos, const Vec3& endPos, HitResult* result);
    // The same for a convex shape moved from one transform to another; a shape
    // that is not convex (mesh, height field, compound) meets nothing.
    bool sweepShape(Physics3DShape* shape, const Mat4& startTransform, const Mat4& endTransform, HitResult* result);

    // Whether an object of the world listens to collisions: checked once after a
    // step, and again after a callback is set.
    void collisionCheckingNeeded() { _needCollisionChecking = true; }

    // Components that keep nodes and objects together, synchronised around each
    // step (not retained: a component leaves before it goes).
    void addPhysics3DComponent(Physics3DComponent* component);
    void removePhysics3DComponent(Physics3DComponent* component);

    btDiscreteDynamicsWorld* getbtWorld() const { return _btWorld.get(); }

protected:
    Physics3DWorld();
    bool init(const Physics3DWorldDes& info);

private:
    void collisionChecking();

    std::unique_ptr<btDefaultCollisionConfiguration> _configuration;
    std::unique_ptr<btCollisionDispatcher> _dispatcher;
    std::unique_ptr<btBroadphaseInterface> _broadphase;
    std::unique_ptr<btSequentialImpulseConstraintSolver> _solver;
    std::unique_ptr<btDiscreteDynamicsWorld> _btWorld;
    std::vector<Physics3DObject*> _objects;          // retained
    std::vector<Physics3DConstraint*> _constraints;  // retained
    std::vector<Physics3DComponent*> _components;
    bool _debugDrawEnabled = false;
    bool _needCollisionChecking = false;
};

}  // namespace engine
