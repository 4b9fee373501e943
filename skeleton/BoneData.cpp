#include "skeleton/BoneData.h"

#include "skeleton/extension.h"

spBoneData* spBoneData_create(const char* name, spBoneData* parent) {
    spBoneData* self = SK_NEW(spBoneData);
    self->name = SK_STRDUP(name);
    self->parent = parent;
    self->scaleX = self->scaleY = 1;
    self->inheritScale = self->inheritRotation = 1;
    return self;
}

void spBoneData_dispose(spBoneData* self) {
    if (!self) return;
    SK_FREE(self->name);
    SK_FREE(self);
}
