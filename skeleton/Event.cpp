#include "skeleton/Event.h"

#include "skeleton/extension.h"

spEvent* spEvent_create(spEventData* data) {
    spEvent* self = SK_NEW(spEvent);
    self->data = data;
    return self;
}

void spEvent_dispose(spEvent* self) {
    if (!self) return;
    SK_FREE(self->stringValue);
    SK_FREE(self);
}
