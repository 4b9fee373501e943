#pragma once
// Setup of one IK constraint: one bone, or a parent and a child, turned towards a
// target bone. The bones are references into the same skeleton data.
#include "skeleton/BoneData.h"

struct spIkConstraintData {
    char* name;
    int bonesCount;
    spBoneData** bones;   // owned array of references
    spBoneData* target;
    int bendDirection;    // +1 or -1
    float mix;
};

// bendDirection 1, mix 1, no bones.
spIkConstraintData* spIkConstraintData_create(const char* name);
void spIkConstraintData_dispose(spIkConstraintData* self);
