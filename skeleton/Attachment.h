#pragma once
// Head of every attachment record: name, type and a one-entry function table
// (dispose) owned by the attachment.
// Int-based, so a loader can be asked for a kind it does not know and refuse it.
enum spAttachmentType : int {
    SP_ATTACHMENT_REGION = 0,
    SP_ATTACHMENT_BOUNDING_BOX = 1,
    SP_ATTACHMENT_MESH = 2,
    SP_ATTACHMENT_SKINNED_MESH = 3,
};

struct spAttachment;
struct spAttachmentVtable {
    void (*dispose)(spAttachment* self);
};

struct spAttachment {
    char* name;
    spAttachmentType type;
    spAttachmentVtable* vtable;
};

// Builds the function table, copies the name, stores the type.
void spAttachment_init(spAttachment* self, const char* name, spAttachmentType type,
                       void (*dispose)(spAttachment* self));
// Frees the function table and the name (the variant's dispose calls it last).
void spAttachment_deinit(spAttachment* self);
// The variant's dispose: what it owns, the table, the name and the record.
void spAttachment_dispose(spAttachment* self);
