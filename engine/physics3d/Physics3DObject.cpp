#include "engine/physics3d/Physics3DObject.h"

#include <btBulletDynamicsCommon.h>

#include <algorithm>

#include "engine/base/Log.h"
#include "engine/physics3d/BulletConversions.h"
#include "engine/physics3d/Physics3DShape.h"
#include "engine/physics3d/Physics3DWorld.h"

namespace engine {

void Physics3DObject::setCollisionCallback(const CollisionCallbackFunc& callback) {
    _collisionCallback = callback;
    if (_physicsWorld && callback) _physicsWorld->collisionCheckingNeeded();
}

Physics3DRigidBody* Physics3DRigidBody::create(Physics3DRigidBodyDes* info) {
    if (!info || !info->shape || !info->shape->getbtShape()) {
        log("Physics3DRigidBody: a rigid body needs a shape");
        return nullptr;
    }
    auto* body = new Physics3DRigidBody;
    body->_physics3DShape = info->shape;
    info->shape->retain();
    btRigidBody::btRigidBodyConstructionInfo construction(info->mass, nullptr, info->shape->getbtShape(),
                                                          toBullet(info->localInertia));
    construction.m_startWorldTransform = toBullet(info->originalTransform);
    body->_btRigidBody = new btRigidBody(construction);
    body->_btRigidBody->setUserPointer(body);
    if (info->disableSleep) body->_btRigidBody->setActivationState(DISABLE_DEACTIVATION);
    body->autorelease();
    return body;
}

Physics3DRigidBody::~Physics3DRigidBody() {
    delete _btRigidBody;
    if (_physics3DShape) _physics3DShape->release();
}

Mat4 Physics3DRigidBody::getWorldTransform() const { return fromBullet(_btRigidBody->getWorldTransform()); }

void Physics3DRigidBody::applyForce(const Vec3& force, const Vec3& relPos) {
    _btRigidBody->activate();
    _btRigidBody->applyForce(toBullet(force), toBullet(relPos));
}
void Physics3DRigidBody::applyCentralForce(const Vec3& force) {
    _btRigidBody->activate();
    _btRigidBody->applyCentralForce(toBullet(force));
}
void Physics3DRigidBody::applyCentralImpulse(const Vec3& impulse) {
    _btRigidBody->activate();
    _btRigidBody->applyCentralImpulse(toBullet(impulse));
}
void Physics3DRigidBody::applyImpulse(const Vec3& impulse, const Vec3& relPos) {
    _btRigidBody->activate();
    _btRigidBody->applyImpulse(toBullet(impulse), toBullet(relPos));
}
void Physics3DRigidBody::applyTorque(const Vec3& torque) {
    _btRigidBody->activate();
    _btRigidBody->applyTorque(toBullet(torque));
}
void Physics3DRigidBody::applyTorqueImpulse(const Vec3& torque) {
    _btRigidBody->activate();
    _btRigidBody->applyTorqueImpulse(toBullet(torque));
}
void Physics3DRigidBody::applyDamping(float timeStep) { _btRigidBody->applyDamping(timeStep); }
Vec3 Physics3DRigidBody::getTotalForce() const { return fromBullet(_btRigidBody->getTotalForce()); }
Vec3 Physics3DRigidBody::getTotalTorque() const { return fromBullet(_btRigidBody->getTotalTorque()); }

void Physics3DRigidBody::setLinearVelocity(const Vec3& velocity) {
    _btRigidBody->activate();
    _btRigidBody->setLinearVelocity(toBullet(velocity));
}
Vec3 Physics3DRigidBody::getLinearVelocity() const { return fromBullet(_btRigidBody->getLinearVelocity()); }
void Physics3DRigidBody::setAngularVelocity(const Vec3& velocity) {
    _btRigidBody->activate();
    _btRigidBody->setAngularVelocity(toBullet(velocity));
}
Vec3 Physics3DRigidBody::getAngularVelocity() const { return fromBullet(_btRigidBody->getAngularVelocity()); }
void Physics3DRigidBody::setLinearFactor(const Vec3& factor) { _btRigidBody->setLinearFactor(toBullet(factor)); }
Vec3 Physics3DRigidBody::getLinearFactor() const { return fromBullet(_btRigidBody->getLinearFactor()); }
void Physics3DRigidBody::setAngularFactor(const Vec3& factor) { _btRigidBody->setAngularFactor(toBullet(factor)); }
void Physics3DRigidBody::setAngularFactor(float factor) { _btRigidBody->setAngularFactor(factor); }
Vec3 Physics3DRigidBody::getAngularFactor() const { return fromBullet(_btRigidBody->getAngularFactor()); }
void Physics3DRigidBody::setDamping(float linearDamping, float angularDamping) {
    _btRigidBody->setDamping(linearDamping, angularDamping);
}
float Physics3DRigidBody::getLinearDamping() const { return _btRigidBody->getLinearDamping(); }
float Physics3DRigidBody::getAngularDamping() const { return _btRigidBody->getAngularDamping(); }
void Physics3DRigidBody::setGravity(const Vec3& acceleration) { _btRigidBody->setGravity(toBullet(acceleration)); }
Vec3 Physics3DRigidBody::getGravity() const { return fromBullet(_btRigidBody->getGravity()); }

void Physics3DRigidBody::setMassProps(float mass, const Vec3& inertia) {
    _btRigidBody->setMassProps(mass, toBullet(inertia));
    _btRigidBody->updateInertiaTensor();
}
float Physics3DRigidBody::getInvMass() const { return _btRigidBody->getInvMass(); }
void Physics3DRigidBody::setInvInertiaDiagLocal(const Vec3& inverseInertia) {
    _btRigidBody->setInvInertiaDiagLocal(toBullet(inverseInertia));
    _btRigidBody->updateInertiaTensor();
}
Vec3 Physics3DRigidBody::getInvInertiaDiagLocal() const { return fromBullet(_btRigidBody->getInvInertiaDiagLocal()); }
void Physics3DRigidBody::setCenterOfMassTransform(const Mat4& transform) {
    _btRigidBody->setCenterOfMassTransform(toBullet(transform));
}
Mat4 Physics3DRigidBody::getCenterOfMassTransform() const {
    return fromBullet(_btRigidBody->getCenterOfMassTransform());
}

void Physics3DRigidBody::setRestitution(float restitution) { _btRigidBody->setRestitution(restitution); }
float Physics3DRigidBody::getRestitution() const { return _btRigidBody->getRestitution(); }
void Physics3DRigidBody::setFriction(float friction) { _btRigidBody->setFriction(friction); }
float Physics3DRigidBody::getFriction() const { return _btRigidBody->getFriction(); }
void Physics3DRigidBody::setRollingFriction(float friction) { _btRigidBody->setRollingFriction(friction); }
float Physics3DRigidBody::getRollingFriction() const { return _btRigidBody->getRollingFriction(); }
void Physics3DRigidBody::setHitFraction(float fraction) { _btRigidBody->setHitFraction(fraction); }
float Physics3DRigidBody::getHitFraction() const { return _btRigidBody->getHitFraction(); }
void Physics3DRigidBody::setCcdMotionThreshold(float threshold) { _btRigidBody->setCcdMotionThreshold(threshold); }
float Physics3DRigidBody::getCcdMotionThreshold() const { return _btRigidBody->getCcdMotionThreshold(); }
void Physics3DRigidBody::setCcdSweptSphereRadius(float radius) { _btRigidBody->setCcdSweptSphereRadius(radius); }
float Physics3DRigidBody::getCcdSweptSphereRadius() const { return _btRigidBody->getCcdSweptSphereRadius(); }

void Physics3DRigidBody::setKinematic(bool kinematic) {
    const int flags = _btRigidBody->getCollisionFlags();
    if (kinematic) {
        _btRigidBody->setCollisionFlags(flags | btCollisionObject::CF_KINEMATIC_OBJECT);
        _btRigidBody->setActivationState(DISABLE_DEACTIVATION);
    } else {
        _btRigidBody->setCollisionFlags(flags & ~btCollisionObject::CF_KINEMATIC_OBJECT);
        _btRigidBody->forceActivationState(ACTIVE_TAG);
    }
}
bool Physics3DRigidBody::isKinematic() const { return _btRigidBody->isKinematicObject(); }
bool Physics3DRigidBody::isSleepingAllowed() const {
    return _btRigidBody->getActivationState() != DISABLE_DEACTIVATION;
}
bool Physics3DRigidBody::isActive() const { return _btRigidBody->isActive(); }

Physics3DConstraint* Physics3DRigidBody::getConstraint(unsigned int index) const {
    return index < _constraintList.size() ? _constraintList[index] : nullptr;
}

void Physics3DRigidBody::addConstraint(Physics3DConstraint* constraint) { _constraintList.push_back(constraint); }

void Physics3DRigidBody::removeConstraint(Physics3DConstraint* constraint) {
    auto it = std::find(_constraintList.begin(), _constraintList.end(), constraint);
    if (it != _constraintList.end()) _constraintList.erase(it);
}

}  // namespace engine
