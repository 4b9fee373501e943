#include "engine/scene/Component.h"

namespace engine {

Component* Component::create() {
    auto* component = new Component;
    if (!component->init()) {
        delete component;
        return nullptr;
    }
    component->autorelease();
    return component;
}

}  // namespace engine
