#pragma once
// Sprite frames by name. The cache retains each frame it holds; a frame held by
// nothing else (no sprite, no script) is unused and goes with
// removeUnusedSpriteFrames, which also lets the texture cache drop its texture
// (purge frames first, then textures). Main thread only.
#include <map>
#include <string>
#include <vector>

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
    SpriteFrame* getSpriteFrame(const std::string& name) const { return getSpriteFrameByName(name); }
    // Files every frame of a frame sheet (engine/scene/FrameSheet.h) under its
    // name, on the sheet's texture: the one the sheet names (beside the sheet),
    // else the sheet's name with ".png" for its extension; or the texture file
    // given. A sheet already added is not read again. An unreadable sheet or
    // texture files nothing and logs.
    void addSpriteFrames(const std::string& sheetFile);
    void addSpriteFrames(const std::string& sheetFile, const std::string& textureFile);
    // Drops the frames a sheet added (those still filed under its names).
    void removeSpriteFramesFromFile(const std::string& sheetFile);
    bool isSheetLoaded(const std::string& sheetFile) const;
    void removeSpriteFrameByName(const std::string& name);
    void removeSpriteFrames();
    // Drops the frames only the cache holds; returns how many went.
    size_t removeUnusedSpriteFrames();
    size_t size() const { return _frames.size(); }

private:
    SpriteFrameCache() = default;
    ~SpriteFrameCache();

    std::map<std::string, SpriteFrame*> _frames;
    std::map<std::string, std::vector<std::string>> _sheets;   // full path -> frame names
};

}  // namespace engine
