#include "skeleton/AtlasAttachmentLoader.h"

#include "skeleton/BoundingBoxAttachment.h"
#include "skeleton/MeshAttachment.h"
#include "skeleton/RegionAttachment.h"
#include "skeleton/SkinnedMeshAttachment.h"
#include "skeleton/extension.h"

namespace {

void dispose(spAttachmentLoader* loader) { spAttachmentLoader_deinit(loader); }

template <typename Mesh>
void placeMesh(Mesh* mesh, const spAtlasRegion* region) {
    mesh->rendererObject = const_cast<spAtlasRegion*>(region);
    mesh->regionU = region->u;
    mesh->regionV = region->v;
    mesh->regionU2 = region->u2;
    mesh->regionV2 = region->v2;
    mesh->regionRotate = region->rotate;
    mesh->regionOffsetX = region->offsetX;
    mesh->regionOffsetY = region->offsetY;
    mesh->regionWidth = region->width;
    mesh->regionHeight = region->height;
    mesh->regionOriginalWidth = region->originalWidth;
    mesh->regionOriginalHeight = region->originalHeight;
}

}  // namespace

spAtlasAttachmentLoader* spAtlasAttachmentLoader_create(spAtlas* atlas) {
    spAtlasAttachmentLoader* self = SK_NEW(spAtlasAttachmentLoader);
    spAttachmentLoader_init(&self->super, dispose, spAtlasAttachmentLoader_newAttachment);
    self->atlas = atlas;
    return self;
}

spAttachment* spAtlasAttachmentLoader_newAttachment(spAttachmentLoader* loader, spSkin*, spAttachmentType type,
                                                    const char* name, const char* path) {
    auto* self = reinterpret_cast<spAtlasAttachmentLoader*>(loader);
    switch (type) {
    case SP_ATTACHMENT_REGION:
    case SP_ATTACHMENT_MESH:
    case SP_ATTACHMENT_SKINNED_MESH: {
        spAtlasRegion* region = self->atlas ? spAtlas_findRegion(self->atlas, path) : nullptr;
        if (!region) {
            spAttachmentLoader_setError(loader, "Region not found: ", path);
            return nullptr;
        }
        if (type == SP_ATTACHMENT_MESH) {
            spMeshAttachment* mesh = spMeshAttachment_create(name);
            placeMesh(mesh, region);
            return &mesh->super;
        }
        if (type == SP_ATTACHMENT_SKINNED_MESH) {
            spSkinnedMeshAttachment* mesh = spSkinnedMeshAttachment_create(name);
            placeMesh(mesh, region);
            return &mesh->super;
        }
        spRegionAttachment* attachment = spRegionAttachment_create(name);
        attachment->rendererObject = region;
        spRegionAttachment_setUVs(attachment, region->u, region->v, region->u2, region->v2, region->rotate);
        attachment->regionOffsetX = region->offsetX;
        attachment->regionOffsetY = region->offsetY;
        attachment->regionWidth = region->width;
        attachment->regionHeight = region->height;
        attachment->regionOriginalWidth = region->originalWidth;
        attachment->regionOriginalHeight = region->originalHeight;
        return &attachment->super;
    }
    case SP_ATTACHMENT_BOUNDING_BOX:
        return &spBoundingBoxAttachment_create(name)->super;
    default:
        spAttachmentLoader_setUnknownTypeError(loader, type);
        return nullptr;
    }
}
