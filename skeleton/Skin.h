#pragma once
// A named set of attachments, keyed by slot index and attachment key. Entries
// form a list with the newest at its head, so lookups see the newest first.
#include "skeleton/Attachment.h"

struct spSkeleton;

struct spSkinEntry {
    int slotIndex;
    char* name;                // the attachment's key in the skin
    spAttachment* attachment;  // owned
    spSkinEntry* next;
};

struct spSkin {
    char* name;
    spSkinEntry* entries;      // private to the skin
};

spSkin* spSkin_create(const char* name);
void spSkin_dispose(spSkin* self);
// The skin takes the attachment.
void spSkin_addAttachment(spSkin* self, int slotIndex, const char* name, spAttachment* attachment);
spAttachment* spSkin_getAttachment(const spSkin* self, int slotIndex, const char* name);
// Key of the n-th entry (newest first) of the slot; null when there are fewer.
const char* spSkin_getAttachmentName(const spSkin* self, int slotIndex, int attachmentIndex);
// For each entry of oldSkin whose attachment the skeleton's slot shows, sets this
// skin's attachment of the same slot index and key, if any.
void spSkin_attachAll(const spSkin* self, spSkeleton* skeleton, const spSkin* oldSkin);
