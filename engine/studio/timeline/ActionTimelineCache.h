#pragma once
// Timelines of scene files. The simulator's call reads the file afresh each time,
// so a file uploaded while the program runs is seen at its next start.
#include <string>

#include "engine/studio/timeline/ActionTimeline.h"

namespace studio::timeline {

class ActionTimelineCache {
public:
    static ActionTimelineCache* getInstance();

    // The timeline of a ".csd" file (found through the search paths), autoreleased
    // and not yet playing; nullptr when the file has no timeline or cannot be read
    // whole (see engine::CSLoader).
    ActionTimeline* createActionWithFlatBuffersForSimulator(const std::string& filename);

private:
    ActionTimelineCache() = default;
};

}  // namespace studio::timeline
