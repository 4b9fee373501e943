#pragma once
// The root of a scene graph that the director runs. It draws nothing of its own:
// the frame is its nodes.
#include "engine/scene/Node.h"

namespace engine {

class Scene : public Node {
public:
    // A new scene the size of the director's win size, autoreleased.
    static Scene* create();

protected:
    Scene() = default;
    bool init() override;
};

}  // namespace engine
