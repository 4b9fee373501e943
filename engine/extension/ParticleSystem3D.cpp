#include "engine/extension/ParticleSystem3D.h"

#include <algorithm>

#include "engine/3d/BillBoard.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"

namespace engine {

// ---- ParticlePool ----

ParticlePool::~ParticlePool() {
    for (Particle3D* particle : _active) delete particle;
    for (Particle3D* particle : _free) delete particle;
}

Particle3D* ParticlePool::createData() {
    Particle3D* particle = nullptr;
    if (_free.empty()) {
        particle = new Particle3D;
    } else {
        particle = _free.back();
        _free.pop_back();
        *particle = Particle3D{};
    }
    _active.push_back(particle);
    return particle;
}

void ParticlePool::removeData(Particle3D* particle) {
    auto it = std::find(_active.begin(), _active.end(), particle);
    if (it == _active.end()) return;
    _active.erase(it);
    _free.push_back(particle);
}

void ParticlePool::removeAllDatas() {
    _free.insert(_free.end(), _active.begin(), _active.end());
    _active.clear();
}

// ---- Affector and render ----

void Particle3DAffector::updateAffector(Particle3D* particle, float dt) {
    particle->position = particle->position + particle->direction * dt;
}

Particle3DRender* Particle3DRender::create() {
    auto* render = new Particle3DRender;
    render->autorelease();
    return render;
}

Particle3DRender::~Particle3DRender() {
    if (_texture) _texture->release();
}

void Particle3DRender::setTexture(Texture2D* texture) {
    if (texture == _texture) return;
    if (texture) texture->retain();
    if (_texture) _texture->release();
    _texture = texture;
}

void Particle3DRender::render(Renderer* renderer, const Mat4& transform, ParticleSystem3D* system) {
    const auto& particles = system->getParticlePool()->getActiveDataList();
    if (!_visible || particles.empty()) return;
    _quad.init(system->getGlobalZOrder(), _texture, defaultQuadProgramState(), system->getBlendFunc());
    // Local particles move with the system; world particles stand where they are.
    const Mat4 space = system->isKeepLocal() ? transform : Mat4::IDENTITY;
    for (const Particle3D* p : particles) {
        Mat4 place;
        Mat4::createTranslation(p->position, &place);
        const Mat4 facing = BillBoard::facingTransform(space * place);
        const Color4B color{static_cast<uint8_t>(std::clamp(p->color.r, 0.f, 1.f) * 255),
                            static_cast<uint8_t>(std::clamp(p->color.g, 0.f, 1.f) * 255),
                            static_cast<uint8_t>(std::clamp(p->color.b, 0.f, 1.f) * 255),
                            static_cast<uint8_t>(std::clamp(p->color.a, 0.f, 1.f) * 255)};
        _quad.addQuad(facing, Vec2(-p->width / 2, -p->height / 2), Vec2(p->width / 2, p->height / 2), color, 0, 0,
                      1, 1);
    }
    renderer->addCommand(&_quad);
}

// ---- ParticleSystem3D ----

ParticleSystem3D* ParticleSystem3D::create() {
    auto* system = new ParticleSystem3D;
    return autoreleased(system, system->init());
}

ParticleSystem3D::~ParticleSystem3D() {
    // Parts a script still holds no longer name the system.
    setEmitter(nullptr);
    removeAllAffector();
    if (_render) _render->release();
}

void ParticleSystem3D::startParticleSystem() {
    if (_state == State::RUNNING) return;
    _state = State::RUNNING;
    scheduleUpdate();
}

void ParticleSystem3D::stopParticleSystem() {
    _state = State::STOP;
    for (Particle3D* particle : std::vector<Particle3D*>(_particlePool.getActiveDataList())) {
        onParticleExpired(particle);
    }
    _particlePool.removeAllDatas();
}

void ParticleSystem3D::pauseParticleSystem() {
    if (_state == State::RUNNING) _state = State::PAUSE;
}

void ParticleSystem3D::resumeParticleSystem() {
    if (_state == State::PAUSE) _state = State::RUNNING;
}

void ParticleSystem3D::setEmitter(Particle3DEmitter* emitter) {
    if (emitter == _emitter) return;
    if (emitter) {
        emitter->retain();
        emitter->setParticleSystem(this);
    }
    if (_emitter) {
        _emitter->setParticleSystem(nullptr);
        _emitter->release();
    }
    _emitter = emitter;
}

void ParticleSystem3D::addAffector(Particle3DAffector* affector) {
    if (!affector || std::find(_affectors.begin(), _affectors.end(), affector) != _affectors.end()) return;
    affector->retain();
    affector->setParticleSystem(this);
    _affectors.push_back(affector);
}

void ParticleSystem3D::removeAffector(int index) {
    if (index < 0 || index >= getAffectorCount()) return;
    _affectors[static_cast<size_t>(index)]->setParticleSystem(nullptr);
    _affectors[static_cast<size_t>(index)]->release();
    _affectors.erase(_affectors.begin() + index);
}

void ParticleSystem3D::removeAllAffector() {
    for (Particle3DAffector* affector : _affectors) {
        affector->setParticleSystem(nullptr);
        affector->release();
    }
    _affectors.clear();
}

Particle3DAffector* ParticleSystem3D::getAffector(int index) const {
    return index >= 0 && index < getAffectorCount() ? _affectors[static_cast<size_t>(index)] : nullptr;
}

void ParticleSystem3D::setRender(Particle3DRender* render) {
    if (render == _render) return;
    if (render) render->retain();
    if (_render) _render->release();
    _render = render;
}

int ParticleSystem3D::emitParticles(Particle3DEmitter* emitter, int count) {
    int emitted = 0;
    const Mat4 world = getNodeToWorldTransform();
    while (emitted < count && _particlePool.getActiveDataList().size() < _particleQuota) {
        Particle3D* particle = _particlePool.createData();
        if (emitter) emitter->initParticle(particle);
        particle->totalTimeToLive = particle->timeToLive;
        if (!_keepLocal) {
            // World particles start at the system's place in the world.
            const Vec3& p = particle->position;
            particle->position = Vec3(world.m[0] * p.x + world.m[4] * p.y + world.m[8] * p.z + world.m[12],
                                      world.m[1] * p.x + world.m[5] * p.y + world.m[9] * p.z + world.m[13],
                                      world.m[2] * p.x + world.m[6] * p.y + world.m[10] * p.z + world.m[14]);
        }
        onParticleEmitted(particle);
        ++emitted;
    }
    return emitted;
}

void ParticleSystem3D::expireParticles(float delta) {
    for (Particle3D* particle : std::vector<Particle3D*>(_particlePool.getActiveDataList())) {
        particle->timeToLive -= delta;
        if (particle->timeToLive <= 0) {
            onParticleExpired(particle);
            _particlePool.removeData(particle);
        }
    }
}

void ParticleSystem3D::update(float delta) {
    Node::update(delta);
    if (_state != State::RUNNING || !_isEnabled) return;
    expireParticles(delta);
    if (_emitter && _emitter->isEnabled()) emitParticles(_emitter, _emitter->calculateRequestedParticles(delta));
    for (Particle3DAffector* affector : _affectors) {
        if (!affector->isEnabled()) continue;
        for (Particle3D* particle : _particlePool.getActiveDataList()) affector->updateAffector(particle, delta);
    }
}

void ParticleSystem3D::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    (void)flags;
    if (_render && _isEnabled) _render->render(renderer, transform, this);
}

}  // namespace engine
