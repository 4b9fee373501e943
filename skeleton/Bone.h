#pragma once
// A posed bone of a skeleton: local values written by animations and the world
// matrix computed from them. World point = (m00*px + m01*py + worldX,
// m10*px + m11*py + worldY).
#include "skeleton/BoneData.h"

struct spSkeleton;

struct spBone {
    spBoneData* data;
    spSkeleton* skeleton;
    spBone* parent;
    float x, y;
    float rotation;
    float rotationIK;   // the rotation actually used, after IK
    float scaleX, scaleY;
    int flipX, flipY;
    float m00, m01, worldX;
    float m10, m11, worldY;
    float worldRotation;
    float worldScaleX, worldScaleY;
    int worldFlipX, worldFlipY;
};

// Process-wide: flips the world Y axis of every skeleton. False by default.
void spBone_setYDown(int yDown);
int spBone_isYDown();

// Set to its setup pose.
spBone* spBone_create(spBoneData* data, spSkeleton* skeleton, spBone* parent);
void spBone_dispose(spBone* self);
void spBone_setToSetupPose(spBone* self);
void spBone_updateWorldTransform(spBone* self);
void spBone_worldToLocal(const spBone* self, float worldX, float worldY, float* localX, float* localY);
void spBone_localToWorld(const spBone* self, float localX, float localY, float* worldX, float* worldY);
