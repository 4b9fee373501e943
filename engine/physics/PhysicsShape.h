#pragma once
// Collision shapes of a physics body, each made of one or more chipmunk shapes.
//
// A shape belongs to at most one body (PhysicsBody::addShape). Its material gives
// its mass (density x area) and the surface answers of its contacts (restitution,
// friction). Solid shapes (circle, polygon, box) have area and mass; edge shapes
// (segment, edge polygon, edge box, chain) have none and make their body static.
// Shapes made from points take a copy of them: polygon and edge polygon need 3
// or more, a chain 2 or more, else create gives null.
//
// Contact filters: two shapes collide when each one's category has a bit in the
// other's collision mask (a shared positive group always collides, a shared
// negative group never); a contact reaches the contact listeners only when a
// category meets the other shape's contact-test mask, which is empty by default.
#include <cstdint>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/physics/PhysicsRecords.h"

struct cpShape;
struct cpBody;

namespace engine {

class PhysicsBody;

class PhysicsShape : public Ref {
public:
    enum class Type { UNKNOWN, CIRCLE, BOX, POLYGON, EDGESEGMENT, EDGEBOX, EDGEPOLYGON, EDGECHAIN };

    // A new autoreleased shape without geometry (it never collides).
    static PhysicsShape* create();
    ~PhysicsShape() override;

    Type getType() const { return _type; }
    PhysicsBody* getBody() const { return _body; }

    float getArea() const { return _area; }
    float getMass() const { return _mass; }
    float getMoment() const { return _moment; }
    // The mass sets the density to match it (and the other way round).
    void setMass(float mass);
    void setMoment(float moment);

    const PhysicsMaterial& getMaterial() const { return _material; }
    void setMaterial(const PhysicsMaterial& material);
    float getDensity() const { return _material.density; }
    void setDensity(float density);
    float getRestitution() const { return _material.restitution; }
    void setRestitution(float restitution);
    float getFriction() const { return _material.friction; }
    void setFriction(float friction);

    // Where the shape sits in its body's space, and its centre there.
    virtual Vec2 getOffset() const { return Vec2::ZERO; }
    virtual Vec2 getCenter() const { return getOffset(); }
    bool containsPoint(const Vec2& worldPoint) const;

    int getTag() const { return _tag; }
    void setTag(int tag) { _tag = tag; }
    bool isSensor() const { return _sensor; }
    void setSensor(bool sensor);

    uint32_t getCategoryBitmask() const { return _categoryBitmask; }
    void setCategoryBitmask(uint32_t mask) { _categoryBitmask = mask; }
    uint32_t getCollisionBitmask() const { return _collisionBitmask; }
    void setCollisionBitmask(uint32_t mask) { _collisionBitmask = mask; }
    uint32_t getContactTestBitmask() const { return _contactTestBitmask; }
    void setContactTestBitmask(uint32_t mask) { _contactTestBitmask = mask; }
    int getGroup() const { return _group; }
    void setGroup(int group) { _group = group; }

    // The centroid of a polygon; ZERO for no points.
    static Vec2 getPolyonCenter(const Vec2* points, int count);
    // Moves the points so that their centroid lands on center.
    static void recenterPoints(Vec2* points, int count, const Vec2& center = Vec2::ZERO);

    // The chipmunk shapes (body space); for the world and its callbacks.
    const std::vector<cpShape*>& cpShapes() const { return _shapes; }
    static PhysicsShape* fromCp(const cpShape* shape);
    // Whether the pair may collide / is reported to contact listeners.
    static bool collides(const PhysicsShape* a, const PhysicsShape* b);
    static bool reportsContact(const PhysicsShape* a, const PhysicsShape* b);

protected:
    PhysicsShape() = default;
    explicit PhysicsShape(Type type) : _type(type) {}
    // Gives the chipmunk shapes the body's chipmunk body (null: none).
    void attach(PhysicsBody* body);
    void addCpShape(cpShape* shape);
    // Area and moment of the geometry for the current density.
    void setGeometry(float area, float momentPerMass);
    void applyMaterial(cpShape* shape) const;
    // Tells the body its mass or moment changed.
    void massChanged();

    Type _type = Type::UNKNOWN;
    PhysicsBody* _body = nullptr;  // not retained: the body holds the shape
    std::vector<cpShape*> _shapes;
    PhysicsMaterial _material;
    float _area = 0.f;
    float _mass = 0.f;
    float _moment = 0.f;
    float _momentPerMass = 0.f;
    int _tag = 0;
    int _group = 0;
    bool _sensor = false;
    uint32_t _categoryBitmask = 0xFFFFFFFF;
    uint32_t _collisionBitmask = 0xFFFFFFFF;
    uint32_t _contactTestBitmask = 0;

    friend class PhysicsBody;
};

class PhysicsShapeCircle : public PhysicsShape {
public:
    static PhysicsShapeCircle* create(float radius, const PhysicsMaterial& material = {},
                                      const Vec2& offset = Vec2::ZERO);
    static float calculateArea(float radius);
    static float calculateMoment(float mass, float radius, const Vec2& offset = Vec2::ZERO);
    float getRadius() const { return _radius; }
    Vec2 getOffset() const override { return _offset; }

private:
    PhysicsShapeCircle() : PhysicsShape(Type::CIRCLE) {}
    float _radius = 0.f;
    Vec2 _offset;
};

class PhysicsShapePolygon : public PhysicsShape {
public:
    // The convex hull of the points; null for fewer than 3.
    static PhysicsShapePolygon* create(const Vec2* points, int count, const PhysicsMaterial& material = {},
                                       const Vec2& offset = Vec2::ZERO, float radius = 0.f);
    // 0 for fewer than 3 points.
    static float calculateArea(const Vec2* points, int count);
    static float calculateMoment(float mass, const Vec2* points, int count, const Vec2& offset = Vec2::ZERO,
                                 float radius = 0.f);
    int getPointsCount() const { return static_cast<int>(_points.size()); }
    Vec2 getPoint(int i) const;
    // Writes getPointsCount() points.
    void getPoints(Vec2* out) const;
    Vec2 getOffset() const override { return _offset; }
    Vec2 getCenter() const override { return _center; }

protected:
    explicit PhysicsShapePolygon(Type type = Type::POLYGON) : PhysicsShape(type) {}
    bool init(const Vec2* points, int count, const PhysicsMaterial& material, const Vec2& offset, float radius);
    std::vector<Vec2> _points;  // the hull, counter-clockwise, offset included
    Vec2 _offset;
    Vec2 _center;
};

class PhysicsShapeBox : public PhysicsShapePolygon {
public:
    static PhysicsShapeBox* create(const Size& size, const PhysicsMaterial& material = {},
                                   const Vec2& offset = Vec2::ZERO, float radius = 0.f);
    Size getSize() const { return _size; }

private:
    PhysicsShapeBox() : PhysicsShapePolygon(Type::BOX) {}
    Size _size;
};

class PhysicsShapeEdgeSegment : public PhysicsShape {
public:
    static PhysicsShapeEdgeSegment* create(const Vec2& a, const Vec2& b, const PhysicsMaterial& material = {},
                                           float border = 1.f);
    Vec2 getPointA() const { return _a; }
    Vec2 getPointB() const { return _b; }
    Vec2 getCenter() const override { return (_a + _b) * 0.5f; }

private:
    PhysicsShapeEdgeSegment() : PhysicsShape(Type::EDGESEGMENT) {}
    Vec2 _a, _b;
};

// A closed outline of segments; null for fewer than 3 points.
class PhysicsShapeEdgePolygon : public PhysicsShape {
public:
    static PhysicsShapeEdgePolygon* create(const Vec2* points, int count, const PhysicsMaterial& material = {},
                                           float border = 1.f);
    int getPointsCount() const { return static_cast<int>(_points.size()); }
    void getPoints(Vec2* out) const;
    Vec2 getCenter() const override { return getPolyonCenter(_points.data(), getPointsCount()); }

protected:
    explicit PhysicsShapeEdgePolygon(Type type = Type::EDGEPOLYGON) : PhysicsShape(type) {}
    bool init(const Vec2* points, int count, const PhysicsMaterial& material, float border);
    std::vector<Vec2> _points;
};

class PhysicsShapeEdgeBox : public PhysicsShapeEdgePolygon {
public:
    static PhysicsShapeEdgeBox* create(const Size& size, const PhysicsMaterial& material = {}, float border = 1.f,
                                       const Vec2& offset = Vec2::ZERO);
    Vec2 getOffset() const override { return _offset; }

private:
    PhysicsShapeEdgeBox() : PhysicsShapeEdgePolygon(Type::EDGEBOX) {}
    Vec2 _offset;
};

// An open line of segments; null for fewer than 2 points.
class PhysicsShapeEdgeChain : public PhysicsShape {
public:
    static PhysicsShapeEdgeChain* create(const Vec2* points, int count, const PhysicsMaterial& material = {},
                                         float border = 1.f);
    int getPointsCount() const { return static_cast<int>(_points.size()); }
    void getPoints(Vec2* out) const;
    Vec2 getCenter() const override { return getPolyonCenter(_points.data(), getPointsCount()); }

private:
    PhysicsShapeEdgeChain() : PhysicsShape(Type::EDGECHAIN) {}
    std::vector<Vec2> _points;
};

}  // namespace engine
