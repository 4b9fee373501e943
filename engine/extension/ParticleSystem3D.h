#pragma once
// The 3D particle system: an emitter makes particles into the system's pool,
// affectors change every live particle each frame, and a render draws them.
// While running, each update ages the particles (a particle whose time to live
// runs out is freed), lets the emitter emit (never beyond the particle quota)
// and the affectors act. Paused, nothing changes; stopped, the pool is emptied.
// Particles live in the system's space when kept local, else in the world at
// the place they were emitted. Scripts also reach the pool and walk its live
// particles.
//
// A pool owns its particle records: createData makes one live (reusing a freed
// record first), removeData and removeAllDatas free them. Main thread only.
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/renderer/QuadCommand.h"
#include "engine/scene/Node.h"

namespace engine {

struct Particle3D {
    Vec3 position;
    Vec3 direction;                // units a second
    Color4F color{1, 1, 1, 1};
    float width = 1, height = 1;   // the drawn quad, in points
    float timeToLive = 0;          // seconds left
    float totalTimeToLive = 0;     // seconds at emission
};

class ParticlePool {
public:
    ParticlePool() = default;
    ~ParticlePool();
    ParticlePool(const ParticlePool&) = delete;
    ParticlePool& operator=(const ParticlePool&) = delete;

    Particle3D* createData();
    // Frees one live particle (nothing for one that is not live).
    void removeData(Particle3D* particle);
    void removeAllDatas();
    bool empty() const { return _active.empty(); }
    // The live particles, oldest first.
    const std::vector<Particle3D*>& getActiveDataList() const { return _active; }

private:
    std::vector<Particle3D*> _active;
    std::vector<Particle3D*> _free;
};

class ParticleSystem3D;

// Makes particles. The base emits none; emitters set their particles up in initParticle.
class Particle3DEmitter : public Ref {
public:
    // The particles to emit after dt seconds (called by the system while running).
    virtual int calculateRequestedParticles(float dt) { (void)dt; return 0; }
    virtual void initParticle(Particle3D* particle) { (void)particle; }
    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    ParticleSystem3D* getParticleSystem() const { return _system; }
    // Set by the system that takes the emitter (not retained).
    void setParticleSystem(ParticleSystem3D* system) { _system = system; }

protected:
    Particle3DEmitter() = default;

private:
    ParticleSystem3D* _system = nullptr;
    bool _enabled = true;
};

// Changes live particles. The base moves each along its direction.
class Particle3DAffector : public Ref {
public:
    virtual void updateAffector(Particle3D* particle, float dt);
    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    ParticleSystem3D* getParticleSystem() const { return _system; }
    void setParticleSystem(ParticleSystem3D* system) { _system = system; }

protected:
    Particle3DAffector() = default;

private:
    ParticleSystem3D* _system = nullptr;
    bool _enabled = true;
};

// Draws live particles: one quad each, facing the viewer, in the particle's
// colour and size, over the render's texture (plain colour without one).
class Particle3DRender : public Ref {
public:
    static Particle3DRender* create();   // autoreleased
    ~Particle3DRender() override;
    virtual void render(Renderer* renderer, const Mat4& transform, ParticleSystem3D* system);
    void setVisible(bool visible) { _visible = visible; }
    bool isVisible() const { return _visible; }
    void setTexture(Texture2D* texture);   // retained
    Texture2D* getTexture() const { return _texture; }
    void setDepthTest(bool enabled) { _depthTest = enabled; }
    bool isDepthTest() const { return _depthTest; }
    void setDepthWrite(bool enabled) { _depthWrite = enabled; }
    bool isDepthWrite() const { return _depthWrite; }
    const QuadCommand& getQuadCommand() const { return _quad; }

protected:
    Particle3DRender() = default;

private:
    bool _visible = true;
    bool _depthTest = true;
    bool _depthWrite = false;
    Texture2D* _texture = nullptr;
    QuadCommand _quad;
};

class ParticleSystem3D : public Node, public BlendProtocol {
public:
    // States as scripts number them.
    enum class State { STOP = 0, RUNNING = 1, PAUSE = 2 };

    static ParticleSystem3D* create();
    ~ParticleSystem3D() override;
    ParticlePool* getParticlePool() { return &_particlePool; }

    virtual void startParticleSystem();
    // Frees every particle.
    virtual void stopParticleSystem();
    virtual void pauseParticleSystem();
    virtual void resumeParticleSystem();
    State getState() const { return _state; }

    // Retained; the system becomes theirs (and no longer the parts' it lets go).
    void setEmitter(Particle3DEmitter* emitter);
    Particle3DEmitter* getEmitter() const { return _emitter; }
    void addAffector(Particle3DAffector* affector);
    void removeAffector(int index);
    void removeAllAffector();
    Particle3DAffector* getAffector(int index) const;   // null out of range
    int getAffectorCount() const { return static_cast<int>(_affectors.size()); }
    void setRender(Particle3DRender* render);
    Particle3DRender* getRender() const { return _render; }

    // The most particles alive at once.
    void setParticleQuota(unsigned int quota) { _particleQuota = quota; }
    unsigned int getParticleQuota() const { return _particleQuota; }
    virtual int getAliveParticleCount() const { return static_cast<int>(_particlePool.getActiveDataList().size()); }
    void setKeepLocal(bool keepLocal) { _keepLocal = keepLocal; }
    bool isKeepLocal() const { return _keepLocal; }
    void setEnabled(bool enabled) { _isEnabled = enabled; }
    bool isEnabled() const { return _isEnabled; }

    void setBlendFunc(const BlendFunc& blendFunc) override { _blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const override { return _blendFunc; }

    void update(float delta) override;
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    ParticleSystem3D() = default;
    // Called for each particle emitted (set up) and for each one freed.
    virtual void onParticleEmitted(Particle3D* particle) { (void)particle; }
    virtual void onParticleExpired(Particle3D* particle) { (void)particle; }
    // Emits up to count particles of the emitter (within the quota); returns how many.
    int emitParticles(Particle3DEmitter* emitter, int count);
    // Ages the particles and frees those whose time ran out.
    void expireParticles(float delta);

    State _state = State::STOP;

private:
    ParticlePool _particlePool;
    Particle3DEmitter* _emitter = nullptr;
    std::vector<Particle3DAffector*> _affectors;
    Particle3DRender* _render = nullptr;
    unsigned int _particleQuota = 500;
    bool _keepLocal = false;
    bool _isEnabled = true;
    BlendFunc _blendFunc = BlendFunc::ALPHA_NON_PREMULTIPLIED;
};

}  // namespace engine
