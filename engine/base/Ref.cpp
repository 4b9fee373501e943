#include "engine/base/Ref.h"

#include <atomic>
#include <cassert>

#include "engine/base/AutoreleasePool.h"
#include "engine/script/ScriptEngineManager.h"

namespace engine {
namespace {

std::atomic<unsigned int> g_lastObjectId{0};

unsigned int nextObjectId() {
    unsigned int id = g_lastObjectId.fetch_add(1, std::memory_order_relaxed) + 1;
    // After a wrap-around 0 comes up once; it is reserved for "no object".
    while (id == 0) id = g_lastObjectId.fetch_add(1, std::memory_order_relaxed) + 1;
    return id;
}

}  // namespace

Ref::Ref() : _ID(nextObjectId()) {}

Ref::~Ref() {
    if (_luaID != 0) {
        if (ScriptEngineProtocol* script = ScriptEngineManager::getInstance()->getScriptEngine()) {
            script->removeScriptObjectByObject(this);
        }
    }
}

void Ref::retain() {
    assert(_referenceCount > 0 && "retain of a destroyed object");
    ++_referenceCount;
}

void Ref::release() {
    assert(_referenceCount > 0 && "release of a destroyed object");
    if (--_referenceCount == 0) delete this;
}

Ref* Ref::autorelease() {
    AutoreleasePool::getInstance()->addObject(this);
    return this;
}

}  // namespace engine
