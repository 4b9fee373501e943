#include "engine/physics3d/PhysicsSprite3D.h"

#include "engine/base/Log.h"
#include "engine/physics3d/Physics3DObject.h"

namespace engine {

PhysicsSprite3D* PhysicsSprite3D::create(const std::string& modelPath, Physics3DRigidBodyDes* rigidDes,
                                         const Vec3& translateInPhysics, const Quaternion& rotInPhsyics) {
    auto* sprite = new PhysicsSprite3D;
    Physics3DRigidBody* body = nullptr;
    if (sprite->initWithFile(modelPath)) body = Physics3DRigidBody::create(rigidDes);
    if (!body) {
        log("PhysicsSprite3D: no sprite for the model '%s'", modelPath.c_str());
        delete sprite;
        return nullptr;
    }
    sprite->_physicsComponent = Physics3DComponent::create(body, translateInPhysics, rotInPhsyics);
    sprite->addComponent(sprite->_physicsComponent);
    sprite->autorelease();
    return sprite;
}

}  // namespace engine
