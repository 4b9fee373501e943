#include "engine/scene/BlendNodes.h"

#include "engine/scene/Sprite.h"

namespace engine {
namespace {
void collectSprites(const Node& node, std::vector<Sprite*>& out) {
    for (Node* child : node.getChildren()) {
        if (auto* sprite = dynamic_cast<Sprite*>(child)) out.push_back(sprite);
        collectSprites(*child, out);
    }
}
}  // namespace

std::vector<Sprite*> SpriteBatchNode::getDescendants() const {
    std::vector<Sprite*> sprites;
    collectSprites(*this, sprites);
    return sprites;
}

}  // namespace engine
