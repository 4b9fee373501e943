#pragma once
// Stand-ins for the 3D particle system and its pool: the client draws no 3D
// particles, but scripts reach a system's pool and walk its live particles.
//
// A pool owns its particle records: createData makes one live (reusing a freed
// record first), removeAllDatas frees every live one. Main thread only.
#include <vector>

#include "engine/base/Types.h"
#include "engine/scene/Node.h"

namespace engine {

struct Particle3D {
    Vec3 position;
    float timeToLive = 0;
};

class ParticlePool {
public:
    ParticlePool() = default;
    ~ParticlePool();
    ParticlePool(const ParticlePool&) = delete;
    ParticlePool& operator=(const ParticlePool&) = delete;

    Particle3D* createData();
    void removeAllDatas();
    bool empty() const { return _active.empty(); }
    // The live particles, oldest first.
    const std::vector<Particle3D*>& getActiveDataList() const { return _active; }

private:
    std::vector<Particle3D*> _active;
    std::vector<Particle3D*> _free;
};

class ParticleSystem3D : public Node {
public:
    static ParticleSystem3D* create();
    ParticlePool* getParticlePool() { return &_particlePool; }

protected:
    ParticleSystem3D() = default;

private:
    ParticlePool _particlePool;
};

}  // namespace engine
