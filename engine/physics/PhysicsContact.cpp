#include "engine/physics/PhysicsContact.h"

#include <chipmunk/chipmunk.h>

#include "engine/physics/PhysicsBody.h"
#include "engine/physics/PhysicsShape.h"

namespace engine {

namespace {
Vec2 vec2(cpVect v) { return Vec2(static_cast<float>(v.x), static_cast<float>(v.y)); }
}  // namespace

PhysicsContact::PhysicsContact(PhysicsShape* a, PhysicsShape* b)
    : EventCustom(EVENT_NAME), _shapeA(a), _shapeB(b) {}

void PhysicsContact::readArbiter(cpArbiter* arbiter) {
    _preContactData = _contactData;
    const cpContactPointSet set = cpArbiterGetContactPointSet(arbiter);
    const int count = set.count < PhysicsContactData::POINT_MAX ? set.count : PhysicsContactData::POINT_MAX;
    _contactData.count = count;
    for (int i = 0; i < count; ++i) _contactData.points[i] = vec2(set.points[i].pointA);
    _contactData.normal = vec2(set.normal);
}

float PhysicsContactPreSolve::getRestitution() const { return static_cast<float>(cpArbiterGetRestitution(_arbiter)); }
void PhysicsContactPreSolve::setRestitution(float restitution) { cpArbiterSetRestitution(_arbiter, restitution); }
float PhysicsContactPreSolve::getFriction() const { return static_cast<float>(cpArbiterGetFriction(_arbiter)); }
void PhysicsContactPreSolve::setFriction(float friction) { cpArbiterSetFriction(_arbiter, friction); }
Vec2 PhysicsContactPreSolve::getSurfaceVelocity() const { return vec2(cpArbiterGetSurfaceVelocity(_arbiter)); }
void PhysicsContactPreSolve::setSurfaceVelocity(const Vec2& velocity) {
    cpArbiterSetSurfaceVelocity(_arbiter, cpv(velocity.x, velocity.y));
}
void PhysicsContactPreSolve::ignore() { cpArbiterIgnore(_arbiter); }

float PhysicsContactPostSolve::getRestitution() const { return static_cast<float>(cpArbiterGetRestitution(_arbiter)); }
float PhysicsContactPostSolve::getFriction() const { return static_cast<float>(cpArbiterGetFriction(_arbiter)); }
Vec2 PhysicsContactPostSolve::getSurfaceVelocity() const { return vec2(cpArbiterGetSurfaceVelocity(_arbiter)); }

// ---- Listeners

EventListenerPhysicsContact::EventListenerPhysicsContact() : EventListenerCustom(PhysicsContact::EVENT_NAME) {
    setCallback([this](EventCustom* event) { onEvent(event); });
}

EventListenerPhysicsContact* EventListenerPhysicsContact::create() {
    auto* listener = new EventListenerPhysicsContact();
    listener->autorelease();
    return listener;
}

void EventListenerPhysicsContact::copyCallbacksTo(EventListenerPhysicsContact* other) const {
    other->onContactBegin = onContactBegin;
    other->onContactPreSolve = onContactPreSolve;
    other->onContactPostSolve = onContactPostSolve;
    other->onContactSeparate = onContactSeparate;
}

EventListenerPhysicsContact* EventListenerPhysicsContact::clone() {
    EventListenerPhysicsContact* other = create();
    copyCallbacksTo(other);
    return other;
}

bool EventListenerPhysicsContact::checkAvailable() {
    return onContactBegin || onContactPreSolve || onContactPostSolve || onContactSeparate;
}

bool EventListenerPhysicsContact::hitTest(PhysicsShape*, PhysicsShape*) const { return true; }

void EventListenerPhysicsContact::onEvent(EventCustom* event) {
    auto* contact = dynamic_cast<PhysicsContact*>(event);
    if (!contact || !hitTest(contact->getShapeA(), contact->getShapeB())) return;
    switch (contact->getEventCode()) {
    case PhysicsContact::EventCode::BEGIN:
        if (onContactBegin && !onContactBegin(*contact)) contact->_result = false;
        break;
    case PhysicsContact::EventCode::PRESOLVE:
        if (onContactPreSolve) {
            auto* solve = static_cast<PhysicsContactPreSolve*>(contact->_solve);
            if (solve && !onContactPreSolve(*contact, *solve)) contact->_result = false;
        }
        break;
    case PhysicsContact::EventCode::POSTSOLVE:
        if (onContactPostSolve) {
            auto* solve = static_cast<const PhysicsContactPostSolve*>(contact->_solve);
            if (solve) onContactPostSolve(*contact, *solve);
        }
        break;
    case PhysicsContact::EventCode::SEPARATE:
        if (onContactSeparate) onContactSeparate(*contact);
        break;
    default:
        break;
    }
}

EventListenerPhysicsContactWithBodies* EventListenerPhysicsContactWithBodies::create(PhysicsBody* a, PhysicsBody* b) {
    auto* listener = new EventListenerPhysicsContactWithBodies();
    listener->_a = a;
    listener->_b = b;
    listener->autorelease();
    return listener;
}

bool EventListenerPhysicsContactWithBodies::test(PhysicsBody* a, PhysicsBody* b) const {
    return (a == _a && b == _b) || (a == _b && b == _a);
}

bool EventListenerPhysicsContactWithBodies::hitTest(PhysicsShape* a, PhysicsShape* b) const {
    return test(a->getBody(), b->getBody());
}

EventListenerPhysicsContactWithBodies* EventListenerPhysicsContactWithBodies::clone() {
    auto* other = create(_a, _b);
    copyCallbacksTo(other);
    return other;
}

EventListenerPhysicsContactWithShapes* EventListenerPhysicsContactWithShapes::create(PhysicsShape* a,
                                                                                     PhysicsShape* b) {
    auto* listener = new EventListenerPhysicsContactWithShapes();
    listener->_a = a;
    listener->_b = b;
    listener->autorelease();
    return listener;
}

bool EventListenerPhysicsContactWithShapes::test(PhysicsShape* a, PhysicsShape* b) const {
    return (a == _a && b == _b) || (a == _b && b == _a);
}

EventListenerPhysicsContactWithShapes* EventListenerPhysicsContactWithShapes::clone() {
    auto* other = create(_a, _b);
    copyCallbacksTo(other);
    return other;
}

EventListenerPhysicsContactWithGroup* EventListenerPhysicsContactWithGroup::create(int group) {
    auto* listener = new EventListenerPhysicsContactWithGroup();
    listener->_group = group;
    listener->autorelease();
    return listener;
}

bool EventListenerPhysicsContactWithGroup::test(PhysicsShape* a, PhysicsShape* b) const {
    return a->getGroup() == _group || b->getGroup() == _group;
}

EventListenerPhysicsContactWithGroup* EventListenerPhysicsContactWithGroup::clone() {
    auto* other = create(_group);
    copyCallbacksTo(other);
    return other;
}

}  // namespace engine
