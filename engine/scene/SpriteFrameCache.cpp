#include "engine/scene/SpriteFrameCache.h"

#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/FrameSheet.h"

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
    _sheets.clear();
}

namespace {

// "ui/sheet.plist" -> "ui/"; "" without a folder.
std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

std::string withPngExtension(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + ".png";
}

}  // namespace

void SpriteFrameCache::addSpriteFrames(const std::string& sheetFile) { addSpriteFrames(sheetFile, std::string()); }

void SpriteFrameCache::addSpriteFrames(const std::string& sheetFile, const std::string& textureFile) {
    FileUtils* files = FileUtils::getInstance();
    const std::string path = files->fullPathForFilename(sheetFile);
    if (path.empty()) {
        log("SpriteFrameCache: no frame sheet %s", sheetFile.c_str());
        return;
    }
    if (_sheets.count(path)) return;
    FrameSheet sheet;
    if (!parseFrameSheet(files->getStringFromFile(path), &sheet)) {
        log("SpriteFrameCache: %s is not a frame sheet", sheetFile.c_str());
        return;
    }
    std::string texturePath = textureFile;
    if (texturePath.empty()) {
        texturePath = sheet.textureFileName.empty() ? withPngExtension(sheetFile)
                                                    : folderOf(sheetFile) + sheet.textureFileName;
    }
    Texture2D* texture = TextureCache::getInstance()->addImage(texturePath);
    if (!texture) {
        log("SpriteFrameCache: no texture %s for %s", texturePath.c_str(), sheetFile.c_str());
        return;
    }
    std::vector<std::string>& names = _sheets[path];
    for (const SheetFrame& entry : sheet.frames) {
        SpriteFrame* frame =
            SpriteFrame::createWithTexture(texture, entry.rect, entry.rotated, entry.offset, entry.sourceSize);
        addSpriteFrame(frame, entry.name);
        names.push_back(entry.name);
    }
}

void SpriteFrameCache::removeSpriteFramesFromFile(const std::string& sheetFile) {
    auto found = _sheets.find(FileUtils::getInstance()->fullPathForFilename(sheetFile));
    if (found == _sheets.end()) return;
    for (const std::string& name : found->second) removeSpriteFrameByName(name);
    _sheets.erase(found);
}

bool SpriteFrameCache::isSheetLoaded(const std::string& sheetFile) const {
    return _sheets.count(FileUtils::getInstance()->fullPathForFilename(sheetFile)) > 0;
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
