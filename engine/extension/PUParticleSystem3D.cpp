#include "engine/extension/PUParticleSystem3D.h"

#include <algorithm>
#include <cmath>

namespace engine {

// ---- PUEmitter ----

PUEmitter* PUEmitter::create() {
    auto* emitter = new PUEmitter;
    emitter->autorelease();
    return emitter;
}

int PUEmitter::calculateRequestedParticles(float dt) {
    if (!(dt > 0)) return 0;
    _remainder += _emissionRate * dt;
    const float whole = std::floor(_remainder);
    _remainder -= whole;
    return static_cast<int>(std::min(whole, 1e6f));
}

void PUEmitter::initParticle(Particle3D* particle) {
    particle->position = _position;
    const float length = _direction.length();
    particle->direction = length > 0 ? _direction * (_velocity / length) : Vec3();
    particle->timeToLive = _timeToLive;
    particle->color = _color;
}

// ---- PUBehaviour ----

PUBehaviour* PUBehaviour::create() {
    auto* behaviour = new PUBehaviour;
    behaviour->autorelease();
    return behaviour;
}

PUBehaviour* PUBehaviour::clone() const {
    PUBehaviour* copy = create();
    copy->_type = _type;
    return copy;
}

// ---- PUObserver ----

PUObserver* PUObserver::create() {
    auto* observer = new PUObserver;
    observer->autorelease();
    return observer;
}

void PUObserver::updateObserver(PUParticleSystem3D* system, float dt) {
    if (!_enabled) return;
    _sinceLast += dt;
    if (_sinceLast < _interval) return;
    const float elapsed = _sinceLast;
    _sinceLast = 0;
    for (Particle3D* particle : system->getParticlePool()->getActiveDataList()) {
        if (observe(particle, elapsed) && _observeUntilEvent) {
            _enabled = false;
            return;
        }
    }
}

// ---- PUParticleSystem3D ----

PUParticleSystem3D* PUParticleSystem3D::create() {
    auto* system = new PUParticleSystem3D;
    return autoreleased(system, system->init());
}

PUParticleSystem3D::~PUParticleSystem3D() { removeAllEmitter(); }

void PUParticleSystem3D::addEmitter(PUEmitter* emitter) {
    if (!emitter || _emitters.contains(emitter)) return;
    emitter->setParticleSystem(this);
    _emitters.pushBack(emitter);
}

PUEmitter* PUParticleSystem3D::getEmitter(const std::string& name) const {
    for (PUEmitter* emitter : _emitters) {
        if (emitter->getName() == name) return emitter;
    }
    return nullptr;
}

void PUParticleSystem3D::removeAllEmitter() {
    for (PUEmitter* emitter : _emitters) {
        if (emitter != getEmitter()) emitter->setParticleSystem(nullptr);
    }
    _emitters.clear();
}

void PUParticleSystem3D::addBehaviourTemplate(PUBehaviour* behaviour) { _behaviourTemplates.pushBack(behaviour); }

void PUParticleSystem3D::removeAllBehaviourTemplate() { _behaviourTemplates.clear(); }

void PUParticleSystem3D::addObserver(PUObserver* observer) {
    if (observer && !_observers.contains(observer)) _observers.pushBack(observer);
}

PUObserver* PUParticleSystem3D::getObserver(const std::string& name) const {
    for (PUObserver* observer : _observers) {
        if (observer->getName() == name) return observer;
    }
    return nullptr;
}

void PUParticleSystem3D::removeAllObserver() { _observers.clear(); }

void PUParticleSystem3D::addListener(PUListener* listener) {
    if (listener && std::find(_listeners.begin(), _listeners.end(), listener) == _listeners.end()) {
        _listeners.push_back(listener);
    }
}

void PUParticleSystem3D::removeListener(PUListener* listener) {
    _listeners.erase(std::remove(_listeners.begin(), _listeners.end(), listener), _listeners.end());
}

const Vector<PUBehaviour*>* PUParticleSystem3D::getParticleBehaviours(const Particle3D* particle) const {
    for (const auto& [owner, behaviours] : _particleBehaviours) {
        if (owner == particle) return &behaviours;
    }
    return nullptr;
}

void PUParticleSystem3D::onParticleEmitted(Particle3D* particle) {
    particle->width = _defaultWidth;
    particle->height = _defaultHeight;
    particle->direction = particle->direction * _scaleVelocity;
    if (!_behaviourTemplates.empty()) {
        Vector<PUBehaviour*> copies;
        for (PUBehaviour* behaviour : _behaviourTemplates) copies.pushBack(behaviour->clone());
        _particleBehaviours.emplace_back(particle, std::move(copies));
    }
    for (PUListener* listener : std::vector<PUListener*>(_listeners)) listener->particleEmitted(this, particle);
}

void PUParticleSystem3D::onParticleExpired(Particle3D* particle) {
    for (PUListener* listener : std::vector<PUListener*>(_listeners)) listener->particleExpired(this, particle);
    _particleBehaviours.erase(std::remove_if(_particleBehaviours.begin(), _particleBehaviours.end(),
                                             [particle](const auto& entry) { return entry.first == particle; }),
                              _particleBehaviours.end());
}

void PUParticleSystem3D::startParticleSystem() {
    if (_state != State::RUNNING) _timeElapsedSinceStart = 0;
    ParticleSystem3D::startParticleSystem();
}

void PUParticleSystem3D::update(float delta) {
    Node::update(delta);
    if (_state == State::RUNNING && isEnabled()) step(delta);
}

void PUParticleSystem3D::forceUpdate(float delta) { step(delta); }

void PUParticleSystem3D::step(float delta) {
    _timeElapsedSinceStart += delta;
    expireParticles(delta);
    Particle3DEmitter* own = getEmitter();
    if (own && own->isEnabled()) emitParticles(own, own->calculateRequestedParticles(delta));
    for (PUEmitter* emitter : Vector<PUEmitter*>(_emitters)) {
        if (emitter != own && emitter->isEnabled()) {
            emitParticles(emitter, emitter->calculateRequestedParticles(delta));
        }
    }
    for (int i = 0; i < getAffectorCount(); ++i) {
        Particle3DAffector* affector = getAffector(i);
        if (!affector->isEnabled()) continue;
        for (Particle3D* particle : getParticlePool()->getActiveDataList()) affector->updateAffector(particle, delta);
    }
    if (_maxVelocity > 0) {
        for (Particle3D* particle : getParticlePool()->getActiveDataList()) {
            const float speed = particle->direction.length();
            if (speed > _maxVelocity) particle->direction = particle->direction * (_maxVelocity / speed);
        }
    }
    for (PUObserver* observer : Vector<PUObserver*>(_observers)) observer->updateObserver(this, delta);
}

}  // namespace engine
