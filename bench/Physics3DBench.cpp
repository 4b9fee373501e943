// 3D physics stepping: 120 steps of 1/60 s of a world of 500 unit boxes (mass 1,
// in layers of 20 x 1, 1.5 apart) falling onto a static ground box, through
// Physics3DWorld::stepSimulate, against stepSimulation on a Bullet world built
// alike (same broadphase, solver, shapes, masses, gravity and sub-steps).
// Building the world is not timed; both sides check that the first box fell.
#include <benchmark/benchmark.h>

#include <btBulletDynamicsCommon.h>

#include <memory>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/physics3d/Physics3DObject.h"
#include "engine/physics3d/Physics3DShape.h"
#include "engine/physics3d/Physics3DWorld.h"

namespace {

constexpr int kBoxes = 500;
constexpr int kColumns = 20;
constexpr int kSteps = 120;
constexpr float kStep = 1.0f / 60;
constexpr int kMaxSubSteps = 10;
constexpr float kGravity = -9.8f;

// Where box i starts: layers above the ground, whose top is at y = 0.
btVector3 boxPlace(int i) { return btVector3(-20 + (i % kColumns) * 2.f, 1 + (i / kColumns) * 1.5f, 0); }

void BM_physics3d_step_vs_bullet_ours(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        engine::Physics3DWorldDes des;
        des.gravity = engine::Vec3(0, kGravity, 0);
        engine::Physics3DWorld* world = engine::Physics3DWorld::create(&des);
        world->retain();
        engine::Physics3DRigidBodyDes ground;
        ground.shape = engine::Physics3DShape::createBox(engine::Vec3(200, 2, 200));
        engine::Mat4::createTranslation(0, -1, 0, &ground.originalTransform);
        world->addPhysics3DObject(engine::Physics3DRigidBody::create(&ground));
        engine::Physics3DShape* box = engine::Physics3DShape::createBox(engine::Vec3(1, 1, 1));
        engine::Physics3DRigidBody* first = nullptr;
        for (int i = 0; i < kBoxes; ++i) {
            engine::Physics3DRigidBodyDes boxDes;
            boxDes.mass = 1;
            boxDes.shape = box;
            btVector3 inertia;
            box->getbtShape()->calculateLocalInertia(1, inertia);
            boxDes.localInertia = engine::Vec3(inertia.x(), inertia.y(), inertia.z());
            const btVector3 place = boxPlace(i);
            engine::Mat4::createTranslation(place.x(), place.y(), place.z(), &boxDes.originalTransform);
            engine::Physics3DRigidBody* body = engine::Physics3DRigidBody::create(&boxDes);
            world->addPhysics3DObject(body);
            if (!first) first = body;
        }
        state.ResumeTiming();

        for (int i = 0; i < kSteps; ++i) world->stepSimulate(kStep);

        state.PauseTiming();
        if (first->getWorldTransform().m[13] >= boxPlace(0).y()) state.SkipWithError("the boxes did not fall");
        world->release();
        engine::AutoreleasePool::getInstance()->clear();
        state.ResumeTiming();
    }
}

void BM_physics3d_step_vs_bullet_baseline(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        btDefaultCollisionConfiguration configuration;
        btCollisionDispatcher dispatcher(&configuration);
        btDbvtBroadphase broadphase;
        btSequentialImpulseConstraintSolver solver;
        auto world = std::make_unique<btDiscreteDynamicsWorld>(&dispatcher, &broadphase, &solver, &configuration);
        world->setGravity(btVector3(0, kGravity, 0));
        btBoxShape groundShape(btVector3(100, 1, 100));
        btBoxShape boxShape(btVector3(0.5f, 0.5f, 0.5f));
        std::vector<std::unique_ptr<btRigidBody>> bodies;
        btRigidBody::btRigidBodyConstructionInfo groundInfo(0, nullptr, &groundShape);
        groundInfo.m_startWorldTransform.setOrigin(btVector3(0, -1, 0));
        bodies.push_back(std::make_unique<btRigidBody>(groundInfo));
        world->addRigidBody(bodies.back().get());
        btVector3 inertia;
        boxShape.calculateLocalInertia(1, inertia);
        for (int i = 0; i < kBoxes; ++i) {
            btRigidBody::btRigidBodyConstructionInfo info(1, nullptr, &boxShape, inertia);
            info.m_startWorldTransform.setOrigin(boxPlace(i));
            bodies.push_back(std::make_unique<btRigidBody>(info));
            world->addRigidBody(bodies.back().get());
        }
        state.ResumeTiming();

        for (int i = 0; i < kSteps; ++i) world->stepSimulation(kStep, kMaxSubSteps, kStep);

        state.PauseTiming();
        if (bodies[1]->getWorldTransform().getOrigin().y() >= boxPlace(0).y()) {
            state.SkipWithError("the boxes did not fall");
        }
        for (auto& body : bodies) world->removeRigidBody(body.get());
        world.reset();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_physics3d_step_vs_bullet_ours)->Name("BM_physics3d_step_vs_bullet/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_physics3d_step_vs_bullet_baseline)
    ->Name("BM_physics3d_step_vs_bullet/baseline")
    ->Unit(benchmark::kMillisecond);
