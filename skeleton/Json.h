#pragma once
// The skeleton runtime's own JSON tree parser. Nodes are allocated in blocks
// through the runtime's allocation hooks. Parsing never reads past the given length and
// never nests deeper than SP_JSON_MAX_DEPTH arrays and objects; the first
// character that does not fit is kept as the error position (process-wide,
// cleared by every parse, valid while the parsed text lives).
#include <cstddef>

enum {
    SP_JSON_FALSE = 0,
    SP_JSON_TRUE = 1,
    SP_JSON_NULL = 2,
    SP_JSON_NUMBER = 3,
    SP_JSON_STRING = 4,
    SP_JSON_ARRAY = 5,
    SP_JSON_OBJECT = 6,
};

enum { SP_JSON_MAX_DEPTH = 512 };

struct spJson {
    spJson* next;        // next sibling, null at the end
    spJson* child;       // first item of an array or object
    int type;
    int size;            // items of an array or object
    char* valueString;   // owned
    int valueInt;        // the number truncated toward zero, saturated; 0 for NaN; 1 for true
    float valueFloat;
    char* name;          // the key of an object member (owned)
};

// Root node of a zero-terminated text, or null on an error (and for null text).
spJson* spJson_create(const char* text);
// The same over exactly length bytes (no terminator needed).
spJson* spJson_createWithLength(const char* text, size_t length);
// Frees a tree: given its root, every node, string and name of it. The nodes of
// a tree share blocks that go with the root, so disposing an inner node releases
// nothing by itself (it goes when the root does); null or a node disposed
// already is ignored.
void spJson_dispose(spJson* node);
const char* spJson_getError();

// First member whose name equals key ignoring ASCII letter case, else null.
spJson* spJson_getItem(spJson* object, const char* key);
// Getters ignore the member's type and return the default only when it is missing.
const char* spJson_getString(spJson* object, const char* key, const char* defaultValue);
float spJson_getFloat(spJson* object, const char* key, float defaultValue);
int spJson_getInt(spJson* object, const char* key, int defaultValue);
