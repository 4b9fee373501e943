// The scene's navigation mesh: held, and stepped by the scheduler while the scene runs.
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/navmesh/NavMesh.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Scene.h"

namespace engine {

namespace {
const char* const kNavMeshStepKey = "__navmesh_step";
}

void Scene::setNavMesh(NavMesh* navMesh) {
    if (navMesh == _navMesh) return;
    Scheduler* scheduler = Director::getInstance()->getScheduler();
    if (navMesh) navMesh->retain();
    if (_navMesh) {
        scheduler->unschedule(kNavMeshStepKey, this);
        _navMesh->release();
    }
    _navMesh = navMesh;
    if (_navMesh) {
        scheduler->schedule(
            [this](float delta) {
                if (_navMesh) _navMesh->update(delta);
            },
            this, 0.f, !isRunning(), kNavMeshStepKey);
    }
}

void Scene::setNavMeshDebugCamera(Camera* camera) {
    if (camera == _navMeshDebugCamera) return;
    if (camera) camera->retain();
    if (_navMeshDebugCamera) _navMeshDebugCamera->release();
    _navMeshDebugCamera = camera;
}

}  // namespace engine
