#include "engine/physics/PhysicsBody.h"

#include <chipmunk/chipmunk.h>

#include <cmath>
#include <limits>

#include "engine/physics/PhysicsJoint.h"
#include "engine/physics/PhysicsWorld.h"

namespace engine {

const float PHYSICS_INFINITY = std::numeric_limits<float>::infinity();
const PhysicsMaterial PHYSICSBODY_MATERIAL_DEFAULT{0.1f, 0.5f, 0.5f};
const PhysicsMaterial PHYSICSSHAPE_MATERIAL_DEFAULT{0.f, 0.f, 0.f};

namespace {

constexpr float kRadiansToDegrees = 57.29577951308232f;

cpVect cpv2(const Vec2& v) { return cpv(v.x, v.y); }
Vec2 vec2(cpVect v) { return Vec2(static_cast<float>(v.x), static_cast<float>(v.y)); }

bool usable(float value) { return value > 0 && std::isfinite(value); }

// Gravity switch, damping and speed limits on top of chipmunk's integration.
void updateVelocity(cpBody* cp, cpVect gravity, cpFloat damping, cpFloat dt) {
    auto* body = static_cast<PhysicsBody*>(cpBodyGetUserData(cp));
    cpBodyUpdateVelocity(cp, body->isGravityEnabled() ? gravity : cpvzero, damping, dt);
    cpVect v = cpBodyGetVelocity(cp);
    cpFloat w = cpBodyGetAngularVelocity(cp);
    if (body->getLinearDamping() > 0) v = cpvmult(v, std::fmax(0.0, 1.0 - dt * body->getLinearDamping()));
    if (body->getAngularDamping() > 0) w *= std::fmax(0.0, 1.0 - dt * body->getAngularDamping());
    const cpFloat limit = body->getVelocityLimit();
    if (std::isfinite(limit)) v = cpvclamp(v, limit);
    const cpFloat angularLimit = body->getAngularVelocityLimit();
    if (std::isfinite(angularLimit)) w = std::fmax(-angularLimit, std::fmin(angularLimit, w));
    cpBodySetVelocity(cp, v);
    cpBodySetAngularVelocity(cp, w);
}

PhysicsBody* withShape(PhysicsBody* body, PhysicsShape* shape) {
    if (!shape) return nullptr;
    body->addShape(shape);
    return body;
}

}  // namespace

PhysicsBody::PhysicsBody() {
    _cpBody = cpBodyNew(MASS_DEFAULT, MOMENT_DEFAULT);
    cpBodySetUserData(_cpBody, this);
}

PhysicsBody::~PhysicsBody() {
    // Joints never handed to a world go with their first body.
    std::vector<PhysicsJoint*> joints = _joints;
    for (PhysicsJoint* joint : joints) {
        if (!joint->getWorld()) delete joint;
    }
    for (PhysicsShape* shape : _shapes) shape->attach(nullptr);
    cpBodyFree(_cpBody);
}

PhysicsBody* PhysicsBody::create() {
    auto* body = new PhysicsBody();
    body->autorelease();
    return body;
}

PhysicsBody* PhysicsBody::create(float mass) {
    PhysicsBody* body = create();
    body->setMass(mass);
    return body;
}

PhysicsBody* PhysicsBody::create(float mass, float moment) {
    PhysicsBody* body = create(mass);
    body->setMoment(moment);
    return body;
}

PhysicsBody* PhysicsBody::createCircle(float radius, const PhysicsMaterial& material, const Vec2& offset) {
    return withShape(create(), PhysicsShapeCircle::create(radius, material, offset));
}

PhysicsBody* PhysicsBody::createBox(const Size& size, const PhysicsMaterial& material, const Vec2& offset) {
    return withShape(create(), PhysicsShapeBox::create(size, material, offset));
}

PhysicsBody* PhysicsBody::createPolygon(const Vec2* points, int count, const PhysicsMaterial& material,
                                        const Vec2& offset) {
    PhysicsShape* shape = PhysicsShapePolygon::create(points, count, material, offset);
    return shape ? withShape(create(), shape) : nullptr;
}

namespace {
PhysicsBody* staticWith(PhysicsShape* shape) {
    if (!shape) return nullptr;
    PhysicsBody* body = PhysicsBody::create();
    body->addShape(shape);
    body->setDynamic(false);
    return body;
}
}  // namespace

PhysicsBody* PhysicsBody::createEdgeSegment(const Vec2& a, const Vec2& b, const PhysicsMaterial& material,
                                            float border) {
    return staticWith(PhysicsShapeEdgeSegment::create(a, b, material, border));
}

PhysicsBody* PhysicsBody::createEdgeBox(const Size& size, const PhysicsMaterial& material, float border,
                                        const Vec2& offset) {
    return staticWith(PhysicsShapeEdgeBox::create(size, material, border, offset));
}

PhysicsBody* PhysicsBody::createEdgePolygon(const Vec2* points, int count, const PhysicsMaterial& material,
                                            float border) {
    return staticWith(PhysicsShapeEdgePolygon::create(points, count, material, border));
}

PhysicsBody* PhysicsBody::createEdgeChain(const Vec2* points, int count, const PhysicsMaterial& material,
                                          float border) {
    return staticWith(PhysicsShapeEdgeChain::create(points, count, material, border));
}

// ---- Shapes

PhysicsShape* PhysicsBody::addShape(PhysicsShape* shape, bool addMassAndMoment) {
    if (!shape || shape->getBody() || _shapes.contains(shape)) return nullptr;
    _shapes.pushBack(shape);
    shape->attach(this);
    if (_world && _enabled) _world->addShapeToSpace(shape);
    if (addMassAndMoment) updateMassFromShapes();
    return shape;
}

void PhysicsBody::removeShape(PhysicsShape* shape, bool reduceMassAndMoment) {
    if (!shape || !_shapes.contains(shape)) return;
    if (_world && _world->isBusy()) {
        retain();
        shape->retain();
        _world->whenUnlocked([this, shape, reduceMassAndMoment] {
            removeShape(shape, reduceMassAndMoment);
            shape->release();
            release();
        });
        return;
    }
    shape->retain();
    if (_world) _world->removeShapeFromSpace(shape);
    shape->attach(nullptr);
    _shapes.eraseObject(shape);
    if (reduceMassAndMoment) updateMassFromShapes();
    shape->release();
}

void PhysicsBody::removeShape(int tag, bool reduceMassAndMoment) {
    if (PhysicsShape* shape = getShape(tag)) removeShape(shape, reduceMassAndMoment);
}

void PhysicsBody::removeAllShapes(bool reduceMassAndMoment) {
    const Vector<PhysicsShape*> shapes = _shapes;  // removals may wait for the step's end
    for (PhysicsShape* shape : shapes) removeShape(shape, reduceMassAndMoment);
}

PhysicsShape* PhysicsBody::getShape(int tag) const {
    for (PhysicsShape* shape : _shapes) {
        if (shape->getTag() == tag) return shape;
    }
    return nullptr;
}

// ---- Mass and kind

void PhysicsBody::updateMassFromShapes() {
    float mass = 0, moment = 0;
    for (PhysicsShape* shape : _shapes) {
        mass += shape->getMass();
        moment += shape->getMoment();
    }
    if (!_massSetByHand) _mass = usable(mass) ? mass : MASS_DEFAULT;
    if (!_momentSetByHand) _moment = usable(moment) ? moment : MOMENT_DEFAULT;
    applyBodyType();
}

void PhysicsBody::applyBodyType() {
    auto apply = [this] {
        if (_dynamic) {
            if (cpBodyGetType(_cpBody) != CP_BODY_TYPE_DYNAMIC) cpBodySetType(_cpBody, CP_BODY_TYPE_DYNAMIC);
            cpBodySetMass(_cpBody, usable(_mass) ? _mass : MASS_DEFAULT);
            cpBodySetMoment(_cpBody, !_rotationEnabled ? INFINITY : usable(_moment) ? _moment : MOMENT_DEFAULT);
        } else if (cpBodyGetType(_cpBody) != CP_BODY_TYPE_KINEMATIC) {
            cpBodySetType(_cpBody, CP_BODY_TYPE_KINEMATIC);
        }
    };
    if (_world && _world->isBusy()) {
        retain();
        _world->whenUnlocked([this, apply] {
            apply();
            release();
        });
    } else {
        apply();
    }
}

void PhysicsBody::applyVelocityFunction() {
    const bool plain = _gravityEnabled && _linearDamping <= 0 && _angularDamping <= 0 &&
                       !std::isfinite(_velocityLimit) && !std::isfinite(_angularVelocityLimit);
    cpBodySetVelocityUpdateFunc(_cpBody, plain ? cpBodyUpdateVelocity : updateVelocity);
}

void PhysicsBody::setDynamic(bool dynamic) {
    if (_dynamic == dynamic) return;
    _dynamic = dynamic;
    applyBodyType();
}

void PhysicsBody::setMass(float mass) {
    if (!(mass > 0)) return;
    _mass = mass;
    _massSetByHand = true;
    applyBodyType();
}

void PhysicsBody::addMass(float mass) {
    const float total = _mass + mass;
    setMass(total > 0 ? total : MASS_DEFAULT);
}

void PhysicsBody::setMoment(float moment) {
    if (!(moment > 0)) return;
    _moment = moment;
    _momentSetByHand = true;
    applyBodyType();
}

void PhysicsBody::addMoment(float moment) {
    const float total = _moment + moment;
    setMoment(total > 0 ? total : MOMENT_DEFAULT);
}

void PhysicsBody::setRotationEnable(bool enable) {
    if (_rotationEnabled == enable) return;
    _rotationEnabled = enable;
    applyBodyType();
}

void PhysicsBody::setGravityEnable(bool enable) {
    _gravityEnabled = enable;
    applyVelocityFunction();
}

void PhysicsBody::setEnabled(bool enabled) {
    if (_enabled == enabled) return;
    _enabled = enabled;
    if (!_world) return;
    PhysicsWorld* world = _world;
    retain();
    world->whenUnlocked([this, world, enabled] {
        if (_world == world && _enabled == enabled) {
            if (enabled) {
                cpSpaceAddBody(world->cpSpaceHandle(), _cpBody);
                for (PhysicsShape* shape : _shapes) world->addShapeToSpace(shape);
            } else {
                for (PhysicsShape* shape : _shapes) world->removeShapeFromSpace(shape);
                cpSpaceRemoveBody(world->cpSpaceHandle(), _cpBody);
            }
        }
        release();
    });
}

bool PhysicsBody::isResting() const { return cpBodyIsSleeping(_cpBody); }

void PhysicsBody::setResting(bool rest) const {
    if (!_world || !_dynamic || !cpBodyGetSpace(_cpBody) || (_world && _world->isBusy())) return;
    if (rest) {
        cpBodySleep(_cpBody);
    } else {
        cpBodyActivate(_cpBody);
    }
}

// ---- Motion

Vec2 PhysicsBody::getVelocity() const { return vec2(cpBodyGetVelocity(_cpBody)); }
void PhysicsBody::setVelocity(const Vec2& velocity) { cpBodySetVelocity(_cpBody, cpv2(velocity)); }
float PhysicsBody::getAngularVelocity() const { return static_cast<float>(cpBodyGetAngularVelocity(_cpBody)); }
void PhysicsBody::setAngularVelocity(float velocity) { cpBodySetAngularVelocity(_cpBody, velocity); }

void PhysicsBody::setVelocityLimit(float limit) {
    _velocityLimit = limit;
    applyVelocityFunction();
}
void PhysicsBody::setAngularVelocityLimit(float limit) {
    _angularVelocityLimit = limit;
    applyVelocityFunction();
}
void PhysicsBody::setLinearDamping(float damping) {
    _linearDamping = damping;
    applyVelocityFunction();
}
void PhysicsBody::setAngularDamping(float damping) {
    _angularDamping = damping;
    applyVelocityFunction();
}

Vec2 PhysicsBody::getVelocityAtWorldPoint(const Vec2& point) const {
    return vec2(cpBodyGetVelocityAtWorldPoint(_cpBody, cpv2(point)));
}
Vec2 PhysicsBody::getVelocityAtLocalPoint(const Vec2& point) const {
    return vec2(cpBodyGetVelocityAtLocalPoint(_cpBody, cpv2(point)));
}

void PhysicsBody::applyForce(const Vec2& force, const Vec2& offset) {
    cpBodyApplyForceAtLocalPoint(_cpBody, cpv2(force), cpv2(offset));
}
void PhysicsBody::resetForces() {
    cpBodySetForce(_cpBody, cpvzero);
    cpBodySetTorque(_cpBody, 0);
}
void PhysicsBody::applyImpulse(const Vec2& impulse, const Vec2& offset) {
    cpBodyApplyImpulseAtLocalPoint(_cpBody, cpv2(impulse), cpv2(offset));
}
void PhysicsBody::applyTorque(float torque) { cpBodySetTorque(_cpBody, cpBodyGetTorque(_cpBody) + torque); }

Vec2 PhysicsBody::getPosition() const { return vec2(cpBodyGetPosition(_cpBody)); }
float PhysicsBody::getRotation() const {
    return -static_cast<float>(cpBodyGetAngle(_cpBody)) * kRadiansToDegrees;
}
void PhysicsBody::setPosition(const Vec2& position) { cpBodySetPosition(_cpBody, cpv2(position)); }
void PhysicsBody::setRotation(float degrees) { cpBodySetAngle(_cpBody, -degrees / kRadiansToDegrees); }
Vec2 PhysicsBody::world2Local(const Vec2& point) const { return vec2(cpBodyWorldToLocal(_cpBody, cpv2(point))); }
Vec2 PhysicsBody::local2World(const Vec2& point) const { return vec2(cpBodyLocalToWorld(_cpBody, cpv2(point))); }

// ---- Masks

void PhysicsBody::setCategoryBitmask(uint32_t mask) {
    for (PhysicsShape* shape : _shapes) shape->setCategoryBitmask(mask);
}
void PhysicsBody::setCollisionBitmask(uint32_t mask) {
    for (PhysicsShape* shape : _shapes) shape->setCollisionBitmask(mask);
}
void PhysicsBody::setContactTestBitmask(uint32_t mask) {
    for (PhysicsShape* shape : _shapes) shape->setContactTestBitmask(mask);
}
void PhysicsBody::setGroup(int group) {
    for (PhysicsShape* shape : _shapes) shape->setGroup(group);
}
uint32_t PhysicsBody::getCategoryBitmask() const {
    return _shapes.empty() ? 0xFFFFFFFF : _shapes.front()->getCategoryBitmask();
}
uint32_t PhysicsBody::getCollisionBitmask() const {
    return _shapes.empty() ? 0xFFFFFFFF : _shapes.front()->getCollisionBitmask();
}
uint32_t PhysicsBody::getContactTestBitmask() const {
    return _shapes.empty() ? 0 : _shapes.front()->getContactTestBitmask();
}
int PhysicsBody::getGroup() const { return _shapes.empty() ? 0 : _shapes.front()->getGroup(); }

// ---- World and joints

void PhysicsBody::removeFromWorld() {
    if (_world) _world->removeBody(this);
}

void PhysicsBody::addJointEntry(PhysicsJoint* joint) { _joints.push_back(joint); }

void PhysicsBody::removeJointEntry(PhysicsJoint* joint) {
    for (auto it = _joints.begin(); it != _joints.end(); ++it) {
        if (*it == joint) {
            _joints.erase(it);
            return;
        }
    }
}

}  // namespace engine
