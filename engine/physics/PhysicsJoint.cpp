#include "engine/physics/PhysicsJoint.h"

#include <chipmunk/chipmunk.h>

#include <limits>

#include "engine/physics/PhysicsBody.h"
#include "engine/physics/PhysicsWorld.h"

namespace engine {

namespace {

cpVect cpv2(const Vec2& v) { return cpv(v.x, v.y); }
cpBody* cpOf(PhysicsBody* body) { return body->cpBodyHandle(); }
float f(cpFloat value) { return static_cast<float>(value); }

}  // namespace

PhysicsJoint::~PhysicsJoint() {
    if (_world) _world->removeJoint(this, false);
    detachBodies();
    for (cpConstraint* constraint : _constraints) cpConstraintFree(constraint);
}

bool PhysicsJoint::init(PhysicsBody* a, PhysicsBody* b) {
    if (!a || !b || a == b) return false;
    _bodyA = a;
    _bodyB = b;
    _maxForce = std::numeric_limits<float>::infinity();
    a->addJointEntry(this);
    b->addJointEntry(this);
    return true;
}

void PhysicsJoint::detachBodies() {
    if (_bodyA) _bodyA->removeJointEntry(this);
    if (_bodyB) _bodyB->removeJointEntry(this);
    _bodyA = _bodyB = nullptr;
}

void PhysicsJoint::addConstraint(cpConstraint* constraint) {
    cpConstraintSetUserData(constraint, this);
    cpConstraintSetCollideBodies(constraint, _collisionEnabled);
    _constraints.push_back(constraint);
}

void PhysicsJoint::setEnable(bool enable) {
    if (_enabled == enable) return;
    _enabled = enable;
    if (!_world) return;
    PhysicsWorld* world = _world;
    world->whenUnlocked([this, world, enable] {
        // The joint may have left the world meanwhile (then it is gone).
        for (PhysicsJoint* joint : world->getAllJoints()) {
            if (joint != this || _enabled != enable) continue;
            for (cpConstraint* constraint : _constraints) {
                const bool inSpace = cpConstraintGetSpace(constraint) != nullptr;
                if (enable && !inSpace) cpSpaceAddConstraint(world->cpSpaceHandle(), constraint);
                if (!enable && inSpace) cpSpaceRemoveConstraint(world->cpSpaceHandle(), constraint);
            }
            return;
        }
    });
}

void PhysicsJoint::setCollisionEnable(bool enable) {
    _collisionEnabled = enable;
    for (cpConstraint* constraint : _constraints) cpConstraintSetCollideBodies(constraint, enable);
}

void PhysicsJoint::setMaxForce(float force) {
    _maxForce = force;
    for (cpConstraint* constraint : _constraints) cpConstraintSetMaxForce(constraint, force);
}

void PhysicsJoint::removeFormWorld() {
    if (_world) _world->removeJoint(this, true);
}

#define VEXO_JOINT_START(Kind)            \
    if (!a || !b || a == b) return nullptr; \
    auto* joint = new Kind();             \
    joint->init(a, b);

PhysicsJointFixed* PhysicsJointFixed::construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr) {
    VEXO_JOINT_START(PhysicsJointFixed)
    joint->addConstraint(cpPivotJointNew(cpOf(a), cpOf(b), cpv2(anchr)));
    joint->addConstraint(cpGearJointNew(cpOf(a), cpOf(b), 0, 1));
    return joint;
}

PhysicsJointLimit* PhysicsJointLimit::construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr1,
                                                const Vec2& anchr2) {
    const float distance = (b->local2World(anchr2) - a->local2World(anchr1)).length();
    return construct(a, b, anchr1, anchr2, 0, distance);
}

PhysicsJointLimit* PhysicsJointLimit::construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr1,
                                                const Vec2& anchr2, float min, float max) {
    VEXO_JOINT_START(PhysicsJointLimit)
    joint->addConstraint(cpSlideJointNew(cpOf(a), cpOf(b), cpv2(anchr1), cpv2(anchr2), min, max));
    return joint;
}
float PhysicsJointLimit::getMin() const { return f(cpSlideJointGetMin(_constraints[0])); }
void PhysicsJointLimit::setMin(float min) { cpSlideJointSetMin(_constraints[0], min); }
float PhysicsJointLimit::getMax() const { return f(cpSlideJointGetMax(_constraints[0])); }
void PhysicsJointLimit::setMax(float max) { cpSlideJointSetMax(_constraints[0], max); }

PhysicsJointPin* PhysicsJointPin::construct(PhysicsBody* a, PhysicsBody* b, const Vec2& pivot) {
    VEXO_JOINT_START(PhysicsJointPin)
    joint->addConstraint(cpPivotJointNew(cpOf(a), cpOf(b), cpv2(pivot)));
    return joint;
}

PhysicsJointPin* PhysicsJointPin::construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr1,
                                            const Vec2& anchr2) {
    VEXO_JOINT_START(PhysicsJointPin)
    joint->addConstraint(cpPivotJointNew2(cpOf(a), cpOf(b), cpv2(anchr1), cpv2(anchr2)));
    return joint;
}

PhysicsJointDistance* PhysicsJointDistance::construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr1,
                                                      const Vec2& anchr2) {
    VEXO_JOINT_START(PhysicsJointDistance)
    joint->addConstraint(cpPinJointNew(cpOf(a), cpOf(b), cpv2(anchr1), cpv2(anchr2)));
    return joint;
}
float PhysicsJointDistance::getDistance() const { return f(cpPinJointGetDist(_constraints[0])); }
void PhysicsJointDistance::setDistance(float distance) { cpPinJointSetDist(_constraints[0], distance); }

PhysicsJointSpring* PhysicsJointSpring::construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr1,
                                                  const Vec2& anchr2, float stiffness, float damping) {
    VEXO_JOINT_START(PhysicsJointSpring)
    const float rest = (b->local2World(anchr2) - a->local2World(anchr1)).length();
    joint->addConstraint(cpDampedSpringNew(cpOf(a), cpOf(b), cpv2(anchr1), cpv2(anchr2), rest, stiffness, damping));
    return joint;
}
float PhysicsJointSpring::getRestLength() const { return f(cpDampedSpringGetRestLength(_constraints[0])); }
void PhysicsJointSpring::setRestLength(float length) { cpDampedSpringSetRestLength(_constraints[0], length); }
float PhysicsJointSpring::getStiffness() const { return f(cpDampedSpringGetStiffness(_constraints[0])); }
void PhysicsJointSpring::setStiffness(float stiffness) { cpDampedSpringSetStiffness(_constraints[0], stiffness); }
float PhysicsJointSpring::getDamping() const { return f(cpDampedSpringGetDamping(_constraints[0])); }
void PhysicsJointSpring::setDamping(float damping) { cpDampedSpringSetDamping(_constraints[0], damping); }

PhysicsJointGroove* PhysicsJointGroove::construct(PhysicsBody* a, PhysicsBody* b, const Vec2& grooveA,
                                                  const Vec2& grooveB, const Vec2& anchr2) {
    VEXO_JOINT_START(PhysicsJointGroove)
    joint->addConstraint(cpGrooveJointNew(cpOf(a), cpOf(b), cpv2(grooveA), cpv2(grooveB), cpv2(anchr2)));
    return joint;
}

PhysicsJointRotarySpring* PhysicsJointRotarySpring::construct(PhysicsBody* a, PhysicsBody* b, float stiffness,
                                                              float damping) {
    VEXO_JOINT_START(PhysicsJointRotarySpring)
    const cpFloat rest = cpBodyGetAngle(cpOf(b)) - cpBodyGetAngle(cpOf(a));
    joint->addConstraint(cpDampedRotarySpringNew(cpOf(a), cpOf(b), rest, stiffness, damping));
    return joint;
}
float PhysicsJointRotarySpring::getRestAngle() const { return f(cpDampedRotarySpringGetRestAngle(_constraints[0])); }
void PhysicsJointRotarySpring::setRestAngle(float angle) { cpDampedRotarySpringSetRestAngle(_constraints[0], angle); }
float PhysicsJointRotarySpring::getStiffness() const { return f(cpDampedRotarySpringGetStiffness(_constraints[0])); }
void PhysicsJointRotarySpring::setStiffness(float stiffness) {
    cpDampedRotarySpringSetStiffness(_constraints[0], stiffness);
}
float PhysicsJointRotarySpring::getDamping() const { return f(cpDampedRotarySpringGetDamping(_constraints[0])); }
void PhysicsJointRotarySpring::setDamping(float damping) { cpDampedRotarySpringSetDamping(_constraints[0], damping); }

PhysicsJointRotaryLimit* PhysicsJointRotaryLimit::construct(PhysicsBody* a, PhysicsBody* b) {
    return construct(a, b, 0, 0);
}
PhysicsJointRotaryLimit* PhysicsJointRotaryLimit::construct(PhysicsBody* a, PhysicsBody* b, float min, float max) {
    VEXO_JOINT_START(PhysicsJointRotaryLimit)
    joint->addConstraint(cpRotaryLimitJointNew(cpOf(a), cpOf(b), min, max));
    return joint;
}
float PhysicsJointRotaryLimit::getMin() const { return f(cpRotaryLimitJointGetMin(_constraints[0])); }
void PhysicsJointRotaryLimit::setMin(float min) { cpRotaryLimitJointSetMin(_constraints[0], min); }
float PhysicsJointRotaryLimit::getMax() const { return f(cpRotaryLimitJointGetMax(_constraints[0])); }
void PhysicsJointRotaryLimit::setMax(float max) { cpRotaryLimitJointSetMax(_constraints[0], max); }

PhysicsJointRatchet* PhysicsJointRatchet::construct(PhysicsBody* a, PhysicsBody* b, float phase, float ratchet) {
    VEXO_JOINT_START(PhysicsJointRatchet)
    joint->addConstraint(cpRatchetJointNew(cpOf(a), cpOf(b), phase, ratchet));
    return joint;
}
float PhysicsJointRatchet::getAngle() const { return f(cpRatchetJointGetAngle(_constraints[0])); }
void PhysicsJointRatchet::setAngle(float angle) { cpRatchetJointSetAngle(_constraints[0], angle); }
float PhysicsJointRatchet::getPhase() const { return f(cpRatchetJointGetPhase(_constraints[0])); }
void PhysicsJointRatchet::setPhase(float phase) { cpRatchetJointSetPhase(_constraints[0], phase); }
float PhysicsJointRatchet::getRatchet() const { return f(cpRatchetJointGetRatchet(_constraints[0])); }
void PhysicsJointRatchet::setRatchet(float ratchet) { cpRatchetJointSetRatchet(_constraints[0], ratchet); }

PhysicsJointGear* PhysicsJointGear::construct(PhysicsBody* a, PhysicsBody* b, float phase, float ratio) {
    VEXO_JOINT_START(PhysicsJointGear)
    joint->addConstraint(cpGearJointNew(cpOf(a), cpOf(b), phase, ratio));
    return joint;
}
float PhysicsJointGear::getPhase() const { return f(cpGearJointGetPhase(_constraints[0])); }
void PhysicsJointGear::setPhase(float phase) { cpGearJointSetPhase(_constraints[0], phase); }
float PhysicsJointGear::getRatio() const { return f(cpGearJointGetRatio(_constraints[0])); }
void PhysicsJointGear::setRatio(float ratio) { cpGearJointSetRatio(_constraints[0], ratio); }

PhysicsJointMotor* PhysicsJointMotor::construct(PhysicsBody* a, PhysicsBody* b, float rate) {
    VEXO_JOINT_START(PhysicsJointMotor)
    joint->addConstraint(cpSimpleMotorNew(cpOf(a), cpOf(b), rate));
    return joint;
}
float PhysicsJointMotor::getRate() const { return f(cpSimpleMotorGetRate(_constraints[0])); }
void PhysicsJointMotor::setRate(float rate) { cpSimpleMotorSetRate(_constraints[0], rate); }

#undef VEXO_JOINT_START

}  // namespace engine
