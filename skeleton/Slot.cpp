#include "skeleton/Slot.h"

#include "skeleton/Skeleton.h"
#include "skeleton/extension.h"

spSlot* spSlot_create(spSlotData* data, spBone* bone) {
    spSlot* self = SK_NEW(spSlot);
    self->data = data;
    self->bone = bone;
    spSlot_setToSetupPose(self);
    return self;
}

void spSlot_dispose(spSlot* self) {
    if (!self) return;
    SK_FREE(self->attachmentVertices);
    SK_FREE(self);
}

void spSlot_setAttachment(spSlot* self, spAttachment* attachment) {
    self->attachment = attachment;
    self->attachmentTime = self->bone->skeleton->time;
    self->attachmentVerticesCount = 0;
}

void spSlot_setAttachmentTime(spSlot* self, float time) {
    self->attachmentTime = self->bone->skeleton->time - time;
}

float spSlot_getAttachmentTime(const spSlot* self) {
    return self->bone->skeleton->time - self->attachmentTime;
}

void spSlot_setToSetupPose(spSlot* self) {
    const spSlotData* d = self->data;
    self->r = d->r;
    self->g = d->g;
    self->b = d->b;
    self->a = d->a;
    spAttachment* attachment = nullptr;
    if (d->attachmentName) {
        const spSkeletonData* data = self->bone->skeleton->data;
        for (int i = 0; i < data->slotsCount; ++i) {
            if (data->slots[i] == d) {
                attachment = spSkeleton_getAttachmentForSlotIndex(self->bone->skeleton, i, d->attachmentName);
                break;
            }
        }
    }
    spSlot_setAttachment(self, attachment);
}
