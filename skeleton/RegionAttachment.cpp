#include "skeleton/RegionAttachment.h"

#include <cmath>

#include "skeleton/Bone.h"
#include "skeleton/Skeleton.h"
#include "skeleton/extension.h"

namespace {

void dispose(spAttachment* attachment) {
    auto* self = reinterpret_cast<spRegionAttachment*>(attachment);
    SK_FREE(self->path);
    spAttachment_deinit(attachment);
    SK_FREE(self);
}

}  // namespace

spRegionAttachment* spRegionAttachment_create(const char* name) {
    spRegionAttachment* self = SK_NEW(spRegionAttachment);
    spAttachment_init(&self->super, name, SP_ATTACHMENT_REGION, dispose);
    self->scaleX = self->scaleY = 1;
    self->r = self->g = self->b = self->a = 1;
    return self;
}

void spRegionAttachment_setUVs(spRegionAttachment* self, float u, float v, float u2, float v2, int rotate) {
    float* uvs = self->uvs;
    if (rotate) {
        uvs[0] = u2; uvs[1] = v2;
        uvs[2] = u;  uvs[3] = v2;
        uvs[4] = u;  uvs[5] = v;
        uvs[6] = u2; uvs[7] = v;
    } else {
        uvs[0] = u;  uvs[1] = v2;
        uvs[2] = u;  uvs[3] = v;
        uvs[4] = u2; uvs[5] = v;
        uvs[6] = u2; uvs[7] = v2;
    }
}

void spRegionAttachment_updateOffset(spRegionAttachment* self) {
    float regionScaleX = self->regionOriginalWidth != 0
        ? self->width / static_cast<float>(self->regionOriginalWidth) * self->scaleX : 0.f;
    float regionScaleY = self->regionOriginalHeight != 0
        ? self->height / static_cast<float>(self->regionOriginalHeight) * self->scaleY : 0.f;
    float localX = -self->width / 2 * self->scaleX + static_cast<float>(self->regionOffsetX) * regionScaleX;
    float localY = -self->height / 2 * self->scaleY + static_cast<float>(self->regionOffsetY) * regionScaleY;
    float localX2 = localX + static_cast<float>(self->regionWidth) * regionScaleX;
    float localY2 = localY + static_cast<float>(self->regionHeight) * regionScaleY;
    float radians = self->rotation * 0.017453292f;
    float c = std::cos(radians), s = std::sin(radians);
    float* o = self->offset;
    o[0] = localX * c - localY * s + self->x;   o[1] = localY * c + localX * s + self->y;
    o[2] = localX * c - localY2 * s + self->x;  o[3] = localY2 * c + localX * s + self->y;
    o[4] = localX2 * c - localY2 * s + self->x; o[5] = localY2 * c + localX2 * s + self->y;
    o[6] = localX2 * c - localY * s + self->x;  o[7] = localY * c + localX2 * s + self->y;
}

void spRegionAttachment_computeWorldVertices(spRegionAttachment* self, spBone* bone, float* vertices) {
    float baseX = bone->skeleton->x + bone->worldX, baseY = bone->skeleton->y + bone->worldY;
    for (int i = 0; i < 8; i += 2) {
        float px = self->offset[i], py = self->offset[i + 1];
        vertices[i] = px * bone->m00 + py * bone->m01 + baseX;
        vertices[i + 1] = px * bone->m10 + py * bone->m11 + baseY;
    }
}
