// The scene's side of the 3D physics world: its debug camera.
#include "engine/scene/Camera.h"
#include "engine/scene/Scene.h"

namespace engine {

void Scene::setPhysics3DDebugCamera(Camera* camera) {
    if (camera == _physics3DDebugCamera) return;
    if (camera) camera->retain();
    if (_physics3DDebugCamera) _physics3DDebugCamera->release();
    _physics3DDebugCamera = camera;
}

}  // namespace engine
