#pragma once
// Joints between two physics bodies, each made of chipmunk constraints.
//
// A joint is made with the construct function of its kind (null when a body is
// missing or both are the same) and then handed to PhysicsWorld::addJoint, which
// owns it from then on: removing it from the world (removeFormWorld, or its
// body leaving the world) destroys it. A joint never added is destroyed with the
// first of its bodies. Anchors named "anchr" are world points read when the
// joint is made; "anchr1"/"anchr2" are points in body A's / body B's space.
#include <vector>

#include "engine/base/Types.h"

struct cpConstraint;

namespace engine {

class PhysicsBody;
class PhysicsWorld;

class PhysicsJoint {
public:
    virtual ~PhysicsJoint();

    PhysicsBody* getBodyA() const { return _bodyA; }
    PhysicsBody* getBodyB() const { return _bodyB; }
    PhysicsWorld* getWorld() const { return _world; }
    int getTag() const { return _tag; }
    void setTag(int tag) { _tag = tag; }
    bool isEnabled() const { return _enabled; }
    void setEnable(bool enable);
    // Whether the two bodies still collide with each other (default false).
    bool isCollisionEnabled() const { return _collisionEnabled; }
    void setCollisionEnable(bool enable);
    float getMaxForce() const { return _maxForce; }
    void setMaxForce(float force);
    // Leaves the world (and is destroyed).
    void removeFormWorld();

    // For the world and the bodies.
    const std::vector<cpConstraint*>& cpConstraints() const { return _constraints; }
    void setWorld(PhysicsWorld* world) { _world = world; }
    void detachBodies();

protected:
    PhysicsJoint() = default;
    bool init(PhysicsBody* a, PhysicsBody* b);
    void addConstraint(cpConstraint* constraint);

    PhysicsBody* _bodyA = nullptr;  // not retained: bodies outlive their joints
    PhysicsBody* _bodyB = nullptr;
    PhysicsWorld* _world = nullptr;
    std::vector<cpConstraint*> _constraints;
    int _tag = 0;
    bool _enabled = true;
    bool _collisionEnabled = false;
    float _maxForce;
};

// Holds the bodies together at a world point, without turning.
class PhysicsJointFixed : public PhysicsJoint {
public:
    static PhysicsJointFixed* construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr);
};

// Keeps the anchors between min and max apart.
class PhysicsJointLimit : public PhysicsJoint {
public:
    static PhysicsJointLimit* construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr1, const Vec2& anchr2);
    static PhysicsJointLimit* construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr1, const Vec2& anchr2,
                                        float min, float max);
    float getMin() const;
    void setMin(float min);
    float getMax() const;
    void setMax(float max);
};

// A pivot at a world point, or joining two local anchors.
class PhysicsJointPin : public PhysicsJoint {
public:
    static PhysicsJointPin* construct(PhysicsBody* a, PhysicsBody* b, const Vec2& pivot);
    static PhysicsJointPin* construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr1, const Vec2& anchr2);
};

// Keeps the anchors at the distance they had when made.
class PhysicsJointDistance : public PhysicsJoint {
public:
    static PhysicsJointDistance* construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr1, const Vec2& anchr2);
    float getDistance() const;
    void setDistance(float distance);
};

class PhysicsJointSpring : public PhysicsJoint {
public:
    static PhysicsJointSpring* construct(PhysicsBody* a, PhysicsBody* b, const Vec2& anchr1, const Vec2& anchr2,
                                         float stiffness, float damping);
    float getRestLength() const;
    void setRestLength(float length);
    float getStiffness() const;
    void setStiffness(float stiffness);
    float getDamping() const;
    void setDamping(float damping);
};

// Body B's anchor slides along a groove of body A.
class PhysicsJointGroove : public PhysicsJoint {
public:
    static PhysicsJointGroove* construct(PhysicsBody* a, PhysicsBody* b, const Vec2& grooveA, const Vec2& grooveB,
                                         const Vec2& anchr2);
};

class PhysicsJointRotarySpring : public PhysicsJoint {
public:
    static PhysicsJointRotarySpring* construct(PhysicsBody* a, PhysicsBody* b, float stiffness, float damping);
    float getRestAngle() const;
    void setRestAngle(float angle);
    float getStiffness() const;
    void setStiffness(float stiffness);
    float getDamping() const;
    void setDamping(float damping);
};

class PhysicsJointRotaryLimit : public PhysicsJoint {
public:
    static PhysicsJointRotaryLimit* construct(PhysicsBody* a, PhysicsBody* b);
    static PhysicsJointRotaryLimit* construct(PhysicsBody* a, PhysicsBody* b, float min, float max);
    float getMin() const;
    void setMin(float min);
    float getMax() const;
    void setMax(float max);
};

class PhysicsJointRatchet : public PhysicsJoint {
public:
    static PhysicsJointRatchet* construct(PhysicsBody* a, PhysicsBody* b, float phase, float ratchet);
    float getAngle() const;
    void setAngle(float angle);
    float getPhase() const;
    void setPhase(float phase);
    float getRatchet() const;
    void setRatchet(float ratchet);
};

class PhysicsJointGear : public PhysicsJoint {
public:
    static PhysicsJointGear* construct(PhysicsBody* a, PhysicsBody* b, float phase, float ratio);
    float getPhase() const;
    void setPhase(float phase);
    float getRatio() const;
    void setRatio(float ratio);
};

class PhysicsJointMotor : public PhysicsJoint {
public:
    static PhysicsJointMotor* construct(PhysicsBody* a, PhysicsBody* b, float rate);
    float getRate() const;
    void setRate(float rate);
};

}  // namespace engine
