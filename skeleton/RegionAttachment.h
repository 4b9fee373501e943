#pragma once
// A rectangular image on an atlas region, placed in its bone's space.
#include "skeleton/Attachment.h"

struct spBone;

struct spRegionAttachment {
    spAttachment super;
    char* path;
    float x, y, scaleX, scaleY, rotation, width, height;
    float r, g, b, a;
    void* rendererObject;   // the atlas region, not owned
    int regionOffsetX, regionOffsetY;              // stripped at the bottom left, unrotated
    int regionWidth, regionHeight;                 // stripped size
    int regionOriginalWidth, regionOriginalHeight; // unstripped size
    float offset[8];   // corners 1 (bottom left) to 4 (bottom right) in bone space
    float uvs[8];      // texture coordinates of the same corners
};

// scaleX = scaleY = 1, colour 1.
spRegionAttachment* spRegionAttachment_create(const char* name);
void spRegionAttachment_setUVs(spRegionAttachment* self, float u, float v, float u2, float v2, int rotate);
// Corner offsets from size, scale, rotation and the region's stripping. A region
// without an original size contributes no stripping offset.
void spRegionAttachment_updateOffset(spRegionAttachment* self);
// The four corners in skeleton space (8 floats).
void spRegionAttachment_computeWorldVertices(spRegionAttachment* self, spBone* bone, float* vertices);
