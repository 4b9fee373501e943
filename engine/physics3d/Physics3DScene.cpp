// The scene's side of the 3D physics world: its debug camera.
#include "engine/scene/Camera.h"
#include "engine/scene/Scene.h"

namespace engine {

void Scene::setPhysics3DDebugCamera(Camera* camera) { assignRetained(_physics3DDebugCamera, camera); }

}  // namespace engine
