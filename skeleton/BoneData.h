#pragma once
// Setup pose of one bone. The parent is a reference into the same skeleton data.
struct spBoneData {
    char* name;
    spBoneData* parent;   // null for a root
    float length;
    float x, y;
    float rotation;        // degrees
    float scaleX, scaleY;
    int flipX, flipY;
    int inheritScale, inheritRotation;
};

// scaleX = scaleY = 1, both inherit flags 1, everything else 0.
spBoneData* spBoneData_create(const char* name, spBoneData* parent);
void spBoneData_dispose(spBoneData* self);
