#pragma once
// A posed slot: colour, current attachment (owned by a skin) and the deformed
// vertices that FFD timelines write.
#include "skeleton/Attachment.h"
#include "skeleton/Bone.h"
#include "skeleton/SlotData.h"

struct spSlot {
    spSlotData* data;
    spBone* bone;
    float r, g, b, a;
    spAttachment* attachment;
    int attachmentVerticesCapacity;
    int attachmentVerticesCount;
    float* attachmentVertices;   // owned
    float attachmentTime;        // private: skeleton time when the attachment was set
};

// Set to its setup pose.
spSlot* spSlot_create(spSlotData* data, spBone* bone);
void spSlot_dispose(spSlot* self);
// Stores the attachment, restarts its time and drops the deformed vertices.
void spSlot_setAttachment(spSlot* self, spAttachment* attachment);
void spSlot_setAttachmentTime(spSlot* self, float time);
float spSlot_getAttachmentTime(const spSlot* self);
// Colour from the data; the setup attachment looked up through the skeleton.
void spSlot_setToSetupPose(spSlot* self);
