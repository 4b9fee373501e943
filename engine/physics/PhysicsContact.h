#pragma once
// Contacts between shapes and the listeners that hear them.
//
// The world reports a contact in four phases: begin (the shapes first touch),
// pre-solve and post-solve (every step while they touch, before and after the
// solver) and separate (they part, or a shape leaves the world). Only pairs whose
// contact-test masks ask for it are reported (PhysicsShape), and separate only
// follows a reported begin. The contact is dispatched as a custom event through
// the director's event dispatcher to every EventListenerPhysicsContact; when a
// begin or pre-solve callback answers false the contact is ignored (begin: until
// the shapes part; pre-solve: for this step).
#include <functional>

#include "engine/base/Event.h"
#include "engine/base/EventListener.h"
#include "engine/physics/PhysicsRecords.h"

struct cpArbiter;

namespace engine {

class PhysicsBody;
class PhysicsShape;
class PhysicsWorld;

class PhysicsContact : public EventCustom {
public:
    static constexpr const char* EVENT_NAME = "PhysicsContactEvent";
    enum class EventCode { NONE, BEGIN, PRESOLVE, POSTSOLVE, SEPARATE };

    PhysicsContact(PhysicsShape* a, PhysicsShape* b);

    PhysicsShape* getShapeA() const { return _shapeA; }
    PhysicsShape* getShapeB() const { return _shapeB; }
    EventCode getEventCode() const { return _eventCode; }
    // The points, up to PhysicsContactData::POINT_MAX, and the normal of the last phase.
    const PhysicsContactData* getContactData() const { return &_contactData; }
    const PhysicsContactData* getPreContactData() const { return &_preContactData; }
    void* getData() const { return _data; }
    void setData(void* data) { _data = data; }

    // For the world.
    void setEventCode(EventCode code) { _eventCode = code; }
    void readArbiter(cpArbiter* arbiter);
    bool _result = true;       // the listeners' answer of this phase
    bool _notified = false;    // begin was dispatched
    void* _solve = nullptr;    // the phase's PhysicsContactPreSolve / PostSolve

private:
    PhysicsShape* _shapeA;  // not retained: the world keeps their bodies while contacts last
    PhysicsShape* _shapeB;
    EventCode _eventCode = EventCode::NONE;
    PhysicsContactData _contactData;
    PhysicsContactData _preContactData;
    void* _data = nullptr;
};

// The solver's values of a touching pair before it runs; may be changed.
class PhysicsContactPreSolve {
public:
    explicit PhysicsContactPreSolve(cpArbiter* arbiter) : _arbiter(arbiter) {}
    float getRestitution() const;
    void setRestitution(float restitution);
    float getFriction() const;
    void setFriction(float friction);
    Vec2 getSurfaceVelocity() const;
    void setSurfaceVelocity(const Vec2& velocity);
    // The pair is left out of this step.
    void ignore();

private:
    cpArbiter* _arbiter;
};

// The solver's values after it ran.
class PhysicsContactPostSolve {
public:
    explicit PhysicsContactPostSolve(cpArbiter* arbiter) : _arbiter(arbiter) {}
    float getRestitution() const;
    float getFriction() const;
    Vec2 getSurfaceVelocity() const;

private:
    cpArbiter* _arbiter;
};

class EventListenerPhysicsContact : public EventListenerCustom {
public:
    static EventListenerPhysicsContact* create();
    EventListenerPhysicsContact* clone() override;
    bool checkAvailable() override;

    std::function<bool(PhysicsContact&)> onContactBegin;
    std::function<bool(PhysicsContact&, PhysicsContactPreSolve&)> onContactPreSolve;
    std::function<void(PhysicsContact&, const PhysicsContactPostSolve&)> onContactPostSolve;
    std::function<void(PhysicsContact&)> onContactSeparate;

protected:
    EventListenerPhysicsContact();
    // Whether this listener hears the pair.
    virtual bool hitTest(PhysicsShape* a, PhysicsShape* b) const;
    void copyCallbacksTo(EventListenerPhysicsContact* other) const;

private:
    void onEvent(EventCustom* event);
};

// Hears only contacts between shapes of the two bodies.
class EventListenerPhysicsContactWithBodies : public EventListenerPhysicsContact {
public:
    static EventListenerPhysicsContactWithBodies* create(PhysicsBody* a, PhysicsBody* b);
    bool test(PhysicsBody* a, PhysicsBody* b) const;
    EventListenerPhysicsContactWithBodies* clone() override;

protected:
    bool hitTest(PhysicsShape* a, PhysicsShape* b) const override;

private:
    PhysicsBody* _a = nullptr;  // not retained
    PhysicsBody* _b = nullptr;
};

// Hears only contacts between the two shapes.
class EventListenerPhysicsContactWithShapes : public EventListenerPhysicsContact {
public:
    static EventListenerPhysicsContactWithShapes* create(PhysicsShape* a, PhysicsShape* b);
    bool test(PhysicsShape* a, PhysicsShape* b) const;
    EventListenerPhysicsContactWithShapes* clone() override;

protected:
    bool hitTest(PhysicsShape* a, PhysicsShape* b) const override { return test(a, b); }

private:
    PhysicsShape* _a = nullptr;  // not retained
    PhysicsShape* _b = nullptr;
};

// Hears only contacts where a shape is of the group.
class EventListenerPhysicsContactWithGroup : public EventListenerPhysicsContact {
public:
    static EventListenerPhysicsContactWithGroup* create(int group);
    bool test(PhysicsShape* a, PhysicsShape* b) const;
    EventListenerPhysicsContactWithGroup* clone() override;

protected:
    bool hitTest(PhysicsShape* a, PhysicsShape* b) const override { return test(a, b); }

private:
    int _group = 0;
};

}  // namespace engine
