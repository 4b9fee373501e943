#pragma once
// A named event of the skeleton with the default values of its keys.
struct spEventData {
    char* name;
    int intValue;
    float floatValue;
    char* stringValue;   // owned, or null
};

spEventData* spEventData_create(const char* name);
void spEventData_dispose(spEventData* self);
