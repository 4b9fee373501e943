#include "skeleton/Skeleton.h"

#include <cstring>
#include <unordered_map>
#include <vector>

#include "skeleton/extension.h"

namespace {

void freeBoneCache(spSkeleton* self) {
    for (int i = 0; i < self->boneCacheCount; ++i) SK_FREE(self->boneCache[i]);
    SK_FREE(self->boneCache);
    SK_FREE(self->boneCacheCounts);
    self->boneCache = nullptr;
    self->boneCacheCounts = nullptr;
    self->boneCacheCount = 0;
}

// The level each bone goes to: the first constraint whose chain holds the bone
// or, failing that, the nearest ancestor held by one (the bone stands in levels
// i and i + 1), else -1 (level 0). A constraint's chain runs from its last bone
// up through the parents to its first bone. Each chain is walked once and each
// bone's level is taken from its parent's, so the cost is the bones plus the
// chains' lengths.
std::vector<int> constraintLevels(const spSkeleton* self) {
    const int count = self->bonesCount;
    std::unordered_map<const spBone*, int> indexOf;
    indexOf.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) indexOf.emplace(self->bones[i], i);
    auto index = [&](const spBone* bone) {
        auto found = bone ? indexOf.find(bone) : indexOf.end();
        return found == indexOf.end() ? -1 : found->second;
    };

    // The first constraint holding each bone in its chain.
    std::vector<int> owner(static_cast<size_t>(count), -1);
    for (int i = 0; i < self->ikConstraintsCount; ++i) {
        const spIkConstraint* ik = self->ikConstraints[i];
        if (ik->bonesCount == 0) continue;
        const spBone* first = ik->bones[0];
        for (const spBone* bone = ik->bones[ik->bonesCount - 1]; bone; bone = bone->parent) {
            int b = index(bone);
            if (b >= 0 && owner[static_cast<size_t>(b)] < 0) owner[static_cast<size_t>(b)] = i;
            if (bone == first) break;
        }
    }

    constexpr int kUnknown = -2;
    std::vector<int> levels(static_cast<size_t>(count), kUnknown);
    std::vector<int> path;
    for (int i = 0; i < count; ++i) {
        // Climb to the first bone whose level is known or that a chain holds.
        path.clear();
        int b = i;
        while (b >= 0 && levels[static_cast<size_t>(b)] == kUnknown && owner[static_cast<size_t>(b)] < 0) {
            path.push_back(b);
            b = index(self->bones[b]->parent);
        }
        int level = -1;
        if (b >= 0) {
            level = levels[static_cast<size_t>(b)] != kUnknown ? levels[static_cast<size_t>(b)] : owner[static_cast<size_t>(b)];
            levels[static_cast<size_t>(b)] = level;
        }
        for (int p : path) levels[static_cast<size_t>(p)] = level;
    }
    return levels;
}

}  // namespace

spSkeleton* spSkeleton_create(spSkeletonData* data) {
    spSkeleton* self = SK_NEW(spSkeleton);
    self->data = data;

    self->bonesCount = data->bonesCount;
    self->bones = SK_CALLOC(spBone*, self->bonesCount);
    // Bone data to its index; the first of equal pointers counts.
    std::unordered_map<const spBoneData*, int> dataIndex;
    dataIndex.reserve(static_cast<size_t>(self->bonesCount));
    for (int i = 0; i < self->bonesCount; ++i) {
        spBoneData* boneData = data->bones[i];
        spBone* parent = nullptr;
        if (boneData->parent) {
            auto found = dataIndex.find(boneData->parent);
            if (found != dataIndex.end() && found->second < i) parent = self->bones[found->second];
        }
        dataIndex.emplace(boneData, i);
        self->bones[i] = spBone_create(boneData, self, parent);
    }
    self->root = self->bonesCount > 0 ? self->bones[0] : nullptr;

    self->slotsCount = data->slotsCount;
    self->slots = SK_CALLOC(spSlot*, self->slotsCount);
    for (int i = 0; i < self->slotsCount; ++i) {
        spSlotData* slotData = data->slots[i];
        auto found = dataIndex.find(slotData->boneData);
        // A slot always sits on a bone of its data; a stray one is put on the root.
        spBone* bone = found != dataIndex.end() ? self->bones[found->second] : self->root;
        self->slots[i] = SK_NEW(spSlot);
        self->slots[i]->data = slotData;
        self->slots[i]->bone = bone;
    }
    self->drawOrder = SK_CALLOC(spSlot*, self->slotsCount);
    std::memcpy(self->drawOrder, self->slots, sizeof(spSlot*) * static_cast<size_t>(self->slotsCount));

    self->ikConstraintsCount = data->ikConstraintsCount;
    self->ikConstraints = SK_CALLOC(spIkConstraint*, self->ikConstraintsCount);
    for (int i = 0; i < self->ikConstraintsCount; ++i)
        self->ikConstraints[i] = spIkConstraint_create(data->ikConstraints[i], self);

    self->r = self->g = self->b = self->a = 1;
    spSkeleton_updateCache(self);
    for (int i = 0; i < self->slotsCount; ++i)
        if (self->slots[i]->bone) spSlot_setToSetupPose(self->slots[i]);
    return self;
}

void spSkeleton_dispose(spSkeleton* self) {
    if (!self) return;
    freeBoneCache(self);
    for (int i = 0; i < self->bonesCount; ++i) spBone_dispose(self->bones[i]);
    SK_FREE(self->bones);
    for (int i = 0; i < self->slotsCount; ++i) spSlot_dispose(self->slots[i]);
    SK_FREE(self->slots);
    for (int i = 0; i < self->ikConstraintsCount; ++i) spIkConstraint_dispose(self->ikConstraints[i]);
    SK_FREE(self->ikConstraints);
    SK_FREE(self->drawOrder);
    SK_FREE(self);
}

void spSkeleton_updateCache(spSkeleton* self) {
    freeBoneCache(self);
    self->boneCacheCount = self->ikConstraintsCount + 1;
    self->boneCacheCounts = SK_CALLOC(int, self->boneCacheCount);
    self->boneCache = SK_CALLOC(spBone**, self->boneCacheCount);
    std::vector<int> levels = constraintLevels(self);
    for (int i = 0; i < self->bonesCount; ++i) {
        if (levels[static_cast<size_t>(i)] < 0) {
            self->boneCacheCounts[0]++;
        } else {
            self->boneCacheCounts[levels[static_cast<size_t>(i)]]++;
            self->boneCacheCounts[levels[static_cast<size_t>(i)] + 1]++;
        }
    }
    for (int i = 0; i < self->boneCacheCount; ++i) {
        self->boneCache[i] = SK_MALLOC(spBone*, self->boneCacheCounts[i]);
        self->boneCacheCounts[i] = 0;
    }
    for (int i = 0; i < self->bonesCount; ++i) {
        spBone* bone = self->bones[i];
        int level = levels[static_cast<size_t>(i)];
        if (level < 0) {
            self->boneCache[0][self->boneCacheCounts[0]++] = bone;
        } else {
            self->boneCache[level][self->boneCacheCounts[level]++] = bone;
            self->boneCache[level + 1][self->boneCacheCounts[level + 1]++] = bone;
        }
    }
}

void spSkeleton_updateWorldTransform(const spSkeleton* self) {
    for (int i = 0; i < self->bonesCount; ++i) self->bones[i]->rotationIK = self->bones[i]->rotation;
    int last = self->boneCacheCount - 1;
    for (int level = 0; level <= last; ++level) {
        spBone** bones = self->boneCache[level];
        for (int j = 0, n = self->boneCacheCounts[level]; j < n; ++j) spBone_updateWorldTransform(bones[j]);
        if (level < last) spIkConstraint_apply(self->ikConstraints[level]);
    }
}

void spSkeleton_setToSetupPose(const spSkeleton* self) {
    spSkeleton_setBonesToSetupPose(self);
    spSkeleton_setSlotsToSetupPose(self);
}

void spSkeleton_setBonesToSetupPose(const spSkeleton* self) {
    for (int i = 0; i < self->bonesCount; ++i) spBone_setToSetupPose(self->bones[i]);
    for (int i = 0; i < self->ikConstraintsCount; ++i) {
        spIkConstraint* ik = self->ikConstraints[i];
        ik->bendDirection = ik->data->bendDirection;
        ik->mix = ik->data->mix;
    }
}

void spSkeleton_setSlotsToSetupPose(const spSkeleton* self) {
    std::memcpy(self->drawOrder, self->slots, sizeof(spSlot*) * static_cast<size_t>(self->slotsCount));
    for (int i = 0; i < self->slotsCount; ++i) spSlot_setToSetupPose(self->slots[i]);
}

spBone* spSkeleton_findBone(const spSkeleton* self, const char* boneName) {
    int i = spSkeleton_findBoneIndex(self, boneName);
    return i < 0 ? nullptr : self->bones[i];
}

int spSkeleton_findBoneIndex(const spSkeleton* self, const char* boneName) {
    if (!boneName) return -1;
    for (int i = 0; i < self->bonesCount; ++i)
        if (std::strcmp(self->bones[i]->data->name, boneName) == 0) return i;
    return -1;
}

spSlot* spSkeleton_findSlot(const spSkeleton* self, const char* slotName) {
    int i = spSkeleton_findSlotIndex(self, slotName);
    return i < 0 ? nullptr : self->slots[i];
}

int spSkeleton_findSlotIndex(const spSkeleton* self, const char* slotName) {
    if (!slotName) return -1;
    for (int i = 0; i < self->slotsCount; ++i)
        if (std::strcmp(self->slots[i]->data->name, slotName) == 0) return i;
    return -1;
}

spIkConstraint* spSkeleton_findIkConstraint(const spSkeleton* self, const char* ikConstraintName) {
    if (!ikConstraintName) return nullptr;
    for (int i = 0; i < self->ikConstraintsCount; ++i)
        if (std::strcmp(self->ikConstraints[i]->data->name, ikConstraintName) == 0) return self->ikConstraints[i];
    return nullptr;
}

void spSkeleton_setSkin(spSkeleton* self, spSkin* newSkin) {
    if (newSkin) {
        if (self->skin) {
            spSkin_attachAll(newSkin, self, self->skin);
        } else {
            for (int i = 0; i < self->slotsCount; ++i) {
                spSlot* slot = self->slots[i];
                const char* name = slot->data->attachmentName;
                if (!name) continue;
                spAttachment* attachment = spSkin_getAttachment(newSkin, i, name);
                if (attachment) spSlot_setAttachment(slot, attachment);
            }
        }
    }
    self->skin = newSkin;
}

int spSkeleton_setSkinByName(spSkeleton* self, const char* skinName) {
    if (!skinName) {
        spSkeleton_setSkin(self, nullptr);
        return 1;
    }
    spSkin* skin = spSkeletonData_findSkin(self->data, skinName);
    if (!skin) return 0;
    spSkeleton_setSkin(self, skin);
    return 1;
}

spAttachment* spSkeleton_getAttachmentForSlotName(const spSkeleton* self, const char* slotName,
                                                  const char* attachmentName) {
    int slotIndex = spSkeletonData_findSlotIndex(self->data, slotName);
    return spSkeleton_getAttachmentForSlotIndex(self, slotIndex, attachmentName);
}

spAttachment* spSkeleton_getAttachmentForSlotIndex(const spSkeleton* self, int slotIndex,
                                                   const char* attachmentName) {
    if (slotIndex == -1 || !attachmentName) return nullptr;
    if (self->skin) {
        spAttachment* attachment = spSkin_getAttachment(self->skin, slotIndex, attachmentName);
        if (attachment) return attachment;
    }
    if (self->data->defaultSkin) return spSkin_getAttachment(self->data->defaultSkin, slotIndex, attachmentName);
    return nullptr;
}

int spSkeleton_setAttachment(spSkeleton* self, const char* slotName, const char* attachmentName) {
    int i = spSkeleton_findSlotIndex(self, slotName);
    if (i < 0) return 0;
    spSlot* slot = self->slots[i];
    if (!attachmentName) {
        spSlot_setAttachment(slot, nullptr);
        return 1;
    }
    spAttachment* attachment = spSkeleton_getAttachmentForSlotIndex(self, i, attachmentName);
    if (!attachment) return 0;
    spSlot_setAttachment(slot, attachment);
    return 1;
}

void spSkeleton_update(spSkeleton* self, float deltaTime) { self->time += deltaTime; }
