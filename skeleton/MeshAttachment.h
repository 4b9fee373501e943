#pragma once
// A textured triangle mesh in the space of its slot's bone.
#include "skeleton/Attachment.h"

struct spSlot;

struct spMeshAttachment {
    spAttachment super;
    char* path;
    int verticesCount;     // floats, two per vertex
    float* vertices;       // bone space
    int hullLength;
    float* regionUVs;      // verticesCount floats, 0..1 across the region
    float* uvs;            // verticesCount floats, page coordinates (computed)
    int trianglesCount;
    int* triangles;        // vertex indices, three per triangle
    float r, g, b, a;
    void* rendererObject;  // atlas region, not owned
    int regionOffsetX, regionOffsetY, regionWidth, regionHeight, regionOriginalWidth, regionOriginalHeight;
    float regionU, regionV, regionU2, regionV2;
    int regionRotate;
    int edgesCount;
    int* edges;
    float width, height;
};

// Colour 1.
spMeshAttachment* spMeshAttachment_create(const char* name);
// Replaces uvs from regionUVs and the region's corners on the page.
void spMeshAttachment_updateUVs(spMeshAttachment* self);
// One x, y pair per vertex in skeleton space: the slot's deformed vertices when
// their count equals verticesCount, else the mesh's own.
void spMeshAttachment_computeWorldVertices(spMeshAttachment* self, spSlot* slot, float* worldVertices);

// Page coordinates of count floats of region uvs (shared with skinned meshes).
void skeleton_computeMeshUVs(const float* regionUVs, int count, float u, float v, float u2, float v2,
                             int rotate, float* uvs);
