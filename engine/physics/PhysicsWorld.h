#pragma once
// The 2D physics world of a scene (Scene::createWithPhysics): a chipmunk space
// holding the bodies of the scene's nodes and the joints between them.
//
// Stepping: the scene runs update(dt) from the director's scheduler every frame
// while auto step is on. The frame's time, times the speed, is gathered until
// updateRate frames have passed, then simulated in `substeps` equal steps. step()
// advances by a given time at once. Around the steps bodies follow their nodes
// (PhysicsBody).
//
// While the world steps or queries (callbacks run then), adding or removing
// bodies and joints is deferred to the end of that step or query; a listener
// may remove bodies, nodes or the scene itself: the scene is kept alive until
// the frame's step has ended. Queries call the callback for each hit until it
// answers false. The world is not reference counted: its scene owns it.
// Main thread only.
#include <functional>
#include <unordered_set>
#include <vector>

#include "engine/base/Types.h"
#include "engine/base/Vector.h"
#include "engine/physics/PhysicsBody.h"
#include "engine/physics/PhysicsJoint.h"
#include "engine/physics/PhysicsRecords.h"
#include "engine/physics/PhysicsShape.h"

struct cpSpace;
struct cpArbiter;

namespace engine {

class PhysicsContact;
class Scene;

class PhysicsWorld;
using PhysicsQueryPointCallbackFunc = std::function<bool(PhysicsWorld&, PhysicsShape&, void*)>;
using PhysicsQueryRectCallbackFunc = std::function<bool(PhysicsWorld&, PhysicsShape&, void*)>;
using PhysicsRayCastCallbackFunc = std::function<bool(PhysicsWorld&, const PhysicsRayCastInfo&, void*)>;

class PhysicsWorld {
public:
    static constexpr int DEBUGDRAW_NONE = 0x00;
    static constexpr int DEBUGDRAW_SHAPE = 0x01;
    static constexpr int DEBUGDRAW_JOINT = 0x02;
    static constexpr int DEBUGDRAW_CONTACT = 0x04;
    static constexpr int DEBUGDRAW_ALL = DEBUGDRAW_SHAPE | DEBUGDRAW_JOINT | DEBUGDRAW_CONTACT;

    explicit PhysicsWorld(Scene* scene);
    ~PhysicsWorld();
    PhysicsWorld(const PhysicsWorld&) = delete;
    PhysicsWorld& operator=(const PhysicsWorld&) = delete;

    Scene& getScene() const { return *_scene; }

    // A body joins once (a body of another world leaves that one first).
    void addBody(PhysicsBody* body);
    void removeBody(PhysicsBody* body);
    void removeBody(int tag);
    void removeAllBodies();
    const Vector<PhysicsBody*>& getAllBodies() const { return _bodies; }
    PhysicsBody* getBody(int tag) const;

    // Takes the joint over; false (and nothing done) for a joint without bodies
    // or of another world.
    bool addJoint(PhysicsJoint* joint);
    void removeJoint(PhysicsJoint* joint, bool destroy = true);
    void removeAllJoints(bool destroy = true);
    const std::vector<PhysicsJoint*>& getAllJoints() const { return _joints; }

    void queryPoint(const PhysicsQueryPointCallbackFunc& func, const Vec2& point, void* data);
    void queryRect(const PhysicsQueryRectCallbackFunc& func, const Rect& rect, void* data);
    void rayCast(const PhysicsRayCastCallbackFunc& func, const Vec2& start, const Vec2& end, void* data);
    // The shapes under a point (the top-most first is not promised).
    Vector<PhysicsShape*> getShapes(const Vec2& point) const;
    PhysicsShape* getShape(const Vec2& point) const;

    Vec2 getGravity() const { return _gravity; }
    void setGravity(const Vec2& gravity);
    float getSpeed() const { return _speed; }
    void setSpeed(float speed) { _speed = speed >= 0 ? speed : 0; }
    int getUpdateRate() const { return _updateRate; }
    void setUpdateRate(int rate) { _updateRate = rate > 0 ? rate : 1; }
    int getSubsteps() const { return _substeps; }
    void setSubsteps(int steps) { _substeps = steps > 0 ? steps : 1; }
    bool isAutoStep() const { return _autoStep; }
    void setAutoStep(bool autoStep) { _autoStep = autoStep; }
    int getDebugDrawMask() const { return _debugDrawMask; }
    void setDebugDrawMask(int mask) { _debugDrawMask = mask; }

    // The scheduler's entry (see above), and a step of delta seconds.
    void update(float delta);
    void step(float delta);

    cpSpace* cpSpaceHandle() const { return _space; }
    // Runs fn now, or at the end of the current step or query.
    void whenUnlocked(std::function<void()> fn);
    bool isBusy() const { return _busy > 0; }

private:
    friend class PhysicsBody;
    struct Busy;

    void doAddBody(PhysicsBody* body);
    void doRemoveBody(PhysicsBody* body);
    void doAddJoint(PhysicsJoint* joint);
    void doRemoveJoint(PhysicsJoint* joint, bool destroy);
    void addShapeToSpace(PhysicsShape* shape);
    void removeShapeFromSpace(PhysicsShape* shape);
    void runDeferred();
    void syncFromNodes();
    void syncFromNode(PhysicsBody* body);
    void syncToNodes();

    static unsigned char onBegin(cpArbiter* arbiter, cpSpace* space, void* data);
    static unsigned char onPreSolve(cpArbiter* arbiter, cpSpace* space, void* data);
    static void onPostSolve(cpArbiter* arbiter, cpSpace* space, void* data);
    static void onSeparate(cpArbiter* arbiter, cpSpace* space, void* data);
    void dispatch(PhysicsContact* contact);

    Scene* _scene;  // owns the world
    cpSpace* _space = nullptr;
    Vector<PhysicsBody*> _bodies;
    std::vector<PhysicsJoint*> _joints;
    std::unordered_set<PhysicsContact*> _contacts;
    std::vector<std::function<void()>> _deferred;
    Vec2 _gravity{0.f, -98.f};
    float _speed = 1.f;
    int _updateRate = 1;
    int _updateRateCount = 0;
    float _updateTime = 0.f;
    int _substeps = 1;
    bool _autoStep = true;
    int _debugDrawMask = DEBUGDRAW_NONE;
    int _busy = 0;
    bool _destroying = false;
    bool _runningDeferred = false;
};

}  // namespace engine
