#pragma once
// A rigid body of the 2D physics world: a chipmunk body with the shapes and
// joints hung on it, moved by the world and followed by its node.
//
// A body is dynamic (moved by forces, gravity and contacts) or static (moved only
// by its node; infinite mass). Its mass and moment are the sums of its shapes'
// (density x area) until set by hand; a dynamic body with no massive shape
// weighs MASS_DEFAULT with moment MOMENT_DEFAULT. The create functions with a
// material default to density 0.1, restitution 0.5, friction 0.5 (the shapes'
// own default material is all zero); edge bodies are static.
//
// Node and world: Node::setPhysicsBody attaches a body to a node; the body joins
// the physics world of the scene the node runs in. Before each step a node moved
// by code carries its body along; after it a dynamic body's position and angle
// are written back to its node. Main thread only.
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/base/Vector.h"
#include "engine/physics/PhysicsRecords.h"
#include "engine/physics/PhysicsShape.h"

struct cpBody;

namespace engine {

class Node;
class PhysicsJoint;
class PhysicsWorld;

extern const float PHYSICS_INFINITY;
extern const PhysicsMaterial PHYSICSBODY_MATERIAL_DEFAULT;
extern const PhysicsMaterial PHYSICSSHAPE_MATERIAL_DEFAULT;

class PhysicsBody : public Ref {
public:
    static constexpr float MASS_DEFAULT = 1.f;
    static constexpr float MOMENT_DEFAULT = 200.f;

    static PhysicsBody* create();
    static PhysicsBody* create(float mass);
    static PhysicsBody* create(float mass, float moment);
    static PhysicsBody* createCircle(float radius, const PhysicsMaterial& material = PHYSICSBODY_MATERIAL_DEFAULT,
                                     const Vec2& offset = Vec2::ZERO);
    static PhysicsBody* createBox(const Size& size, const PhysicsMaterial& material = PHYSICSBODY_MATERIAL_DEFAULT,
                                  const Vec2& offset = Vec2::ZERO);
    // Null for fewer than 3 points.
    static PhysicsBody* createPolygon(const Vec2* points, int count,
                                      const PhysicsMaterial& material = PHYSICSBODY_MATERIAL_DEFAULT,
                                      const Vec2& offset = Vec2::ZERO);
    static PhysicsBody* createEdgeSegment(const Vec2& a, const Vec2& b,
                                          const PhysicsMaterial& material = PHYSICSBODY_MATERIAL_DEFAULT,
                                          float border = 1.f);
    static PhysicsBody* createEdgeBox(const Size& size, const PhysicsMaterial& material = PHYSICSBODY_MATERIAL_DEFAULT,
                                      float border = 1.f, const Vec2& offset = Vec2::ZERO);
    // Null for fewer than 3 points.
    static PhysicsBody* createEdgePolygon(const Vec2* points, int count,
                                          const PhysicsMaterial& material = PHYSICSBODY_MATERIAL_DEFAULT,
                                          float border = 1.f);
    // Null for fewer than 2 points.
    static PhysicsBody* createEdgeChain(const Vec2* points, int count,
                                        const PhysicsMaterial& material = PHYSICSBODY_MATERIAL_DEFAULT,
                                        float border = 1.f);
    ~PhysicsBody() override;

    // Shapes: a shape held by another body is not added. addMassAndMoment false
    // leaves the body's mass and moment as they are.
    PhysicsShape* addShape(PhysicsShape* shape, bool addMassAndMoment = true);
    void removeShape(PhysicsShape* shape, bool reduceMassAndMoment = true);
    void removeShape(int tag, bool reduceMassAndMoment = true);
    void removeAllShapes(bool reduceMassAndMoment = true);
    const Vector<PhysicsShape*>& getShapes() const { return _shapes; }
    PhysicsShape* getFirstShape() const { return _shapes.empty() ? nullptr : _shapes.at(0); }
    PhysicsShape* getShape(int tag) const;

    const std::vector<PhysicsJoint*>& getJoints() const { return _joints; }
    PhysicsWorld* getWorld() const { return _world; }
    Node* getNode() const { return _node; }
    void removeFromWorld();

    bool isDynamic() const { return _dynamic; }
    void setDynamic(bool dynamic);
    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled);
    bool isRotationEnabled() const { return _rotationEnabled; }
    void setRotationEnable(bool enable);
    bool isGravityEnabled() const { return _gravityEnabled; }
    void setGravityEnable(bool enable);
    bool isResting() const;
    void setResting(bool rest) const;

    float getMass() const { return _mass; }
    void setMass(float mass);
    void addMass(float mass);
    float getMoment() const { return _moment; }
    void setMoment(float moment);
    void addMoment(float moment);

    Vec2 getVelocity() const;
    void setVelocity(const Vec2& velocity);
    float getAngularVelocity() const;
    void setAngularVelocity(float velocity);
    float getVelocityLimit() const { return _velocityLimit; }
    void setVelocityLimit(float limit);
    float getAngularVelocityLimit() const { return _angularVelocityLimit; }
    void setAngularVelocityLimit(float limit);
    float getLinearDamping() const { return _linearDamping; }
    void setLinearDamping(float damping);
    float getAngularDamping() const { return _angularDamping; }
    void setAngularDamping(float damping);
    Vec2 getVelocityAtWorldPoint(const Vec2& point) const;
    Vec2 getVelocityAtLocalPoint(const Vec2& point) const;

    void applyForce(const Vec2& force, const Vec2& offset = Vec2::ZERO);
    void resetForces();
    void applyImpulse(const Vec2& impulse, const Vec2& offset = Vec2::ZERO);
    void applyTorque(float torque);

    // World position of the body's origin and its rotation in degrees, clockwise
    // (the node's convention).
    Vec2 getPosition() const;
    float getRotation() const;
    void setPosition(const Vec2& position);
    void setRotation(float degrees);
    Vec2 world2Local(const Vec2& point) const;
    Vec2 local2World(const Vec2& point) const;

    // The masks and group apply to every shape of the body (the getters read the first).
    void setCategoryBitmask(uint32_t mask);
    void setCollisionBitmask(uint32_t mask);
    void setContactTestBitmask(uint32_t mask);
    void setGroup(int group);
    uint32_t getCategoryBitmask() const;
    uint32_t getCollisionBitmask() const;
    uint32_t getContactTestBitmask() const;
    int getGroup() const;

    int getTag() const { return _tag; }
    void setTag(int tag) { _tag = tag; }

    // For the world, the shapes, the joints and the node.
    cpBody* cpBodyHandle() const { return _cpBody; }
    void updateMassFromShapes();
    void setNode(Node* node) { _node = node; }
    void setWorld(PhysicsWorld* world) { _world = world; }
    void addJointEntry(PhysicsJoint* joint);
    void removeJointEntry(PhysicsJoint* joint);
    // The node's place as last read from / written to it.
    Vec2 _syncedPosition;
    float _syncedRotation = 0.f;
    bool _synced = false;

protected:
    PhysicsBody();
    void applyBodyType();
    void applyVelocityFunction();

private:
    cpBody* _cpBody = nullptr;
    Vector<PhysicsShape*> _shapes;
    std::vector<PhysicsJoint*> _joints;  // not retained: the world holds joints
    PhysicsWorld* _world = nullptr;
    Node* _node = nullptr;  // not retained: the node holds its body
    bool _dynamic = true;
    bool _enabled = true;
    bool _rotationEnabled = true;
    bool _gravityEnabled = true;
    bool _massSetByHand = false;
    bool _momentSetByHand = false;
    float _mass = MASS_DEFAULT;
    float _moment = MOMENT_DEFAULT;
    float _velocityLimit = PHYSICS_INFINITY_VALUE;
    float _angularVelocityLimit = PHYSICS_INFINITY_VALUE;
    float _linearDamping = 0.f;
    float _angularDamping = 0.f;
    int _tag = 0;
    static constexpr float PHYSICS_INFINITY_VALUE = std::numeric_limits<float>::infinity();

    friend class PhysicsWorld;
};

}  // namespace engine
