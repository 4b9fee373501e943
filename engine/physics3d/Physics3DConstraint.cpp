#include "engine/physics3d/Physics3DConstraint.h"

#include <btBulletDynamicsCommon.h>

#include "engine/physics3d/BulletConversions.h"
#include "engine/physics3d/Physics3DObject.h"

namespace engine {

namespace {
template <class T>
T* as(btTypedConstraint* constraint) {
    return static_cast<T*>(constraint);
}
}  // namespace

void Physics3DConstraint::attach(btTypedConstraint* btConstraint, ConstraintType type, Physics3DRigidBody* bodyA,
                                 Physics3DRigidBody* bodyB) {
    _constraint = btConstraint;
    _constraint->setUserConstraintPtr(this);
    _type = type;
    _bodyA = bodyA;
    _bodyB = bodyB;
    for (Physics3DRigidBody* body : {bodyA, bodyB}) {
        if (!body) continue;
        body->retain();
        body->addConstraint(this);
    }
}

Physics3DConstraint::~Physics3DConstraint() {
    delete _constraint;
    for (Physics3DRigidBody* body : {_bodyA, _bodyB}) {
        if (!body) continue;
        body->removeConstraint(this);
        body->release();
    }
}

float Physics3DConstraint::getBreakingImpulse() const { return _constraint->getBreakingImpulseThreshold(); }
void Physics3DConstraint::setBreakingImpulse(float impulse) { _constraint->setBreakingImpulseThreshold(impulse); }
bool Physics3DConstraint::isEnabled() const { return _constraint->isEnabled(); }
void Physics3DConstraint::setEnabled(bool enabled) { _constraint->setEnabled(enabled); }
int Physics3DConstraint::getOverrideNumSolverIterations() const {
    return _constraint->getOverrideNumSolverIterations();
}
void Physics3DConstraint::setOverrideNumSolverIterations(int iterations) {
    _constraint->setOverrideNumSolverIterations(iterations);
}

// ---- Point to point

Physics3DPointToPointConstraint* Physics3DPointToPointConstraint::create(Physics3DRigidBody* rbA,
                                                                         const Vec3& pivotPointInA) {
    if (!rbA) return nullptr;
    return adopt(new Physics3DPointToPointConstraint,
                 new btPoint2PointConstraint(*rbA->getRigidBody(), toBullet(pivotPointInA)),
                 ConstraintType::POINT_TO_POINT, rbA, nullptr);
}

Physics3DPointToPointConstraint* Physics3DPointToPointConstraint::create(Physics3DRigidBody* rbA,
                                                                         Physics3DRigidBody* rbB,
                                                                         const Vec3& pivotPointInA,
                                                                         const Vec3& pivotPointInB) {
    if (!rbA || !rbB) return nullptr;
    return adopt(new Physics3DPointToPointConstraint,
                 new btPoint2PointConstraint(*rbA->getRigidBody(), *rbB->getRigidBody(), toBullet(pivotPointInA),
                                             toBullet(pivotPointInB)),
                 ConstraintType::POINT_TO_POINT, rbA, rbB);
}

void Physics3DPointToPointConstraint::setPivotPointInA(const Vec3& pivot) {
    as<btPoint2PointConstraint>(_constraint)->setPivotA(toBullet(pivot));
}
void Physics3DPointToPointConstraint::setPivotPointInB(const Vec3& pivot) {
    as<btPoint2PointConstraint>(_constraint)->setPivotB(toBullet(pivot));
}
Vec3 Physics3DPointToPointConstraint::getPivotPointInA() const {
    return fromBullet(as<btPoint2PointConstraint>(_constraint)->getPivotInA());
}
Vec3 Physics3DPointToPointConstraint::getPivotPointInB() const {
    return fromBullet(as<btPoint2PointConstraint>(_constraint)->getPivotInB());
}

// ---- Hinge

Physics3DHingeConstraint* Physics3DHingeConstraint::create(Physics3DRigidBody* rbA, const Mat4& rbAFrame,
                                                           bool useReferenceFrameA) {
    if (!rbA) return nullptr;
    return adopt(new Physics3DHingeConstraint,
                 new btHingeConstraint(*rbA->getRigidBody(), toBullet(rbAFrame), useReferenceFrameA),
                 ConstraintType::HINGE, rbA, nullptr);
}

Physics3DHingeConstraint* Physics3DHingeConstraint::create(Physics3DRigidBody* rbA, const Vec3& pivotInA,
                                                           const Vec3& axisInA, bool useReferenceFrameA) {
    if (!rbA) return nullptr;
    return adopt(new Physics3DHingeConstraint,
                 new btHingeConstraint(*rbA->getRigidBody(), toBullet(pivotInA), toBullet(axisInA), useReferenceFrameA),
                 ConstraintType::HINGE, rbA, nullptr);
}

Physics3DHingeConstraint* Physics3DHingeConstraint::create(Physics3DRigidBody* rbA, Physics3DRigidBody* rbB,
                                                           const Mat4& rbAFrame, const Mat4& rbBFrame,
                                                           bool useReferenceFrameA) {
    if (!rbA || !rbB) return nullptr;
    return adopt(new Physics3DHingeConstraint,
                 new btHingeConstraint(*rbA->getRigidBody(), *rbB->getRigidBody(), toBullet(rbAFrame),
                                       toBullet(rbBFrame), useReferenceFrameA),
                 ConstraintType::HINGE, rbA, rbB);
}

Mat4 Physics3DHingeConstraint::getFrameOffsetA() const {
    return fromBullet(as<btHingeConstraint>(_constraint)->getFrameOffsetA());
}
Mat4 Physics3DHingeConstraint::getFrameOffsetB() const {
    return fromBullet(as<btHingeConstraint>(_constraint)->getFrameOffsetB());
}
void Physics3DHingeConstraint::setFrames(const Mat4& frameA, const Mat4& frameB) {
    as<btHingeConstraint>(_constraint)->setFrames(toBullet(frameA), toBullet(frameB));
}
void Physics3DHingeConstraint::setAngularOnly(bool angularOnly) {
    as<btHingeConstraint>(_constraint)->setAngularOnly(angularOnly);
}
bool Physics3DHingeConstraint::getAngularOnly() const { return as<btHingeConstraint>(_constraint)->getAngularOnly(); }
void Physics3DHingeConstraint::enableAngularMotor(bool enableMotor, float targetVelocity, float maxMotorImpulse) {
    as<btHingeConstraint>(_constraint)->enableAngularMotor(enableMotor, targetVelocity, maxMotorImpulse);
}
void Physics3DHingeConstraint::enableMotor(bool enableMotor) {
    as<btHingeConstraint>(_constraint)->enableMotor(enableMotor);
}
void Physics3DHingeConstraint::setMaxMotorImpulse(float maxMotorImpulse) {
    as<btHingeConstraint>(_constraint)->setMaxMotorImpulse(maxMotorImpulse);
}
void Physics3DHingeConstraint::setMotorTarget(float targetAngle, float dt) {
    as<btHingeConstraint>(_constraint)->setMotorTarget(targetAngle, dt);
}
void Physics3DHingeConstraint::setLimit(float low, float high, float softness, float biasFactor,
                                        float relaxationFactor) {
    as<btHingeConstraint>(_constraint)->setLimit(low, high, softness, biasFactor, relaxationFactor);
}
float Physics3DHingeConstraint::getLowerLimit() const { return as<btHingeConstraint>(_constraint)->getLowerLimit(); }
float Physics3DHingeConstraint::getUpperLimit() const { return as<btHingeConstraint>(_constraint)->getUpperLimit(); }
float Physics3DHingeConstraint::getHingeAngle() const { return as<btHingeConstraint>(_constraint)->getHingeAngle(); }

// ---- Slider

Physics3DSliderConstraint* Physics3DSliderConstraint::create(Physics3DRigidBody* rbA, Physics3DRigidBody* rbB,
                                                             const Mat4& frameInA, const Mat4& frameInB,
                                                             bool useLinearReferenceFrameA) {
    if (!rbA || !rbB) return nullptr;
    return adopt(new Physics3DSliderConstraint,
                 new btSliderConstraint(*rbA->getRigidBody(), *rbB->getRigidBody(), toBullet(frameInA),
                                        toBullet(frameInB), useLinearReferenceFrameA),
                 ConstraintType::SLIDER, rbA, rbB);
}

#define SLIDER(name) as<btSliderConstraint>(_constraint)->name
float Physics3DSliderConstraint::getLowerLinLimit() const { return SLIDER(getLowerLinLimit)(); }
void Physics3DSliderConstraint::setLowerLinLimit(float limit) { SLIDER(setLowerLinLimit)(limit); }
float Physics3DSliderConstraint::getUpperLinLimit() const { return SLIDER(getUpperLinLimit)(); }
void Physics3DSliderConstraint::setUpperLinLimit(float limit) { SLIDER(setUpperLinLimit)(limit); }
float Physics3DSliderConstraint::getLowerAngLimit() const { return SLIDER(getLowerAngLimit)(); }
void Physics3DSliderConstraint::setLowerAngLimit(float limit) { SLIDER(setLowerAngLimit)(limit); }
float Physics3DSliderConstraint::getUpperAngLimit() const { return SLIDER(getUpperAngLimit)(); }
void Physics3DSliderConstraint::setUpperAngLimit(float limit) { SLIDER(setUpperAngLimit)(limit); }
bool Physics3DSliderConstraint::getPoweredLinMotor() const { return SLIDER(getPoweredLinMotor)(); }
void Physics3DSliderConstraint::setPoweredLinMotor(bool powered) { SLIDER(setPoweredLinMotor)(powered); }
float Physics3DSliderConstraint::getTargetLinMotorVelocity() const { return SLIDER(getTargetLinMotorVelocity)(); }
void Physics3DSliderConstraint::setTargetLinMotorVelocity(float velocity) {
    SLIDER(setTargetLinMotorVelocity)(velocity);
}
float Physics3DSliderConstraint::getMaxLinMotorForce() const { return SLIDER(getMaxLinMotorForce)(); }
void Physics3DSliderConstraint::setMaxLinMotorForce(float force) { SLIDER(setMaxLinMotorForce)(force); }
float Physics3DSliderConstraint::getLinearPos() const { return SLIDER(getLinearPos)(); }
float Physics3DSliderConstraint::getAngularPos() const { return SLIDER(getAngularPos)(); }
#undef SLIDER

// ---- Cone twist

Physics3DConeTwistConstraint* Physics3DConeTwistConstraint::create(Physics3DRigidBody* rbA, const Mat4& frameA) {
    if (!rbA) return nullptr;
    return adopt(new Physics3DConeTwistConstraint,
                 new btConeTwistConstraint(*rbA->getRigidBody(), toBullet(frameA)), ConstraintType::CONE_TWIST, rbA,
                 nullptr);
}

Physics3DConeTwistConstraint* Physics3DConeTwistConstraint::create(Physics3DRigidBody* rbA, Physics3DRigidBody* rbB,
                                                                   const Mat4& frameA, const Mat4& frameB) {
    if (!rbA || !rbB) return nullptr;
    return adopt(new Physics3DConeTwistConstraint,
                 new btConeTwistConstraint(*rbA->getRigidBody(), *rbB->getRigidBody(), toBullet(frameA),
                                           toBullet(frameB)),
                 ConstraintType::CONE_TWIST, rbA, rbB);
}

void Physics3DConeTwistConstraint::setLimit(float swingSpan1, float swingSpan2, float twistSpan, float softness,
                                            float biasFactor, float relaxationFactor) {
    as<btConeTwistConstraint>(_constraint)
        ->setLimit(swingSpan1, swingSpan2, twistSpan, softness, biasFactor, relaxationFactor);
}
float Physics3DConeTwistConstraint::getSwingSpan1() const {
    return as<btConeTwistConstraint>(_constraint)->getSwingSpan1();
}
float Physics3DConeTwistConstraint::getSwingSpan2() const {
    return as<btConeTwistConstraint>(_constraint)->getSwingSpan2();
}
float Physics3DConeTwistConstraint::getTwistSpan() const { return as<btConeTwistConstraint>(_constraint)->getTwistSpan(); }
float Physics3DConeTwistConstraint::getTwistAngle() const {
    return as<btConeTwistConstraint>(_constraint)->getTwistAngle();
}
void Physics3DConeTwistConstraint::setDamping(float damping) { as<btConeTwistConstraint>(_constraint)->setDamping(damping); }
void Physics3DConeTwistConstraint::enableMotor(bool enable) { as<btConeTwistConstraint>(_constraint)->enableMotor(enable); }
void Physics3DConeTwistConstraint::setMaxMotorImpulse(float maxMotorImpulse) {
    as<btConeTwistConstraint>(_constraint)->setMaxMotorImpulse(maxMotorImpulse);
}
void Physics3DConeTwistConstraint::setMotorTarget(const Quaternion& target) {
    as<btConeTwistConstraint>(_constraint)->setMotorTarget(toBullet(target));
}

// ---- Six degrees of freedom

Physics3D6DofConstraint* Physics3D6DofConstraint::create(Physics3DRigidBody* rbA, Physics3DRigidBody* rbB,
                                                         const Mat4& frameInA, const Mat4& frameInB,
                                                         bool useLinearReferenceFrameA) {
    if (!rbA || !rbB) return nullptr;
    return adopt(new Physics3D6DofConstraint,
                 new btGeneric6DofConstraint(*rbA->getRigidBody(), *rbB->getRigidBody(), toBullet(frameInA),
                                             toBullet(frameInB), useLinearReferenceFrameA),
                 ConstraintType::SIX_DOF, rbA, rbB);
}

Physics3D6DofConstraint* Physics3D6DofConstraint::create(Physics3DRigidBody* rbB, const Mat4& frameInB,
                                                         bool useLinearReferenceFrameB) {
    if (!rbB) return nullptr;
    return adopt(new Physics3D6DofConstraint,
                 new btGeneric6DofConstraint(*rbB->getRigidBody(), toBullet(frameInB), useLinearReferenceFrameB),
                 ConstraintType::SIX_DOF, nullptr, rbB);
}

#define SIXDOF as<btGeneric6DofConstraint>(_constraint)
void Physics3D6DofConstraint::setLinearLowerLimit(const Vec3& limit) { SIXDOF->setLinearLowerLimit(toBullet(limit)); }
Vec3 Physics3D6DofConstraint::getLinearLowerLimit() const {
    btVector3 limit;
    SIXDOF->getLinearLowerLimit(limit);
    return fromBullet(limit);
}
void Physics3D6DofConstraint::setLinearUpperLimit(const Vec3& limit) { SIXDOF->setLinearUpperLimit(toBullet(limit)); }
Vec3 Physics3D6DofConstraint::getLinearUpperLimit() const {
    btVector3 limit;
    SIXDOF->getLinearUpperLimit(limit);
    return fromBullet(limit);
}
void Physics3D6DofConstraint::setAngularLowerLimit(const Vec3& limit) { SIXDOF->setAngularLowerLimit(toBullet(limit)); }
Vec3 Physics3D6DofConstraint::getAngularLowerLimit() const {
    btVector3 limit;
    SIXDOF->getAngularLowerLimit(limit);
    return fromBullet(limit);
}
void Physics3D6DofConstraint::setAngularUpperLimit(const Vec3& limit) { SIXDOF->setAngularUpperLimit(toBullet(limit)); }
Vec3 Physics3D6DofConstraint::getAngularUpperLimit() const {
    btVector3 limit;
    SIXDOF->getAngularUpperLimit(limit);
    return fromBullet(limit);
}
bool Physics3D6DofConstraint::isLimited(int limitIndex) const {
    return limitIndex >= 0 && limitIndex < 6 && SIXDOF->isLimited(limitIndex);
}
bool Physics3D6DofConstraint::getUseFrameOffset() const { return SIXDOF->getUseFrameOffset(); }
void Physics3D6DofConstraint::setUseFrameOffset(bool frameOffsetOnOff) { SIXDOF->setUseFrameOffset(frameOffsetOnOff); }
#undef SIXDOF

}  // namespace engine
