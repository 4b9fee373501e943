// The scene's navigation mesh: held, and stepped by the scheduler while the scene runs.
#include <functional>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/navmesh/NavMesh.h"
#include "engine/navmesh/NavMeshAgent.h"
#include "engine/navmesh/NavMeshObstacle.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Component.h"
#include "engine/scene/Scene.h"

namespace engine {

namespace {

const char* const kNavMeshStepKey = "__navmesh_step";

// Every navigation component on the node and below it.
void forEachMember(Node* node, const std::function<void(Node*, Component*)>& visit) {
    for (Component* component : node->getComponents()) {
        if (dynamic_cast<NavMeshAgent*>(component) || dynamic_cast<NavMeshObstacle*>(component)) {
            visit(node, component);
        }
    }
    for (Node* child : node->getChildren()) forEachMember(child, visit);
}

}  // namespace

// Members already in the running scene move from the old mesh to the new one.
void Scene::setNavMesh(NavMesh* navMesh) {
    if (navMesh == _navMesh) return;
    Scheduler* scheduler = Director::getInstance()->getScheduler();
    if (navMesh) navMesh->retain();
    if (_navMesh) {
        scheduler->unschedule(kNavMeshStepKey, this);
        forEachMember(this, [this](Node*, Component* component) {
            if (auto* agent = dynamic_cast<NavMeshAgent*>(component)) {
                _navMesh->removeNavMeshAgent(agent);
            } else {
                _navMesh->removeNavMeshObstacle(static_cast<NavMeshObstacle*>(component));
            }
        });
        _navMesh->release();
    }
    _navMesh = navMesh;
    if (!_navMesh) return;
    scheduler->schedule(
        [this](float delta) {
            if (_navMesh) _navMesh->update(delta);
        },
        this, 0.f, !isRunning(), kNavMeshStepKey);
    forEachMember(this, [this](Node* node, Component* component) {
        if (!node->isRunning()) return;
        if (auto* agent = dynamic_cast<NavMeshAgent*>(component)) {
            _navMesh->addNavMeshAgent(agent);
        } else {
            _navMesh->addNavMeshObstacle(static_cast<NavMeshObstacle*>(component));
        }
    });
}

void Scene::setNavMeshDebugCamera(Camera* camera) {
    if (camera == _navMeshDebugCamera) return;
    if (camera) camera->retain();
    if (_navMeshDebugCamera) _navMeshDebugCamera->release();
    _navMeshDebugCamera = camera;
}

}  // namespace engine
