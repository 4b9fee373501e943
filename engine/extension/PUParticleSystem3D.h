#pragma once
// The scripted flavour of the 3D particle system: particles of a default size,
// emitted by any number of emitters at their own rates, with the system's velocity
// scale and a top speed; behaviours that every particle carries (templates
// copied to each particle), observers that look at the particles at their own
// interval, and listeners told of every particle emitted and expired.
// Main thread only.
#include <string>
#include <vector>

#include "engine/base/Vector.h"
#include "engine/extension/ParticleSystem3D.h"

namespace engine {

class PUParticleSystem3D;

// An emitter at a place of the system, emitting particles at a rate (a second),
// each living a time and leaving along a direction at a velocity.
class PUEmitter : public Particle3DEmitter {
public:
    static PUEmitter* create();   // autoreleased
    int calculateRequestedParticles(float dt) override;
    void initParticle(Particle3D* particle) override;

    void setName(const std::string& name) { _name = name; }
    const std::string& getName() const { return _name; }
    void setLocalPosition(const Vec3& position) { _position = position; }
    const Vec3& getLocalPosition() const { return _position; }
    void setEmissionRate(float rate) { _emissionRate = rate < 0 ? 0 : rate; }
    float getEmissionRate() const { return _emissionRate; }
    void setParticleTimeToLive(float seconds) { _timeToLive = seconds; }
    float getParticleTimeToLive() const { return _timeToLive; }
    void setParticleVelocity(float velocity) { _velocity = velocity; }
    float getParticleVelocity() const { return _velocity; }
    // Normalised when used; a zero direction leaves particles standing.
    void setParticleDirection(const Vec3& direction) { _direction = direction; }
    const Vec3& getParticleDirection() const { return _direction; }
    void setParticleColor(const Color4F& color) { _color = color; }
    const Color4F& getParticleColor() const { return _color; }

private:
    PUEmitter() = default;
    std::string _name;
    Vec3 _position;
    float _emissionRate = 10;
    float _timeToLive = 3;
    float _velocity = 100;
    Vec3 _direction{0, 1, 0};
    Color4F _color{1, 1, 1, 1};
    float _remainder = 0;   // fractions of a particle carried to the next frame
};

// A kind of behaviour every particle of a system carries.
class PUBehaviour : public Ref {
public:
    static PUBehaviour* create();   // autoreleased
    void setBehaviourType(const std::string& type) { _type = type; }
    const std::string& getBehaviourType() const { return _type; }
    PUBehaviour* clone() const;

private:
    PUBehaviour() = default;
    std::string _type;
};

// Told of the particles a system emits and frees (subclasses act on them).
class PUListener : public Ref {
public:
    virtual void particleEmitted(PUParticleSystem3D* system, Particle3D* particle) = 0;
    virtual void particleExpired(PUParticleSystem3D* system, Particle3D* particle) = 0;

protected:
    PUListener() = default;
};

// Looks at the live particles every interval (seconds; 0: every frame). The
// base observes nothing; an observer that observed its event stops when it
// observes until the event.
class PUObserver : public Ref {
public:
    static PUObserver* create();   // autoreleased
    void setName(const std::string& name) { _name = name; }
    const std::string& getName() const { return _name; }
    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    void setObserverInterval(float seconds) { _interval = seconds < 0 ? 0 : seconds; }
    float getObserverInterval() const { return _interval; }
    void setObserveUntilEvent(bool until) { _observeUntilEvent = until; }
    bool isObserveUntilEvent() const { return _observeUntilEvent; }
    // Whether the event happened for this particle.
    virtual bool observe(Particle3D* particle, float dt) {
        (void)particle;
        (void)dt;
        return false;
    }
    // Runs the observation when its interval has passed.
    void updateObserver(PUParticleSystem3D* system, float dt);

protected:
    PUObserver() = default;

private:
    std::string _name;
    bool _enabled = true;
    float _interval = 0;
    float _sinceLast = 0;
    bool _observeUntilEvent = false;
};

class PUParticleSystem3D : public ParticleSystem3D {
public:
    static PUParticleSystem3D* create();   // autoreleased
    ~PUParticleSystem3D() override;

    // Emitters, each retained and emitting on its own; setEmitter's one counts too.
    void addEmitter(PUEmitter* emitter);
    using ParticleSystem3D::getEmitter;
    PUEmitter* getEmitter(const std::string& name) const;   // null when none
    const Vector<PUEmitter*>& getEmitters() const { return _emitters; }
    void removeAllEmitter();
    void addBehaviourTemplate(PUBehaviour* behaviour);
    const Vector<PUBehaviour*>& getBehaviourTemplates() const { return _behaviourTemplates; }
    void removeAllBehaviourTemplate();
    void addObserver(PUObserver* observer);
    PUObserver* getObserver(const std::string& name) const;
    int getObserverCount() const { return static_cast<int>(_observers.size()); }
    void removeAllObserver();
    // Not retained: a listener takes itself off before it goes.
    void addListener(PUListener* listener);
    void removeListener(PUListener* listener);
    void removeAllListener() { _listeners.clear(); }

    void setDefaultWidth(float width) { _defaultWidth = width; }
    float getDefaultWidth() const { return _defaultWidth; }
    void setDefaultHeight(float height) { _defaultHeight = height; }
    float getDefaultHeight() const { return _defaultHeight; }
    void setDefaultDepth(float depth) { _defaultDepth = depth; }
    float getDefaultDepth() const { return _defaultDepth; }
    // Multiplies every emitted particle's speed.
    void setParticleSystemScaleVelocity(float scale) { _scaleVelocity = scale; }
    float getParticleSystemScaleVelocity() const { return _scaleVelocity; }
    // Particles never move faster (0 or less: no limit).
    void setMaxVelocity(float velocity) { _maxVelocity = velocity; }
    float getMaxVelocity() const { return _maxVelocity; }
    // Seconds the system has run since it was started.
    float getTimeElapsedSinceStart() const { return _timeElapsedSinceStart; }
    // The behaviours a live particle carries (copies of the templates).
    const Vector<PUBehaviour*>* getParticleBehaviours(const Particle3D* particle) const;

    void startParticleSystem() override;
    void update(float delta) override;
    // Runs one update of delta seconds now, running or not.
    void forceUpdate(float delta);

protected:
    PUParticleSystem3D() = default;
    void onParticleEmitted(Particle3D* particle) override;
    void onParticleExpired(Particle3D* particle) override;

private:
    void step(float delta);

    Vector<PUEmitter*> _emitters;
    Vector<PUBehaviour*> _behaviourTemplates;
    Vector<PUObserver*> _observers;
    std::vector<PUListener*> _listeners;
    std::vector<std::pair<const Particle3D*, Vector<PUBehaviour*>>> _particleBehaviours;
    float _defaultWidth = 50, _defaultHeight = 50, _defaultDepth = 50;
    float _scaleVelocity = 1;
    float _maxVelocity = 0;
    float _timeElapsedSinceStart = 0;
};

}  // namespace engine
