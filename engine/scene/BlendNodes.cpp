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

ParticleSystemQuad* ParticleSystemQuad::create() { return autoreleased(new ParticleSystemQuad, true); }

ParticleSystemQuad* ParticleSystemQuad::create(const std::string& file) {
    ParticleSystemQuad* system = create();
    system->_file = file;
    return system;
}

}  // namespace engine
