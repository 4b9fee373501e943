#include "skeleton/Attachment.h"

#include "skeleton/extension.h"

void spAttachment_init(spAttachment* self, const char* name, spAttachmentType type,
                       void (*dispose)(spAttachment* self)) {
    self->vtable = SK_NEW(spAttachmentVtable);
    self->vtable->dispose = dispose;
    self->name = SK_STRDUP(name);
    self->type = type;
}

void spAttachment_deinit(spAttachment* self) {
    SK_FREE(self->vtable);
    SK_FREE(self->name);
}

void spAttachment_dispose(spAttachment* self) {
    if (self) self->vtable->dispose(self);
}
