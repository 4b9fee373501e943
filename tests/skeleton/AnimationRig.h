#pragma once
// A small posable skeleton for the animation tests, read without an atlas:
// bones root, b (x 1, y 2, rotation 10, scale 2 x 3) and c; slots s0 (showing
// bounding box "box", also offering "other"), s1 and s2; IK constraint "k";
// events "a" to "d". Animations are built by hand and owned by the rig.
#include <string>
#include <vector>

#include "skeleton/Animation.h"
#include "skeleton/Skeleton.h"

namespace skeleton_test {

struct AnimationRig {
    AnimationRig();
    ~AnimationRig();
    AnimationRig(const AnimationRig&) = delete;
    AnimationRig& operator=(const AnimationRig&) = delete;

    spBone* bone(const char* name) const;
    spSlot* slot(const char* name) const;
    spAttachment* attachment(const char* name) const;   // of slot s0
    spEvent* event(const char* name);                   // new event owned by the caller

    // Takes the timelines; the animation joins the skeleton data (findable by name).
    spAnimation* animation(const char* name, float duration, std::vector<spTimeline*> timelines);
    // Event timeline firing one named event per key.
    spEventTimeline* events(const std::vector<std::pair<float, const char*>>& keys);

    spSkeletonData* data = nullptr;
    spSkeleton* skeleton = nullptr;
};

// Names of fired events, in order.
std::vector<std::string> eventNames(spEvent** events, int count);

}  // namespace skeleton_test
