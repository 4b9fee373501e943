#include "skeleton/BoundingBoxAttachment.h"

#include "skeleton/Bone.h"
#include "skeleton/Skeleton.h"
#include "skeleton/extension.h"

namespace {

void dispose(spAttachment* attachment) {
    auto* self = reinterpret_cast<spBoundingBoxAttachment*>(attachment);
    SK_FREE(self->vertices);
    spAttachment_deinit(attachment);
    SK_FREE(self);
}

}  // namespace

spBoundingBoxAttachment* spBoundingBoxAttachment_create(const char* name) {
    spBoundingBoxAttachment* self = SK_NEW(spBoundingBoxAttachment);
    spAttachment_init(&self->super, name, SP_ATTACHMENT_BOUNDING_BOX, dispose);
    return self;
}

void spBoundingBoxAttachment_computeWorldVertices(spBoundingBoxAttachment* self, spBone* bone, float* vertices) {
    float baseX = bone->skeleton->x + bone->worldX, baseY = bone->skeleton->y + bone->worldY;
    for (int i = 0; i + 1 < self->verticesCount; i += 2) {
        float px = self->vertices[i], py = self->vertices[i + 1];
        vertices[i] = px * bone->m00 + py * bone->m01 + baseX;
        vertices[i + 1] = px * bone->m10 + py * bone->m11 + baseY;
    }
}
