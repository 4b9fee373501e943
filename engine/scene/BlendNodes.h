#pragma once
// Nodes that draw with a blend function of their own and stand in, headless,
// for the particle batch node, the motion streak and the sprite batch node: they keep children and a blend function and draw
// nothing themselves: their particles, trails and atlas quads are not built, so
// only their children show.
#include <string>
#include <vector>

#include "engine/renderer/RenderRecords.h"
#include "engine/scene/Node.h"

namespace engine {

class Sprite;

template <class Self>
class BlendNode : public Node, public BlendProtocol {
public:
    // A new node, autoreleased.
    static Self* create() { return autoreleased(new Self, true); }
    // (The particle system, engine/scene/ParticleSystem.h, and the atlas node,
    // engine/scene/AtlasNode.h, are ones too.)
    void setBlendFunc(const BlendFunc& blendFunc) override { _blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const override { return _blendFunc; }

protected:
    BlendNode() = default;

private:
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
};

class ParticleBatchNode : public BlendNode<ParticleBatchNode> {};
class MotionStreak : public BlendNode<MotionStreak> {};

class SpriteBatchNode : public BlendNode<SpriteBatchNode> {
public:
    // The sprites among its descendants, depth first in child order.
    std::vector<Sprite*> getDescendants() const;
};

}  // namespace engine
