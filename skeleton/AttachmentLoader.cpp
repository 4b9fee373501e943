#include "skeleton/AttachmentLoader.h"

#include <cstdio>

#include "skeleton/extension.h"

void spAttachmentLoader_init(spAttachmentLoader* self, void (*dispose)(spAttachmentLoader* self),
                             spAttachment* (*newAttachment)(spAttachmentLoader* self, spSkin* skin,
                                                            spAttachmentType type, const char* name,
                                                            const char* path)) {
    self->vtable = SK_NEW(spAttachmentLoaderVtable);
    self->vtable->dispose = dispose;
    self->vtable->newAttachment = newAttachment;
}

void spAttachmentLoader_deinit(spAttachmentLoader* self) {
    SK_FREE(self->vtable);
    SK_FREE(self->error1);
    SK_FREE(self->error2);
    self->vtable = nullptr;
    self->error1 = self->error2 = nullptr;
}

void spAttachmentLoader_dispose(spAttachmentLoader* self) {
    if (!self) return;
    self->vtable->dispose(self);
    SK_FREE(self);
}

spAttachment* spAttachmentLoader_newAttachment(spAttachmentLoader* self, spSkin* skin, spAttachmentType type,
                                               const char* name, const char* path) {
    SK_FREE(self->error1);
    SK_FREE(self->error2);
    self->error1 = self->error2 = nullptr;
    return self->vtable->newAttachment(self, skin, type, name, path);
}

void spAttachmentLoader_setError(spAttachmentLoader* self, const char* error1, const char* error2) {
    char* e1 = SK_STRDUP(error1);
    char* e2 = SK_STRDUP(error2);
    SK_FREE(self->error1);
    SK_FREE(self->error2);
    self->error1 = e1;
    self->error2 = e2;
}

void spAttachmentLoader_setUnknownTypeError(spAttachmentLoader* self, spAttachmentType type) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(type));
    spAttachmentLoader_setError(self, "Unknown attachment type: ", buffer);
}
