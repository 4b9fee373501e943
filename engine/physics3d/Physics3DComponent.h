#pragma once
// Keeps a node and a 3D physics object together. While its node runs in a scene
// that has a 3D physics world, the component's object is in that world; around
// each step of the world the component copies the node's world transform to the
// object (NODE_TO_PHYSICS) and the object's transform back to the node
// (PHYSICS_TO_NODE), as its flag says. The object's frame sits at the translation
// and rotation given, in the node's space. Only the rigid part of the node's
// transform crosses: scales stay with the node.
//
// All components of this class share one name, so a node has at most one.
// Main thread only.
#include <string>

#include "engine/base/Geometry.h"
#include "engine/base/Mat4.h"
#include "engine/base/Types.h"
#include "engine/scene/Component.h"

namespace engine {

class Physics3DObject;
class Physics3DWorld;

class Physics3DComponent : public Component {
public:
    enum class PhysicsSyncFlag {
        NONE = 0,
        NODE_TO_PHYSICS = 1,
        PHYSICS_TO_NODE = 2,
        NODE_AND_PHYSICS = 3,
    };

    // Autoreleased; an object may be given later (setPhysics3DObject).
    static Physics3DComponent* create(Physics3DObject* physicsObj = nullptr, const Vec3& translateInPhysics = Vec3(),
                                      const Quaternion& rotInPhsyics = Quaternion());
    static const std::string& getPhysics3DComponentName();
    ~Physics3DComponent() override;

    // Retained; the object it replaces leaves the world it was put in.
    void setPhysics3DObject(Physics3DObject* physicsObj);
    Physics3DObject* getPhysics3DObject() const { return _physics3DObj; }
    void setTransformInPhysics(const Vec3& translateInPhysics, const Quaternion& rotInPhsyics);
    void setSyncFlag(PhysicsSyncFlag syncFlag) { _syncFlag = syncFlag; }
    PhysicsSyncFlag getSyncFlag() const { return _syncFlag; }

    // One copy now, whatever the flag says.
    void syncNodeToPhysics();
    void syncPhysicsToNode();

    void onEnter() override;
    void onExit() override;

    // Called by the world around its step, and when it goes first.
    void preSimulate();
    void postSimulate();
    void worldGone(Physics3DWorld* world);

protected:
    Physics3DComponent() = default;

private:
    void joinWorld();
    void leaveWorld();

    Physics3DObject* _physics3DObj = nullptr;  // retained
    Physics3DWorld* _world = nullptr;          // the world joined while the node runs
    Mat4 _transformInPhysics;                  // the object's frame in the node's space
    Mat4 _inverseTransformInPhysics;
    PhysicsSyncFlag _syncFlag = PhysicsSyncFlag::NODE_AND_PHYSICS;
};

}  // namespace engine
