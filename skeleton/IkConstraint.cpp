#include "skeleton/IkConstraint.h"

#include <algorithm>
#include <cmath>

#include "skeleton/Skeleton.h"
#include "skeleton/extension.h"

namespace {

const float RAD = 57.295776f;

spBone* boneFor(const spSkeleton* skeleton, const spBoneData* data) {
    for (int i = 0; i < skeleton->bonesCount; ++i)
        if (skeleton->bones[i]->data == data) return skeleton->bones[i];
    return nullptr;
}

float wrap180(float r) {
    if (r > 180) r -= 360;
    else if (r < -180) r += 360;
    return r;
}

}  // namespace

spIkConstraint* spIkConstraint_create(spIkConstraintData* data, const spSkeleton* skeleton) {
    spIkConstraint* self = SK_NEW(spIkConstraint);
    self->data = data;
    self->bendDirection = data->bendDirection;
    self->mix = data->mix;
    self->bones = SK_CALLOC(spBone*, data->bonesCount);
    for (int i = 0; i < data->bonesCount; ++i) {
        spBone* bone = boneFor(skeleton, data->bones[i]);
        if (bone) self->bones[self->bonesCount++] = bone;
    }
    self->target = boneFor(skeleton, data->target);
    return self;
}

void spIkConstraint_dispose(spIkConstraint* self) {
    if (!self) return;
    SK_FREE(self->bones);
    SK_FREE(self);
}

void spIkConstraint_apply(spIkConstraint* self) {
    if (!self->target) return;
    if (self->bonesCount == 1)
        spIkConstraint_apply1(self->bones[0], self->target->worldX, self->target->worldY, self->mix);
    else if (self->bonesCount == 2)
        spIkConstraint_apply2(self->bones[0], self->bones[1], self->target->worldX, self->target->worldY,
                              self->bendDirection, self->mix);
}

void spIkConstraint_apply1(spBone* bone, float targetX, float targetY, float alpha) {
    float parentRotation = (bone->data->inheritRotation && bone->parent) ? bone->parent->worldRotation : 0;
    float rotation = bone->rotation;
    float angle = std::atan2(targetY - bone->worldY, targetX - bone->worldX) * RAD;
    if (bone->worldFlipX != (bone->worldFlipY != spBone_isYDown())) angle = -angle;
    bone->rotationIK = rotation + (angle - parentRotation - rotation) * alpha;
}

void spIkConstraint_apply2(spBone* parent, spBone* child, float targetX, float targetY, int bendDirection,
                           float alpha) {
    float childRotation = child->rotation, parentRotation = parent->rotation;
    if (alpha == 0) {
        child->rotationIK = childRotation;
        parent->rotationIK = parentRotation;
        return;
    }
    float tx, ty;
    if (const spBone* pp = parent->parent) {
        spBone_worldToLocal(pp, targetX, targetY, &tx, &ty);
        tx = (tx - parent->x) * pp->worldScaleX;
        ty = (ty - parent->y) * pp->worldScaleY;
    } else {
        tx = targetX - parent->x;
        ty = targetY - parent->y;
    }
    float cx, cy;
    if (child->parent == parent) {
        cx = child->x;
        cy = child->y;
    } else {
        float wx = child->x, wy = child->y;
        if (child->parent) spBone_localToWorld(child->parent, child->x, child->y, &wx, &wy);
        spBone_worldToLocal(parent, wx, wy, &cx, &cy);
    }
    cx *= parent->worldScaleX;
    cy *= parent->worldScaleY;
    float offset = std::atan2(cy, cx);
    float len1 = std::sqrt(cx * cx + cy * cy);
    float len2 = child->data->length * child->worldScaleX;
    float cosDenom = 2 * len1 * len2;
    if (cosDenom < 0.0001f) {
        child->rotationIK = childRotation + (std::atan2(ty, tx) * RAD - parentRotation - childRotation) * alpha;
        return;
    }
    float cosine = std::clamp((tx * tx + ty * ty - len1 * len1 - len2 * len2) / cosDenom, -1.f, 1.f);
    float childAngle = std::acos(cosine) * static_cast<float>(bendDirection);
    float adjacent = len1 + len2 * cosine, opposite = len2 * std::sin(childAngle);
    float parentAngle = std::atan2(ty * adjacent - tx * opposite, tx * adjacent + ty * opposite);
    float r = wrap180((parentAngle - offset) * RAD - parentRotation);
    parent->rotationIK = parentRotation + r * alpha;
    r = wrap180((childAngle + offset) * RAD - childRotation);
    float childParentRotation = child->parent ? child->parent->worldRotation : 0;
    child->rotationIK = childRotation + (r + parent->worldRotation - childParentRotation) * alpha;
}
