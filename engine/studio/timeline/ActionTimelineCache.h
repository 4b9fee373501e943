#pragma once
// Timelines of scene files. The simulator's call reads the file afresh each time,
// so a file uploaded while the program runs is seen at its next start.
//
// A timeline file of its own is JSON:
//   {"duration": 60, "speed": 1,
//    "tracks": [{"target": "title", "property": "Position",
//                "frames": [{"index": 0, "x": 0, "y": 0}, {"index": 30, "x": 100, "y": 0}]},
//               {"target": "title", "property": "Opacity", "frames": [{"index": 0, "value": 255}]}],
//    "events": [{"index": 30, "target": "title", "name": "hit"}]}
// "duration" (a whole number from 0 to kMaxFrameIndex) is required; "speed" (0
// to kMaxSpeed) is 1 when absent. A track's "property" is one of Position, Scale
// (frames with "x" and "y"), Rotation, Opacity, Visible (frames with "value";
// Visible: 0 hidden, anything else shown); its "target" is a node name ("" or
// absent: the node the timeline runs on); its frames' indexes ascend strictly
// within 0..duration. "events" are event frames (ActionTimeline): an index within
// 0..duration, a target as a track's, and the event's "name". Any member of the
// wrong type or out of range, or an unknown property, refuses the whole file with
// a log line.
#include <string>
#include <string_view>

#include "engine/studio/timeline/ActionTimeline.h"

namespace studio::timeline {

class ActionTimelineCache {
public:
    static ActionTimelineCache* getInstance();

    // The timeline of a ".csd" file (found through the search paths), autoreleased
    // and not yet playing; nullptr when the file has no timeline or cannot be read
    // whole (see engine::CSLoader).
    ActionTimeline* createActionWithFlatBuffersForSimulator(const std::string& filename);

    static constexpr int kMaxFrameIndex = 1000000;
    static constexpr float kMaxSpeed = 1000.f;
    // The timeline of a JSON timeline file (found through the search paths),
    // autoreleased and not yet playing; nullptr when it is missing or refused.
    ActionTimeline* createActionFromJson(const std::string& filename);
    // The same from the file's text; `source` names it in log lines.
    ActionTimeline* timelineFromJsonText(std::string_view text, const std::string& source);

private:
    ActionTimelineCache() = default;
};

}  // namespace studio::timeline
