#pragma once
// Sprite frames by name. The cache retains each frame it holds; a frame held by
// nothing else (no sprite, no script) is unused and goes with
// removeUnusedSpriteFrames, which also lets the texture cache drop its texture
// (purge frames first, then textures). Main thread only.
#include <map>
#include <string>

#include "engine/scene/SpriteFrame.h"

namespace engine {

class SpriteFrameCache {
public:
    static SpriteFrameCache* getInstance();
    static void destroyInstance();

    // Files the frame under name, replacing (and releasing) an earlier one. A null
    // frame or an empty name does nothing.
    void addSpriteFrame(SpriteFrame* frame, const std::string& name);
    SpriteFrame* getSpriteFrameByName(const std::string& name) const;
    void removeSpriteFrameByName(const std::string& name);
    void removeSpriteFrames();
    // Drops the frames only the cache holds; returns how many went.
    size_t removeUnusedSpriteFrames();
    size_t size() const { return _frames.size(); }

private:
    SpriteFrameCache() = default;
    ~SpriteFrameCache();

    std::map<std::string, SpriteFrame*> _frames;
};

}  // namespace engine
