#pragma once
// Constraints between rigid bodies of the 3D physics world (point to point,
// hinge, slider, cone twist, six degrees of freedom). A constraint retains its
// bodies and is listed by them; it acts once added to the world that holds them
// (Physics3DWorld::addPhysics3DConstraint). The creators answer null when a body
// is missing. Frames are transforms in the named body's space. Main thread only.
#include "engine/base/Geometry.h"
#include "engine/base/Mat4.h"
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

class btTypedConstraint;

namespace engine {

class Physics3DRigidBody;

class Physics3DConstraint : public Ref {
public:
    enum class ConstraintType {
        UNKNOWN = 0,
        POINT_TO_POINT,
        HINGE,
        SLIDER,
        CONE_TWIST,
        SIX_DOF,
    };

    ~Physics3DConstraint() override;

    ConstraintType getConstraintType() const { return _type; }
    btTypedConstraint* getbtContraint() const { return _constraint; }
    // Body B is null for a constraint to a fixed point of the world.
    Physics3DRigidBody* getBodyA() const { return _bodyA; }
    Physics3DRigidBody* getBodyB() const { return _bodyB; }

    // The constraint breaks (is disabled) when its impulse exceeds this.
    float getBreakingImpulse() const;
    void setBreakingImpulse(float impulse);
    bool isEnabled() const;
    void setEnabled(bool enabled);
    // Solver iterations for this constraint; -1 for the world's own count.
    int getOverrideNumSolverIterations() const;
    void setOverrideNumSolverIterations(int iterations);

protected:
    Physics3DConstraint() = default;
    // Takes the Bullet constraint, retains the bodies and lists itself on them;
    // the result autoreleased.
    template <class T>
    static T* adopt(T* constraint, btTypedConstraint* btConstraint, ConstraintType type, Physics3DRigidBody* bodyA,
                    Physics3DRigidBody* bodyB);
    void attach(btTypedConstraint* btConstraint, ConstraintType type, Physics3DRigidBody* bodyA,
                Physics3DRigidBody* bodyB);

    btTypedConstraint* _constraint = nullptr;  // owned
    ConstraintType _type = ConstraintType::UNKNOWN;
    Physics3DRigidBody* _bodyA = nullptr;      // retained
    Physics3DRigidBody* _bodyB = nullptr;      // retained
};

template <class T>
T* Physics3DConstraint::adopt(T* constraint, btTypedConstraint* btConstraint, ConstraintType type,
                              Physics3DRigidBody* bodyA, Physics3DRigidBody* bodyB) {
    static_cast<Physics3DConstraint*>(constraint)->attach(btConstraint, type, bodyA, bodyB);
    constraint->autorelease();
    return constraint;
}

class Physics3DPointToPointConstraint : public Physics3DConstraint {
public:
    // Body A's pivot held to where it stands in the world / to body B's pivot.
    static Physics3DPointToPointConstraint* create(Physics3DRigidBody* rbA, const Vec3& pivotPointInA);
    static Physics3DPointToPointConstraint* create(Physics3DRigidBody* rbA, Physics3DRigidBody* rbB,
                                                   const Vec3& pivotPointInA, const Vec3& pivotPointInB);
    void setPivotPointInA(const Vec3& pivot);
    void setPivotPointInB(const Vec3& pivot);
    Vec3 getPivotPointInA() const;
    Vec3 getPivotPointInB() const;
};

class Physics3DHingeConstraint : public Physics3DConstraint {
public:
    // The hinge turns about the frame's z axis.
    static Physics3DHingeConstraint* create(Physics3DRigidBody* rbA, const Mat4& rbAFrame,
                                            bool useReferenceFrameA = false);
    static Physics3DHingeConstraint* create(Physics3DRigidBody* rbA, const Vec3& pivotInA, const Vec3& axisInA,
                                            bool useReferenceFrameA = false);
    static Physics3DHingeConstraint* create(Physics3DRigidBody* rbA, Physics3DRigidBody* rbB, const Mat4& rbAFrame,
                                            const Mat4& rbBFrame, bool useReferenceFrameA = false);
    Mat4 getFrameOffsetA() const;
    Mat4 getFrameOffsetB() const;
    void setFrames(const Mat4& frameA, const Mat4& frameB);
    void setAngularOnly(bool angularOnly);
    bool getAngularOnly() const;
    void enableAngularMotor(bool enableMotor, float targetVelocity, float maxMotorImpulse);
    void enableMotor(bool enableMotor);
    void setMaxMotorImpulse(float maxMotorImpulse);
    void setMotorTarget(float targetAngle, float dt);
    // Angles in radians.
    void setLimit(float low, float high, float softness = 0.9f, float biasFactor = 0.3f,
                  float relaxationFactor = 1.0f);
    float getLowerLimit() const;
    float getUpperLimit() const;
    float getHingeAngle() const;
};

class Physics3DSliderConstraint : public Physics3DConstraint {
public:
    // Slides along the frames' x axis.
    static Physics3DSliderConstraint* create(Physics3DRigidBody* rbA, Physics3DRigidBody* rbB, const Mat4& frameInA,
                                             const Mat4& frameInB, bool useLinearReferenceFrameA);
    float getLowerLinLimit() const;
    void setLowerLinLimit(float limit);
    float getUpperLinLimit() const;
    void setUpperLinLimit(float limit);
    float getLowerAngLimit() const;
    void setLowerAngLimit(float limit);
    float getUpperAngLimit() const;
    void setUpperAngLimit(float limit);
    bool getPoweredLinMotor() const;
    void setPoweredLinMotor(bool powered);
    float getTargetLinMotorVelocity() const;
    void setTargetLinMotorVelocity(float velocity);
    float getMaxLinMotorForce() const;
    void setMaxLinMotorForce(float force);
    float getLinearPos() const;
    float getAngularPos() const;
};

class Physics3DConeTwistConstraint : public Physics3DConstraint {
public:
    static Physics3DConeTwistConstraint* create(Physics3DRigidBody* rbA, const Mat4& frameA);
    static Physics3DConeTwistConstraint* create(Physics3DRigidBody* rbA, Physics3DRigidBody* rbB, const Mat4& frameA,
                                                const Mat4& frameB);
    // Spans in radians.
    void setLimit(float swingSpan1, float swingSpan2, float twistSpan, float softness = 1.f, float biasFactor = 0.3f,
                  float relaxationFactor = 1.f);
    float getSwingSpan1() const;
    float getSwingSpan2() const;
    float getTwistSpan() const;
    float getTwistAngle() const;
    void setDamping(float damping);
    void enableMotor(bool enable);
    void setMaxMotorImpulse(float maxMotorImpulse);
    void setMotorTarget(const Quaternion& target);
};

class Physics3D6DofConstraint : public Physics3DConstraint {
public:
    static Physics3D6DofConstraint* create(Physics3DRigidBody* rbA, Physics3DRigidBody* rbB, const Mat4& frameInA,
                                           const Mat4& frameInB, bool useLinearReferenceFrameA);
    // Body B held to the world by its frame.
    static Physics3D6DofConstraint* create(Physics3DRigidBody* rbB, const Mat4& frameInB,
                                           bool useLinearReferenceFrameB);
    // A lower limit above the upper one frees the axis; equal limits lock it.
    void setLinearLowerLimit(const Vec3& limit);
    Vec3 getLinearLowerLimit() const;
    void setLinearUpperLimit(const Vec3& limit);
    Vec3 getLinearUpperLimit() const;
    void setAngularLowerLimit(const Vec3& limit);
    Vec3 getAngularLowerLimit() const;
    void setAngularUpperLimit(const Vec3& limit);
    Vec3 getAngularUpperLimit() const;
    // Axes 0 to 2 are the translations, 3 to 5 the rotations; others answer false.
    bool isLimited(int limitIndex) const;
    bool getUseFrameOffset() const;
    void setUseFrameOffset(bool frameOffsetOnOff);
};

}  // namespace engine
