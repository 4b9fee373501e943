// The generated-style classes of the physics module (table "cc"), registered while
// the Lua stack starts. The methods that take or give point arrays, the queries
// and the contact handlers are hand-written (bindings/physics/LuaPhysicsManual.h).
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

#include "engine/physics/PhysicsBody.h"
#include "engine/physics/PhysicsContact.h"
#include "engine/physics/PhysicsJoint.h"
#include "engine/physics/PhysicsShape.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/scene/Node.h"

namespace bindings {

namespace {

using namespace engine;

// Defaults of the create functions (given by address: see bindings/LuaMethod.h).
constexpr float kBorder = 1.f;
constexpr float kNone = 0.f;

// ---- Shapes

int shapeType(PhysicsShape* self) { return static_cast<int>(self->getType()); }

const Method kShapeMethods[] = {
    {"getBody", {method<&PhysicsShape::getBody>()}},
    {"getType", {method<&shapeType>()}},
    {"getArea", {method<&PhysicsShape::getArea>()}},
    {"getMass", {method<&PhysicsShape::getMass>()}},
    {"setMass", {method<&PhysicsShape::setMass>()}},
    {"getMoment", {method<&PhysicsShape::getMoment>()}},
    {"setMoment", {method<&PhysicsShape::setMoment>()}},
    {"getMaterial", {method<&PhysicsShape::getMaterial>()}},
    {"setMaterial", {method<&PhysicsShape::setMaterial>()}},
    {"getDensity", {method<&PhysicsShape::getDensity>()}},
    {"setDensity", {method<&PhysicsShape::setDensity>()}},
    {"getRestitution", {method<&PhysicsShape::getRestitution>()}},
    {"setRestitution", {method<&PhysicsShape::setRestitution>()}},
    {"getFriction", {method<&PhysicsShape::getFriction>()}},
    {"setFriction", {method<&PhysicsShape::setFriction>()}},
    {"getOffset", {method<&PhysicsShape::getOffset>()}},
    {"getCenter", {method<&PhysicsShape::getCenter>()}},
    {"containsPoint", {method<&PhysicsShape::containsPoint>()}},
    {"getTag", {method<&PhysicsShape::getTag>()}},
    {"setTag", {method<&PhysicsShape::setTag>()}},
    {"isSensor", {method<&PhysicsShape::isSensor>()}},
    {"setSensor", {method<&PhysicsShape::setSensor>()}},
    {"getCategoryBitmask", {method<&PhysicsShape::getCategoryBitmask>()}},
    {"setCategoryBitmask", {method<&PhysicsShape::setCategoryBitmask>()}},
    {"getCollisionBitmask", {method<&PhysicsShape::getCollisionBitmask>()}},
    {"setCollisionBitmask", {method<&PhysicsShape::setCollisionBitmask>()}},
    {"getContactTestBitmask", {method<&PhysicsShape::getContactTestBitmask>()}},
    {"setContactTestBitmask", {method<&PhysicsShape::setContactTestBitmask>()}},
    {"getGroup", {method<&PhysicsShape::getGroup>()}},
    {"setGroup", {method<&PhysicsShape::setGroup>()}},
};

const Method kCircleMethods[] = {
    {"create", {classFunction<&PhysicsShapeCircle::create, &PHYSICSSHAPE_MATERIAL_DEFAULT, &Vec2::ZERO>()}},
    {"calculateArea", {classFunction<&PhysicsShapeCircle::calculateArea>()}},
    {"calculateMoment", {classFunction<&PhysicsShapeCircle::calculateMoment, &Vec2::ZERO>()}},
    {"getRadius", {method<&PhysicsShapeCircle::getRadius>()}},
};

const Method kPolygonMethods[] = {
    {"getPointsCount", {method<&PhysicsShapePolygon::getPointsCount>()}},
    {"getPoint", {method<&PhysicsShapePolygon::getPoint>()}},
};

const Method kBoxMethods[] = {
    {"create", {classFunction<&PhysicsShapeBox::create, &PHYSICSSHAPE_MATERIAL_DEFAULT, &Vec2::ZERO, &kNone>()}},
    {"getSize", {method<&PhysicsShapeBox::getSize>()}},
};

const Method kEdgeSegmentMethods[] = {
    {"create", {classFunction<&PhysicsShapeEdgeSegment::create, &PHYSICSSHAPE_MATERIAL_DEFAULT, &kBorder>()}},
    {"getPointA", {method<&PhysicsShapeEdgeSegment::getPointA>()}},
    {"getPointB", {method<&PhysicsShapeEdgeSegment::getPointB>()}},
};

const Method kEdgePolygonMethods[] = {
    {"getPointsCount", {method<&PhysicsShapeEdgePolygon::getPointsCount>()}},
};

const Method kEdgeBoxMethods[] = {
    {"create", {classFunction<&PhysicsShapeEdgeBox::create, &PHYSICSSHAPE_MATERIAL_DEFAULT, &kBorder, &Vec2::ZERO>()}},
};

const Method kEdgeChainMethods[] = {
    {"getPointsCount", {method<&PhysicsShapeEdgeChain::getPointsCount>()}},
};

// ---- Bodies

void removeShapeObject(PhysicsBody* self, PhysicsShape* shape, bool reduce) { self->removeShape(shape, reduce); }
void removeShapeTag(PhysicsBody* self, int tag, bool reduce) { self->removeShape(tag, reduce); }

const Method kBodyMethods[] = {
    {"create", {classFunction<static_cast<PhysicsBody* (*)()>(&PhysicsBody::create)>(),
                classFunction<static_cast<PhysicsBody* (*)(float)>(&PhysicsBody::create)>(),
                classFunction<static_cast<PhysicsBody* (*)(float, float)>(&PhysicsBody::create)>()}},
    {"createCircle", {classFunction<&PhysicsBody::createCircle, &PHYSICSBODY_MATERIAL_DEFAULT, &Vec2::ZERO>()}},
    {"createBox", {classFunction<&PhysicsBody::createBox, &PHYSICSBODY_MATERIAL_DEFAULT, &Vec2::ZERO>()}},
    {"createEdgeSegment", {classFunction<&PhysicsBody::createEdgeSegment, &PHYSICSBODY_MATERIAL_DEFAULT, &kBorder>()}},
    {"createEdgeBox", {classFunction<&PhysicsBody::createEdgeBox, &PHYSICSBODY_MATERIAL_DEFAULT, &kBorder, &Vec2::ZERO>()}},
    {"addShape", {method<&PhysicsBody::addShape, true>()}},
    {"removeShape", {method<&removeShapeObject, true>(), method<&removeShapeTag, true>()}},
    {"removeAllShapes", {method<&PhysicsBody::removeAllShapes, true>()}},
    {"getShapes", {method<&PhysicsBody::getShapes>()}},
    {"getFirstShape", {method<&PhysicsBody::getFirstShape>()}},
    {"getShape", {method<&PhysicsBody::getShape>()}},
    {"getWorld", {method<&PhysicsBody::getWorld>()}},
    {"getNode", {method<&PhysicsBody::getNode>()}},
    {"removeFromWorld", {method<&PhysicsBody::removeFromWorld>()}},
    {"isDynamic", {method<&PhysicsBody::isDynamic>()}},
    {"setDynamic", {method<&PhysicsBody::setDynamic>()}},
    {"isEnabled", {method<&PhysicsBody::isEnabled>()}},
    {"setEnabled", {method<&PhysicsBody::setEnabled>()}},
    {"isRotationEnabled", {method<&PhysicsBody::isRotationEnabled>()}},
    {"setRotationEnable", {method<&PhysicsBody::setRotationEnable>()}},
    {"isGravityEnabled", {method<&PhysicsBody::isGravityEnabled>()}},
    {"setGravityEnable", {method<&PhysicsBody::setGravityEnable>()}},
    {"isResting", {method<&PhysicsBody::isResting>()}},
    {"setResting", {method<&PhysicsBody::setResting>()}},
    {"getMass", {method<&PhysicsBody::getMass>()}},
    {"setMass", {method<&PhysicsBody::setMass>()}},
    {"addMass", {method<&PhysicsBody::addMass>()}},
    {"getMoment", {method<&PhysicsBody::getMoment>()}},
    {"setMoment", {method<&PhysicsBody::setMoment>()}},
    {"addMoment", {method<&PhysicsBody::addMoment>()}},
    {"getVelocity", {method<&PhysicsBody::getVelocity>()}},
    {"setVelocity", {method<&PhysicsBody::setVelocity>()}},
    {"getAngularVelocity", {method<&PhysicsBody::getAngularVelocity>()}},
    {"setAngularVelocity", {method<&PhysicsBody::setAngularVelocity>()}},
    {"getVelocityLimit", {method<&PhysicsBody::getVelocityLimit>()}},
    {"setVelocityLimit", {method<&PhysicsBody::setVelocityLimit>()}},
    {"getAngularVelocityLimit", {method<&PhysicsBody::getAngularVelocityLimit>()}},
    {"setAngularVelocityLimit", {method<&PhysicsBody::setAngularVelocityLimit>()}},
    {"getLinearDamping", {method<&PhysicsBody::getLinearDamping>()}},
    {"setLinearDamping", {method<&PhysicsBody::setLinearDamping>()}},
    {"getAngularDamping", {method<&PhysicsBody::getAngularDamping>()}},
    {"setAngularDamping", {method<&PhysicsBody::setAngularDamping>()}},
    {"getVelocityAtWorldPoint", {method<&PhysicsBody::getVelocityAtWorldPoint>()}},
    {"getVelocityAtLocalPoint", {method<&PhysicsBody::getVelocityAtLocalPoint>()}},
    {"applyForce", {method<&PhysicsBody::applyForce, &Vec2::ZERO>()}},
    {"resetForces", {method<&PhysicsBody::resetForces>()}},
    {"applyImpulse", {method<&PhysicsBody::applyImpulse, &Vec2::ZERO>()}},
    {"applyTorque", {method<&PhysicsBody::applyTorque>()}},
    {"getPosition", {method<&PhysicsBody::getPosition>()}},
    {"getRotation", {method<&PhysicsBody::getRotation>()}},
    {"world2Local", {method<&PhysicsBody::world2Local>()}},
    {"local2World", {method<&PhysicsBody::local2World>()}},
    {"getCategoryBitmask", {method<&PhysicsBody::getCategoryBitmask>()}},
    {"setCategoryBitmask", {method<&PhysicsBody::setCategoryBitmask>()}},
    {"getCollisionBitmask", {method<&PhysicsBody::getCollisionBitmask>()}},
    {"setCollisionBitmask", {method<&PhysicsBody::setCollisionBitmask>()}},
    {"getContactTestBitmask", {method<&PhysicsBody::getContactTestBitmask>()}},
    {"setContactTestBitmask", {method<&PhysicsBody::setContactTestBitmask>()}},
    {"getGroup", {method<&PhysicsBody::getGroup>()}},
    {"setGroup", {method<&PhysicsBody::setGroup>()}},
    {"getTag", {method<&PhysicsBody::getTag>()}},
    {"setTag", {method<&PhysicsBody::setTag>()}},
};

// ---- World

void removeBodyObject(PhysicsWorld* self, PhysicsBody* body) { self->removeBody(body); }
void removeBodyTag(PhysicsWorld* self, int tag) { self->removeBody(tag); }

const Method kWorldMethods[] = {
    {"addJoint", {method<&PhysicsWorld::addJoint>()}},
    {"removeJoint", {method<&PhysicsWorld::removeJoint, true>()}},
    {"removeAllJoints", {method<&PhysicsWorld::removeAllJoints, true>()}},
    {"removeBody", {method<&removeBodyObject>(), method<&removeBodyTag>()}},
    {"removeAllBodies", {method<&PhysicsWorld::removeAllBodies>()}},
    {"getAllBodies", {method<&PhysicsWorld::getAllBodies>()}},
    {"getBody", {method<&PhysicsWorld::getBody>()}},
    {"getShapes", {method<&PhysicsWorld::getShapes>()}},
    {"getShape", {method<&PhysicsWorld::getShape>()}},
    {"getGravity", {method<&PhysicsWorld::getGravity>()}},
    {"setGravity", {method<&PhysicsWorld::setGravity>()}},
    {"getSpeed", {method<&PhysicsWorld::getSpeed>()}},
    {"setSpeed", {method<&PhysicsWorld::setSpeed>()}},
    {"getUpdateRate", {method<&PhysicsWorld::getUpdateRate>()}},
    {"setUpdateRate", {method<&PhysicsWorld::setUpdateRate>()}},
    {"getSubsteps", {method<&PhysicsWorld::getSubsteps>()}},
    {"setSubsteps", {method<&PhysicsWorld::setSubsteps>()}},
    {"isAutoStep", {method<&PhysicsWorld::isAutoStep>()}},
    {"setAutoStep", {method<&PhysicsWorld::setAutoStep>()}},
    {"step", {method<&PhysicsWorld::step>()}},
    {"getDebugDrawMask", {method<&PhysicsWorld::getDebugDrawMask>()}},
    {"setDebugDrawMask", {method<&PhysicsWorld::setDebugDrawMask>()}},
};

// ---- Contacts and their listeners

int contactEventCode(PhysicsContact* self) { return static_cast<int>(self->getEventCode()); }

const Method kContactMethods[] = {
    {"getShapeA", {method<&PhysicsContact::getShapeA>()}},
    {"getShapeB", {method<&PhysicsContact::getShapeB>()}},
    {"getEventCode", {method<&contactEventCode>()}},
    {"getContactData", {method<&PhysicsContact::getContactData>()}},
    {"getPreContactData", {method<&PhysicsContact::getPreContactData>()}},
};

const Method kPreSolveMethods[] = {
    {"getRestitution", {method<&PhysicsContactPreSolve::getRestitution>()}},
    {"setRestitution", {method<&PhysicsContactPreSolve::setRestitution>()}},
    {"getFriction", {method<&PhysicsContactPreSolve::getFriction>()}},
    {"setFriction", {method<&PhysicsContactPreSolve::setFriction>()}},
    {"getSurfaceVelocity", {method<&PhysicsContactPreSolve::getSurfaceVelocity>()}},
    {"setSurfaceVelocity", {method<&PhysicsContactPreSolve::setSurfaceVelocity>()}},
    {"ignore", {method<&PhysicsContactPreSolve::ignore>()}},
};

const Method kPostSolveMethods[] = {
    {"getRestitution", {method<&PhysicsContactPostSolve::getRestitution>()}},
    {"getFriction", {method<&PhysicsContactPostSolve::getFriction>()}},
    {"getSurfaceVelocity", {method<&PhysicsContactPostSolve::getSurfaceVelocity>()}},
};

const Method kContactListenerMethods[] = {
    {"create", {classFunction<&EventListenerPhysicsContact::create>()}},
};
const Method kWithBodiesMethods[] = {
    {"create", {classFunction<&EventListenerPhysicsContactWithBodies::create>()}},
    {"test", {method<&EventListenerPhysicsContactWithBodies::test>()}},
};
const Method kWithShapesMethods[] = {
    {"create", {classFunction<&EventListenerPhysicsContactWithShapes::create>()}},
    {"test", {method<&EventListenerPhysicsContactWithShapes::test>()}},
};
const Method kWithGroupMethods[] = {
    {"create", {classFunction<&EventListenerPhysicsContactWithGroup::create>()}},
    {"test", {method<&EventListenerPhysicsContactWithGroup::test>()}},
};

// ---- Joints

const Method kJointMethods[] = {
    {"getBodyA", {method<&PhysicsJoint::getBodyA>()}},
    {"getBodyB", {method<&PhysicsJoint::getBodyB>()}},
    {"getWorld", {method<&PhysicsJoint::getWorld>()}},
    {"getTag", {method<&PhysicsJoint::getTag>()}},
    {"setTag", {method<&PhysicsJoint::setTag>()}},
    {"isEnabled", {method<&PhysicsJoint::isEnabled>()}},
    {"setEnable", {method<&PhysicsJoint::setEnable>()}},
    {"isCollisionEnabled", {method<&PhysicsJoint::isCollisionEnabled>()}},
    {"setCollisionEnable", {method<&PhysicsJoint::setCollisionEnable>()}},
    {"getMaxForce", {method<&PhysicsJoint::getMaxForce>()}},
    {"setMaxForce", {method<&PhysicsJoint::setMaxForce>()}},
    {"removeFormWorld", {method<&PhysicsJoint::removeFormWorld>()}},
};

using LimitFull = PhysicsJointLimit* (*)(PhysicsBody*, PhysicsBody*, const Vec2&, const Vec2&, float, float);
using LimitShort = PhysicsJointLimit* (*)(PhysicsBody*, PhysicsBody*, const Vec2&, const Vec2&);
using PinPivot = PhysicsJointPin* (*)(PhysicsBody*, PhysicsBody*, const Vec2&);
using PinAnchors = PhysicsJointPin* (*)(PhysicsBody*, PhysicsBody*, const Vec2&, const Vec2&);
using RotaryLimitFull = PhysicsJointRotaryLimit* (*)(PhysicsBody*, PhysicsBody*, float, float);
using RotaryLimitShort = PhysicsJointRotaryLimit* (*)(PhysicsBody*, PhysicsBody*);

const Method kJointFixedMethods[] = {{"construct", {classFunction<&PhysicsJointFixed::construct>()}}};
const Method kJointLimitMethods[] = {
    {"construct", {classFunction<static_cast<LimitShort>(&PhysicsJointLimit::construct)>(),
                   classFunction<static_cast<LimitFull>(&PhysicsJointLimit::construct)>()}},
    {"getMin", {method<&PhysicsJointLimit::getMin>()}},
    {"setMin", {method<&PhysicsJointLimit::setMin>()}},
    {"getMax", {method<&PhysicsJointLimit::getMax>()}},
    {"setMax", {method<&PhysicsJointLimit::setMax>()}},
};
const Method kJointPinMethods[] = {
    {"construct", {classFunction<static_cast<PinPivot>(&PhysicsJointPin::construct)>(),
                   classFunction<static_cast<PinAnchors>(&PhysicsJointPin::construct)>()}},
};
const Method kJointDistanceMethods[] = {
    {"construct", {classFunction<&PhysicsJointDistance::construct>()}},
    {"getDistance", {method<&PhysicsJointDistance::getDistance>()}},
    {"setDistance", {method<&PhysicsJointDistance::setDistance>()}},
};
const Method kJointSpringMethods[] = {
    {"construct", {classFunction<&PhysicsJointSpring::construct>()}},
    {"getRestLength", {method<&PhysicsJointSpring::getRestLength>()}},
    {"setRestLength", {method<&PhysicsJointSpring::setRestLength>()}},
    {"getStiffness", {method<&PhysicsJointSpring::getStiffness>()}},
    {"setStiffness", {method<&PhysicsJointSpring::setStiffness>()}},
    {"getDamping", {method<&PhysicsJointSpring::getDamping>()}},
    {"setDamping", {method<&PhysicsJointSpring::setDamping>()}},
};
const Method kJointGrooveMethods[] = {{"construct", {classFunction<&PhysicsJointGroove::construct>()}}};
const Method kJointRotarySpringMethods[] = {
    {"construct", {classFunction<&PhysicsJointRotarySpring::construct>()}},
    {"getRestAngle", {method<&PhysicsJointRotarySpring::getRestAngle>()}},
    {"setRestAngle", {method<&PhysicsJointRotarySpring::setRestAngle>()}},
    {"getStiffness", {method<&PhysicsJointRotarySpring::getStiffness>()}},
    {"setStiffness", {method<&PhysicsJointRotarySpring::setStiffness>()}},
    {"getDamping", {method<&PhysicsJointRotarySpring::getDamping>()}},
    {"setDamping", {method<&PhysicsJointRotarySpring::setDamping>()}},
};
const Method kJointRotaryLimitMethods[] = {
    {"construct", {classFunction<static_cast<RotaryLimitShort>(&PhysicsJointRotaryLimit::construct)>(),
                   classFunction<static_cast<RotaryLimitFull>(&PhysicsJointRotaryLimit::construct)>()}},
    {"getMin", {method<&PhysicsJointRotaryLimit::getMin>()}},
    {"setMin", {method<&PhysicsJointRotaryLimit::setMin>()}},
    {"getMax", {method<&PhysicsJointRotaryLimit::getMax>()}},
    {"setMax", {method<&PhysicsJointRotaryLimit::setMax>()}},
};
const Method kJointRatchetMethods[] = {
    {"construct", {classFunction<&PhysicsJointRatchet::construct>()}},
    {"getAngle", {method<&PhysicsJointRatchet::getAngle>()}},
    {"setAngle", {method<&PhysicsJointRatchet::setAngle>()}},
    {"getPhase", {method<&PhysicsJointRatchet::getPhase>()}},
    {"setPhase", {method<&PhysicsJointRatchet::setPhase>()}},
    {"getRatchet", {method<&PhysicsJointRatchet::getRatchet>()}},
    {"setRatchet", {method<&PhysicsJointRatchet::setRatchet>()}},
};
const Method kJointGearMethods[] = {
    {"construct", {classFunction<&PhysicsJointGear::construct>()}},
    {"getPhase", {method<&PhysicsJointGear::getPhase>()}},
    {"setPhase", {method<&PhysicsJointGear::setPhase>()}},
    {"getRatio", {method<&PhysicsJointGear::getRatio>()}},
    {"setRatio", {method<&PhysicsJointGear::setRatio>()}},
};
const Method kJointMotorMethods[] = {
    {"construct", {classFunction<&PhysicsJointMotor::construct>()}},
    {"getRate", {method<&PhysicsJointMotor::getRate>()}},
    {"setRate", {method<&PhysicsJointMotor::setRate>()}},
};

// Rows in registration order, bases first.
const std::vector<ClassEntry> kPhysicsClasses = {
    classEntry<PhysicsShape>("cc.PhysicsShape", "cc.Ref", kShapeMethods),
    classEntry<PhysicsShapeCircle>("cc.PhysicsShapeCircle", "cc.PhysicsShape", kCircleMethods),
    classEntry<PhysicsShapePolygon>("cc.PhysicsShapePolygon", "cc.PhysicsShape", kPolygonMethods),
    classEntry<PhysicsShapeBox>("cc.PhysicsShapeBox", "cc.PhysicsShapePolygon", kBoxMethods),
    classEntry<PhysicsShapeEdgeSegment>("cc.PhysicsShapeEdgeSegment", "cc.PhysicsShape", kEdgeSegmentMethods),
    classEntry<PhysicsShapeEdgePolygon>("cc.PhysicsShapeEdgePolygon", "cc.PhysicsShape", kEdgePolygonMethods),
    classEntry<PhysicsShapeEdgeBox>("cc.PhysicsShapeEdgeBox", "cc.PhysicsShapeEdgePolygon", kEdgeBoxMethods),
    classEntry<PhysicsShapeEdgeChain>("cc.PhysicsShapeEdgeChain", "cc.PhysicsShape", kEdgeChainMethods),
    classEntry<PhysicsBody>("cc.PhysicsBody", "cc.Ref", kBodyMethods),
    classEntry<PhysicsWorld>("cc.PhysicsWorld", nullptr, kWorldMethods),
    classEntry<PhysicsContact>("cc.PhysicsContact", "cc.EventCustom", kContactMethods),
    classEntry<PhysicsContactPreSolve>("cc.PhysicsContactPreSolve", nullptr, kPreSolveMethods),
    classEntry<PhysicsContactPostSolve>("cc.PhysicsContactPostSolve", nullptr, kPostSolveMethods),
    classEntry<EventListenerPhysicsContact>("cc.EventListenerPhysicsContact", "cc.EventListenerCustom",
                                            kContactListenerMethods),
    classEntry<EventListenerPhysicsContactWithBodies>("cc.EventListenerPhysicsContactWithBodies",
                                                      "cc.EventListenerPhysicsContact", kWithBodiesMethods),
    classEntry<EventListenerPhysicsContactWithShapes>("cc.EventListenerPhysicsContactWithShapes",
                                                      "cc.EventListenerPhysicsContact", kWithShapesMethods),
    classEntry<EventListenerPhysicsContactWithGroup>("cc.EventListenerPhysicsContactWithGroup",
                                                     "cc.EventListenerPhysicsContact", kWithGroupMethods),
    classEntry<PhysicsJoint>("cc.PhysicsJoint", nullptr, kJointMethods),
    classEntry<PhysicsJointFixed>("cc.PhysicsJointFixed", "cc.PhysicsJoint", kJointFixedMethods),
    classEntry<PhysicsJointLimit>("cc.PhysicsJointLimit", "cc.PhysicsJoint", kJointLimitMethods),
    classEntry<PhysicsJointPin>("cc.PhysicsJointPin", "cc.PhysicsJoint", kJointPinMethods),
    classEntry<PhysicsJointDistance>("cc.PhysicsJointDistance", "cc.PhysicsJoint", kJointDistanceMethods),
    classEntry<PhysicsJointSpring>("cc.PhysicsJointSpring", "cc.PhysicsJoint", kJointSpringMethods),
    classEntry<PhysicsJointGroove>("cc.PhysicsJointGroove", "cc.PhysicsJoint", kJointGrooveMethods),
    classEntry<PhysicsJointRotarySpring>("cc.PhysicsJointRotarySpring", "cc.PhysicsJoint", kJointRotarySpringMethods),
    classEntry<PhysicsJointRotaryLimit>("cc.PhysicsJointRotaryLimit", "cc.PhysicsJoint", kJointRotaryLimitMethods),
    classEntry<PhysicsJointRatchet>("cc.PhysicsJointRatchet", "cc.PhysicsJoint", kJointRatchetMethods),
    classEntry<PhysicsJointGear>("cc.PhysicsJointGear", "cc.PhysicsJoint", kJointGearMethods),
    classEntry<PhysicsJointMotor>("cc.PhysicsJointMotor", "cc.PhysicsJoint", kJointMotorMethods),
};

}  // namespace

std::span<const ClassEntry> physicsClassTable() { return kPhysicsClasses; }

int register_physics_classes(lua_State* L) { return registerClassTable(L, kPhysicsClasses); }

}  // namespace bindings
