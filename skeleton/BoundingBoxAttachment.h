#pragma once
// A polygon in bone space, for hit tests.
#include "skeleton/Attachment.h"

struct spBone;

struct spBoundingBoxAttachment {
    spAttachment super;
    int verticesCount;   // floats, two per vertex
    float* vertices;
};

spBoundingBoxAttachment* spBoundingBoxAttachment_create(const char* name);
// verticesCount floats in skeleton space (a trailing odd float is left untouched).
void spBoundingBoxAttachment_computeWorldVertices(spBoundingBoxAttachment* self, spBone* bone, float* vertices);
