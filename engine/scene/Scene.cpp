#include "engine/scene/Scene.h"

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/physics3d/Physics3DWorld.h"
#include "engine/scene/Camera.h"

namespace engine {

namespace {
const char* const kPhysicsStepKey = "__physics_step";
}

Scene* Scene::create() {
    auto* scene = new Scene;
    if (!scene->init()) {
        delete scene;
        return nullptr;
    }
    scene->autorelease();
    return scene;
}

Scene* Scene::createWithPhysics() {
    auto* scene = new Scene;
    if (!scene->initWithPhysics()) {
        delete scene;
        return nullptr;
    }
    scene->autorelease();
    return scene;
}

Scene::~Scene() {
    setNavMesh(nullptr);
    setNavMeshDebugCamera(nullptr);
    if (_physicsWorld) Director::getInstance()->getScheduler()->unschedule(kPhysicsStepKey, this);
    // Before the children go: their bodies leave the world with it.
    PhysicsWorld* world = _physicsWorld;
    _physicsWorld = nullptr;
    delete world;
    if (_physics3DWorld) _physics3DWorld->release();
    _physics3DWorld = nullptr;
    if (_physics3DDebugCamera) _physics3DDebugCamera->release();
    _physics3DDebugCamera = nullptr;
}

bool Scene::init() {
    setContentSize(Director::getInstance()->getWinSize());
    return true;
}

bool Scene::initWithPhysics() {
    if (!init()) return false;
    _physicsWorld = new PhysicsWorld(this);
    Physics3DWorldDes des;
    _physics3DWorld = Physics3DWorld::create(&des);
    _physics3DWorld->retain();
    // Paused until the scene runs, like everything a node schedules.
    Director::getInstance()->getScheduler()->schedule(
        [this](float delta) {
            if (_physicsWorld) _physicsWorld->update(delta);
            if (_physics3DWorld) _physics3DWorld->stepSimulate(delta);
        },
        this, 0.f, !isRunning(), kPhysicsStepKey);
    return true;
}

}  // namespace engine
