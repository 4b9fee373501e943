#pragma once
// A textured triangle mesh whose vertices are weighted over several bones.
#include "skeleton/Attachment.h"

struct spSlot;

struct spSkinnedMeshAttachment {
    spAttachment super;
    char* path;
    int bonesCount;
    int* bones;          // per vertex: n, then n skeleton bone indices
    int weightsCount;
    float* weights;      // per influence: x, y in that bone's space, weight
    int trianglesCount;
    int* triangles;
    int uvsCount;
    float* regionUVs;
    float* uvs;          // uvsCount floats (computed)
    int hullLength;
    float r, g, b, a;
    void* rendererObject;
    int regionOffsetX, regionOffsetY, regionWidth, regionHeight, regionOriginalWidth, regionOriginalHeight;
    float regionU, regionV, regionU2, regionV2;
    int regionRotate;
    int edgesCount;
    int* edges;
    float width, height;
};

// Colour 1.
spSkinnedMeshAttachment* spSkinnedMeshAttachment_create(const char* name);
void spSkinnedMeshAttachment_updateUVs(spSkinnedMeshAttachment* self);
// One x, y pair per vertex in skeleton space; the slot's deformed vertices, when
// there are any, hold one x, y offset per influence.
void spSkinnedMeshAttachment_computeWorldVertices(spSkinnedMeshAttachment* self, spSlot* slot, float* worldVertices);
