#pragma once
// The mix table of an animation state: how long the cross-fade from one
// animation into another lasts, per (from, to) pair, with a default for pairs
// not listed. Animations are referenced, not owned; the skeleton data they come
// from must outlive the table.
#include "skeleton/Animation.h"
#include "skeleton/SkeletonData.h"

struct spMixToEntry {
    spAnimation* animation;
    float duration;
    spMixToEntry* next;
};

struct spMixFromEntry {
    spAnimation* animation;
    spMixToEntry* toEntries;
    spMixFromEntry* next;
};

struct spAnimationStateData {
    spSkeletonData* skeletonData;   // not owned
    float defaultMix;               // 0 at creation
    spMixFromEntry* entries;        // owned; newest first
};

spAnimationStateData* spAnimationStateData_create(spSkeletonData* skeletonData);
void spAnimationStateData_dispose(spAnimationStateData* self);

// Overwrites the pair's duration, or adds the pair at the head of its lists.
void spAnimationStateData_setMix(spAnimationStateData* self, spAnimation* from, spAnimation* to, float duration);
// Does nothing when either name is not an animation of the skeleton data.
void spAnimationStateData_setMixByName(spAnimationStateData* self, const char* fromName, const char* toName,
                                       float duration);
// The pair's duration, else defaultMix.
float spAnimationStateData_getMix(const spAnimationStateData* self, const spAnimation* from, const spAnimation* to);
