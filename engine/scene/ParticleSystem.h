#pragma once
// 2D particle systems. A system emits particles from its source position while
// it is active and moves them every frame while it runs (the node's update):
// - emission: emissionRate particles a second (totalParticles / life when not
//   set) up to totalParticles alive at once, for `duration` seconds (-1: no
//   end); when the duration is over the system stops emitting, and once its
//   last particle has died a system with autoRemoveOnFinish leaves its parent;
// - each particle lives life +- lifeVar seconds, starting at sourcePosition +-
//   posVar; its size, colour and spin run from their start to their end values
//   (each +- its variance) over its life;
// - gravity mode: a particle leaves at speed +- speedVar in the direction angle
//   +- angleVar (degrees, counter-clockwise from +x) and accelerates by gravity,
//   by radialAccel away from the source and by tangentialAccel across;
// - radius mode: a particle circles the source at a radius running from
//   startRadius to endRadius, turning rotatePerSecond degrees a second.
// Each particle is drawn as a square of its size centred on its place, in its
// colour, with the system's texture (plain colour without one) and blend
// function; spin is kept but not drawn. getParticleCount and the particle list
// show what it holds. Randomness comes from the system's own generator with a
// fixed seed, so runs repeat.
// The preset systems (fire, smoke, snow...) are systems set up for their look.
// Main thread only.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/renderer/QuadCommand.h"
#include "engine/scene/BlendNodes.h"

namespace engine {

class Texture2D;

class ParticleSystem : public BlendNode<ParticleSystem> {
public:
    enum class Mode : int32_t { GRAVITY = 0, RADIUS = 1 };
    static constexpr float kDurationInfinity = -1.f;
    static constexpr float kStartSizeEqualToEndSize = -1.f;
    static constexpr float kStartRadiusEqualToEndRadius = -1.f;

    struct Particle {
        Vec2 position;   // from the source
        Vec2 direction;  // gravity mode: velocity
        float radialAccel = 0.f, tangentialAccel = 0.f;
        float angle = 0.f, degreesPerSecond = 0.f, radius = 0.f, deltaRadius = 0.f;   // radius mode
        Color4F color, deltaColor;
        float size = 0.f, deltaSize = 0.f;
        float rotation = 0.f, deltaRotation = 0.f;
        float timeToLive = 0.f;
    };

    // A system of up to `count` particles (count 0 is allowed: it emits nothing).
    static ParticleSystem* createWithTotalParticles(int count);

    void setTotalParticles(int count);
    int getTotalParticles() const { return _totalParticles; }
    int getParticleCount() const { return static_cast<int>(_particles.size()); }
    bool isFull() const { return getParticleCount() >= _totalParticles; }
    const std::vector<Particle>& getParticles() const { return _particles; }
    bool isActive() const { return _active; }
    // Emitting again from time 0 (resetSystem also drops the live particles).
    void resetSystem();
    void stopSystem();
    void setAutoRemoveOnFinish(bool value) { _autoRemoveOnFinish = value; }
    bool isAutoRemoveOnFinish() const { return _autoRemoveOnFinish; }
    bool isBlendAdditive() const;
    void setBlendAdditive(bool additive);

#define VEXO_PARTICLE_PROPERTY(Type, Name, member) \
    void set##Name(const Type& value) { member = value; } \
    const Type& get##Name() const { return member; }
    VEXO_PARTICLE_PROPERTY(float, Duration, _duration)
    VEXO_PARTICLE_PROPERTY(Mode, EmitterMode, _mode)
    VEXO_PARTICLE_PROPERTY(Vec2, SourcePosition, _sourcePosition)
    VEXO_PARTICLE_PROPERTY(Vec2, PosVar, _posVar)
    VEXO_PARTICLE_PROPERTY(float, Life, _life)
    VEXO_PARTICLE_PROPERTY(float, LifeVar, _lifeVar)
    VEXO_PARTICLE_PROPERTY(float, Angle, _angle)
    VEXO_PARTICLE_PROPERTY(float, AngleVar, _angleVar)
    VEXO_PARTICLE_PROPERTY(float, StartSize, _startSize)
    VEXO_PARTICLE_PROPERTY(float, StartSizeVar, _startSizeVar)
    VEXO_PARTICLE_PROPERTY(float, EndSize, _endSize)
    VEXO_PARTICLE_PROPERTY(float, EndSizeVar, _endSizeVar)
    VEXO_PARTICLE_PROPERTY(Color4F, StartColor, _startColor)
    VEXO_PARTICLE_PROPERTY(Color4F, StartColorVar, _startColorVar)
    VEXO_PARTICLE_PROPERTY(Color4F, EndColor, _endColor)
    VEXO_PARTICLE_PROPERTY(Color4F, EndColorVar, _endColorVar)
    VEXO_PARTICLE_PROPERTY(float, StartSpin, _startSpin)
    VEXO_PARTICLE_PROPERTY(float, StartSpinVar, _startSpinVar)
    VEXO_PARTICLE_PROPERTY(float, EndSpin, _endSpin)
    VEXO_PARTICLE_PROPERTY(float, EndSpinVar, _endSpinVar)
    VEXO_PARTICLE_PROPERTY(float, EmissionRate, _emissionRate)
    // Gravity mode.
    VEXO_PARTICLE_PROPERTY(Vec2, Gravity, _gravity)
    VEXO_PARTICLE_PROPERTY(float, Speed, _speed)
    VEXO_PARTICLE_PROPERTY(float, SpeedVar, _speedVar)
    VEXO_PARTICLE_PROPERTY(float, RadialAccel, _radialAccel)
    VEXO_PARTICLE_PROPERTY(float, RadialAccelVar, _radialAccelVar)
    VEXO_PARTICLE_PROPERTY(float, TangentialAccel, _tangentialAccel)
    VEXO_PARTICLE_PROPERTY(float, TangentialAccelVar, _tangentialAccelVar)
    // Radius mode.
    VEXO_PARTICLE_PROPERTY(float, StartRadius, _startRadius)
    VEXO_PARTICLE_PROPERTY(float, StartRadiusVar, _startRadiusVar)
    VEXO_PARTICLE_PROPERTY(float, EndRadius, _endRadius)
    VEXO_PARTICLE_PROPERTY(float, EndRadiusVar, _endRadiusVar)
    VEXO_PARTICLE_PROPERTY(float, RotatePerSecond, _rotatePerSecond)
    VEXO_PARTICLE_PROPERTY(float, RotatePerSecondVar, _rotatePerSecondVar)
#undef VEXO_PARTICLE_PROPERTY

    // Retained; null draws plain squares.
    void setTexture(Texture2D* texture);
    Texture2D* getTexture() const { return _texture; }

    void onEnter() override;
    void onExit() override;
    void update(float delta) override;
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;
    ~ParticleSystem() override;

protected:
    ParticleSystem() = default;
    friend class BlendNode<ParticleSystem>;
    // Sets the system up for count particles: active, emitting from time 0.
    bool initWithTotalParticles(int count);

private:
    void emit();
    float random(float variance);   // -variance .. variance

    std::vector<Particle> _particles;
    Texture2D* _texture = nullptr;
    QuadCommand _quad;
    std::minstd_rand _random{12345u};
    int _totalParticles = 0;
    bool _active = true;
    bool _autoRemoveOnFinish = false;
    float _elapsed = 0.f;
    float _emitCounter = 0.f;

    float _duration = kDurationInfinity;
    Mode _mode = Mode::GRAVITY;
    Vec2 _sourcePosition, _posVar;
    float _life = 1.f, _lifeVar = 0.f;
    float _angle = 0.f, _angleVar = 0.f;
    float _startSize = 0.f, _startSizeVar = 0.f, _endSize = 0.f, _endSizeVar = 0.f;
    Color4F _startColor{1.f, 1.f, 1.f, 1.f}, _startColorVar, _endColor{1.f, 1.f, 1.f, 1.f}, _endColorVar;
    float _startSpin = 0.f, _startSpinVar = 0.f, _endSpin = 0.f, _endSpinVar = 0.f;
    float _emissionRate = 0.f;
    Vec2 _gravity;
    float _speed = 0.f, _speedVar = 0.f;
    float _radialAccel = 0.f, _radialAccelVar = 0.f, _tangentialAccel = 0.f, _tangentialAccelVar = 0.f;
    float _startRadius = 0.f, _startRadiusVar = 0.f, _endRadius = 0.f, _endRadiusVar = 0.f;
    float _rotatePerSecond = 0.f, _rotatePerSecondVar = 0.f;
};

// The quad particle system. It also keeps the particle file it was made with.
class ParticleSystemQuad : public ParticleSystem {
public:
    // Autoreleased.
    static ParticleSystemQuad* create();
    static ParticleSystemQuad* create(const std::string& file);
    static ParticleSystemQuad* createWithTotalParticles(int count);

    const std::string& getFile() const { return _file; }

protected:
    ParticleSystemQuad() = default;

private:
    std::string _file;
};

#define VEXO_PARTICLE_PRESET(Name)                                 \
    class Name : public ParticleSystemQuad {                       \
    public:                                                        \
        static Name* create();                                     \
        static Name* createWithTotalParticles(int count);          \
                                                                   \
    private:                                                       \
        Name() = default;                                          \
        bool initWithTotalParticles(int count);                    \
    };

VEXO_PARTICLE_PRESET(ParticleFire)
VEXO_PARTICLE_PRESET(ParticleFireworks)
VEXO_PARTICLE_PRESET(ParticleSun)
VEXO_PARTICLE_PRESET(ParticleGalaxy)
VEXO_PARTICLE_PRESET(ParticleFlower)
VEXO_PARTICLE_PRESET(ParticleMeteor)
VEXO_PARTICLE_PRESET(ParticleSpiral)
VEXO_PARTICLE_PRESET(ParticleExplosion)
VEXO_PARTICLE_PRESET(ParticleSmoke)
VEXO_PARTICLE_PRESET(ParticleSnow)
VEXO_PARTICLE_PRESET(ParticleRain)
#undef VEXO_PARTICLE_PRESET

}  // namespace engine
