#include "engine/studio/timeline/ActionTimelineCache.h"

#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/studio/CsdReader.h"
#include "engine/studio/JsonFields.h"

namespace studio::timeline {

namespace {

bool readKeyframe(const JsonFields& fields, const rapidjson::Value& object, TimelineProperty property, int duration,
                  Keyframe* frame) {
    if (!fields.isObject(object, "a frame") || !fields.readInt(object, "index", 0, duration, &frame->index, true)) {
        return false;
    }
    if (property == TimelineProperty::Position || property == TimelineProperty::Scale) {
        return fields.readFloat(object, "x", &frame->x, true) && fields.readFloat(object, "y", &frame->y, true);
    }
    return fields.readFloat(object, "value", &frame->x, true);
}

bool readTrack(const JsonFields& fields, const rapidjson::Value& object, int duration, TimelineTrack* track) {
    std::string property;
    if (!fields.isObject(object, "a track") || !fields.readString(object, "target", &track->target) ||
        !fields.readString(object, "property", &property, true)) {
        return false;
    }
    if (!propertyByName(property, &track->property)) return fields.refuse("unknown property '" + property + "'");
    bool ok = true;
    const rapidjson::Value* frames = fields.array(object, "frames", &ok);
    if (!ok) return false;
    if (!frames) return true;
    for (const rapidjson::Value& item : frames->GetArray()) {
        Keyframe frame;
        if (!readKeyframe(fields, item, track->property, duration, &frame)) return false;
        if (!track->frames.empty() && frame.index <= track->frames.back().index) {
            return fields.refuse("a track's frames are not in ascending order");
        }
        track->frames.push_back(frame);
    }
    return true;
}

}  // namespace

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

namespace studio::timeline {

ActionTimeline* ActionTimelineCache::createActionFromJson(const std::string& filename) {
    engine::FileUtils* files = engine::FileUtils::getInstance();
    const std::string path = files->fullPathForFilename(filename);
    if (path.empty()) {
        engine::log("ActionTimelineCache: %s: no such file", filename.c_str());
        return nullptr;
    }
    return timelineFromJsonText(files->getStringFromFile(path), filename);
}

ActionTimeline* ActionTimelineCache::timelineFromJsonText(std::string_view text, const std::string& source) {
    rapidjson::Document document;
    std::string error;
    const JsonFields fields("ActionTimelineCache", source);
    if (!engine::parseJson(text, document, &error)) {
        fields.refuse(error);
        return nullptr;
    }
    if (!fields.isObject(document, "the timeline")) return nullptr;
    int duration = 0;
    float speed = 1.f;
    if (!fields.readInt(document, "duration", 0, kMaxFrameIndex, &duration, true) ||
        !fields.readFloat(document, "speed", &speed)) {
        return nullptr;
    }
    if (!(speed >= 0.f && speed <= kMaxSpeed)) {
        fields.refuse("'speed' is not from 0 to " + std::to_string(static_cast<int>(kMaxSpeed)));
        return nullptr;
    }
    bool ok = true;
    std::vector<TimelineTrack> tracks;
    if (const rapidjson::Value* items = fields.array(document, "tracks", &ok)) {
        for (const rapidjson::Value& item : items->GetArray()) {
            TimelineTrack track;
            if (!readTrack(fields, item, duration, &track)) return nullptr;
            tracks.push_back(std::move(track));
        }
    }
    if (!ok) return nullptr;
    engine::Vector<EventFrame*> events;
    if (const rapidjson::Value* items = fields.array(document, "events", &ok)) {
        for (const rapidjson::Value& item : items->GetArray()) {
            int index = 0;
            std::string target, name;
            if (!fields.isObject(item, "an event") || !fields.readInt(item, "index", 0, duration, &index, true) ||
                !fields.readString(item, "target", &target) || !fields.readString(item, "name", &name, true)) {
                return nullptr;
            }
            events.pushBack(EventFrame::create(index, target, name));
        }
    }
    if (!ok) return nullptr;
    return ActionTimeline::create(duration, speed, std::move(tracks), events);
}

}  // namespace studio::timeline
