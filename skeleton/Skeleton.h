#pragma once
// One posable instance of a skeleton data: its own bones, slots, draw order and
// IK constraints, a current skin, a tint, a clock and a position. The data is not
// owned and must outlive the skeleton. The world transform walks a bone cache
// computed at creation and allocates nothing.
#include "skeleton/Bone.h"
#include "skeleton/IkConstraint.h"
#include "skeleton/SkeletonData.h"
#include "skeleton/Slot.h"

struct spSkeleton {
    spSkeletonData* data;
    int bonesCount;
    spBone** bones;
    spBone* root;           // bones[0], null for data without bones
    int slotsCount;
    spSlot** slots;
    spSlot** drawOrder;
    int ikConstraintsCount;
    spIkConstraint** ikConstraints;
    spSkin* skin;
    float r, g, b, a;
    float time;
    int flipX, flipY;
    float x, y;
    // Private: ikConstraintsCount + 1 levels of bones, updated in order with IK
    // constraint i applied after level i.
    int boneCacheCount;
    int* boneCacheCounts;
    spBone*** boneCache;
};

spSkeleton* spSkeleton_create(spSkeletonData* data);
void spSkeleton_dispose(spSkeleton* self);
void spSkeleton_updateCache(spSkeleton* self);
void spSkeleton_updateWorldTransform(const spSkeleton* self);

void spSkeleton_setToSetupPose(const spSkeleton* self);
void spSkeleton_setBonesToSetupPose(const spSkeleton* self);
void spSkeleton_setSlotsToSetupPose(const spSkeleton* self);

spBone* spSkeleton_findBone(const spSkeleton* self, const char* boneName);
int spSkeleton_findBoneIndex(const spSkeleton* self, const char* boneName);
spSlot* spSkeleton_findSlot(const spSkeleton* self, const char* slotName);
int spSkeleton_findSlotIndex(const spSkeleton* self, const char* slotName);
spIkConstraint* spSkeleton_findIkConstraint(const spSkeleton* self, const char* ikConstraintName);

// Switches skin, carrying over the attachments of the old skin (or the setup
// attachments when there was none). Null keeps every attachment.
void spSkeleton_setSkin(spSkeleton* self, spSkin* skin);
// 1 on success; 0 when the data has no skin of that name (nothing changes).
int spSkeleton_setSkinByName(spSkeleton* self, const char* skinName);

// The current skin's attachment, else the default skin's, else null.
spAttachment* spSkeleton_getAttachmentForSlotName(const spSkeleton* self, const char* slotName,
                                                  const char* attachmentName);
spAttachment* spSkeleton_getAttachmentForSlotIndex(const spSkeleton* self, int slotIndex,
                                                   const char* attachmentName);
// 1 when the slot exists and the attachment was found or cleared (null name).
int spSkeleton_setAttachment(spSkeleton* self, const char* slotName, const char* attachmentName);

void spSkeleton_update(spSkeleton* self, float deltaTime);
