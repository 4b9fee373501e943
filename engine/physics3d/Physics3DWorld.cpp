#include "engine/physics3d/Physics3DWorld.h"

#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <cmath>

#include "engine/physics3d/BulletConversions.h"
#include "engine/physics3d/Physics3DComponent.h"
#include "engine/physics3d/Physics3DConstraint.h"
#include "engine/physics3d/Physics3DObject.h"
#include "engine/physics3d/Physics3DShape.h"

namespace engine {

namespace {
constexpr float kFixedTimeStep = 1.f / 60.f;
constexpr int kMaxSubSteps = 10;

Physics3DObject* objectOf(const btCollisionObject* object) {
    return object ? static_cast<Physics3DObject*>(object->getUserPointer()) : nullptr;
}

template <class T>
bool eraseOne(std::vector<T*>& list, T* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}
}  // namespace

Physics3DWorld::Physics3DWorld() = default;

Physics3DWorld* Physics3DWorld::create(Physics3DWorldDes* info) {
    auto* world = new Physics3DWorld;
    world->init(info ? *info : Physics3DWorldDes());
    world->autorelease();
    return world;
}

bool Physics3DWorld::init(const Physics3DWorldDes& info) {
    _configuration = std::make_unique<btDefaultCollisionConfiguration>();
    _dispatcher = std::make_unique<btCollisionDispatcher>(_configuration.get());
    _broadphase = std::make_unique<btDbvtBroadphase>();
    _solver = std::make_unique<btSequentialImpulseConstraintSolver>();
    _btWorld = std::make_unique<btDiscreteDynamicsWorld>(_dispatcher.get(), _broadphase.get(), _solver.get(),
                                                         _configuration.get());
    _btWorld->setGravity(toBullet(info.gravity));
    _debugDrawEnabled = info.isDebugDrawEnabled;
    return true;
}

Physics3DWorld::~Physics3DWorld() {
    for (Physics3DComponent* component : _components) component->worldGone(this);
    _components.clear();
    removeAllPhysics3DConstraints();
    removeAllPhysics3DObjects();
}

void Physics3DWorld::setGravity(const Vec3& gravity) { _btWorld->setGravity(toBullet(gravity)); }
Vec3 Physics3DWorld::getGravity() const { return fromBullet(_btWorld->getGravity()); }

void Physics3DWorld::addPhysics3DObject(Physics3DObject* physicsObj) {
    if (!physicsObj || physicsObj->_physicsWorld) return;
    if (physicsObj->getObjType() == Physics3DObject::PhysicsObjType::RIGID_BODY) {
        auto* body = static_cast<Physics3DRigidBody*>(physicsObj);
        const int mask = static_cast<int>(physicsObj->getMask());
        _btWorld->addRigidBody(body->getRigidBody(), btBroadphaseProxy::DefaultFilter, mask);
    }
    physicsObj->retain();
    physicsObj->_physicsWorld = this;
    _objects.push_back(physicsObj);
    if (physicsObj->needCollisionCallback()) _needCollisionChecking = true;
}

void Physics3DWorld::removePhysics3DObject(Physics3DObject* physicsObj) {
    if (!physicsObj || physicsObj->_physicsWorld != this) return;
    if (physicsObj->getObjType() == Physics3DObject::PhysicsObjType::RIGID_BODY) {
        _btWorld->removeRigidBody(static_cast<Physics3DRigidBody*>(physicsObj)->getRigidBody());
    }
    physicsObj->_physicsWorld = nullptr;
    if (eraseOne(_objects, physicsObj)) physicsObj->release();
}

void Physics3DWorld::removeAllPhysics3DObjects() {
    while (!_objects.empty()) removePhysics3DObject(_objects.back());
}

void Physics3DWorld::addPhysics3DConstraint(Physics3DConstraint* constraint, bool disableCollisionsBetweenLinkedObjs) {
    if (!constraint || std::find(_constraints.begin(), _constraints.end(), constraint) != _constraints.end()) return;
    _btWorld->addConstraint(constraint->getbtContraint(), disableCollisionsBetweenLinkedObjs);
    constraint->retain();
    _constraints.push_back(constraint);
}

void Physics3DWorld::removePhysics3DConstraint(Physics3DConstraint* constraint) {
    if (!constraint || !eraseOne(_constraints, constraint)) return;
    _btWorld->removeConstraint(constraint->getbtContraint());
    // A body the constraint held at rest moves again on its own.
    for (Physics3DRigidBody* body : {constraint->getBodyA(), constraint->getBodyB()}) {
        if (body) body->getRigidBody()->activate(true);
    }
    constraint->release();
}

void Physics3DWorld::removeAllPhysics3DConstraints() {
    while (!_constraints.empty()) removePhysics3DConstraint(_constraints.back());
}

void Physics3DWorld::addPhysics3DComponent(Physics3DComponent* component) {
    if (component && std::find(_components.begin(), _components.end(), component) == _components.end()) {
        _components.push_back(component);
    }
}

void Physics3DWorld::removePhysics3DComponent(Physics3DComponent* component) { eraseOne(_components, component); }

void Physics3DWorld::stepSimulate(float dt) {
    // Bullet keeps the time it has not stepped yet: one bad value would spoil it for good.
    if (!(dt > 0.f) || !std::isfinite(dt)) return;
    // By index: a component only moves its node here, no script runs.
    for (size_t i = 0; i < _components.size(); ++i) _components[i]->preSimulate();
    _btWorld->stepSimulation(dt, kMaxSubSteps, kFixedTimeStep);
    if (_needCollisionChecking) collisionChecking();
    for (size_t i = 0; i < _components.size(); ++i) _components[i]->postSimulate();
}

void Physics3DWorld::collisionChecking() {
    // The pairs are read first: a callback may change the world (and its pairs).
    std::vector<Physics3DCollisionInfo> collisions;
    const int manifolds = _dispatcher->getNumManifolds();
    for (int i = 0; i < manifolds; ++i) {
        const btPersistentManifold* manifold = _dispatcher->getManifoldByIndexInternal(i);
        Physics3DObject* objA = objectOf(manifold->getBody0());
        Physics3DObject* objB = objectOf(manifold->getBody1());
        if (!objA || !objB || (!objA->needCollisionCallback() && !objB->needCollisionCallback())) continue;
        Physics3DCollisionInfo info;
        info.objA = objA;
        info.objB = objB;
        const int points = manifold->getNumContacts();
        info.collisionPointList.reserve(points);
        for (int j = 0; j < points; ++j) {
            const btManifoldPoint& point = manifold->getContactPoint(j);
            info.collisionPointList.push_back({fromBullet(point.m_localPointA), fromBullet(point.getPositionWorldOnA()),
                                               fromBullet(point.m_localPointB), fromBullet(point.getPositionWorldOnB()),
                                               fromBullet(point.m_normalWorldOnB)});
        }
        objA->retain();
        objB->retain();
        collisions.push_back(std::move(info));
    }
    for (const Physics3DCollisionInfo& info : collisions) {
        // Copies: a callback may replace itself or the other object's.
        if (auto callback = info.objA->getCollisionCallback()) callback(info);
        if (auto callback = info.objB->getCollisionCallback()) callback(info);
    }
    for (const Physics3DCollisionInfo& info : collisions) {
        info.objA->release();
        info.objB->release();
    }
    _needCollisionChecking = std::any_of(_objects.begin(), _objects.end(),
                                         [](Physics3DObject* object) { return object->needCollisionCallback(); });
}

bool Physics3DWorld::rayCast(const Vec3& startPos, const Vec3& endPos, HitResult* result) {
    const btVector3 from = toBullet(startPos), to = toBullet(endPos);
    btCollisionWorld::ClosestRayResultCallback callback(from, to);
    _btWorld->rayTest(from, to, callback);
    if (!callback.hasHit()) return false;
    if (result) {
        result->hitPosition = fromBullet(callback.m_hitPointWorld);
        result->hitNormal = fromBullet(callback.m_hitNormalWorld);
        result->hitObj = objectOf(callback.m_collisionObject);
    }
    return true;
}

bool Physics3DWorld::sweepShape(Physics3DShape* shape, const Mat4& startTransform, const Mat4& endTransform,
                                HitResult* result) {
    if (!shape || !shape->getbtShape() || !shape->getbtShape()->isConvex()) return false;
    const btTransform from = toBullet(startTransform), to = toBullet(endTransform);
    btCollisionWorld::ClosestConvexResultCallback callback(from.getOrigin(), to.getOrigin());
    _btWorld->convexSweepTest(static_cast<btConvexShape*>(shape->getbtShape()), from, to, callback);
    if (!callback.hasHit()) return false;
    if (result) {
        result->hitPosition = fromBullet(callback.m_hitPointWorld);
        result->hitNormal = fromBullet(callback.m_hitNormalWorld);
        result->hitObj = objectOf(callback.m_hitCollisionObject);
    }
    return true;
}

}  // namespace engine
