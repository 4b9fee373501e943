#include "engine/extension/ParticleSystem3D.h"

namespace engine {

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

void ParticlePool::removeAllDatas() {
    _free.insert(_free.end(), _active.begin(), _active.end());
    _active.clear();
}

ParticleSystem3D* ParticleSystem3D::create() {
    auto* system = new ParticleSystem3D;
    return autoreleased(system, system->init());
}

}  // namespace engine
