#include "skeleton/IkConstraintData.h"

#include "skeleton/extension.h"

spIkConstraintData* spIkConstraintData_create(const char* name) {
    spIkConstraintData* self = SK_NEW(spIkConstraintData);
    self->name = SK_STRDUP(name);
    self->bendDirection = 1;
    self->mix = 1;
    return self;
}

void spIkConstraintData_dispose(spIkConstraintData* self) {
    if (!self) return;
    SK_FREE(self->name);
    SK_FREE(self->bones);
    SK_FREE(self);
}
