#include "engine/scene/SpriteFrameCache.h"

#include "engine/base/Log.h"

namespace engine {

namespace {
SpriteFrameCache* instance = nullptr;
}

SpriteFrameCache* SpriteFrameCache::getInstance() {
    if (!instance) instance = new SpriteFrameCache();
    return instance;
}

void SpriteFrameCache::destroyInstance() {
    delete instance;
    instance = nullptr;
}

SpriteFrameCache::~SpriteFrameCache() { removeSpriteFrames(); }

void SpriteFrameCache::addSpriteFrame(SpriteFrame* frame, const std::string& name) {
    if (!frame || name.empty()) return;
    frame->retain();
    auto [it, added] = _frames.try_emplace(name, frame);
    if (!added) {
        it->second->release();
        it->second = frame;
    }
}

SpriteFrame* SpriteFrameCache::getSpriteFrameByName(const std::string& name) const {
    auto found = _frames.find(name);
    return found == _frames.end() ? nullptr : found->second;
}

void SpriteFrameCache::removeSpriteFrameByName(const std::string& name) {
    auto found = _frames.find(name);
    if (found == _frames.end()) return;
    found->second->release();
    _frames.erase(found);
}

void SpriteFrameCache::removeSpriteFrames() {
    for (auto& entry : _frames) entry.second->release();
    _frames.clear();
}

size_t SpriteFrameCache::removeUnusedSpriteFrames() {
    size_t removed = 0;
    for (auto it = _frames.begin(); it != _frames.end();) {
        if (it->second->getReferenceCount() == 1) {
            it->second->release();
            it = _frames.erase(it);
            ++removed;
        } else {
            ++it;
        }
    }
    if (removed) log("SpriteFrameCache: removed %zu unused frames", removed);
    return removed;
}

}  // namespace engine
