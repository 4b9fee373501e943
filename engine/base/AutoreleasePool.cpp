#include "engine/base/AutoreleasePool.h"

#include <algorithm>

#include "engine/base/Ref.h"

namespace engine {

AutoreleasePool* AutoreleasePool::getInstance() {
    // Never destroyed: objects still waiting at exit stay reachable and no Ref is
    // destroyed during static destruction.
    static AutoreleasePool* pool = new AutoreleasePool;
    return pool;
}

void AutoreleasePool::addObject(Ref* object) {
    if (object) _objects.push_back(object);
}

void AutoreleasePool::clear() {
    // Releasing may destroy objects whose destructors autorelease others; those
    // land in the fresh list and wait for the next drain.
    std::vector<Ref*> draining;
    draining.swap(_objects);
    for (Ref* object : draining) object->release();
}

bool AutoreleasePool::contains(const Ref* object) const {
    return std::find(_objects.begin(), _objects.end(), object) != _objects.end();
}

}  // namespace engine
