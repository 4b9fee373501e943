#include "skeleton/AnimationRig.h"

#include <gtest/gtest.h>

#include "skeleton/SkeletonJson.h"
#include "skeleton/extension.h"

namespace skeleton_test {

namespace {

const char* const kRig = R"({
"bones": [{"name": "root"},
          {"name": "b", "parent": "root", "x": 1, "y": 2, "rotation": 10, "scaleX": 2, "scaleY": 3},
          {"name": "c", "parent": "b", "x": 3}],
"ik": [{"name": "k", "bones": ["c"], "target": "root", "mix": 0.5}],
"slots": [{"name": "s0", "bone": "b", "attachment": "box"}, {"name": "s1", "bone": "c"},
          {"name": "s2", "bone": "root"}],
"skins": {"default": {"s0": {"box": {"type": "boundingbox", "vertices": [0, 0, 1, 0, 1, 1]},
                             "other": {"type": "boundingbox", "vertices": [0, 0, 2, 0, 2, 2]}}}},
"events": {"a": {}, "b": {}, "c": {}, "d": {}}
})";

}  // namespace

AnimationRig::AnimationRig() {
    spSkeletonJson* json = spSkeletonJson_create(nullptr);
    data = spSkeletonJson_readSkeletonData(json, kRig);
    EXPECT_NE(data, nullptr) << (json->error ? json->error : "");
    spSkeletonJson_dispose(json);
    if (data) skeleton = spSkeleton_create(data);
}

AnimationRig::~AnimationRig() {
    spSkeleton_dispose(skeleton);
    spSkeletonData_dispose(data);
}

spBone* AnimationRig::bone(const char* name) const { return spSkeleton_findBone(skeleton, name); }
spSlot* AnimationRig::slot(const char* name) const { return spSkeleton_findSlot(skeleton, name); }
spAttachment* AnimationRig::attachment(const char* name) const {
    return spSkeleton_getAttachmentForSlotIndex(skeleton, 0, name);
}
spEvent* AnimationRig::event(const char* name) { return spEvent_create(spSkeletonData_findEvent(data, name)); }

spAnimation* AnimationRig::animation(const char* name, float duration, std::vector<spTimeline*> timelines) {
    spAnimation* animation = spAnimation_create(name, static_cast<int>(timelines.size()));
    animation->duration = duration;
    for (size_t i = 0; i < timelines.size(); ++i) animation->timelines[i] = timelines[i];
    auto** grown = SK_CALLOC(spAnimation*, data->animationsCount + 1);
    for (int i = 0; i < data->animationsCount; ++i) grown[i] = data->animations[i];
    grown[data->animationsCount] = animation;
    SK_FREE(data->animations);
    data->animations = grown;
    ++data->animationsCount;
    return animation;
}

spEventTimeline* AnimationRig::events(const std::vector<std::pair<float, const char*>>& keys) {
    spEventTimeline* timeline = spEventTimeline_create(static_cast<int>(keys.size()));
    for (size_t i = 0; i < keys.size(); ++i)
        spEventTimeline_setFrame(timeline, static_cast<int>(i), keys[i].first, event(keys[i].second));
    return timeline;
}

std::vector<std::string> eventNames(spEvent** events, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(events[i]->data->name);
    return names;
}

}  // namespace skeleton_test
