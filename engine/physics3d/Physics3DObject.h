#pragma once
// The objects of the 3D physics world: the common base (its world, collision
// callback and collision mask) and the rigid body built from a description record.
//
// A collision callback receives, after each world step, every pair of objects whose
// bounds overlap and that one of the two listens to: both objects and the contact
// points of the pair in Bullet's order (none when the bounds overlap but the shapes
// do not touch). Main thread only.
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/base/Mat4.h"
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

class btRigidBody;

namespace engine {

class Physics3DConstraint;
class Physics3DObject;
class Physics3DShape;
class Physics3DWorld;

struct Physics3DCollisionInfo {
    struct CollisionPoint {
        Vec3 localPositionOnA;
        Vec3 worldPositionOnA;
        Vec3 localPositionOnB;
        Vec3 worldPositionOnB;
        Vec3 worldNormalOnB;
    };
    Physics3DObject* objA = nullptr;
    Physics3DObject* objB = nullptr;
    std::vector<CollisionPoint> collisionPointList;
};

class Physics3DObject : public Ref {
public:
    enum class PhysicsObjType {
        UNKNOWN = 0,
        RIGID_BODY,
    };
    using CollisionCallbackFunc = std::function<void(const Physics3DCollisionInfo&)>;

    virtual PhysicsObjType getObjType() const { return PhysicsObjType::UNKNOWN; }
    // The world holding the object; null when it is in none.
    Physics3DWorld* getPhysicsWorld() const { return _physicsWorld; }
    virtual Mat4 getWorldTransform() const = 0;

    // Replaces the callback (an empty one stops the calls).
    void setCollisionCallback(const CollisionCallbackFunc& callback);
    const CollisionCallbackFunc& getCollisionCallback() const { return _collisionCallback; }
    bool needCollisionCallback() const { return static_cast<bool>(_collisionCallback); }

    // The groups the object collides with (all by default); taken by the world
    // when the object is added to it.
    void setMask(uint32_t mask) { _mask = mask; }
    uint32_t getMask() const { return _mask; }

protected:
    Physics3DObject() = default;

private:
    friend class Physics3DWorld;
    Physics3DWorld* _physicsWorld = nullptr;
    CollisionCallbackFunc _collisionCallback;
    uint32_t _mask = 0xffffffffu;
};

// What a rigid body is made from. Without a shape no body can be made.
struct Physics3DRigidBodyDes {
    float mass = 0.f;  // 0: a static body
    Vec3 localInertia;
    Physics3DShape* shape = nullptr;
    Mat4 originalTransform;
    bool disableSleep = false;
};

class Physics3DRigidBody : public Physics3DObject {
public:
    // Autoreleased; null (logged) when the description has no shape.
    static Physics3DRigidBody* create(Physics3DRigidBodyDes* info);
    ~Physics3DRigidBody() override;

    PhysicsObjType getObjType() const override { return PhysicsObjType::RIGID_BODY; }
    Mat4 getWorldTransform() const override;
    btRigidBody* getRigidBody() const { return _btRigidBody; }
    Physics3DShape* getCollisionShape() const { return _physics3DShape; }

    // Forces and impulses; relPos is measured from the centre of mass.
    void applyForce(const Vec3& force, const Vec3& relPos);
    void applyCentralForce(const Vec3& force);
    void applyCentralImpulse(const Vec3& impulse);
    void applyImpulse(const Vec3& impulse, const Vec3& relPos);
    void applyTorque(const Vec3& torque);
    void applyTorqueImpulse(const Vec3& torque);
    void applyDamping(float timeStep);
    Vec3 getTotalForce() const;
    Vec3 getTotalTorque() const;

    void setLinearVelocity(const Vec3& velocity);
    Vec3 getLinearVelocity() const;
    void setAngularVelocity(const Vec3& velocity);
    Vec3 getAngularVelocity() const;
    void setLinearFactor(const Vec3& factor);
    Vec3 getLinearFactor() const;
    void setAngularFactor(const Vec3& factor);
    void setAngularFactor(float factor);
    Vec3 getAngularFactor() const;
    void setDamping(float linearDamping, float angularDamping);
    float getLinearDamping() const;
    float getAngularDamping() const;
    void setGravity(const Vec3& acceleration);
    Vec3 getGravity() const;

    void setMassProps(float mass, const Vec3& inertia);
    float getInvMass() const;
    void setInvInertiaDiagLocal(const Vec3& inverseInertia);
    Vec3 getInvInertiaDiagLocal() const;
    void setCenterOfMassTransform(const Mat4& transform);
    Mat4 getCenterOfMassTransform() const;

    void setRestitution(float restitution);
    float getRestitution() const;
    void setFriction(float friction);
    float getFriction() const;
    void setRollingFriction(float friction);
    float getRollingFriction() const;
    void setHitFraction(float fraction);
    float getHitFraction() const;
    void setCcdMotionThreshold(float threshold);
    float getCcdMotionThreshold() const;
    void setCcdSweptSphereRadius(float radius);
    float getCcdSweptSphereRadius() const;

    // A kinematic body is moved by its owner, not by the world, and never sleeps.
    void setKinematic(bool kinematic);
    bool isKinematic() const;
    // Whether the body may fall asleep when at rest (the description's
    // disableSleep turns it off).
    bool isSleepingAllowed() const;
    bool isActive() const;

    // The constraints that name this body (not retained: the constraints retain
    // their bodies).
    Physics3DConstraint* getConstraint(unsigned int index) const;
    unsigned int getConstraintCount() const { return static_cast<unsigned int>(_constraintList.size()); }

protected:
    Physics3DRigidBody() = default;

private:
    friend class Physics3DConstraint;
    void addConstraint(Physics3DConstraint* constraint);
    void removeConstraint(Physics3DConstraint* constraint);

    btRigidBody* _btRigidBody = nullptr;            // owned
    Physics3DShape* _physics3DShape = nullptr;      // retained
    std::vector<Physics3DConstraint*> _constraintList;
};

}  // namespace engine
