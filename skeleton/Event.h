#pragma once
// One keyed occurrence of an event, owned by its event timeline.
#include "skeleton/EventData.h"

struct spEvent {
    spEventData* data;   // reference
    int intValue;
    float floatValue;
    char* stringValue;   // owned copy, or null
};

// Values zero, no string.
spEvent* spEvent_create(spEventData* data);
void spEvent_dispose(spEvent* self);
