#include "skeleton/EventData.h"

#include "skeleton/extension.h"

spEventData* spEventData_create(const char* name) {
    spEventData* self = SK_NEW(spEventData);
    self->name = SK_STRDUP(name);
    return self;
}

void spEventData_dispose(spEventData* self) {
    if (!self) return;
    SK_FREE(self->name);
    SK_FREE(self->stringValue);
    SK_FREE(self);
}
