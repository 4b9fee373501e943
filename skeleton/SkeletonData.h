#pragma once
// The setup-pose data of one skeleton file. Owns every record it lists; one
// skeleton data may back many skeletons and must outlive them.
#include "skeleton/BoneData.h"
#include "skeleton/EventData.h"
#include "skeleton/IkConstraintData.h"
#include "skeleton/Skin.h"
#include "skeleton/SlotData.h"

struct spAnimation;

struct spSkeletonData {
    char* version;
    char* hash;
    float width, height;
    int bonesCount;
    spBoneData** bones;     // parents before their children
    int slotsCount;
    spSlotData** slots;     // setup draw order
    int skinsCount;
    spSkin** skins;
    spSkin* defaultSkin;    // the skin named "default", one of skins, or null
    int eventsCount;
    spEventData** events;
    int animationsCount;
    spAnimation** animations;
    int ikConstraintsCount;
    spIkConstraintData** ikConstraints;
};

spSkeletonData* spSkeletonData_create();
// Bones, slots, skins, events, animations, IK constraints, then hash and version.
void spSkeletonData_dispose(spSkeletonData* self);

// Lookups: the first record of that exact name, else null (or -1 for indexes).
spBoneData* spSkeletonData_findBone(const spSkeletonData* self, const char* boneName);
int spSkeletonData_findBoneIndex(const spSkeletonData* self, const char* boneName);
spSlotData* spSkeletonData_findSlot(const spSkeletonData* self, const char* slotName);
int spSkeletonData_findSlotIndex(const spSkeletonData* self, const char* slotName);
spSkin* spSkeletonData_findSkin(const spSkeletonData* self, const char* skinName);
spEventData* spSkeletonData_findEvent(const spSkeletonData* self, const char* eventName);
spAnimation* spSkeletonData_findAnimation(const spSkeletonData* self, const char* animationName);
spIkConstraintData* spSkeletonData_findIkConstraint(const spSkeletonData* self, const char* ikConstraintName);
