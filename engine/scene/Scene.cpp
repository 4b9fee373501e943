#include "engine/scene/Scene.h"

#include "engine/base/Director.h"

namespace engine {

Scene* Scene::create() {
    auto* scene = new Scene;
    if (!scene->init()) {
        delete scene;
        return nullptr;
    }
    scene->autorelease();
    return scene;
}

bool Scene::init() {
    setContentSize(Director::getInstance()->getWinSize());
    return true;
}

}  // namespace engine
