#include "skeleton/MeshAttachment.h"

#include "skeleton/Bone.h"
#include "skeleton/Skeleton.h"
#include "skeleton/Slot.h"
#include "skeleton/extension.h"

namespace {

void dispose(spAttachment* attachment) {
    auto* self = reinterpret_cast<spMeshAttachment*>(attachment);
    SK_FREE(self->path);
    SK_FREE(self->vertices);
    SK_FREE(self->regionUVs);
    SK_FREE(self->uvs);
    SK_FREE(self->triangles);
    SK_FREE(self->edges);
    spAttachment_deinit(attachment);
    SK_FREE(self);
}

}  // namespace

void skeleton_computeMeshUVs(const float* regionUVs, int count, float u, float v, float u2, float v2,
                             int rotate, float* uvs) {
    float width = u2 - u, height = v2 - v;
    for (int i = 0; i + 1 < count; i += 2) {
        float rx = regionUVs[i], ry = regionUVs[i + 1];
        if (rotate) {
            uvs[i] = u + ry * width;
            uvs[i + 1] = v + height - rx * height;
        } else {
            uvs[i] = u + rx * width;
            uvs[i + 1] = v + ry * height;
        }
    }
}

spMeshAttachment* spMeshAttachment_create(const char* name) {
    spMeshAttachment* self = SK_NEW(spMeshAttachment);
    spAttachment_init(&self->super, name, SP_ATTACHMENT_MESH, dispose);
    self->r = self->g = self->b = self->a = 1;
    return self;
}

void spMeshAttachment_updateUVs(spMeshAttachment* self) {
    SK_FREE(self->uvs);
    self->uvs = SK_CALLOC(float, self->verticesCount);
    skeleton_computeMeshUVs(self->regionUVs, self->verticesCount, self->regionU, self->regionV,
                            self->regionU2, self->regionV2, self->regionRotate, self->uvs);
}

void spMeshAttachment_computeWorldVertices(spMeshAttachment* self, spSlot* slot, float* worldVertices) {
    spBone* bone = slot->bone;
    float baseX = bone->skeleton->x + bone->worldX, baseY = bone->skeleton->y + bone->worldY;
    const float* vertices = slot->attachmentVerticesCount == self->verticesCount && slot->attachmentVertices
        ? slot->attachmentVertices : self->vertices;
    for (int i = 0; i + 1 < self->verticesCount; i += 2) {
        float px = vertices[i], py = vertices[i + 1];
        worldVertices[i] = px * bone->m00 + py * bone->m01 + baseX;
        worldVertices[i + 1] = px * bone->m10 + py * bone->m11 + baseY;
    }
}
