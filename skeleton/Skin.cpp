#include "skeleton/Skin.h"

#include <cstring>

#include "skeleton/Skeleton.h"
#include "skeleton/Slot.h"
#include "skeleton/extension.h"

spSkin* spSkin_create(const char* name) {
    spSkin* self = SK_NEW(spSkin);
    self->name = SK_STRDUP(name);
    return self;
}

void spSkin_dispose(spSkin* self) {
    if (!self) return;
    spSkinEntry* entry = self->entries;
    while (entry) {
        spSkinEntry* next = entry->next;
        spAttachment_dispose(entry->attachment);
        SK_FREE(entry->name);
        SK_FREE(entry);
        entry = next;
    }
    SK_FREE(self->name);
    SK_FREE(self);
}

void spSkin_addAttachment(spSkin* self, int slotIndex, const char* name, spAttachment* attachment) {
    spSkinEntry* entry = SK_NEW(spSkinEntry);
    entry->slotIndex = slotIndex;
    entry->name = SK_STRDUP(name);
    entry->attachment = attachment;
    entry->next = self->entries;
    self->entries = entry;
}

spAttachment* spSkin_getAttachment(const spSkin* self, int slotIndex, const char* name) {
    for (const spSkinEntry* e = self->entries; e; e = e->next)
        if (e->slotIndex == slotIndex && std::strcmp(e->name, name) == 0) return e->attachment;
    return nullptr;
}

const char* spSkin_getAttachmentName(const spSkin* self, int slotIndex, int attachmentIndex) {
    int i = 0;
    for (const spSkinEntry* e = self->entries; e; e = e->next) {
        if (e->slotIndex != slotIndex) continue;
        if (i == attachmentIndex) return e->name;
        ++i;
    }
    return nullptr;
}

void spSkin_attachAll(const spSkin* self, spSkeleton* skeleton, const spSkin* oldSkin) {
    for (const spSkinEntry* e = oldSkin->entries; e; e = e->next) {
        if (e->slotIndex < 0 || e->slotIndex >= skeleton->slotsCount) continue;
        spSlot* slot = skeleton->slots[e->slotIndex];
        if (slot->attachment != e->attachment) continue;
        spAttachment* attachment = spSkin_getAttachment(self, e->slotIndex, e->name);
        if (attachment) spSlot_setAttachment(slot, attachment);
    }
}
