#include "skeleton/SkinnedMeshAttachment.h"

#include "skeleton/Bone.h"
#include "skeleton/MeshAttachment.h"
#include "skeleton/Skeleton.h"
#include "skeleton/Slot.h"
#include "skeleton/extension.h"

namespace {

void dispose(spAttachment* attachment) {
    auto* self = reinterpret_cast<spSkinnedMeshAttachment*>(attachment);
    SK_FREE(self->path);
    SK_FREE(self->bones);
    SK_FREE(self->weights);
    SK_FREE(self->regionUVs);
    SK_FREE(self->uvs);
    SK_FREE(self->triangles);
    SK_FREE(self->edges);
    spAttachment_deinit(attachment);
    SK_FREE(self);
}

}  // namespace

spSkinnedMeshAttachment* spSkinnedMeshAttachment_create(const char* name) {
    spSkinnedMeshAttachment* self = SK_NEW(spSkinnedMeshAttachment);
    spAttachment_init(&self->super, name, SP_ATTACHMENT_SKINNED_MESH, dispose);
    self->r = self->g = self->b = self->a = 1;
    return self;
}

void spSkinnedMeshAttachment_updateUVs(spSkinnedMeshAttachment* self) {
    SK_FREE(self->uvs);
    self->uvs = SK_CALLOC(float, self->uvsCount);
    skeleton_computeMeshUVs(self->regionUVs, self->uvsCount, self->regionU, self->regionV,
                            self->regionU2, self->regionV2, self->regionRotate, self->uvs);
}

void spSkinnedMeshAttachment_computeWorldVertices(spSkinnedMeshAttachment* self, spSlot* slot,
                                                  float* worldVertices) {
    spSkeleton* skeleton = slot->bone->skeleton;
    const float* deform = slot->attachmentVerticesCount != 0 ? slot->attachmentVertices : nullptr;
    int w = 0, d = 0, out = 0;
    for (int b = 0; b < self->bonesCount;) {
        int n = self->bones[b++];
        float wx = 0, wy = 0;
        for (int k = 0; k < n && b < self->bonesCount; ++k, ++b, w += 3) {
            spBone* bone = skeleton->bones[self->bones[b]];
            float vx = self->weights[w], vy = self->weights[w + 1], weight = self->weights[w + 2];
            if (deform && d + 1 < slot->attachmentVerticesCount) {
                vx += deform[d];
                vy += deform[d + 1];
            }
            d += 2;
            wx += (vx * bone->m00 + vy * bone->m01 + bone->worldX) * weight;
            wy += (vx * bone->m10 + vy * bone->m11 + bone->worldY) * weight;
        }
        worldVertices[out++] = wx + skeleton->x;
        worldVertices[out++] = wy + skeleton->y;
    }
}
