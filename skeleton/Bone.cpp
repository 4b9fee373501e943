#include "skeleton/Bone.h"

#include <cmath>

#include "skeleton/Skeleton.h"
#include "skeleton/extension.h"

namespace {
int yDownFlag = 0;
}

void spBone_setYDown(int yDown) { yDownFlag = yDown ? 1 : 0; }
int spBone_isYDown() { return yDownFlag; }

spBone* spBone_create(spBoneData* data, spSkeleton* skeleton, spBone* parent) {
    spBone* self = SK_NEW(spBone);
    self->data = data;
    self->skeleton = skeleton;
    self->parent = parent;
    spBone_setToSetupPose(self);
    return self;
}

void spBone_dispose(spBone* self) { SK_FREE(self); }

void spBone_setToSetupPose(spBone* self) {
    const spBoneData* d = self->data;
    self->x = d->x;
    self->y = d->y;
    self->rotation = d->rotation;
    self->rotationIK = d->rotation;
    self->scaleX = d->scaleX;
    self->scaleY = d->scaleY;
    self->flipX = d->flipX;
    self->flipY = d->flipY;
}

void spBone_updateWorldTransform(spBone* self) {
    const spBone* parent = self->parent;
    const spBoneData* d = self->data;
    if (parent) {
        self->worldX = self->x * parent->m00 + self->y * parent->m01 + parent->worldX;
        self->worldY = self->x * parent->m10 + self->y * parent->m11 + parent->worldY;
        if (d->inheritScale) {
            self->worldScaleX = parent->worldScaleX * self->scaleX;
            self->worldScaleY = parent->worldScaleY * self->scaleY;
        } else {
            self->worldScaleX = self->scaleX;
            self->worldScaleY = self->scaleY;
        }
        self->worldRotation = d->inheritRotation ? parent->worldRotation + self->rotationIK : self->rotationIK;
        self->worldFlipX = parent->worldFlipX != self->flipX;
        self->worldFlipY = parent->worldFlipY != self->flipY;
    } else {
        const spSkeleton* skeleton = self->skeleton;
        self->worldX = skeleton->flipX ? -self->x : self->x;
        self->worldY = (skeleton->flipY != yDownFlag) ? -self->y : self->y;
        self->worldScaleX = self->scaleX;
        self->worldScaleY = self->scaleY;
        self->worldRotation = self->rotationIK;
        self->worldFlipX = skeleton->flipX != self->flipX;
        self->worldFlipY = skeleton->flipY != self->flipY;
    }
    float radians = self->worldRotation * 0.017453292f;
    float c = std::cos(radians), s = std::sin(radians);
    if (self->worldFlipX) {
        self->m00 = -c * self->worldScaleX;
        self->m01 = s * self->worldScaleY;
    } else {
        self->m00 = c * self->worldScaleX;
        self->m01 = -s * self->worldScaleY;
    }
    if (self->worldFlipY != yDownFlag) {
        self->m10 = -s * self->worldScaleX;
        self->m11 = -c * self->worldScaleY;
    } else {
        self->m10 = s * self->worldScaleX;
        self->m11 = c * self->worldScaleY;
    }
}

void spBone_worldToLocal(const spBone* self, float worldX, float worldY, float* localX, float* localY) {
    // The diagonal is taken as a and d, negated when exactly one axis is flipped,
    // and each local axis divides by its own diagonal entry. Under a uniform scale
    // this is the inverse of the world matrix; under a non-uniform one it is not,
    // and the skeletons' IK poses were authored against this form, so it stays.
    float dx = worldX - self->worldX, dy = worldY - self->worldY;
    float a = self->m00, d = self->m11;
    if (self->worldFlipX != (self->worldFlipY != yDownFlag)) {
        a = -a;
        d = -d;
    }
    float invDet = 1 / (a * d - self->m01 * self->m10);
    *localX = dx * a * invDet - dy * self->m01 * invDet;
    *localY = dy * d * invDet - dx * self->m10 * invDet;
}

void spBone_localToWorld(const spBone* self, float localX, float localY, float* worldX, float* worldY) {
    *worldX = localX * self->m00 + localY * self->m01 + self->worldX;
    *worldY = localX * self->m10 + localY * self->m11 + self->worldY;
}
