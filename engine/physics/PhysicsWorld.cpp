#include "engine/physics/PhysicsWorld.h"

#include <chipmunk/chipmunk.h>

#include <algorithm>
#include <utility>

#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/physics/PhysicsContact.h"
#include "engine/scene/Scene.h"

namespace engine {

namespace {

constexpr float kRadiansToDegrees = 57.29577951308232f;

cpVect cpv2(const Vec2& v) { return cpv(v.x, v.y); }
Vec2 vec2(cpVect v) { return Vec2(static_cast<float>(v.x), static_cast<float>(v.y)); }

bool contains(const std::vector<PhysicsJoint*>& joints, const PhysicsJoint* joint) {
    return std::find(joints.begin(), joints.end(), joint) != joints.end();
}

// The scene graph above a node: its rotation summed, and whether its parent
// maps positions unchanged (a root or an untransformed scene).
float worldRotation(const Node* node) {
    float rotation = 0;
    for (const Node* n = node; n; n = n->getParent()) rotation += n->getRotation();
    return rotation;
}

bool plainParent(const Node* parent) {
    return !parent || (!parent->getParent() && parent->getPosition() == Vec2::ZERO && parent->getRotation() == 0 &&
                       parent->getScaleX() == 1 && parent->getScaleY() == 1);
}

}  // namespace

// While alive the world counts as busy; the last one out runs what was deferred.
struct PhysicsWorld::Busy {
    explicit Busy(PhysicsWorld* world) : _world(world) { ++_world->_busy; }
    ~Busy() {
        if (--_world->_busy == 0) _world->runDeferred();
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
    PhysicsWorld* _world;
};

PhysicsWorld::PhysicsWorld(Scene* scene) : _scene(scene) {
    _space = cpSpaceNew();
    cpSpaceSetGravity(_space, cpv2(_gravity));
    cpCollisionHandler* handler = cpSpaceAddDefaultCollisionHandler(_space);
    handler->beginFunc = &PhysicsWorld::onBegin;
    handler->preSolveFunc = &PhysicsWorld::onPreSolve;
    handler->postSolveFunc = &PhysicsWorld::onPostSolve;
    handler->separateFunc = &PhysicsWorld::onSeparate;
    handler->userData = this;
}

PhysicsWorld::~PhysicsWorld() {
    _destroying = true;
    runDeferred();
    removeAllJoints(true);
    removeAllBodies();
    runDeferred();
    for (PhysicsContact* contact : _contacts) contact->release();
    _contacts.clear();
    cpSpaceFree(_space);
}

void PhysicsWorld::whenUnlocked(std::function<void()> fn) {
    if (_busy > 0 || !_deferred.empty()) {
        _deferred.push_back(std::move(fn));
        return;
    }
    fn();
}

void PhysicsWorld::runDeferred() {
    if (_busy > 0) return;
    // Functions may defer more; run until none is left, in order.
    if (_runningDeferred) return;
    _runningDeferred = true;
    while (!_deferred.empty()) {
        std::vector<std::function<void()>> batch;
        batch.swap(_deferred);
        for (const auto& fn : batch) fn();
    }
    _runningDeferred = false;
}

// ---- Bodies

void PhysicsWorld::addBody(PhysicsBody* body) {
    if (!body || _destroying) return;
    if (body->getWorld() == this) return;
    if (body->getWorld()) body->getWorld()->removeBody(body);
    _bodies.pushBack(body);
    body->setWorld(this);
    body->_synced = false;
    syncFromNode(body);  // in place at once (joints read where their bodies are)
    body->retain();
    whenUnlocked([this, body] {
        if (body->getWorld() == this) doAddBody(body);
        body->release();
    });
}

void PhysicsWorld::doAddBody(PhysicsBody* body) {
    cpBody* cp = body->cpBodyHandle();
    if (!body->isEnabled() || cpBodyGetSpace(cp)) return;
    cpSpaceAddBody(_space, cp);
    for (PhysicsShape* shape : body->getShapes()) {
        for (cpShape* s : shape->cpShapes()) {
            if (!cpShapeGetSpace(s)) cpSpaceAddShape(_space, s);
        }
    }
    for (PhysicsJoint* joint : body->getJoints()) {
        if (joint->getWorld() == this) doAddJoint(joint);
    }
}

void PhysicsWorld::removeBody(PhysicsBody* body) {
    if (!body || body->getWorld() != this) return;
    body->retain();
    std::vector<PhysicsJoint*> joints = body->getJoints();
    for (PhysicsJoint* joint : joints) {
        if (joint->getWorld() == this) removeJoint(joint, true);
    }
    body->setWorld(nullptr);
    _bodies.eraseObject(body);
    whenUnlocked([this, body] {
        if (body->getWorld() != this) doRemoveBody(body);
        body->release();
    });
}

void PhysicsWorld::doRemoveBody(PhysicsBody* body) {
    cpBody* cp = body->cpBodyHandle();
    if (cpBodyGetSpace(cp) != _space) return;
    Busy busy(this);  // separate callbacks may run; what they change waits
    for (PhysicsShape* shape : body->getShapes()) {
        for (cpShape* s : shape->cpShapes()) {
            if (cpShapeGetSpace(s) == _space) cpSpaceRemoveShape(_space, s);
        }
    }
    cpSpaceRemoveBody(_space, cp);
    body->_synced = false;
}

void PhysicsWorld::removeBody(int tag) {
    if (PhysicsBody* body = getBody(tag)) removeBody(body);
}

void PhysicsWorld::removeAllBodies() {
    while (!_bodies.empty()) removeBody(_bodies.back());
}

PhysicsBody* PhysicsWorld::getBody(int tag) const {
    for (PhysicsBody* body : _bodies) {
        if (body->getTag() == tag) return body;
    }
    return nullptr;
}

void PhysicsWorld::addShapeToSpace(PhysicsShape* shape) {
    shape->retain();
    whenUnlocked([this, shape] {
        PhysicsBody* body = shape->getBody();
        if (body && body->getWorld() == this && cpBodyGetSpace(body->cpBodyHandle()) == _space) {
            for (cpShape* s : shape->cpShapes()) {
                if (!cpShapeGetSpace(s)) cpSpaceAddShape(_space, s);
            }
        }
        shape->release();
    });
}

void PhysicsWorld::removeShapeFromSpace(PhysicsShape* shape) {
    // Only called unlocked (PhysicsBody defers its removals).
    Busy busy(this);
    for (cpShape* s : shape->cpShapes()) {
        if (cpShapeGetSpace(s) == _space) cpSpaceRemoveShape(_space, s);
    }
}

// ---- Joints

bool PhysicsWorld::addJoint(PhysicsJoint* joint) {
    if (!joint || !joint->getBodyA() || !joint->getBodyB() || _destroying) return false;
    if (joint->getWorld()) return joint->getWorld() == this;
    joint->setWorld(this);
    _joints.push_back(joint);
    whenUnlocked([this, joint] {
        if (contains(_joints, joint)) doAddJoint(joint);
    });
    return true;
}

void PhysicsWorld::doAddJoint(PhysicsJoint* joint) {
    if (!joint->isEnabled()) return;
    if (cpBodyGetSpace(joint->getBodyA()->cpBodyHandle()) != _space ||
        cpBodyGetSpace(joint->getBodyB()->cpBodyHandle()) != _space) {
        return;  // joins the space with its second body
    }
    for (cpConstraint* constraint : joint->cpConstraints()) {
        if (!cpConstraintGetSpace(constraint)) cpSpaceAddConstraint(_space, constraint);
    }
}

void PhysicsWorld::removeJoint(PhysicsJoint* joint, bool destroy) {
    if (!joint || joint->getWorld() != this) return;
    _joints.erase(std::find(_joints.begin(), _joints.end(), joint));
    joint->setWorld(nullptr);
    whenUnlocked([this, joint, destroy] { doRemoveJoint(joint, destroy); });
}

void PhysicsWorld::doRemoveJoint(PhysicsJoint* joint, bool destroy) {
    for (cpConstraint* constraint : joint->cpConstraints()) {
        if (cpConstraintGetSpace(constraint) == _space) cpSpaceRemoveConstraint(_space, constraint);
    }
    if (destroy) delete joint;
}

void PhysicsWorld::removeAllJoints(bool destroy) {
    while (!_joints.empty()) removeJoint(_joints.back(), destroy);
}

// ---- Stepping

void PhysicsWorld::setGravity(const Vec2& gravity) {
    _gravity = gravity;
    cpSpaceSetGravity(_space, cpv2(gravity));
}

void PhysicsWorld::update(float delta) {
    if (!_autoStep) return;
    _updateTime += delta * _speed;
    if (++_updateRateCount < _updateRate) return;
    const float time = _updateTime;
    _updateTime = 0;
    _updateRateCount = 0;
    step(time);
}

void PhysicsWorld::step(float delta) {
    if (delta <= 0 || _busy > 0) return;
    Scene* scene = _scene;
    scene->retain();  // a listener may let the scene go
    {
        Busy busy(this);
        syncFromNodes();
        const float part = delta / static_cast<float>(_substeps);
        for (int i = 0; i < _substeps; ++i) cpSpaceStep(_space, part);
        syncToNodes();
    }
    scene->release();  // last: may destroy this world
}

void PhysicsWorld::syncFromNodes() {
    for (PhysicsBody* body : _bodies) syncFromNode(body);
}

void PhysicsWorld::syncFromNode(PhysicsBody* body) {
    {
        Node* node = body->getNode();
        if (!node) return;
        Node* parent = node->getParent();
        const Vec2 position = plainParent(parent) ? node->getPosition() : parent->convertToWorldSpace(node->getPosition());
        const float rotation = worldRotation(node);
        cpBody* cp = body->cpBodyHandle();
        if (!body->_synced || !(position == body->_syncedPosition)) {
            cpBodySetPosition(cp, cpv2(position));
            body->_syncedPosition = position;
        }
        if (!body->_synced || rotation != body->_syncedRotation) {
            cpBodySetAngle(cp, -rotation / kRadiansToDegrees);
            body->_syncedRotation = rotation;
        }
        body->_synced = true;
    }
}

void PhysicsWorld::syncToNodes() {
    for (PhysicsBody* body : _bodies) {
        Node* node = body->getNode();
        if (!node || !body->isDynamic()) continue;
        cpBody* cp = body->cpBodyHandle();
        if (cpBodyGetSpace(cp) != _space) continue;
        const Vec2 position = vec2(cpBodyGetPosition(cp));
        const float rotation = -static_cast<float>(cpBodyGetAngle(cp)) * kRadiansToDegrees;
        Node* parent = node->getParent();
        node->setPosition(plainParent(parent) ? position : parent->convertToNodeSpace(position));
        node->setRotation(rotation - (parent ? worldRotation(parent) : 0.f));
        body->_syncedPosition = plainParent(parent) ? position : parent->convertToWorldSpace(node->getPosition());
        body->_syncedRotation = worldRotation(node);
        body->_synced = true;
    }
}

// ---- Contacts

void PhysicsWorld::dispatch(PhysicsContact* contact) {
    if (_destroying) return;
    contact->_result = true;
    Director::getInstance()->getEventDispatcher()->dispatchEvent(contact);
}

unsigned char PhysicsWorld::onBegin(cpArbiter* arbiter, cpSpace*, void* data) {
    auto* world = static_cast<PhysicsWorld*>(data);
    CP_ARBITER_GET_SHAPES(arbiter, a, b);
    PhysicsShape* shapeA = PhysicsShape::fromCp(a);
    PhysicsShape* shapeB = PhysicsShape::fromCp(b);
    if (!shapeA || !shapeB) return cpTrue;
    if (!PhysicsShape::collides(shapeA, shapeB)) return cpFalse;
    auto* contact = new PhysicsContact(shapeA, shapeB);
    cpArbiterSetUserData(arbiter, contact);
    world->_contacts.insert(contact);
    if (!PhysicsShape::reportsContact(shapeA, shapeB) || world->_destroying) return cpTrue;
    contact->_notified = true;
    contact->setEventCode(PhysicsContact::EventCode::BEGIN);
    contact->readArbiter(arbiter);
    world->dispatch(contact);
    return contact->_result ? cpTrue : cpFalse;
}

unsigned char PhysicsWorld::onPreSolve(cpArbiter* arbiter, cpSpace*, void* data) {
    auto* world = static_cast<PhysicsWorld*>(data);
    auto* contact = static_cast<PhysicsContact*>(cpArbiterGetUserData(arbiter));
    if (!contact || !contact->_notified) return cpTrue;
    PhysicsContactPreSolve solve(arbiter);
    contact->setEventCode(PhysicsContact::EventCode::PRESOLVE);
    contact->readArbiter(arbiter);
    contact->_solve = &solve;
    world->dispatch(contact);
    contact->_solve = nullptr;
    return contact->_result ? cpTrue : cpFalse;
}

void PhysicsWorld::onPostSolve(cpArbiter* arbiter, cpSpace*, void* data) {
    auto* world = static_cast<PhysicsWorld*>(data);
    auto* contact = static_cast<PhysicsContact*>(cpArbiterGetUserData(arbiter));
    if (!contact || !contact->_notified) return;
    PhysicsContactPostSolve solve(arbiter);
    contact->setEventCode(PhysicsContact::EventCode::POSTSOLVE);
    contact->_solve = &solve;
    world->dispatch(contact);
    contact->_solve = nullptr;
}

void PhysicsWorld::onSeparate(cpArbiter* arbiter, cpSpace*, void* data) {
    auto* world = static_cast<PhysicsWorld*>(data);
    auto* contact = static_cast<PhysicsContact*>(cpArbiterGetUserData(arbiter));
    if (!contact) return;
    cpArbiterSetUserData(arbiter, nullptr);
    if (contact->_notified) {
        contact->setEventCode(PhysicsContact::EventCode::SEPARATE);
        world->dispatch(contact);
    }
    world->_contacts.erase(contact);
    contact->release();
}

// ---- Queries

namespace {

struct QueryState {
    QueryState(PhysicsWorld* w, const void* f, void* d) : world(w), func(f), data(d) {}
    PhysicsWorld* world;
    const void* func;
    void* data;
    bool stopped = false;
    std::vector<PhysicsShape*> seen;  // a shape of several parts is reported once

    bool firstTime(PhysicsShape* shape) {
        if (stopped || !shape || std::find(seen.begin(), seen.end(), shape) != seen.end()) return false;
        seen.push_back(shape);
        return true;
    }
};

void pointHit(cpShape* cp, cpVect, cpFloat, cpVect, void* data) {
    auto* state = static_cast<QueryState*>(data);
    PhysicsShape* shape = PhysicsShape::fromCp(cp);
    if (!state->firstTime(shape)) return;
    const auto& func = *static_cast<const PhysicsQueryPointCallbackFunc*>(state->func);
    if (!func(*state->world, *shape, state->data)) state->stopped = true;
}

void rectHit(cpShape* cp, void* data) {
    auto* state = static_cast<QueryState*>(data);
    PhysicsShape* shape = PhysicsShape::fromCp(cp);
    if (!state->firstTime(shape)) return;
    const auto& func = *static_cast<const PhysicsQueryRectCallbackFunc*>(state->func);
    if (!func(*state->world, *shape, state->data)) state->stopped = true;
}

struct RayState {
    RayState(QueryState q, const Vec2& s, const Vec2& e) : query(std::move(q)), start(s), end(e) {}
    QueryState query;
    Vec2 start, end;
};

void rayHit(cpShape* cp, cpVect point, cpVect normal, cpFloat alpha, void* data) {
    auto* state = static_cast<RayState*>(data);
    PhysicsShape* shape = PhysicsShape::fromCp(cp);
    if (state->query.stopped || !shape) return;
    PhysicsRayCastInfo info;
    info.shape = shape;
    info.start = state->start;
    info.end = state->end;
    info.contact = vec2(point);
    info.normal = vec2(normal);
    info.fraction = static_cast<float>(alpha);
    info.data = state->query.data;
    const auto& func = *static_cast<const PhysicsRayCastCallbackFunc*>(state->query.func);
    if (!func(*state->query.world, info, state->query.data)) state->query.stopped = true;
}

}  // namespace

void PhysicsWorld::queryPoint(const PhysicsQueryPointCallbackFunc& func, const Vec2& point, void* data) {
    if (!func) return;
    Scene* scene = _scene;
    scene->retain();
    {
        Busy busy(this);
        QueryState state(this, &func, data);
        cpSpacePointQuery(_space, cpv2(point), 0, CP_SHAPE_FILTER_ALL, pointHit, &state);
    }
    scene->release();
}

void PhysicsWorld::queryRect(const PhysicsQueryRectCallbackFunc& func, const Rect& rect, void* data) {
    if (!func) return;
    Scene* scene = _scene;
    scene->retain();
    {
        Busy busy(this);
        QueryState state(this, &func, data);
        const cpBB box = cpBBNew(rect.getMinX(), rect.getMinY(), rect.getMaxX(), rect.getMaxY());
        cpSpaceBBQuery(_space, box, CP_SHAPE_FILTER_ALL, rectHit, &state);
    }
    scene->release();
}

void PhysicsWorld::rayCast(const PhysicsRayCastCallbackFunc& func, const Vec2& start, const Vec2& end, void* data) {
    if (!func || start == end) return;
    Scene* scene = _scene;
    scene->retain();
    {
        Busy busy(this);
        RayState state(QueryState(this, &func, data), start, end);
        cpSpaceSegmentQuery(_space, cpv2(start), cpv2(end), 0, CP_SHAPE_FILTER_ALL, rayHit, &state);
    }
    scene->release();
}

Vector<PhysicsShape*> PhysicsWorld::getShapes(const Vec2& point) const {
    Vector<PhysicsShape*> shapes;
    auto collect = [](cpShape* cp, cpVect, cpFloat, cpVect, void* data) {
        PhysicsShape* shape = PhysicsShape::fromCp(cp);
        auto* out = static_cast<Vector<PhysicsShape*>*>(data);
        if (shape && !out->contains(shape)) out->pushBack(shape);
    };
    cpSpacePointQuery(_space, cpv2(point), 0, CP_SHAPE_FILTER_ALL, collect, &shapes);
    return shapes;
}

PhysicsShape* PhysicsWorld::getShape(const Vec2& point) const {
    cpShape* cp = cpSpacePointQueryNearest(_space, cpv2(point), 0, CP_SHAPE_FILTER_ALL, nullptr);
    return cp ? PhysicsShape::fromCp(cp) : nullptr;
}

}  // namespace engine
