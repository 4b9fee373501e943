#pragma once
// Attachment loader on an atlas: region, mesh and skinned-mesh attachments are
// put on the atlas region their path names; bounding boxes need no region.
#include "skeleton/Atlas.h"
#include "skeleton/AttachmentLoader.h"

struct spAtlasAttachmentLoader {
    spAttachmentLoader super;
    spAtlas* atlas;   // not owned
};

spAtlasAttachmentLoader* spAtlasAttachmentLoader_create(spAtlas* atlas);
// "Region not found: " + path when the atlas lacks the region.
spAttachment* spAtlasAttachmentLoader_newAttachment(spAttachmentLoader* loader, spSkin* skin,
                                                    spAttachmentType type, const char* name, const char* path);
