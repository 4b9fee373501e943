// 2D physics stepping: 120 steps of 1/60 s of a world of 500 boxes (10 x 10,
// density 0.1, in a grid 20 wide) falling onto an edge, through the scene's
// PhysicsWorld with every body on a node (nodes follow their bodies after each
// step), against cpSpaceStep on a chipmunk space built alike (same bodies,
// shapes, materials, gravity and edge). Building the world is not timed; both
// sides check where the first box ended.
#include <benchmark/benchmark.h>

#include <chipmunk/chipmunk.h>

#include <algorithm>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/physics/PhysicsBody.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/scene/Scene.h"

namespace {

constexpr int kBoxes = 500;
constexpr int kColumns = 20;
constexpr int kSteps = 120;
constexpr float kStep = 1.0f / 60;
constexpr float kSide = 10;
constexpr float kDensity = 0.1f;
constexpr float kRestitution = 0.5f;
constexpr float kFriction = 0.5f;

// Where box i starts: a grid above the edge at y = 0.
engine::Vec2 boxPlace(int i) { return engine::Vec2(-200 + (i % kColumns) * 20.f, 20 + (i / kColumns) * 15.f); }

void BM_physics2d_step_vs_chipmunk_ours(benchmark::State& state) {
    const engine::PhysicsMaterial material{kDensity, kRestitution, kFriction};
    for (auto _ : state) {
        state.PauseTiming();
        engine::Scene* scene = engine::Scene::createWithPhysics();
        scene->retain();
        engine::PhysicsWorld* world = scene->getPhysicsWorld();
        world->setAutoStep(false);
        engine::Node* ground = engine::Node::create();
        ground->setPhysicsBody(engine::PhysicsBody::createEdgeSegment(engine::Vec2(-400, 0), engine::Vec2(400, 0), material));
        scene->addChild(ground);
        engine::Node* first = nullptr;
        for (int i = 0; i < kBoxes; ++i) {
            engine::Node* node = engine::Node::create();
            node->setPosition(boxPlace(i));
            node->setPhysicsBody(engine::PhysicsBody::createBox(engine::Size(kSide, kSide), material));
            scene->addChild(node);
            if (!first) first = node;
        }
        scene->onEnter();
        state.ResumeTiming();

        for (int i = 0; i < kSteps; ++i) world->step(kStep);

        state.PauseTiming();
        if (first->getPositionY() >= boxPlace(0).y) state.SkipWithError("the boxes did not fall");
        scene->onExit();
        scene->release();
        engine::AutoreleasePool::getInstance()->clear();
        state.ResumeTiming();
    }
}

void BM_physics2d_step_vs_chipmunk_baseline(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        cpSpace* space = cpSpaceNew();
        cpSpaceSetGravity(space, cpv(0, -98));
        cpBody* groundBody = cpBodyNewKinematic();
        cpSpaceAddBody(space, groundBody);
        cpShape* edge = cpSegmentShapeNew(groundBody, cpv(-400, 0), cpv(400, 0), 1);
        cpShapeSetElasticity(edge, kRestitution);
        cpShapeSetFriction(edge, kFriction);
        cpSpaceAddShape(space, edge);
        const float mass = kDensity * kSide * kSide;
        cpBody* first = nullptr;
        for (int i = 0; i < kBoxes; ++i) {
            cpBody* body = cpBodyNew(mass, cpMomentForBox(mass, kSide, kSide));
            const engine::Vec2 place = boxPlace(i);
            cpBodySetPosition(body, cpv(place.x, place.y));
            cpSpaceAddBody(space, body);
            cpShape* box = cpBoxShapeNew(body, kSide, kSide, 0);
            cpShapeSetElasticity(box, kRestitution);
            cpShapeSetFriction(box, kFriction);
            cpSpaceAddShape(space, box);
            if (!first) first = body;
        }
        state.ResumeTiming();

        for (int i = 0; i < kSteps; ++i) cpSpaceStep(space, kStep);

        state.PauseTiming();
        if (cpBodyGetPosition(first).y >= boxPlace(0).y) state.SkipWithError("the boxes did not fall");
        // The space goes first: its end still touches its bodies.
        std::vector<cpShape*> shapes;
        std::vector<cpBody*> bodies;
        cpSpaceEachShape(space, [](cpShape* shape, void* out) { static_cast<std::vector<cpShape*>*>(out)->push_back(shape); }, &shapes);
        cpSpaceEachBody(space, [](cpBody* body, void* out) { static_cast<std::vector<cpBody*>*>(out)->push_back(body); }, &bodies);
        cpSpaceFree(space);
        for (cpShape* shape : shapes) cpShapeFree(shape);
        if (std::find(bodies.begin(), bodies.end(), groundBody) == bodies.end()) bodies.push_back(groundBody);
        for (cpBody* body : bodies) cpBodyFree(body);
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_physics2d_step_vs_chipmunk_ours)->Name("BM_physics2d_step_vs_chipmunk/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_physics2d_step_vs_chipmunk_baseline)
    ->Name("BM_physics2d_step_vs_chipmunk/baseline")
    ->Unit(benchmark::kMillisecond);
