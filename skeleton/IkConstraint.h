#pragma once
// A posed IK constraint: turns one bone, or a parent and its child, towards the
// target bone's world position, blended with the animated rotation by mix.
#include "skeleton/Bone.h"
#include "skeleton/IkConstraintData.h"

struct spSkeleton;

struct spIkConstraint {
    spIkConstraintData* data;
    int bonesCount;
    spBone** bones;   // one bone, or parent then child
    spBone* target;
    int bendDirection;
    float mix;
};

// The skeleton's bones made for the data's bones and target.
spIkConstraint* spIkConstraint_create(spIkConstraintData* data, const spSkeleton* skeleton);
void spIkConstraint_dispose(spIkConstraint* self);
void spIkConstraint_apply(spIkConstraint* self);
void spIkConstraint_apply1(spBone* bone, float targetX, float targetY, float alpha);
void spIkConstraint_apply2(spBone* parent, spBone* child, float targetX, float targetY, int bendDirection,
                           float alpha);
