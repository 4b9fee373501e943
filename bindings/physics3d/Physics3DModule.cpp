// The 3D physics module (table "cc"): bodies, shapes, constraints, the world and
// the component that ties a node to a body. The creators that take records or
// arrays, the collision callback and the ray cast are hand-written
// (bindings/physics3d/LuaPhysics3DManual.h).
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"
#include "bindings/physics3d/LuaPhysics3DManual.h"

#include <btBulletDynamicsCommon.h>

#include <vector>

#include "engine/physics3d/Physics3DComponent.h"
#include "engine/physics3d/Physics3DConstraint.h"
#include "engine/physics3d/Physics3DObject.h"
#include "engine/physics3d/Physics3DShape.h"
#include "engine/physics3d/Physics3DWorld.h"
#include "engine/physics3d/PhysicsSprite3D.h"

namespace bindings {

namespace {

using namespace engine;

// Bullet's own objects reach scripts under Bullet's class names; no class table
// exists for them, so a script can only hand them back.
struct BulletObject {
    void* object = nullptr;
    const char* typeName = nullptr;
};

int pushResult(lua_State* L, BulletObject value) {
    pushBulletObject(L, value.object, value.typeName);
    return 1;
}

constexpr bool kTrue = true;
constexpr float kHingeSoftness = 0.9f;
constexpr float kBias = 0.3f;
constexpr float kOne = 1.f;

// ---- Shapes

int shapeType(Physics3DShape* self) { return static_cast<int>(self->getShapeType()); }
BulletObject shapeHandle(Physics3DShape* self) { return {self->getbtShape(), "btCollisionShape"}; }

const Method kShapeMethods[] = {
    {"createBox", {classFunction<&Physics3DShape::createBox>()}},
    {"createSphere", {classFunction<&Physics3DShape::createSphere>()}},
    {"createCylinder", {classFunction<&Physics3DShape::createCylinder>()}},
    {"createCapsule", {classFunction<&Physics3DShape::createCapsule>()}},
    {"getShapeType", {method<&shapeType>()}},
    {"getbtShape", {method<&shapeHandle>()}},
};

// ---- Objects and rigid bodies

int objectType(Physics3DObject* self) { return static_cast<int>(self->getObjType()); }

const Method kObjectMethods[] = {
    {"getObjType", {method<&objectType>()}},
    {"getPhysicsWorld", {method<&Physics3DObject::getPhysicsWorld>()}},
    {"getWorldTransform", {method<&Physics3DObject::getWorldTransform>()}},
    {"needCollisionCallback", {method<&Physics3DObject::needCollisionCallback>()}},
    {"setMask", {method<&Physics3DObject::setMask>()}},
    {"getMask", {method<&Physics3DObject::getMask>()}},
};

BulletObject bodyHandle(Physics3DRigidBody* self) { return {self->getRigidBody(), "btRigidBody"}; }
void setAngularFactorVector(Physics3DRigidBody* self, const Vec3& factor) { self->setAngularFactor(factor); }
void setAngularFactorScalar(Physics3DRigidBody* self, float factor) { self->setAngularFactor(factor); }

const Method kRigidBodyMethods[] = {
    {"getRigidBody", {method<&bodyHandle>()}},
    {"getCollisionShape", {method<&Physics3DRigidBody::getCollisionShape>()}},
    {"applyForce", {method<&Physics3DRigidBody::applyForce>()}},
    {"applyCentralForce", {method<&Physics3DRigidBody::applyCentralForce>()}},
    {"applyCentralImpulse", {method<&Physics3DRigidBody::applyCentralImpulse>()}},
    {"applyImpulse", {method<&Physics3DRigidBody::applyImpulse>()}},
    {"applyTorque", {method<&Physics3DRigidBody::applyTorque>()}},
    {"applyTorqueImpulse", {method<&Physics3DRigidBody::applyTorqueImpulse>()}},
    {"applyDamping", {method<&Physics3DRigidBody::applyDamping>()}},
    {"getTotalForce", {method<&Physics3DRigidBody::getTotalForce>()}},
    {"getTotalTorque", {method<&Physics3DRigidBody::getTotalTorque>()}},
    {"setLinearVelocity", {method<&Physics3DRigidBody::setLinearVelocity>()}},
    {"getLinearVelocity", {method<&Physics3DRigidBody::getLinearVelocity>()}},
    {"setAngularVelocity", {method<&Physics3DRigidBody::setAngularVelocity>()}},
    {"getAngularVelocity", {method<&Physics3DRigidBody::getAngularVelocity>()}},
    {"setLinearFactor", {method<&Physics3DRigidBody::setLinearFactor>()}},
    {"getLinearFactor", {method<&Physics3DRigidBody::getLinearFactor>()}},
    {"setAngularFactor", {method<&setAngularFactorVector>(), method<&setAngularFactorScalar>()}},
    {"getAngularFactor", {method<&Physics3DRigidBody::getAngularFactor>()}},
    {"setDamping", {method<&Physics3DRigidBody::setDamping>()}},
    {"getLinearDamping", {method<&Physics3DRigidBody::getLinearDamping>()}},
    {"getAngularDamping", {method<&Physics3DRigidBody::getAngularDamping>()}},
    {"setGravity", {method<&Physics3DRigidBody::setGravity>()}},
    {"getGravity", {method<&Physics3DRigidBody::getGravity>()}},
    {"setMassProps", {method<&Physics3DRigidBody::setMassProps>()}},
    {"getInvMass", {method<&Physics3DRigidBody::getInvMass>()}},
    {"setInvInertiaDiagLocal", {method<&Physics3DRigidBody::setInvInertiaDiagLocal>()}},
    {"getInvInertiaDiagLocal", {method<&Physics3DRigidBody::getInvInertiaDiagLocal>()}},
    {"setCenterOfMassTransform", {method<&Physics3DRigidBody::setCenterOfMassTransform>()}},
    {"getCenterOfMassTransform", {method<&Physics3DRigidBody::getCenterOfMassTransform>()}},
    {"setRestitution", {method<&Physics3DRigidBody::setRestitution>()}},
    {"getRestitution", {method<&Physics3DRigidBody::getRestitution>()}},
    {"setFriction", {method<&Physics3DRigidBody::setFriction>()}},
    {"getFriction", {method<&Physics3DRigidBody::getFriction>()}},
    {"setRollingFriction", {method<&Physics3DRigidBody::setRollingFriction>()}},
    {"getRollingFriction", {method<&Physics3DRigidBody::getRollingFriction>()}},
    {"setHitFraction", {method<&Physics3DRigidBody::setHitFraction>()}},
    {"getHitFraction", {method<&Physics3DRigidBody::getHitFraction>()}},
    {"setCcdMotionThreshold", {method<&Physics3DRigidBody::setCcdMotionThreshold>()}},
    {"getCcdMotionThreshold", {method<&Physics3DRigidBody::getCcdMotionThreshold>()}},
    {"setCcdSweptSphereRadius", {method<&Physics3DRigidBody::setCcdSweptSphereRadius>()}},
    {"getCcdSweptSphereRadius", {method<&Physics3DRigidBody::getCcdSweptSphereRadius>()}},
    {"setKinematic", {method<&Physics3DRigidBody::setKinematic>()}},
    {"isKinematic", {method<&Physics3DRigidBody::isKinematic>()}},
    {"isSleepingAllowed", {method<&Physics3DRigidBody::isSleepingAllowed>()}},
    {"isActive", {method<&Physics3DRigidBody::isActive>()}},
    {"getConstraint", {method<&Physics3DRigidBody::getConstraint>()}},
    {"getConstraintCount", {method<&Physics3DRigidBody::getConstraintCount>()}},
};

// ---- Component

int syncFlag(Physics3DComponent* self) { return static_cast<int>(self->getSyncFlag()); }
// A component's or a physics sprite's sync flag; numbers of no flag are ignored.
template <class T>
void setSyncFlag(T* self, int flag) {
    if (flag >= 0 && flag <= static_cast<int>(Physics3DComponent::PhysicsSyncFlag::NODE_AND_PHYSICS)) {
        self->setSyncFlag(static_cast<Physics3DComponent::PhysicsSyncFlag>(flag));
    }
}
std::string componentName() { return Physics3DComponent::getPhysics3DComponentName(); }

const Method kComponentMethods[] = {
    {"getPhysics3DComponentName", {classFunction<&componentName>()}},
    {"setPhysics3DObject", {method<&Physics3DComponent::setPhysics3DObject>()}},
    {"getPhysics3DObject", {method<&Physics3DComponent::getPhysics3DObject>()}},
    {"setTransformInPhysics", {method<&Physics3DComponent::setTransformInPhysics>()}},
    {"setSyncFlag", {method<&setSyncFlag<Physics3DComponent>>()}},
    {"getSyncFlag", {method<&syncFlag>()}},
    {"syncNodeToPhysics", {method<&Physics3DComponent::syncNodeToPhysics>()}},
    {"syncPhysicsToNode", {method<&Physics3DComponent::syncPhysicsToNode>()}},
};

// ---- Sprite

const Method kSpriteMethods[] = {
    {"getPhysicsObj", {method<&PhysicsSprite3D::getPhysicsObj>()}},
    {"getPhysicsComponent", {method<&PhysicsSprite3D::getPhysicsComponent>()}},
    {"setSyncFlag", {method<&setSyncFlag<PhysicsSprite3D>>()}},
    {"syncNodeToPhysics", {method<&PhysicsSprite3D::syncNodeToPhysics>()}},
    {"syncPhysicsToNode", {method<&PhysicsSprite3D::syncPhysicsToNode>()}},
};

// ---- World

Physics3DWorld* createWorld() { return Physics3DWorld::create(nullptr); }

const Method kWorldMethods[] = {
    {"create", {classFunction<&createWorld>()}},
    {"setGravity", {method<&Physics3DWorld::setGravity>()}},
    {"getGravity", {method<&Physics3DWorld::getGravity>()}},
    {"addPhysics3DObject", {method<&Physics3DWorld::addPhysics3DObject>()}},
    {"removePhysics3DObject", {method<&Physics3DWorld::removePhysics3DObject>()}},
    {"removeAllPhysics3DObjects", {method<&Physics3DWorld::removeAllPhysics3DObjects>()}},
    {"addPhysics3DConstraint", {method<&Physics3DWorld::addPhysics3DConstraint, kTrue>()}},
    {"removePhysics3DConstraint", {method<&Physics3DWorld::removePhysics3DConstraint>()}},
    {"removeAllPhysics3DConstraints", {method<&Physics3DWorld::removeAllPhysics3DConstraints>()}},
    {"stepSimulate", {method<&Physics3DWorld::stepSimulate>()}},
    {"setDebugDrawEnable", {method<&Physics3DWorld::setDebugDrawEnable>()}},
    {"isDebugDrawEnabled", {method<&Physics3DWorld::isDebugDrawEnabled>()}},
};

// ---- Constraints

int constraintType(Physics3DConstraint* self) { return static_cast<int>(self->getConstraintType()); }
BulletObject constraintHandle(Physics3DConstraint* self) { return {self->getbtContraint(), "btTypedConstraint"}; }

const Method kConstraintMethods[] = {
    {"getConstraintType", {method<&constraintType>()}},
    {"getbtContraint", {method<&constraintHandle>()}},
    {"getBodyA", {method<&Physics3DConstraint::getBodyA>()}},
    {"getBodyB", {method<&Physics3DConstraint::getBodyB>()}},
    {"getBreakingImpulse", {method<&Physics3DConstraint::getBreakingImpulse>()}},
    {"setBreakingImpulse", {method<&Physics3DConstraint::setBreakingImpulse>()}},
    {"isEnabled", {method<&Physics3DConstraint::isEnabled>()}},
    {"setEnabled", {method<&Physics3DConstraint::setEnabled>()}},
    {"getOverrideNumSolverIterations", {method<&Physics3DConstraint::getOverrideNumSolverIterations>()}},
    {"setOverrideNumSolverIterations", {method<&Physics3DConstraint::setOverrideNumSolverIterations>()}},
};

using PointToPointFixed = Physics3DPointToPointConstraint* (*)(Physics3DRigidBody*, const Vec3&);
using PointToPointPair = Physics3DPointToPointConstraint* (*)(Physics3DRigidBody*, Physics3DRigidBody*, const Vec3&,
                                                              const Vec3&);
const Method kPointToPointMethods[] = {
    {"create", {classFunction<static_cast<PointToPointFixed>(&Physics3DPointToPointConstraint::create)>(),
                classFunction<static_cast<PointToPointPair>(&Physics3DPointToPointConstraint::create)>()}},
    {"setPivotPointInA", {method<&Physics3DPointToPointConstraint::setPivotPointInA>()}},
    {"setPivotPointInB", {method<&Physics3DPointToPointConstraint::setPivotPointInB>()}},
    {"getPivotPointInA", {method<&Physics3DPointToPointConstraint::getPivotPointInA>()}},
    {"getPivotPointInB", {method<&Physics3DPointToPointConstraint::getPivotPointInB>()}},
};

using HingeFrame = Physics3DHingeConstraint* (*)(Physics3DRigidBody*, const Mat4&, bool);
using HingeAxis = Physics3DHingeConstraint* (*)(Physics3DRigidBody*, const Vec3&, const Vec3&, bool);
using HingePair = Physics3DHingeConstraint* (*)(Physics3DRigidBody*, Physics3DRigidBody*, const Mat4&, const Mat4&, bool);
constexpr bool kFalse = false;
const Method kHingeMethods[] = {
    // A frame (16 numbers) is tried before a point: a point table is no matrix.
    {"create", {classFunction<static_cast<HingeFrame>(&Physics3DHingeConstraint::create), kFalse>(),
                classFunction<static_cast<HingeAxis>(&Physics3DHingeConstraint::create), kFalse>(),
                classFunction<static_cast<HingePair>(&Physics3DHingeConstraint::create), kFalse>()}},
    {"getFrameOffsetA", {method<&Physics3DHingeConstraint::getFrameOffsetA>()}},
    {"getFrameOffsetB", {method<&Physics3DHingeConstraint::getFrameOffsetB>()}},
    {"setFrames", {method<&Physics3DHingeConstraint::setFrames>()}},
    {"setAngularOnly", {method<&Physics3DHingeConstraint::setAngularOnly>()}},
    {"getAngularOnly", {method<&Physics3DHingeConstraint::getAngularOnly>()}},
    {"enableAngularMotor", {method<&Physics3DHingeConstraint::enableAngularMotor>()}},
    {"enableMotor", {method<&Physics3DHingeConstraint::enableMotor>()}},
    {"setMaxMotorImpulse", {method<&Physics3DHingeConstraint::setMaxMotorImpulse>()}},
    {"setMotorTarget", {method<&Physics3DHingeConstraint::setMotorTarget>()}},
    {"setLimit", {method<&Physics3DHingeConstraint::setLimit, &kHingeSoftness, &kBias, &kOne>()}},
    {"getLowerLimit", {method<&Physics3DHingeConstraint::getLowerLimit>()}},
    {"getUpperLimit", {method<&Physics3DHingeConstraint::getUpperLimit>()}},
    {"getHingeAngle", {method<&Physics3DHingeConstraint::getHingeAngle>()}},
};

const Method kSliderMethods[] = {
    {"create", {classFunction<&Physics3DSliderConstraint::create>()}},
    {"getLowerLinLimit", {method<&Physics3DSliderConstraint::getLowerLinLimit>()}},
    {"setLowerLinLimit", {method<&Physics3DSliderConstraint::setLowerLinLimit>()}},
    {"getUpperLinLimit", {method<&Physics3DSliderConstraint::getUpperLinLimit>()}},
    {"setUpperLinLimit", {method<&Physics3DSliderConstraint::setUpperLinLimit>()}},
    {"getLowerAngLimit", {method<&Physics3DSliderConstraint::getLowerAngLimit>()}},
    {"setLowerAngLimit", {method<&Physics3DSliderConstraint::setLowerAngLimit>()}},
    {"getUpperAngLimit", {method<&Physics3DSliderConstraint::getUpperAngLimit>()}},
    {"setUpperAngLimit", {method<&Physics3DSliderConstraint::setUpperAngLimit>()}},
    {"getPoweredLinMotor", {method<&Physics3DSliderConstraint::getPoweredLinMotor>()}},
    {"setPoweredLinMotor", {method<&Physics3DSliderConstraint::setPoweredLinMotor>()}},
    {"getTargetLinMotorVelocity", {method<&Physics3DSliderConstraint::getTargetLinMotorVelocity>()}},
    {"setTargetLinMotorVelocity", {method<&Physics3DSliderConstraint::setTargetLinMotorVelocity>()}},
    {"getMaxLinMotorForce", {method<&Physics3DSliderConstraint::getMaxLinMotorForce>()}},
    {"setMaxLinMotorForce", {method<&Physics3DSliderConstraint::setMaxLinMotorForce>()}},
    {"getLinearPos", {method<&Physics3DSliderConstraint::getLinearPos>()}},
    {"getAngularPos", {method<&Physics3DSliderConstraint::getAngularPos>()}},
};

using ConeFixed = Physics3DConeTwistConstraint* (*)(Physics3DRigidBody*, const Mat4&);
using ConePair = Physics3DConeTwistConstraint* (*)(Physics3DRigidBody*, Physics3DRigidBody*, const Mat4&, const Mat4&);
const Method kConeTwistMethods[] = {
    {"create", {classFunction<static_cast<ConeFixed>(&Physics3DConeTwistConstraint::create)>(),
                classFunction<static_cast<ConePair>(&Physics3DConeTwistConstraint::create)>()}},
    {"setLimit", {method<&Physics3DConeTwistConstraint::setLimit, &kOne, &kBias, &kOne>()}},
    {"getSwingSpan1", {method<&Physics3DConeTwistConstraint::getSwingSpan1>()}},
    {"getSwingSpan2", {method<&Physics3DConeTwistConstraint::getSwingSpan2>()}},
    {"getTwistSpan", {method<&Physics3DConeTwistConstraint::getTwistSpan>()}},
    {"getTwistAngle", {method<&Physics3DConeTwistConstraint::getTwistAngle>()}},
    {"setDamping", {method<&Physics3DConeTwistConstraint::setDamping>()}},
    {"enableMotor", {method<&Physics3DConeTwistConstraint::enableMotor>()}},
    {"setMaxMotorImpulse", {method<&Physics3DConeTwistConstraint::setMaxMotorImpulse>()}},
    {"setMotorTarget", {method<&Physics3DConeTwistConstraint::setMotorTarget>()}},
};

using SixDofPair = Physics3D6DofConstraint* (*)(Physics3DRigidBody*, Physics3DRigidBody*, const Mat4&, const Mat4&,
                                                bool);
using SixDofFixed = Physics3D6DofConstraint* (*)(Physics3DRigidBody*, const Mat4&, bool);
const Method kSixDofMethods[] = {
    {"create", {classFunction<static_cast<SixDofFixed>(&Physics3D6DofConstraint::create)>(),
                classFunction<static_cast<SixDofPair>(&Physics3D6DofConstraint::create)>()}},
    {"setLinearLowerLimit", {method<&Physics3D6DofConstraint::setLinearLowerLimit>()}},
    {"getLinearLowerLimit", {method<&Physics3D6DofConstraint::getLinearLowerLimit>()}},
    {"setLinearUpperLimit", {method<&Physics3D6DofConstraint::setLinearUpperLimit>()}},
    {"getLinearUpperLimit", {method<&Physics3D6DofConstraint::getLinearUpperLimit>()}},
    {"setAngularLowerLimit", {method<&Physics3D6DofConstraint::setAngularLowerLimit>()}},
    {"getAngularLowerLimit", {method<&Physics3D6DofConstraint::getAngularLowerLimit>()}},
    {"setAngularUpperLimit", {method<&Physics3D6DofConstraint::setAngularUpperLimit>()}},
    {"getAngularUpperLimit", {method<&Physics3D6DofConstraint::getAngularUpperLimit>()}},
    {"isLimited", {method<&Physics3D6DofConstraint::isLimited>()}},
    {"getUseFrameOffset", {method<&Physics3D6DofConstraint::getUseFrameOffset>()}},
    {"setUseFrameOffset", {method<&Physics3D6DofConstraint::setUseFrameOffset>()}},
};

// Rows in registration order, bases first.
const std::vector<ClassEntry> kPhysics3DClasses = {
    classEntry<Physics3DShape>("cc.Physics3DShape", "cc.Ref", kShapeMethods),
    classEntry<Physics3DObject>("cc.Physics3DObject", "cc.Ref", kObjectMethods),
    classEntry<Physics3DRigidBody>("cc.Physics3DRigidBody", "cc.Physics3DObject", kRigidBodyMethods),
    classEntry<Physics3DComponent>("cc.Physics3DComponent", "cc.Component", kComponentMethods),
    classEntry<PhysicsSprite3D>("cc.PhysicsSprite3D", "cc.Sprite3D", kSpriteMethods),
    classEntry<Physics3DWorld>("cc.Physics3DWorld", "cc.Ref", kWorldMethods),
    classEntry<Physics3DConstraint>("cc.Physics3DConstraint", "cc.Ref", kConstraintMethods),
    classEntry<Physics3DPointToPointConstraint>("cc.Physics3DPointToPointConstraint", "cc.Physics3DConstraint",
                                                kPointToPointMethods),
    classEntry<Physics3DHingeConstraint>("cc.Physics3DHingeConstraint", "cc.Physics3DConstraint", kHingeMethods),
    classEntry<Physics3DSliderConstraint>("cc.Physics3DSliderConstraint", "cc.Physics3DConstraint", kSliderMethods),
    classEntry<Physics3DConeTwistConstraint>("cc.Physics3DConeTwistConstraint", "cc.Physics3DConstraint",
                                             kConeTwistMethods),
    classEntry<Physics3D6DofConstraint>("cc.Physics3D6DofConstraint", "cc.Physics3DConstraint", kSixDofMethods),
};

}  // namespace

std::span<const ClassEntry> physics3dClassTable() { return kPhysics3DClasses; }

int register_physics3d_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kPhysics3DClasses);
    register_physics3d_manual(L);
    return 1;
}

}  // namespace bindings
