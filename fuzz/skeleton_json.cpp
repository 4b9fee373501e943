// Any bytes through the skeleton runtime's JSON tree parser and the skeleton
// reader: a read either gives skeleton data or an error, never a fault. What the
// reader accepted is then used as the game uses it: the skeleton is built and
// posed, every animation is applied at its start, middle and end and past its end
// (looping and not) and mixed over the pose, and an animation state plays the
// animations one after another with mixing on two tracks. After every apply the
// world vertices of every attachment are computed on its slot, as the renderer
// reads them (deformed meshes included).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "skeleton/AnimationState.h"
#include "skeleton/AnimationStateData.h"
#include "skeleton/BoundingBoxAttachment.h"
#include "skeleton/Json.h"
#include "skeleton/MeshAttachment.h"
#include "skeleton/RegionAttachment.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonJson.h"
#include "skeleton/Skin.h"
#include "skeleton/SkinnedMeshAttachment.h"
#include "skeleton/Slot.h"

namespace {

// The world vertices of one attachment on a slot, into a buffer of exactly the
// size its kind announces (so a read or write past it is a finding).
void computeWorldVertices(spAttachment* attachment, spSlot* slot) {
    std::vector<float> vertices;
    switch (attachment->type) {
        case SP_ATTACHMENT_REGION:
            vertices.resize(8);
            spRegionAttachment_computeWorldVertices(reinterpret_cast<spRegionAttachment*>(attachment), slot->bone,
                                                    vertices.data());
            break;
        case SP_ATTACHMENT_BOUNDING_BOX: {
            auto* box = reinterpret_cast<spBoundingBoxAttachment*>(attachment);
            vertices.resize(static_cast<size_t>(std::max(box->verticesCount, 0)));
            spBoundingBoxAttachment_computeWorldVertices(box, slot->bone, vertices.data());
            break;
        }
        case SP_ATTACHMENT_MESH: {
            auto* mesh = reinterpret_cast<spMeshAttachment*>(attachment);
            vertices.resize(static_cast<size_t>(std::max(mesh->verticesCount, 0)));
            spMeshAttachment_computeWorldVertices(mesh, slot, vertices.data());
            break;
        }
        case SP_ATTACHMENT_SKINNED_MESH: {
            auto* mesh = reinterpret_cast<spSkinnedMeshAttachment*>(attachment);
            vertices.resize(static_cast<size_t>(std::max(mesh->uvsCount, 0)));
            spSkinnedMeshAttachment_computeWorldVertices(mesh, slot, vertices.data());
            break;
        }
        default:
            break;
    }
}

// Every attachment of every skin on its slot, and every slot's current one.
void computeEveryWorldVertices(spSkeletonData* data, spSkeleton* skeleton) {
    for (int i = 0; i < skeleton->slotsCount; ++i) {
        spSlot* slot = skeleton->slots[i];
        if (slot->attachment) computeWorldVertices(slot->attachment, slot);
    }
    for (int i = 0; i < data->skinsCount; ++i) {
        for (const spSkinEntry* entry = data->skins[i]->entries; entry; entry = entry->next) {
            if (entry->slotIndex < 0 || entry->slotIndex >= skeleton->slotsCount) continue;
            computeWorldVertices(entry->attachment, skeleton->slots[entry->slotIndex]);
        }
    }
}

void applyEveryAnimation(spSkeletonData* data, spSkeleton* skeleton) {
    std::vector<spEvent*> events;
    for (int i = 0; i < data->animationsCount; ++i) {
        const spAnimation* animation = data->animations[i];
        events.resize(static_cast<size_t>(std::max(1, spAnimation_countEventKeys(animation))));
        const float end = animation->duration;
        const float times[] = {0.f, end / 2, end, end + 0.5f, end * 2 + 0.25f};
        float last = -1.f;
        for (float time : times) {
            for (int loop = 0; loop < 2; ++loop) {
                int count = 0;
                spAnimation_apply(animation, skeleton, last, time, loop, events.data(), &count);
                count = 0;
                spAnimation_mix(animation, skeleton, last, time, loop, events.data(), &count, 0.5f);
            }
            last = time;
            spSkeleton_updateWorldTransform(skeleton);
            computeEveryWorldVertices(data, skeleton);
        }
        spSkeleton_setToSetupPose(skeleton);
    }
}

void playThroughAnimationState(spSkeletonData* data, spSkeleton* skeleton) {
    spAnimationStateData* mixes = spAnimationStateData_create(data);
    mixes->defaultMix = 0.2f;
    spAnimationState* state = spAnimationState_create(mixes);
    for (int i = 0; i < data->animationsCount; ++i) {
        spAnimation* animation = data->animations[i];
        spAnimationState_setAnimation(state, 0, animation, i & 1);
        spAnimationState_addAnimation(state, 1, animation, 0, 0.f);
        const float step = animation->duration / 2 + 0.1f;
        for (int frame = 0; frame < 3; ++frame) {
            spAnimationState_update(state, step);
            spAnimationState_apply(state, skeleton);
            spSkeleton_updateWorldTransform(skeleton);
            computeEveryWorldVertices(data, skeleton);
        }
    }
    spAnimationState_dispose(state);
    spAnimationStateData_dispose(mixes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    spJson_dispose(spJson_createWithLength(text, size));

    static spAtlas* atlas = [] {
        static const char atlasText[] =
            "p.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
            "r\n rotate: true\n xy: 0, 0\n size: 1, 1\n orig: 1, 1\n offset: 0, 0\n index: -1\n";
        return spAtlas_create(atlasText, sizeof atlasText - 1, "", nullptr);
    }();
    spSkeletonJson* json = spSkeletonJson_create(atlas);
    json->scale = 0.5f;
    spSkeletonData* skeletonData = spSkeletonJson_readSkeletonDataWithLength(json, text, size);
    if (skeletonData) {
        spSkeleton* skeleton = spSkeleton_create(skeletonData);
        for (int i = 0; i < skeletonData->skinsCount; ++i) spSkeleton_setSkin(skeleton, skeletonData->skins[i]);
        spSkeleton_updateWorldTransform(skeleton);
        applyEveryAnimation(skeletonData, skeleton);
        playThroughAnimationState(skeletonData, skeleton);
        spSkeleton_dispose(skeleton);
    }
    spSkeletonData_dispose(skeletonData);
    spSkeletonJson_dispose(json);
    return 0;
}
