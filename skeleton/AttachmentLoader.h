#pragma once
// The interface through which the skeleton reader obtains attachments. A concrete
// loader embeds this head first; its last error is kept as two parts.
#include "skeleton/Attachment.h"

struct spSkin;
struct spAttachmentLoader;

struct spAttachmentLoaderVtable {
    spAttachment* (*newAttachment)(spAttachmentLoader* self, spSkin* skin, spAttachmentType type,
                                   const char* name, const char* path);
    void (*dispose)(spAttachmentLoader* self);
};

struct spAttachmentLoader {
    char* error1;
    char* error2;
    spAttachmentLoaderVtable* vtable;
};

void spAttachmentLoader_init(spAttachmentLoader* self, void (*dispose)(spAttachmentLoader* self),
                             spAttachment* (*newAttachment)(spAttachmentLoader* self, spSkin* skin,
                                                            spAttachmentType type, const char* name,
                                                            const char* path));
// Frees the function table and both error strings (a concrete dispose calls it).
void spAttachmentLoader_deinit(spAttachmentLoader* self);
// The loader's dispose, then the record.
void spAttachmentLoader_dispose(spAttachmentLoader* self);
// Clears both errors, then asks the loader; null when it made nothing.
spAttachment* spAttachmentLoader_newAttachment(spAttachmentLoader* self, spSkin* skin, spAttachmentType type,
                                               const char* name, const char* path);
void spAttachmentLoader_setError(spAttachmentLoader* self, const char* error1, const char* error2);
// "Unknown attachment type: " and the type as a decimal number.
void spAttachmentLoader_setUnknownTypeError(spAttachmentLoader* self, spAttachmentType type);
