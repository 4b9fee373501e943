#pragma once
// A 3D model with a rigid body: the sprite carries a Physics3DComponent
// (engine/physics3d/Physics3DComponent.h) holding a body made from the
// description, so the model and the body move together while the sprite runs in
// a scene with a 3D physics world. Main thread only.
#include <string>

#include "engine/3d/Sprite3D.h"
#include "engine/physics3d/Physics3DComponent.h"

namespace engine {

struct Physics3DRigidBodyDes;

class PhysicsSprite3D : public Sprite3D {
public:
    // Autoreleased; null (logged) when the model cannot be read or the description
    // makes no body. The body's frame sits at the translation and rotation given,
    // in the sprite's space.
    static PhysicsSprite3D* create(const std::string& modelPath, Physics3DRigidBodyDes* rigidDes,
                                   const Vec3& translateInPhysics = Vec3(),
                                   const Quaternion& rotInPhsyics = Quaternion());

    Physics3DObject* getPhysicsObj() const { return _physicsComponent->getPhysics3DObject(); }
    Physics3DComponent* getPhysicsComponent() const { return _physicsComponent; }
    void setSyncFlag(Physics3DComponent::PhysicsSyncFlag syncFlag) { _physicsComponent->setSyncFlag(syncFlag); }
    void syncNodeToPhysics() { _physicsComponent->syncNodeToPhysics(); }
    void syncPhysicsToNode() { _physicsComponent->syncPhysicsToNode(); }

protected:
    PhysicsSprite3D() = default;

private:
    Physics3DComponent* _physicsComponent = nullptr;  // one of the sprite's components
};

}  // namespace engine
