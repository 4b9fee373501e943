#include "engine/studio/timeline/ActionTimelineCache.h"

#include "engine/files/FileUtils.h"
#include "engine/studio/CsdReader.h"

namespace studio::timeline {

ActionTimelineCache* ActionTimelineCache::getInstance() {
    static ActionTimelineCache instance;
    return &instance;
}

ActionTimeline* ActionTimelineCache::createActionWithFlatBuffersForSimulator(const std::string& filename) {
    engine::FileUtils* files = engine::FileUtils::getInstance();
    const std::string path = files->fullPathForFilename(filename);
    if (path.empty()) return nullptr;
    return readCsd(files->getStringFromFile(path), filename).timeline;
}

}  // namespace studio::timeline
