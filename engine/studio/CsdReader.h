#pragma once
// The ".csd" reader behind CSLoader and ActionTimelineCache: the whole file is
// checked and built at once, so the tree and the timeline agree on what a valid
// file is (the form is described in engine/studio/CSLoader.h).
#include <string>
#include <string_view>

#include "engine/scene/Node.h"
#include "engine/studio/timeline/ActionTimeline.h"

namespace studio {

struct CsdContent {
    engine::Node* tree = nullptr;                    // autoreleased
    timeline::ActionTimeline* timeline = nullptr;    // autoreleased; null when the file has none
};

// Both null, after a log line naming `source`, when the file is refused.
CsdContent readCsd(std::string_view text, const std::string& source);

}  // namespace studio
