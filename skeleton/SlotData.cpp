#include "skeleton/SlotData.h"

#include "skeleton/extension.h"

spSlotData* spSlotData_create(const char* name, spBoneData* boneData) {
    spSlotData* self = SK_NEW(spSlotData);
    self->name = SK_STRDUP(name);
    self->boneData = boneData;
    self->r = self->g = self->b = self->a = 1;
    return self;
}

void spSlotData_dispose(spSlotData* self) {
    if (!self) return;
    SK_FREE(self->name);
    SK_FREE(self->attachmentName);
    SK_FREE(self);
}

void spSlotData_setAttachmentName(spSlotData* self, const char* attachmentName) {
    char* copy = SK_STRDUP(attachmentName);
    SK_FREE(self->attachmentName);
    self->attachmentName = copy;
}
