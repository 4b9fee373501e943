#pragma once
// Reads skeleton JSON documents into skeleton data: bones, IK constraints, slots,
// skins with attachments from an attachment loader, events and animations, with
// lengths and positions multiplied by scale. Every index and count taken from
// the document is checked before use; a number that is not finite fails the
// read. The first problem is kept as one error
// text (at most 255 characters) until the next read or the dispose.
#include <cstddef>

#include "skeleton/Atlas.h"
#include "skeleton/AttachmentLoader.h"
#include "skeleton/SkeletonData.h"

// The most bytes of deformation vertices and draw orders one read stores: each
// deformation key copies its whole mesh and each draw-order key holds an index
// per slot, so a small file could otherwise ask for gigabytes. An animation that
// would go over is dropped before anything of it is allocated, with an error
// naming the file and the animation.
enum : size_t { SP_SKELETON_JSON_KEY_BUDGET = 32u * 1024 * 1024 };

struct spSkeletonJson {
    float scale;
    spAttachmentLoader* attachmentLoader;
    char* error;
    int ownsLoader;
};

// With an atlas attachment loader on that atlas, owned by the reader.
spSkeletonJson* spSkeletonJson_create(spAtlas* atlas);
// With that loader (not owned); scale 1.
spSkeletonJson* spSkeletonJson_createWithLoader(spAttachmentLoader* attachmentLoader);
void spSkeletonJson_dispose(spSkeletonJson* self);

// New skeleton data owned by the caller, or null with the error set. A dropped
// animation sets the error (the first problem's) but still returns the data.
spSkeletonData* spSkeletonJson_readSkeletonData(spSkeletonJson* self, const char* json);
spSkeletonData* spSkeletonJson_readSkeletonDataWithLength(spSkeletonJson* self, const char* json, size_t length);
// Reads the file through the engine file hook.
spSkeletonData* spSkeletonJson_readSkeletonDataFile(spSkeletonJson* self, const char* path);
