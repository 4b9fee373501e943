#include "engine/physics/PhysicsShape.h"

#include <chipmunk/chipmunk.h>

#include <algorithm>
#include <cmath>

#include "engine/physics/PhysicsBody.h"

namespace engine {

namespace {

cpVect cpv2(const Vec2& v) { return cpv(v.x, v.y); }

// Shoelace sum: twice the signed area.
double signedDoubleArea(const Vec2* points, int count) {
    double sum = 0;
    for (int i = 0; i < count; ++i) {
        const Vec2& a = points[i];
        const Vec2& b = points[(i + 1) % count];
        sum += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return sum;
}

std::vector<cpVect> toCp(const Vec2* points, int count, const Vec2& offset) {
    std::vector<cpVect> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) out[static_cast<size_t>(i)] = cpv2(points[i] + offset);
    return out;
}

}  // namespace

PhysicsShape* PhysicsShape::create() {
    auto* shape = new PhysicsShape();
    shape->autorelease();
    return shape;
}

PhysicsShape::~PhysicsShape() {
    for (cpShape* shape : _shapes) cpShapeFree(shape);
}

PhysicsShape* PhysicsShape::fromCp(const cpShape* shape) {
    return static_cast<PhysicsShape*>(cpShapeGetUserData(shape));
}

void PhysicsShape::addCpShape(cpShape* shape) {
    cpShapeSetUserData(shape, this);
    applyMaterial(shape);
    _shapes.push_back(shape);
}

void PhysicsShape::applyMaterial(cpShape* shape) const {
    cpShapeSetElasticity(shape, _material.restitution);
    cpShapeSetFriction(shape, _material.friction);
    cpShapeSetSensor(shape, _sensor);
}

void PhysicsShape::attach(PhysicsBody* body) {
    _body = body;
    cpBody* cp = body ? body->cpBodyHandle() : nullptr;
    for (cpShape* shape : _shapes) cpShapeSetBody(shape, cp);
}

void PhysicsShape::setGeometry(float area, float momentPerMass) {
    _area = area;
    _momentPerMass = momentPerMass;
    _mass = _material.density * area;
    _moment = _mass * momentPerMass;
}

void PhysicsShape::massChanged() {
    if (_body) _body->updateMassFromShapes();
}

void PhysicsShape::setMass(float mass) {
    if (mass < 0) return;
    _mass = mass;
    _material.density = _area > 0 ? mass / _area : 0.f;
    _moment = mass * _momentPerMass;
    massChanged();
}

void PhysicsShape::setMoment(float moment) {
    if (moment < 0) return;
    _moment = moment;
    massChanged();
}

void PhysicsShape::setMaterial(const PhysicsMaterial& material) {
    _material = material;
    setGeometry(_area, _momentPerMass);
    for (cpShape* shape : _shapes) applyMaterial(shape);
    massChanged();
}

void PhysicsShape::setDensity(float density) {
    PhysicsMaterial material = _material;
    material.density = density;
    setMaterial(material);
}

void PhysicsShape::setRestitution(float restitution) {
    _material.restitution = restitution;
    for (cpShape* shape : _shapes) applyMaterial(shape);
}

void PhysicsShape::setFriction(float friction) {
    _material.friction = friction;
    for (cpShape* shape : _shapes) applyMaterial(shape);
}

void PhysicsShape::setSensor(bool sensor) {
    _sensor = sensor;
    for (cpShape* shape : _shapes) applyMaterial(shape);
}

bool PhysicsShape::containsPoint(const Vec2& worldPoint) const {
    for (cpShape* shape : _shapes) {
        if (!cpShapeGetBody(shape)) continue;
        cpPointQueryInfo info;
        if (cpShapePointQuery(shape, cpv2(worldPoint), &info) <= 0) return true;
    }
    return false;
}

bool PhysicsShape::collides(const PhysicsShape* a, const PhysicsShape* b) {
    if (a->_group != 0 && a->_group == b->_group) return a->_group > 0;
    return (a->_categoryBitmask & b->_collisionBitmask) != 0 && (b->_categoryBitmask & a->_collisionBitmask) != 0;
}

bool PhysicsShape::reportsContact(const PhysicsShape* a, const PhysicsShape* b) {
    return (a->_categoryBitmask & b->_contactTestBitmask) != 0 || (b->_categoryBitmask & a->_contactTestBitmask) != 0;
}

Vec2 PhysicsShape::getPolyonCenter(const Vec2* points, int count) {
    if (!points || count < 1) return Vec2::ZERO;
    const double twiceArea = count >= 3 ? signedDoubleArea(points, count) : 0.0;
    double cx = 0, cy = 0;
    if (std::fabs(twiceArea) < 1e-12) {
        // No area: the mean of the points.
        for (int i = 0; i < count; ++i) {
            cx += points[i].x;
            cy += points[i].y;
        }
        return Vec2(static_cast<float>(cx / count), static_cast<float>(cy / count));
    }
    for (int i = 0; i < count; ++i) {
        const Vec2& a = points[i];
        const Vec2& b = points[(i + 1) % count];
        const double cross = static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
        cx += (a.x + b.x) * cross;
        cy += (a.y + b.y) * cross;
    }
    return Vec2(static_cast<float>(cx / (3 * twiceArea)), static_cast<float>(cy / (3 * twiceArea)));
}

void PhysicsShape::recenterPoints(Vec2* points, int count, const Vec2& center) {
    if (!points || count < 1) return;
    const Vec2 shift = center - getPolyonCenter(points, count);
    for (int i = 0; i < count; ++i) points[i] = points[i] + shift;
}

// ---- Circle

PhysicsShapeCircle* PhysicsShapeCircle::create(float radius, const PhysicsMaterial& material, const Vec2& offset) {
    auto* shape = new PhysicsShapeCircle();
    shape->_radius = radius;
    shape->_offset = offset;
    shape->_material = material;
    shape->addCpShape(cpCircleShapeNew(nullptr, radius, cpv2(offset)));
    shape->setGeometry(calculateArea(radius), calculateMoment(1.f, radius, offset));
    shape->autorelease();
    return shape;
}

float PhysicsShapeCircle::calculateArea(float radius) { return static_cast<float>(cpAreaForCircle(0, radius)); }

float PhysicsShapeCircle::calculateMoment(float mass, float radius, const Vec2& offset) {
    return static_cast<float>(cpMomentForCircle(mass, 0, radius, cpv2(offset)));
}

// ---- Polygon and box

float PhysicsShapePolygon::calculateArea(const Vec2* points, int count) {
    if (!points || count < 3) return 0.f;
    return static_cast<float>(std::fabs(signedDoubleArea(points, count)) / 2);
}

float PhysicsShapePolygon::calculateMoment(float mass, const Vec2* points, int count, const Vec2& offset,
                                           float radius) {
    if (!points || count < 3 || std::fabs(signedDoubleArea(points, count)) < 1e-12) return 0.f;
    std::vector<cpVect> verts = toCp(points, count, Vec2::ZERO);
    if (signedDoubleArea(points, count) < 0) std::reverse(verts.begin(), verts.end());
    return static_cast<float>(cpMomentForPoly(mass, count, verts.data(), cpv2(offset), radius));
}

bool PhysicsShapePolygon::init(const Vec2* points, int count, const PhysicsMaterial& material, const Vec2& offset,
                               float radius) {
    if (!points || count < 3) return false;
    std::vector<cpVect> verts = toCp(points, count, offset);
    std::vector<cpVect> hull(verts.size());
    const int hullCount = cpConvexHull(count, verts.data(), hull.data(), nullptr, 0.0);
    if (hullCount < 3) return false;
    hull.resize(static_cast<size_t>(hullCount));
    _offset = offset;
    _material = material;
    for (const cpVect& v : hull) _points.emplace_back(static_cast<float>(v.x), static_cast<float>(v.y));
    _center = getPolyonCenter(_points.data(), hullCount);
    addCpShape(cpPolyShapeNewRaw(nullptr, hullCount, hull.data(), radius));
    const float area = static_cast<float>(cpAreaForPoly(hullCount, hull.data(), radius));
    setGeometry(area, static_cast<float>(cpMomentForPoly(1.0, hullCount, hull.data(), cpvzero, radius)));
    return true;
}

PhysicsShapePolygon* PhysicsShapePolygon::create(const Vec2* points, int count, const PhysicsMaterial& material,
                                                 const Vec2& offset, float radius) {
    auto* shape = new PhysicsShapePolygon();
    if (!shape->init(points, count, material, offset, radius)) {
        delete shape;
        return nullptr;
    }
    shape->autorelease();
    return shape;
}

Vec2 PhysicsShapePolygon::getPoint(int i) const {
    return i >= 0 && i < getPointsCount() ? _points[static_cast<size_t>(i)] : Vec2::ZERO;
}

void PhysicsShapePolygon::getPoints(Vec2* out) const {
    for (const Vec2& p : _points) *out++ = p;
}

PhysicsShapeBox* PhysicsShapeBox::create(const Size& size, const PhysicsMaterial& material, const Vec2& offset,
                                         float radius) {
    const float w = size.width / 2, h = size.height / 2;
    const Vec2 corners[4] = {Vec2(-w, -h), Vec2(-w, h), Vec2(w, h), Vec2(w, -h)};
    auto* shape = new PhysicsShapeBox();
    shape->_size = size;
    if (!shape->init(corners, 4, material, offset, radius)) {
        delete shape;
        return nullptr;
    }
    shape->autorelease();
    return shape;
}

// ---- Edges

PhysicsShapeEdgeSegment* PhysicsShapeEdgeSegment::create(const Vec2& a, const Vec2& b,
                                                         const PhysicsMaterial& material, float border) {
    auto* shape = new PhysicsShapeEdgeSegment();
    shape->_a = a;
    shape->_b = b;
    shape->_material = material;
    shape->addCpShape(cpSegmentShapeNew(nullptr, cpv2(a), cpv2(b), border));
    shape->autorelease();
    return shape;
}

bool PhysicsShapeEdgePolygon::init(const Vec2* points, int count, const PhysicsMaterial& material, float border) {
    if (!points || count < 3) return false;
    _material = material;
    _points.assign(points, points + count);
    for (int i = 0; i < count; ++i) {
        addCpShape(cpSegmentShapeNew(nullptr, cpv2(points[i]), cpv2(points[(i + 1) % count]), border));
    }
    return true;
}

PhysicsShapeEdgePolygon* PhysicsShapeEdgePolygon::create(const Vec2* points, int count,
                                                         const PhysicsMaterial& material, float border) {
    auto* shape = new PhysicsShapeEdgePolygon();
    if (!shape->init(points, count, material, border)) {
        delete shape;
        return nullptr;
    }
    shape->autorelease();
    return shape;
}

void PhysicsShapeEdgePolygon::getPoints(Vec2* out) const {
    for (const Vec2& p : _points) *out++ = p;
}

PhysicsShapeEdgeBox* PhysicsShapeEdgeBox::create(const Size& size, const PhysicsMaterial& material, float border,
                                                 const Vec2& offset) {
    const float w = size.width / 2, h = size.height / 2;
    const Vec2 corners[4] = {offset + Vec2(-w, -h), offset + Vec2(-w, h), offset + Vec2(w, h),
                             offset + Vec2(w, -h)};
    auto* shape = new PhysicsShapeEdgeBox();
    shape->_offset = offset;
    shape->init(corners, 4, material, border);
    shape->autorelease();
    return shape;
}

PhysicsShapeEdgeChain* PhysicsShapeEdgeChain::create(const Vec2* points, int count, const PhysicsMaterial& material,
                                                     float border) {
    if (!points || count < 2) return nullptr;
    auto* shape = new PhysicsShapeEdgeChain();
    shape->_material = material;
    shape->_points.assign(points, points + count);
    for (int i = 0; i + 1 < count; ++i) {
        shape->addCpShape(cpSegmentShapeNew(nullptr, cpv2(points[i]), cpv2(points[i + 1]), border));
    }
    shape->autorelease();
    return shape;
}

void PhysicsShapeEdgeChain::getPoints(Vec2* out) const {
    for (const Vec2& p : _points) *out++ = p;
}

}  // namespace engine
