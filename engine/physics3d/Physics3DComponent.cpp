#include "engine/physics3d/Physics3DComponent.h"

#include <btBulletDynamicsCommon.h>

#include "engine/physics3d/BulletConversions.h"
#include "engine/physics3d/Physics3DObject.h"
#include "engine/physics3d/Physics3DWorld.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"

namespace engine {

namespace {
// The rotation and translation of a transform, without its scale.
Mat4 rigidPart(const Mat4& transform) {
    Vec3 scale, translation;
    Quaternion rotation;
    Mat4 rigid;
    if (!transform.decompose(&scale, &rotation, &translation)) {
        transform.getTranslation(&translation);
        Mat4::createTranslation(translation, &rigid);
        return rigid;
    }
    Mat4 turn;
    Mat4::createRotation(rotation, &turn);
    Mat4::createTranslation(translation, &rigid);
    return rigid * turn;
}

bool has(Physics3DComponent::PhysicsSyncFlag flag, Physics3DComponent::PhysicsSyncFlag part) {
    return (static_cast<int>(flag) & static_cast<int>(part)) != 0;
}
}  // namespace

Physics3DComponent* Physics3DComponent::create(Physics3DObject* physicsObj, const Vec3& translateInPhysics,
                                               const Quaternion& rotInPhsyics) {
    auto* component = new Physics3DComponent;
    component->setName(getPhysics3DComponentName());
    component->setTransformInPhysics(translateInPhysics, rotInPhsyics);
    component->setPhysics3DObject(physicsObj);
    component->autorelease();
    return component;
}

const std::string& Physics3DComponent::getPhysics3DComponentName() {
    static const std::string name = "physics3DComponent";
    return name;
}

Physics3DComponent::~Physics3DComponent() {
    leaveWorld();
    if (_physics3DObj) _physics3DObj->release();
}

void Physics3DComponent::setPhysics3DObject(Physics3DObject* physicsObj) {
    if (physicsObj == _physics3DObj) return;
    Physics3DWorld* world = _world;
    leaveWorld();
    assignRetained(_physics3DObj, physicsObj);
    if (world) joinWorld();
}

void Physics3DComponent::setTransformInPhysics(const Vec3& translateInPhysics, const Quaternion& rotInPhsyics) {
    Mat4 translation, rotation;
    Mat4::createTranslation(translateInPhysics, &translation);
    Mat4::createRotation(rotInPhsyics, &rotation);
    _transformInPhysics = translation * rotation;
    _inverseTransformInPhysics = _transformInPhysics.getInversed();
}

void Physics3DComponent::syncNodeToPhysics() {
    Node* node = getOwner();
    if (!node || !_physics3DObj) return;
    if (_physics3DObj->getObjType() != Physics3DObject::PhysicsObjType::RIGID_BODY) return;
    const Mat4 world = rigidPart(node->getNodeToWorldTransform()) * _transformInPhysics;
    btRigidBody* body = static_cast<Physics3DRigidBody*>(_physics3DObj)->getRigidBody();
    body->setCenterOfMassTransform(toBullet(world));
}

void Physics3DComponent::syncPhysicsToNode() {
    Node* node = getOwner();
    if (!node || !_physics3DObj) return;
    Mat4 inParent = _physics3DObj->getWorldTransform() * _inverseTransformInPhysics;
    if (Node* parent = node->getParent()) inParent = parent->getWorldToNodeTransform() * inParent;
    Vec3 scale, translation;
    Quaternion rotation;
    if (!inParent.decompose(&scale, &rotation, &translation)) return;
    node->setPosition3D(translation);
    node->setRotationQuat(rotation);
}

void Physics3DComponent::onEnter() {
    Component::onEnter();
    joinWorld();
}

void Physics3DComponent::onExit() {
    leaveWorld();
    Component::onExit();
}

void Physics3DComponent::preSimulate() {
    if (isEnabled() && has(_syncFlag, PhysicsSyncFlag::NODE_TO_PHYSICS)) syncNodeToPhysics();
}

void Physics3DComponent::postSimulate() {
    if (isEnabled() && has(_syncFlag, PhysicsSyncFlag::PHYSICS_TO_NODE)) syncPhysicsToNode();
}

void Physics3DComponent::worldGone(Physics3DWorld* world) {
    if (_world == world) _world = nullptr;
}

void Physics3DComponent::joinWorld() {
    Node* root = getOwner();
    if (!root || _world) return;
    while (root->getParent()) root = root->getParent();
    auto* scene = dynamic_cast<Scene*>(root);
    Physics3DWorld* world = scene ? scene->getPhysics3DWorld() : nullptr;
    if (!world) return;
    _world = world;
    world->addPhysics3DComponent(this);
    if (_physics3DObj && !_physics3DObj->getPhysicsWorld()) {
        if (has(_syncFlag, PhysicsSyncFlag::NODE_TO_PHYSICS)) syncNodeToPhysics();
        world->addPhysics3DObject(_physics3DObj);
    }
}

void Physics3DComponent::leaveWorld() {
    if (!_world) return;
    Physics3DWorld* world = _world;
    _world = nullptr;
    world->removePhysics3DComponent(this);
    if (_physics3DObj) world->removePhysics3DObject(_physics3DObj);
}

}  // namespace engine
