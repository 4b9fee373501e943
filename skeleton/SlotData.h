#pragma once
// Setup pose of one slot: its bone, colour, setup attachment name and blend mode.
#include "skeleton/BoneData.h"

enum spBlendMode {
    SP_BLEND_MODE_NORMAL = 0,
    SP_BLEND_MODE_ADDITIVE = 1,
    SP_BLEND_MODE_MULTIPLY = 2,
    SP_BLEND_MODE_SCREEN = 3,
};

struct spSlotData {
    char* name;
    spBoneData* boneData;
    char* attachmentName;   // shown in the setup pose, or null
    float r, g, b, a;
    int blendMode;          // spBlendMode
};

// Colour 1, blend mode normal, no attachment name.
spSlotData* spSlotData_create(const char* name, spBoneData* boneData);
void spSlotData_dispose(spSlotData* self);
// Stores a copy of the name (or null), freeing the old one.
void spSlotData_setAttachmentName(spSlotData* self, const char* attachmentName);
