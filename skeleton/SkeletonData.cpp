#include "skeleton/SkeletonData.h"

#include <cstring>

#include "skeleton/Animation.h"
#include "skeleton/extension.h"

namespace {

template <typename T>
int indexByName(T* const* items, int count, const char* name) {
    if (!name) return -1;
    for (int i = 0; i < count; ++i)
        if (std::strcmp(items[i]->name, name) == 0) return i;
    return -1;
}

template <typename T>
T* findByName(T* const* items, int count, const char* name) {
    int i = indexByName(items, count, name);
    return i < 0 ? nullptr : items[i];
}

template <typename T>
void disposeAll(T** items, int count, void (*dispose)(T*)) {
    for (int i = 0; i < count; ++i) dispose(items[i]);
    SK_FREE(items);
}

}  // namespace

spSkeletonData* spSkeletonData_create() { return SK_NEW(spSkeletonData); }

void spSkeletonData_dispose(spSkeletonData* self) {
    if (!self) return;
    disposeAll(self->bones, self->bonesCount, spBoneData_dispose);
    disposeAll(self->slots, self->slotsCount, spSlotData_dispose);
    disposeAll(self->skins, self->skinsCount, spSkin_dispose);
    disposeAll(self->events, self->eventsCount, spEventData_dispose);
    disposeAll(self->animations, self->animationsCount, spAnimation_dispose);
    disposeAll(self->ikConstraints, self->ikConstraintsCount, spIkConstraintData_dispose);
    SK_FREE(self->hash);
    SK_FREE(self->version);
    SK_FREE(self);
}

spBoneData* spSkeletonData_findBone(const spSkeletonData* self, const char* boneName) {
    return findByName(self->bones, self->bonesCount, boneName);
}
int spSkeletonData_findBoneIndex(const spSkeletonData* self, const char* boneName) {
    return indexByName(self->bones, self->bonesCount, boneName);
}
spSlotData* spSkeletonData_findSlot(const spSkeletonData* self, const char* slotName) {
    return findByName(self->slots, self->slotsCount, slotName);
}
int spSkeletonData_findSlotIndex(const spSkeletonData* self, const char* slotName) {
    return indexByName(self->slots, self->slotsCount, slotName);
}
spSkin* spSkeletonData_findSkin(const spSkeletonData* self, const char* skinName) {
    return findByName(self->skins, self->skinsCount, skinName);
}
spEventData* spSkeletonData_findEvent(const spSkeletonData* self, const char* eventName) {
    return findByName(self->events, self->eventsCount, eventName);
}
spAnimation* spSkeletonData_findAnimation(const spSkeletonData* self, const char* animationName) {
    return findByName(self->animations, self->animationsCount, animationName);
}
spIkConstraintData* spSkeletonData_findIkConstraint(const spSkeletonData* self, const char* ikConstraintName) {
    return findByName(self->ikConstraints, self->ikConstraintsCount, ikConstraintName);
}
