#pragma once
// Nodes that draw with a blend function of their own and stand in, headless,
// for the particle system, its batch node, the motion streak, the atlas node
// and the sprite batch node: they keep children and a blend function and draw
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
    void setBlendFunc(const BlendFunc& blendFunc) override { _blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const override { return _blendFunc; }

protected:
    BlendNode() = default;

private:
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
};

class ParticleSystem : public BlendNode<ParticleSystem> {};

// The quad particle system, headless: it keeps the configuration it was made
// with (the particle file's name, the particle count, the emission's duration
// in seconds, -1 without end) and emits nothing.
class ParticleSystemQuad : public ParticleSystem {
public:
    // Autoreleased.
    static ParticleSystemQuad* create();
    static ParticleSystemQuad* create(const std::string& file);

    const std::string& getFile() const { return _file; }
    void setTotalParticles(int count) { _totalParticles = count > 0 ? count : 0; }
    int getTotalParticles() const { return _totalParticles; }
    void setDuration(float duration) { _duration = duration; }
    float getDuration() const { return _duration; }

private:
    std::string _file;
    int _totalParticles = 0;
    float _duration = -1.f;
};
class ParticleBatchNode : public BlendNode<ParticleBatchNode> {};
class MotionStreak : public BlendNode<MotionStreak> {};
class AtlasNode : public BlendNode<AtlasNode> {};

class SpriteBatchNode : public BlendNode<SpriteBatchNode> {
public:
    // The sprites among its descendants, depth first in child order.
    std::vector<Sprite*> getDescendants() const;
};

}  // namespace engine
